#include "level/summary.h"

#include <algorithm>

#include "app/paths.h"
#include "app/platform/core/system.h"
#include "app/platform/draw.h"
#include "fx/timing.h"
#include "gui/textclasses.h"
#include "level/levelroad.h"
#include "level/maingame.h"
#include "match3/m3level.h"

namespace level {

namespace {

constexpr float kStarSpeed = 0.01f;  // star growth per nominal frame
constexpr float kSlideSpeed = 0.05f; // window slide per nominal frame
constexpr float kFadeSpeed = 0.025f; // statistics fade per nominal frame

} // namespace

// ---- Stars ----

void TSummaryStar::Update()
{
    per = std::min(1.0f, per + kStarSpeed * fx::FrameFactor());
    const float p = platform::SinD(90 * per);
    Rot = 720 * p + dRot * p;
    ScaleX = ScaleY = Alpha = p;
}

void TSummaryStar::Draw(float yOffset)
{
    if (fx::AppClock() < StartTime)
        return;
    Update();
    const platform::ImagePtr& img = SummaryStarImage();
    if (!img)
        return;
    platform::SetScale(ScaleX, ScaleY);
    platform::SetRotation(Rot);
    platform::SetAlpha(Alpha);
    platform::SetBlend(platform::kBlendAlpha);
    platform::SetColor(255, 255, 255);
    platform::DrawImage(img, x, y + yOffset, 0);
}

std::vector<TSummaryStar>& SummaryStars()
{
    static std::vector<TSummaryStar> stars;
    return stars;
}

void ClearSummaryStars() { SummaryStars().clear(); }

void AddSummaryStar(float x, float y, float tilt, int delayMs)
{
    TSummaryStar s;
    s.x = x;
    s.y = y;
    s.dRot = tilt;
    s.StartTime = fx::AppClock() + delayMs;
    SummaryStars().push_back(s);
}

void DrawSummaryStars(float yOffset)
{
    for (TSummaryStar& s : SummaryStars())
        s.Draw(yOffset);
}

platform::ImagePtr& SummaryStarImage()
{
    static platform::ImagePtr image;
    return image;
}

// ---- Statistics lines ----

void TGoldCounter::Create(int textClass, float x, float y, app::TAppObj* parent, const std::string& name)
{
    Value = gui::CreateUIText("zffs", x + 204, y, 64, 52, parent, gui::TextClass(textClass));
    Value->Name = name;
}

void TGoldCounter::SetValue(const std::string& t)
{
    if (Value)
        Value->SetText(t);
}

// ---- SETTING UP ----

void TSummary::OnSetup()
{
    CenterPoint = app::CreateAppObj("Center", 512, 384, this);
    Panel = gui::CreateUIImage(app::LocalDir() + "gfx/Summary/StageResultWindow.png", -203, -222,
                               CenterPoint.get());
    Panel->Name = "Panel";
    ButtonOk = gui::CreateUILightButton(app::LocalDir() + "gfx/options/WindowOkButton.png", 150, 398, Panel.get(),
                                        0.5f);
    ButtonOk->Name = "ButtonOk";
    SummaryStarImage() = platform::LoadImage(app::GameDir() + "gfx/effects/Star.png");
    platform::MidHandle(SummaryStarImage());
    SetupTimed();
}

void TSummary::SetupTimed()
{
    TimedMode = app::CreateAppObj("TimedMode", 0, 0, Panel.get());
    TimedScore.Create(24, 70, 236, TimedMode.get(), "TimedScore");
    TimedTime.Create(24, 70, 196, TimedMode.get(), "TimedTime");
    TimedGold.Create(24, 70, 278, TimedMode.get(), "TimedGold");
    TimedTotal.Create(25, 70, 320, TimedMode.get(), "TimedTotal");
}

// ---- PREPARING ----

void TSummary::OnShow()
{
    PrepareState();
    PrepareStars();
    PrepareEffect();
    PrepareStats();
}

void TSummary::PrepareState()
{
    state = STATE_SLIDE_IN;
    Per = 0;
    handedOver_ = false;
    if (CenterPoint) {
        // Invisible until the first update places the window.
        const float p = platform::SinD(90 * Per);
        CenterPoint->SetS(p, p);
        CenterPoint->SetRot(720 * p);
    }
    Calculate();
}

void TSummary::PrepareStars()
{
    ClearSummaryStars();
    const TMainGame* screen = MainGameScreen();
    const int s = screen ? screen->GetStars() : 0;
    if (s < 1 || s > 3)
        return;
    AddSummaryStar(448, 302, -15, 500);
    if (s >= 2)
        AddSummaryStar(515, 293, 0, 1000);
    if (s == 3)
        AddSummaryStar(581, 302, 15, 1500);
}

void TSummary::PrepareEffect()
{
    // ---- SUMMARY GLOWS ----
    // 200 rising glows per star from the bottom edge, each after 1000..6000 ms,
    // living 2500..3500 ms: they come with the particle packages.
}

void TSummary::PrepareStats()
{
    DataTime = fx::AppClock() + 500;
    ShowAlpha = dShowAlpha = 0;
    if (TimedMode) {
        TimedMode->Enable();
        TimedMode->SetA(0);
    }
    const TMainGame* screen = MainGameScreen();
    const match3::PM3Level lvl = screen ? screen->Level : nullptr;
    const int score = lvl ? lvl->Score : 0;
    const int cash = lvl ? lvl->Cash : 0;
    TimedScore.SetValue(std::to_string(score));
    TimedTime.SetValue(screen ? screen->GetTotalTimeString() : TotalTimeString(0));
    TimedGold.SetValue(std::to_string(cash));
    if (!lvl) {
        TimedTotal.SetValue(std::to_string(Road().ProfileCash ? Road().ProfileCash() : 0));
        return;
    }
    // The same win shown again shows its first total and pays nothing more.
    if (paidLevel_.lock() != lvl) {
        const int before = Road().ProfileCash ? Road().ProfileCash() : 0;
        paidTotal_ = before + cash;
        paidLevel_ = lvl;
        if (Road().PayWonLevel)
            Road().PayWonLevel(score, cash);
    }
    TimedTotal.SetValue(std::to_string(paidTotal_));
}

// ---- UPDATING ----

void TSummary::OnUpdate()
{
    UpdateData();
    if (state == STATE_SLIDE_IN)
        Update_Begin();
    else if (state == STATE_SLIDE_OUT)
        Update_End();
}

void TSummary::UpdateData()
{
    if (ShowAlpha < dShowAlpha)
        ShowAlpha = std::min(dShowAlpha, ShowAlpha + kFadeSpeed * fx::FrameFactor());
    if (fx::AppClock() > DataTime)
        dShowAlpha = 1;
    if (TimedMode)
        TimedMode->SetA(ShowAlpha);
}

void TSummary::Update_Begin()
{
    if (Per == 1.0f)
        state = STATE_SHOWN;
    Per = std::min(1.0f, Per + kSlideSpeed * fx::FrameFactor());
    CenterPoint->SetS(1, 1);
    CenterPoint->SetRot(0);
    CenterPoint->SetXY(512, -384 + 768 * platform::SinD(90 * Per));
}

void TSummary::Update_End()
{
    if (Per == 1.0f) {
        // The progression switches screens, which hides the summary; asked
        // once, whatever happens meanwhile.
        if (!handedOver_) {
            handedOver_ = true;
            if (Road().ContinueFromSummary)
                Road().ContinueFromSummary();
        }
        return;
    }
    Per = std::min(1.0f, Per + kSlideSpeed * fx::FrameFactor());
    CenterPoint->SetS(1, 1);
    CenterPoint->SetRot(0);
    CenterPoint->SetXY(512, 384 - 768 * platform::SinD(90 * Per));
}

// ---- COMMANDS ----

void TSummary::GoHide()
{
    state = STATE_SLIDE_OUT;
    Per = 0;
}

// ---- DRAWING ----

void TSummary::OnDrawEnd()
{
    platform::ResetDrawState();
    DrawSummaryStars(state == STATE_SLIDE_OUT ? -768 * Per : 0);
    DrawEffect();
    platform::ResetDrawState();
}

void TSummary::DrawEffect()
{
    // ---- SUMMARY GLOWS ----
    // The glow package is drawn here, over the stars, once it exists.
}

// ---- INPUT ----

void TSummary::Interface()
{
    if (ButtonOk && ButtonOk->isPressed && state != STATE_SLIDE_OUT) {
        ButtonOk->Clear();
        GoHide();
    }
}

} // namespace level
