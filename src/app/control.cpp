#include "app/control.h"

#include "app/deltatime.h"
#include "app/paths.h"
#include "app/platform/platform.h"
#include "datafiles/numbers.h"

#include <exception>

namespace app {

namespace {

struct ControlState {
    std::shared_ptr<TScreen> current;
    std::shared_ptr<TScreen> loadingScreen;
    std::vector<std::shared_ptr<TScreen>> screens;
    std::vector<std::shared_ptr<TPopUp>> popups;
    std::vector<std::pair<std::string, SaveHook>> saves;
    Control::Hooks hooks;
    std::shared_ptr<platform::Font> systemFont;
    std::string pauseText;
    std::string loadingText;
    int wide = 0;
    bool quitting = false;
    int exitStatus = 0;
};

ControlState& S()
{
    static ControlState state;
    return state;
}

void Call(const std::function<void()>& f)
{
    if (f)
        f();
}


// A localised text that the frame can do without: missing means empty.
std::string ReadOptionalText(const std::string& path)
{
    if (auto text = platform::TryReadTextFile(path))
        return TrimText(*text);
    platform::Log("Cannot read " + path + "; the text stays empty");
    return {};
}

void ResetFrameState()
{
    platform::SetColor(255, 255, 255);
    platform::SetAlpha(1.0f);
    platform::SetBlend(platform::kBlendAlpha);
    platform::SetRotation(0.0f);
    platform::SetScale(1.0f, 1.0f);
}

// Draws a text centred on the design area, as the pause and loading screens do.
void DrawCentredText(const std::string& text)
{
    platform::Cls();
    ResetFrameState();
    platform::SetFont(S().systemFont);
    const int w = platform::TextWidth(text);
    const int h = platform::TextHeight();
    platform::DrawText(text, static_cast<float>(512 - w / 2), static_cast<float>(384 - h / 2));
}

bool AltF4Hit()
{
    return (platform::KeyDown(platform::key::LeftAlt) || platform::KeyDown(platform::key::RightAlt)) &&
           platform::KeyHit(platform::key::F4) > 0;
}

// The pause screen: a blocking loop while the window is inactive. The
// application clock is held on every pass, so it does not advance meanwhile.
void PauseScreen()
{
    Call(S().hooks.pauseSounds);
    while (true) {
        Call(S().hooks.beginFrame);
        HoldApplicationClock();
        UpdateDeltaTime();
        // Closing from the pause screen saves and quits without another frame.
        if (platform::CloseRequested() || AltF4Hit()) {
            Control::Quit();
            return;
        }
        DrawCentredText(S().pauseText);
        platform::Flip();
        Call(S().hooks.endFrame);
        if (!platform::AppSuspended())
            break;
    }
    HoldApplicationClock();
    Call(S().hooks.resumeSounds);
}

} // namespace

int Control::SpeedFPS = Control::kDefaultSpeedFPS;

// ---- GRAPHICS MODE ----

GraphicsMode ChooseGraphicsMode(int fullScreen, int desktopWidth, int desktopHeight)
{
    GraphicsMode m;
    if (fullScreen != 0) {
        m.width = desktopWidth > 0 ? desktopWidth : 1366;
        m.height = desktopHeight > 0 ? desktopHeight : 768;
        m.depth = 32;
        m.virtualW = 1366;
        m.virtualH = 768;
        m.virtualMode = 3;
        m.wide = 1;
    } else if (desktopWidth < 1366) {
        m.width = 1024;
        m.height = 768;
        m.virtualW = 1366;
        m.virtualH = 768;
        m.virtualMode = 3;
        m.wide = 1;
    } else {
        m.width = 1366;
        m.height = 768;
        m.virtualW = 1024;
        m.virtualH = 768;
        m.virtualMode = 2;
        m.wide = 0;
    }
    return m;
}

bool Control::ApplyGraphicsMode(int fullScreen)
{
    const GraphicsMode m = ChooseGraphicsMode(fullScreen, platform::DesktopWidth(), platform::DesktopHeight());
    if (!platform::OpenDisplay(m.width, m.height, m.depth, 60, 0)) {
        platform::Log("Cannot open a display of " + std::to_string(m.width) + " x " + std::to_string(m.height));
        return false;
    }
    platform::SetVirtualResolution(m.virtualW, m.virtualH, m.virtualMode);
    S().wide = m.wide;
    SetDesignOrigin(m.wide ? 171.0f : 0.0f, 0.0f);
    return true;
}

int Control::WideLayout() { return S().wide; }
void Control::SetWideLayout(int wide) { S().wide = wide; }

// ---- SCREENS ----

void Control::AddScreen(const std::shared_ptr<TScreen>& screen)
{
    if (screen)
        S().screens.push_back(screen);
}

void Control::AddPopUp(const std::shared_ptr<TPopUp>& popup)
{
    if (popup)
        S().popups.push_back(popup);
}

const std::vector<std::shared_ptr<TScreen>>& Control::Screens() { return S().screens; }
const std::vector<std::shared_ptr<TPopUp>>& Control::PopUps() { return S().popups; }

std::shared_ptr<TScreen> Control::GetScreenByName(const std::string& name)
{
    for (const auto& s : S().screens)
        if (datafiles::EqualsNoCase(s->Name, name))
            return s;
    return nullptr;
}

std::shared_ptr<TPopUp> Control::GetPopUpByName(const std::string& name)
{
    for (const auto& p : S().popups)
        if (p && datafiles::EqualsNoCase(p->Name, name))
            return p;
    return nullptr;
}

std::shared_ptr<TScreen> Control::CurrScreen() { return S().current; }
void Control::SetStartScreen(const std::shared_ptr<TScreen>& screen) { S().current = screen; }
void Control::SetCurrScreenInstantly(const std::shared_ptr<TScreen>& screen) { S().current = screen; }
void Control::SetLoadingScreen(const std::shared_ptr<TScreen>& screen) { S().loadingScreen = screen; }

void Control::PrepareScreen(const std::shared_ptr<TScreen>& screen)
{
    platform::FlushKeys();
    platform::FlushMouse();
    if (screen)
        screen->ClearButtons();
    if (S().current)
        S().current->Leave();
    if (screen) {
        screen->Prepare();
        screen->Calculate();
    }
}

void Control::SetCurrScreen(const std::shared_ptr<TScreen>& screen)
{
    platform::FlushKeys();
    platform::FlushMouse();
    PrepareScreen(screen);
    SetCurrScreenInstantly(screen);
}

void Control::SetCurrPopUp(const std::shared_ptr<TPopUp>& popup)
{
    if (S().current)
        S().current->ShowPopUpOnScreen(popup);
}

// ---- FRAME ----

void Control::Setup()
{
    S().systemFont = platform::LoadFont(GameDir() + "Gfx/font.ttf", 32);
    if (!S().systemFont)
        platform::Log("Cannot load the system font " + GameDir() + "Gfx/font.ttf; using the built-in font");
    S().pauseText = ReadOptionalText(LocalDir() + "Txt/Pause.txt");
    S().loadingText = ReadOptionalText(LocalDir() + "Txt/LoadingText.txt");
}

int Control::MainLoop()
{
    while (!S().quitting) {
        Update();
        if (S().quitting)
            break;
        Call(S().hooks.afterUpdate);
        Draw();
        Interface();
    }
    return S().exitStatus;
}

void Control::Update()
{
    Call(S().hooks.beginFrame);
    UpdateDeltaTime();
    Call(S().hooks.soundUpdate);
    Call(S().hooks.mouseUpdate);
    AppClock();
    if (platform::AppSuspended() && (!S().current || S().current != S().loadingScreen)) {
        PauseScreen();
        if (S().quitting)
            return;
    }
    if (platform::CloseRequested() || AltF4Hit()) {
        Quit();
        return;
    }

    if (S().current)
        S().current->Update();

    ApplySpeedToggle(Markers().cheats, Markers().cheats && platform::KeyHit(platform::key::Equals) > 0,
                     SpeedFPS);
}

void Control::Draw()
{
    platform::Cls();
    ResetFrameState();
    if (!S().current)
        DebugText("NO CURR SCREEN SET!", 10, 10, 0);
    else
        S().current->Draw();
    FlipScreen();
}

void Control::Interface()
{
    const auto current = S().current;
    if (!current)
        return;
    if (current->ShowedPopUps.empty()) {
        current->Interface();
        return;
    }
    const auto top = current->ShowedPopUps.back();
    if (top && top->isLocked == 0)
        top->Interface();
}

void Control::FlipScreen()
{
    platform::SetColor(0, 0, 0);
    platform::SetScale(1.0f, 1.0f);
    platform::SetBlend(platform::kBlendAlpha);
    platform::SetRotation(0.0f);
    platform::SetAlpha(1.0f);
    // A black strip just below the design area.
    platform::DrawRect(-171, 767, 1366, 8);
    SetDesignOrigin(S().wide ? 171.0f : 0.0f, 0.0f);
    Call(S().hooks.beforeFlip);
    platform::Flip();
    Call(S().hooks.endFrame);
}

void Control::ShowLoadingText()
{
    DrawCentredText(S().loadingText);
    platform::Flip();
}

// ---- QUITTING ----

void Control::AddSaveBeforeQuit(const std::string& name, SaveHook save)
{
    if (save)
        S().saves.emplace_back(name, std::move(save));
}

bool Control::SaveAll()
{
    bool allSaved = true;
    for (const auto& [name, save] : S().saves) {
        bool ok = false;
        try {
            ok = save();
            if (!ok)
                platform::Log("Could not save " + name + "; the values stay in memory only");
        } catch (const std::exception& e) {
            platform::Log("Could not save " + name + ": " + e.what());
        } catch (...) {
            platform::Log("Could not save " + name + ": unknown error");
        }
        allSaved = allSaved && ok;
    }
    return allSaved;
}

void Control::Quit()
{
    if (S().quitting)
        return;
    S().quitting = true;
    if (!SaveAll())
        S().exitStatus = 3;
}

bool Control::Quitting() { return S().quitting; }
int Control::ExitStatus() { return S().exitStatus; }

Control::Hooks& Control::GetHooks() { return S().hooks; }

const std::string& Control::PauseText() { return S().pauseText; }
const std::string& Control::LoadingText() { return S().loadingText; }

void Control::Reset()
{
    S() = ControlState{};
    SpeedFPS = kDefaultSpeedFPS;
}

// ---- Global helpers ----

void SetDesignOrigin(float x, float y)
{
    const platform::Projection& p = platform::CurrentProjection();
    platform::SetOrigin(x + p.offsetX, y + p.offsetY);
}

void ConsoleTrace(const std::string& text) { platform::Trace(text); }

void DebugText(const std::string& text, float x, float y, int colourIndex)
{
    const int r = platform::ColorRed();
    const int g = platform::ColorGreen();
    const int b = platform::ColorBlue();
    platform::SetColor(0, 0, 0);
    platform::DrawText(text, x - 1, y - 1);
    platform::DrawText(text, x - 1, y + 1);
    platform::DrawText(text, x + 1, y - 1);
    platform::DrawText(text, x + 1, y + 1);
    struct Rgb {
        int r, g, b;
    };
    static const Rgb colours[] = {{255, 255, 255}, {255, 0, 0},   {0, 255, 0},   {0, 0, 255},  {0, 255, 255},
                                  {255, 255, 0},   {255, 0, 255}, {255, 150, 0}, {0, 150, 255}};
    if (colourIndex >= 0 && colourIndex < static_cast<int>(std::size(colours)))
        platform::SetColor(colours[colourIndex].r, colours[colourIndex].g, colours[colourIndex].b);
    else
        platform::SetColor(r, g, b);
    platform::DrawText(text, x, y);
    platform::SetColor(r, g, b);
}

void ApplySpeedToggle(bool cheats, bool keyHit, int speedFps)
{
    if (!cheats || !keyHit)
        return;
    TDeltaTime& meter = MainDeltaTime();
    if (meter.dFps == static_cast<float>(speedFps))
        meter.SetFPS(60.0f);
    else
        meter.SetFPS(static_cast<float>(speedFps));
}

} // namespace app
