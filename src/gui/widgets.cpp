#include "gui/widgets.h"

#include <algorithm>
#include <cmath>

#include "app/platform/core/files.h"
#include "app/platform/core/system.h"
#include "app/platform/draw.h"
#include "gui/textclasses.h"
#include "datafiles/blockfile.h"
#include "datafiles/numbers.h"
#include "fx/timing.h"
#include "gui/guifile.h"
#include "gui/mouse.h"

namespace gui {

namespace {

std::function<void()>& ClickHook()
{
    static std::function<void()> hook;
    return hook;
}

bool ValidState(int state) { return state >= 0 && state < TUIText::kStates; }

// A picture of its own for a widget (screens may move its handle without
// disturbing other widgets). A missing file gives none and one line naming
// it; a file that cannot be decoded is named by the platform.
platform::ImagePtr LoadWidgetPicture(const std::string& path, int flags, const std::string& who)
{
    if (path.empty() || path == kEmptyImage)
        return nullptr;
    if (!platform::FileExists(path)) {
        platform::Log("Picture not found" + (who.empty() ? std::string() : " for " + who) + ": " + path);
        return nullptr;
    }
    return platform::LoadImage(path, flags);
}

// "IMAGE 'name'" for messages about a block.
std::string Describe(const char* type, const std::string& name)
{
    return std::string(type) + (name.empty() ? std::string() : " '" + name + "'");
}

float EntryFloat(const TBlockFile& block, const char* key, float otherwise)
{
    const PBlockFile e = block.isBlock(key);
    return e ? e->GetFloat(0) : otherwise;
}

int EntryInt(const TBlockFile& block, const char* key, int otherwise)
{
    const PBlockFile e = block.isBlock(key);
    return e ? datafiles::TruncToInt(e->GetFloat(0)) : otherwise;
}

// Program-wide text class n, or a plain white class in the default font when
// there is none (classes not created yet, or n out of range: named in a line).
PTextClass ProgramClassOr(int n, const std::string& who, const TRGB& fallbackColour)
{
    if (const PTextClass& c = gui::TextClass(n))
        return c;
    if (n < 1 || n > gui::kProgramTextClassCount)
        platform::Log("GUI file: " + who + " names text class " + std::to_string(n) + ", which does not exist (1 to " +
                      std::to_string(gui::kProgramTextClassCount) + ")");
    return NewTextClass(nullptr, fallbackColour, std::nullopt, std::nullopt);
}

} // namespace

// ---- Click sound ----

void SetClickSoundHook(std::function<void()> hook) { ClickHook() = std::move(hook); }

void PlayClickSound()
{
    if (ClickHook())
        ClickHook()();
}

void SlideDirection(int direction, float& dx, float& dy)
{
    static constexpr float kDirs[8][2] = {{-1, -1}, {0, -1}, {1, -1}, {1, 0}, {1, 1}, {0, 1}, {-1, 1}, {-1, 0}};
    if (direction < 0 || direction > 7) {
        dx = dy = 0;
        return;
    }
    dx = kDirs[direction][0];
    dy = kDirs[direction][1];
}

// ---- TGameUI ----

void TGameUI::Init()
{
    StandardX = Dim.x;
    StandardY = Dim.y;
}

void TGameUI::MoveIn(int direction, float speed, int delay)
{
    DelayTime = fx::AppClock() + delay;
    SlideDirection(direction, Ax, Ay);
    MoveInSpeed = speed;
    MovePer = 0;
    EndX = StandardX;
    EndY = StandardY;
    StartX = StandardX + static_cast<float>(w) * Ax;
    StartY = StandardY + static_cast<float>(h) * Ay;
    SetXY(StartX, StartY);
    isMovingIn = 1;
}

void TGameUI::MoveOut(int direction, float speed, int delay)
{
    DelayTime = fx::AppClock() + delay;
    SlideDirection(direction, Ax, Ay);
    MoveInSpeed = speed;
    MovePer = 0;
    StartX = StandardX;
    StartY = StandardY;
    EndX = StandardX + static_cast<float>(w) * Ax;
    EndY = StandardY + static_cast<float>(h) * Ay;
    SetXY(StartX, StartY);
    isMovingOut = 1;
}

void TGameUI::UpdateUIType()
{
    if (!isMoving() || fx::AppClock() < DelayTime)
        return;
    if (MovePer == 1.0f) {
        // Placed at the end by the previous step.
        isMovingIn = 0;
        isMovingOut = 0;
        return;
    }
    MovePer = std::clamp(MovePer + MoveInSpeed * fx::FrameFactor(), 0.0f, 1.0f);
    const float s = platform::SinD(90.0f * MovePer);
    SetXY(StartX + (EndX - StartX) * s, StartY + (EndY - StartY) * s);
}

// ---- TUIObject ----

void TUIObject::Clear()
{
    isOver = 0;
    isHolded = 0;
    isPressed = 0;
}

void TUIObject::Deactivate()
{
    isActivated = 0;
    Clear();
}

void TUIObject::Activate() { isActivated = 1; }

void TUIObject::SetHandle(int hx, int hy)
{
    HandleX = hx;
    HandleY = hy;
}

bool TUIObject::PointerInside() const
{
    return Mouse().inRect(x - static_cast<float>(HandleX), y - static_cast<float>(HandleY), static_cast<float>(w),
                          static_cast<float>(h));
}

void TUIObject::UpdateObjectType()
{
    isPressed = 0;
    isOver = 0;
    UpdateUIType();
    if (!isActivated || !isAvailableForClicking) {
        // A hold does not survive a spell without hit testing, whoever
        // switched it off: the release it waits for may never be seen.
        isHolded = 0;
        UpdateUI();
        return;
    }
    const bool leftDown = Mouse().leftHolded != 0;
    if (isHolded) {
        if (!leftDown) {
            isHolded = 0;
            if (PointerInside()) {
                isPressed = 1;
                PlayClickSound();
            }
        }
    } else {
        isOver = PointerInside() ? 1 : 0;
        if (isOver && leftDown)
            isHolded = 1;
    }
    UpdateUI();
}

void TUIObject::ClearButtons()
{
    Clear();
    TAppObj::ClearButtons();
}

// ---- TUIImage ----

void TUIImage::SetImage(platform::ImagePtr image)
{
    obj = std::move(image);
    w = platform::ImageWidth(obj);
    h = platform::ImageHeight(obj);
    RectW = RectSW = static_cast<float>(w);
    RectH = RectSH = static_cast<float>(h);
}

void TUIImage::SetRect(float rw, float rh, float sx, float sy, float sw, float sh)
{
    RectW = rw;
    RectH = rh;
    RectSX = sx;
    RectSY = sy;
    RectSW = sw;
    RectSH = sh;
}

void TUIImage::DrawTheImage()
{
    if (!obj) {
        platform::ResetDrawState();
        return;
    }
    if (RectW == static_cast<float>(obj->Width()) && RectH == static_cast<float>(obj->Height()))
        platform::DrawImage(obj, x, y, Frame);
    else
        platform::DrawImageRect(obj, x, y, RectW, RectH, RectSX, RectSY, RectSW, RectSH, obj->HandleX(),
                                obj->HandleY(), Frame);
}

void TUIImage::OnDrawOutside() { DrawTheImage(); }

void TUIImage::OnDraw()
{
    if (isToBeDrawAtOutside)
        return;
    DrawTheImage();
    if (SpecialDrawFunction)
        SpecialDrawFunction();
}

namespace {

// The picture entries shared by IMAGE and LIGHTBUTTON blocks.
void LoadPictureEntries(TUIImage& img, const TBlockFile& block, int defaultFlags, const char* type)
{
    const PBlockFile urlEntry = block.isBlock("Url");
    const std::string url = urlEntry ? urlEntry->GetString(0) : std::string();
    const bool mip = EntryFloat(block, "MipMapped", 0) != 0;
    const bool filtered = EntryFloat(block, "Filtered", 0) != 0;
    int flags = defaultFlags;
    if (mip && filtered)
        flags = platform::kImageFiltered | platform::kImageMipmapped;
    else if (mip)
        flags = platform::kImageMipmapped;
    else if (filtered)
        flags = platform::kImageFiltered;

    img.obj = url.empty() ? nullptr : LoadWidgetPicture(GuiFilePath(url), flags, Describe(type, img.Name));
    const int picW = platform::ImageWidth(img.obj);
    const int picH = platform::ImageHeight(img.obj);
    const int fileW = EntryInt(block, "Width", 0);
    if (fileW == 0) {
        img.w = picW;
        img.h = picH;
    } else {
        img.w = fileW;
        img.h = EntryInt(block, "Height", 0);
    }
    // A size given in the file stretches the whole picture to it.
    img.SetRect(static_cast<float>(img.w), static_cast<float>(img.h), 0, 0, static_cast<float>(picW),
                static_cast<float>(picH));
}

} // namespace

void TUIImage::LoadTypeData(const TBlockFile& block)
{
    LoadPictureEntries(*this, block, platform::kImageDefaultFlags, "IMAGE");
    Init();
}

// ---- TUILightButton ----

void TUILightButton::UpdateUI()
{
    const float step = 0.05f * fx::FrameFactor();
    if (o < dO)
        o = std::min(o + step, dO);
    else if (o > dO)
        o = std::max(o - step, dO);
    dO = isOver ? 1.0f : 0.0f;
    if (isPressed)
        o = 0;
}

void TUILightButton::OnDraw()
{
    if (!obj)
        return;
    platform::SetBlend(platform::kBlendAlpha);
    platform::DrawImage(obj, x, y, 0);
    if (o != 0) {
        platform::SetAlpha(o * Alpha * LightPower);
        platform::SetBlend(platform::kBlendAdditive);
        platform::DrawImage(obj, x, y, 0);
        platform::SetBlend(platform::kBlendAlpha);
        platform::SetAlpha(Alpha);
    }
}

void TUILightButton::LoadTypeData(const TBlockFile& block)
{
    LoadPictureEntries(*this, block, platform::kImageFiltered, "LIGHTBUTTON");
    LightPower = EntryFloat(block, "LightPower", 0.5f);
    isAvailableForClicking = 1;
    Init();
}

// ---- TUIText ----

TUIText::TUIText()
{
    for (PTextClass& c : Class)
        c = NewTextClass(nullptr, std::nullopt, std::nullopt, std::nullopt);
}

void TUIText::SetClass(const PTextClass& textClass, int state)
{
    if (textClass && ValidState(state))
        Class[static_cast<size_t>(state)] = textClass->Copy();
}

void TUIText::SetFont(platform::FontPtr font, int state)
{
    if (!ValidState(state))
        return;
    Class[static_cast<size_t>(state)]->Font = std::move(font);
    Init();
}

void TUIText::SetCol(const TRGB& colour, int state)
{
    if (ValidState(state))
        Class[static_cast<size_t>(state)]->Color = colour;
}

void TUIText::SetOutline(const TRGB& colour, int state)
{
    if (ValidState(state))
        Class[static_cast<size_t>(state)]->Outline = colour;
}

void TUIText::SetShadow(const TDim& offset, int state)
{
    if (ValidState(state))
        Class[static_cast<size_t>(state)]->Shadow = offset;
}

void TUIText::SetText(const std::string& t)
{
    Text = t;
    Init();
}

void TUIText::Init()
{
    for (size_t s = 0; s < Class.size(); ++s) {
        TextObject[s] = FormatText(Text, Class[s]->Font, w, adh);
        TxtHeight[s] = TextObject[s].Height;
    }
}

void TUIText::DrawState(int state, bool centred)
{
    const size_t s = static_cast<size_t>(state);
    const float top = centred ? std::trunc(y + static_cast<float>(h / 2) - static_cast<float>(TxtHeight[0]) * 0.5f)
                              : std::trunc(y);
    TextObject[s].DrawWithTextClass(std::trunc(x), top, Class[s], Align);
}

void TUIText::OnDraw()
{
    if (vAlign == 0 || vAlign == 1)
        DrawState(0, vAlign == 1);
}

namespace {

// Width of the widest line of the layout in the class's font.
int WidestLine(const TFormatedText& layout, const PTextClass& textClass)
{
    const platform::FontPtr before = platform::GetFont();
    textClass->SelectFont();
    int widest = 0;
    for (const std::string& line : layout.texts)
        widest = std::max(widest, platform::TextWidth(line));
    platform::SetFont(before);
    return widest;
}

} // namespace

void TUIText::LoadCaption(const TBlockFile& block, int defaultAlign)
{
    Text = GuiLineText(block, *this);
    Align = EntryInt(block, "Align", defaultAlign);
    vAlign = EntryInt(block, "VAlign", vAlign);
    // Without "Width" the box is as wide as the text (its line breaks kept);
    // without "Height" as high as the laid-out text.
    w = EntryInt(block, "Width", 0);
    if (w <= 0) {
        w = 1 << 20;
        Init();
        w = WidestLine(TextObject[0], Class[0]);
    }
    Init();
    h = EntryInt(block, "Height", 0);
    if (h <= 0)
        h = TxtHeight[0];
}

void TUIText::LoadTypeData(const TBlockFile& block)
{
    const int n = EntryInt(block, "Class", 1);
    Class[0] = ProgramClassOr(n, Describe("TEXT", Name), CreateRGB(255, 255, 255, 1))->Copy();
    LoadCaption(block, 0);
}

// ---- TUITextButton ----

void TUITextButton::UpdateUI()
{
    if (!isActivated)
        CurrState = 3;
    else if (isPressed || isHolded)
        CurrState = 2;
    else if (isOver)
        CurrState = 1;
    else
        CurrState = 0;
}

void TUITextButton::OnDraw()
{
    int s = ValidState(CurrState) ? CurrState : 0;
    if (TextObject[static_cast<size_t>(s)].lines == 0)
        s = 0;
    DrawState(s, true);
}

void TUITextButton::LoadTypeData(const TBlockFile& block)
{
    const std::string who = Describe("TEXTBUTTON", Name);
    // Stand-ins for the program-wide button sets: normal, over, pressed, inactive.
    static const TRGB kFallback[kStates] = {CreateRGB(255, 255, 0, 1), CreateRGB(255, 255, 255, 1),
                                            CreateRGB(255, 0, 0, 1), CreateRGB(100, 100, 100, 1)};
    const PBlockFile classes = block.isBlock("Classes");
    if (classes && classes->GetSize() >= kStates) {
        for (int s = 0; s < kStates; ++s)
            Class[static_cast<size_t>(s)] =
                ProgramClassOr(datafiles::TruncToInt(classes->GetFloat(s)), who, kFallback[s])->Copy();
    } else {
        const int set = classes ? datafiles::TruncToInt(classes->GetFloat(0)) : 1;
        if (set != 1 && set != 2)
            platform::Log("GUI file: " + who + " names text-button set " + std::to_string(set) +
                          "; the sets are 1 and 2, set 1 is used");
        const gui::TextButtonClasses& chosen = gui::TextButtonClassSet(set == 2 ? 2 : 1);
        for (size_t s = 0; s < Class.size(); ++s)
            Class[s] = chosen[s] ? chosen[s]->Copy() : NewTextClass(nullptr, kFallback[s], std::nullopt, std::nullopt);
    }
    LoadCaption(block, 1);
    isAvailableForClicking = 1;
}

// ---- TUICounter ----

void TUICounter::SetValue(int v, bool instantly)
{
    if (instantly)
        Value = v;
    dValue = v;
    SetText(std::to_string(Value));
}

void TUICounter::UpdateUI()
{
    const int64_t clock = fx::AppClock();
    if (Value == dValue || NextValue >= clock)
        return;
    NextValue = clock + DelayTime;
    Value += Value < dValue ? 1 : -1;
    SetText(std::to_string(Value));
}

void TUICounter::OnDraw() { DrawState(0, true); }

// ---- Creation ----

PUIImage CreateUIImage(const std::string& path, float x, float y, app::TAppObj* parent, int flags, int frame)
{
    platform::ImagePtr pic = LoadWidgetPicture(path, flags, std::string());
    auto img = CreateUIImage(pic, x, y, parent, flags, frame);
    return img;
}

PUIImage CreateUIImage(platform::ImagePtr image, float x, float y, app::TAppObj* parent, int /*flags*/, int frame)
{
    auto img = std::make_shared<TUIImage>();
    img->Frame = frame;
    if (parent)
        parent->AddObject(img, 1);
    img->SetImage(std::move(image));
    img->SetXY(x, y);
    img->Init();
    return img;
}

namespace {

PUILightButton MakeLightButton(platform::ImagePtr image, float x, float y, app::TAppObj* parent, float lightPower)
{
    auto button = std::make_shared<TUILightButton>();
    button->SetXY(x, y);
    if (image)
        button->SetImage(std::move(image));
    button->LightPower = lightPower;
    button->isAvailableForClicking = 1;
    button->Init();
    if (parent)
        parent->AddObject(button, 1);
    return button;
}

} // namespace

PUILightButton CreateUILightButton(const std::string& path, float x, float y, app::TAppObj* parent, float lightPower)
{
    return MakeLightButton(LoadWidgetPicture(path, platform::kImageFiltered, std::string()), x, y, parent,
                           lightPower);
}

PUILightButton CreateUILightButton(platform::ImagePtr image, float x, float y, app::TAppObj* parent, float lightPower)
{
    return MakeLightButton(std::move(image), x, y, parent, lightPower);
}

PUIText CreateUIText(const std::string& text, float x, float y, int w, int h, app::TAppObj* parent,
                     const TClassOrFont& classOrFont, std::optional<TRGB> colour, std::optional<TRGB> outline,
                     std::optional<TDim> shadow, int adh)
{
    auto caption = std::make_shared<TUIText>();
    caption->adh = adh;
    caption->Text = text;
    caption->SetXY(x, y);
    caption->w = w;
    caption->h = h;
    if (parent)
        parent->AddObject(caption, 1);
    if (const auto* cls = std::get_if<PTextClass>(&classOrFont))
        caption->SetClass(*cls, 0);
    else if (const auto* font = std::get_if<platform::FontPtr>(&classOrFont))
        caption->SetFont(*font, 0);
    if (colour)
        caption->SetCol(*colour, 0);
    if (outline)
        caption->SetOutline(*outline, 0);
    if (shadow)
        caption->SetShadow(*shadow, 0);
    caption->Init();
    return caption;
}

PUITextButton CreateUITextButton(const std::string& text, float x, float y, int w, int h, app::TAppObj* parent,
                                 std::span<const PTextClass> classes)
{
    auto button = std::make_shared<TUITextButton>();
    button->SetXY(x, y);
    button->Text = text;
    button->w = w;
    button->h = h;
    button->SetAlign(1);
    if (parent)
        parent->AddObject(button, 1);
    for (size_t i = 0; i < classes.size() && i < static_cast<size_t>(TUIText::kStates); ++i)
        button->SetClass(classes[i], static_cast<int>(i));
    button->Init();
    button->isAvailableForClicking = 1;
    return button;
}

PUICounter CreateUICounter(int value, float x, float y, int w, int h, app::TAppObj* parent,
                           const PTextClass& textClass)
{
    auto counter = std::make_shared<TUICounter>();
    counter->SetXY(x, y);
    counter->w = w;
    counter->h = h;
    counter->SetAlign(1);
    if (parent)
        parent->AddObject(counter, 1);
    counter->SetClass(textClass, 0);
    counter->SetValue(value, true);
    return counter;
}

void RegisterWidgetTypes()
{
    static const bool registered = [] {
        app::RegisterAppObjType("IMAGE", [] { return std::make_shared<TUIImage>(); });
        app::RegisterAppObjType("LIGHTBUTTON", [] { return std::make_shared<TUILightButton>(); });
        app::RegisterAppObjType("TEXT", [] { return std::make_shared<TUIText>(); });
        app::RegisterAppObjType("TEXTBUTTON", [] { return std::make_shared<TUITextButton>(); });
        return true;
    }();
    (void)registered;
}

} // namespace gui
