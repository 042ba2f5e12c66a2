#include "app/screen.h"

#include <algorithm>

#include "app/control.h"
#include "app/deltatime.h"
#include "app/globalvars.h"
#include "app/paths.h"
#include "app/platform/core/files.h"
#include "app/platform/core/system.h"
#include "app/platform/draw.h"
#include "app/platform/input.h"
#include "datafiles/blockfile.h"

namespace app {

// ---- SETTING UP ----

void TScreen::Init(int id, const std::string& name, int reg)
{
    Id = id;
    Name = name;
    if (reg != 0)
        Control::AddScreen(shared_from_this());
    OnInit();
}

void TScreen::SetupTexts()
{
    if (Name.empty())
        return;
    const std::string path = LocalDir() + "txt/" + Name + ".txt";
    if (!platform::FileExists(path))
        TxtFile = NewTxtFile();
    else
        TxtFile = LoadTxtFile(path);
}

bool LoadScreenObjectFile(TScreen& screen, const std::string& path)
{
    if (!platform::FileExists(path))
        return false;
    // Objects made in code before set-up stay below the file's objects.
    std::vector<TAppObjPtr> kept = std::move(screen.Objects);
    screen.Objects.clear();
    // Each top block becomes an object of its registered type (the widget
    // types register themselves with the object-type registry); unknown block
    // names build nothing.
    if (const PBlockFile root = LoadBlockFile(path))
        for (const PBlockFile& child : GetAllSubBlocks(*root))
            CreateAppObjFromBlock(*child, &screen);
    screen.Objects.insert(screen.Objects.begin(), kept.begin(), kept.end());
    return true;
}

void TScreen::SetupObjects()
{
    if (Name.empty())
        return;
    LoadScreenObjectFile(*this, LocalDir() + "Data/" + Name + "/Objects.txt");
}

void TScreen::Setup()
{
    if (!IsLoader()) {
        SetupTexts();
        SetupObjects();
        Calculate();
    }
    OnSetup();
    if (!IsLoader())
        Calculate();
}

// ---- DRAWING ----

void TScreen::DrawPopUpDarkFade()
{
    if (PopUpFade == 0)
        return;
    platform::SetColor(0, 0, 0);
    platform::SetBlend(platform::kBlendAlpha);
    platform::SetRotation(0);
    platform::SetScale(1, 1);
    platform::SetAlpha(PopUpFade * 0.5f);
    platform::DrawRect(-200, 0, 2000, 768);
}

void TScreen::DrawPopUps()
{
    DrawPopUpDarkFade();
    // A copy: a pop-up's drawing must not disturb the walk.
    const std::vector<std::shared_ptr<TPopUp>> popups = ShowedPopUps;
    for (const auto& p : popups)
        if (p)
            p->Draw();
}

void TScreen::Draw()
{
    if (!isEnabled)
        return;
    DrawSettings();
    OnDraw();
    DrawObjects();
    DrawSettings();
    OnDrawEnd();
    DrawPopUps();
}

// ---- UPDATING ----

void TScreen::UpdatePopUps()
{
    if (ShowedPopUps.empty())
        return;
    const std::shared_ptr<TPopUp> top = ShowedPopUps.back(); // alive even if it hides itself
    if (top)
        top->Update();
}

void TScreen::UpdatePopUpFade()
{
    if (ShowedPopUps.empty())
        dPopUpFade = 0;
    else if (!(ShowedPopUps.size() == 1 && ShowedPopUps.front() && ShowedPopUps.front()->LeavesDarkFadeAlone()))
        dPopUpFade = 1;
    const float step = GlobalVars::POPUPDARKFADESPEED * FrameFactor();
    if (PopUpFade < dPopUpFade)
        PopUpFade = std::min(dPopUpFade, PopUpFade + step);
    else if (PopUpFade > dPopUpFade)
        PopUpFade = std::max(dPopUpFade, PopUpFade - step);
}

void TScreen::Update()
{
    if (!IsPopUp())
        UpdatePopUpFade();
    if (ShowedPopUps.empty()) {
        if (!isEnabled)
            return;
        OnCountSettings();
        UpdateObjectType();
        UpdateSettings();
        OnUpdate();
        UpdateObjects();
    } else {
        UpdatePopUps();
    }
}

// ---- GETTING ----

std::string TScreen::GetTxt(int i) const
{
    if (!TxtFile) {
        platform::Log("Text File '" + Name + "' not loaded for screen: " + Name);
        return "";
    }
    return GetTxtLine(TxtFile, i);
}

// ---- PREPARING ----

void TScreen::PreparePopUps()
{
    // Hiding a pop-up may change the list (its OnHide may hide or show
    // others), so the walk runs on a copy and goes on until none is left
    // that it has not tried yet.
    std::vector<const TPopUp*> tried;
    while (true) {
        std::shared_ptr<TPopUp> next;
        for (const auto& p : ShowedPopUps)
            if (p && std::find(tried.begin(), tried.end(), p.get()) == tried.end()) {
                next = p;
                break;
            }
        if (!next)
            break;
        tried.push_back(next.get());
        next->Hide();
    }
    // Whatever is left could not be hidden through its own Hide (it names
    // another screen): take it off this one.
    ShowedPopUps.clear();
}

void TScreen::Prepare()
{
    PreparePopUps();
    OnPrepare();
}

// ---- LEAVING ----

void TScreen::Leave()
{
    if (DontUseLeaveThisTime == 0)
        OnLeave();
    else
        DontUseLeaveThisTime = 0;
}

// ---- MISC ----

bool TScreen::HasPopUp(const TPopUp* popup) const
{
    return std::any_of(ShowedPopUps.begin(), ShowedPopUps.end(),
                       [popup](const std::shared_ptr<TPopUp>& p) { return p.get() == popup; });
}

void TScreen::ShowPopUpOnScreen(const std::shared_ptr<TPopUp>& popup)
{
    if (!popup || popup.get() == this)
        return;
    platform::FlushKeys();
    platform::FlushMouse();
    popup->ClearButtons();
    popup->Screen = this;
    if (!HasPopUp(popup.get()))
        ShowedPopUps.push_back(popup);
}

// ---- TPopUp ----

void TPopUp::Init(int id, const std::string& name, int reg)
{
    Id = id;
    Name = name;
    if (reg != 0)
        Control::AddPopUp(std::static_pointer_cast<TPopUp>(shared_from_this()));
    OnInit();
}

void TPopUp::Show()
{
    if (IsShown())
        return;
    Enable();
    OnShow();
    Control::SetCurrPopUp(std::static_pointer_cast<TPopUp>(shared_from_this()));
    Calculate();
}

void TPopUp::Hide()
{
    if (hiding_ || !IsShown())
        return;
    hiding_ = true;
    const std::shared_ptr<TScreen> keep = shared_from_this(); // the list may hold the last reference
    OnHide();
    TScreen* screen = Screen;
    if (screen && screen->HasPopUp(this)) {
        screen->ClearButtons();
        auto& list = screen->ShowedPopUps;
        list.erase(std::remove_if(list.begin(), list.end(),
                                  [this](const std::shared_ptr<TPopUp>& p) { return p.get() == this; }),
                   list.end());
        // The pop-up now on top gets the input: no click carries over to it.
        if (!list.empty() && list.back())
            list.back()->ClearButtons();
    }
    Disable();
    hiding_ = false;
}

// ---- TLoader ----

std::vector<std::shared_ptr<TLoader>>& Loaders()
{
    static std::vector<std::shared_ptr<TLoader>> loaders;
    return loaders;
}

void TLoader::Init(int, const std::string& name, int)
{
    Name = name;
    Loaders().push_back(std::static_pointer_cast<TLoader>(shared_from_this()));
}

} // namespace app
