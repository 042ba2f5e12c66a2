#include "game/startup.h"

#include "game/autoplay.h"
#include "app/control.h"
#include "app/deltatime.h"
#include "app/globalvars.h"
#include "app/inputscript.h"
#include "app/loading.h"
#include "app/paths.h"
#include "app/platform/platform.h"
#include "game/registry.h"
#include "app/settings.h"
#include "gui/textclasses.h"
#include "fx/timing.h"
#include "gui/mouse.h"
#include "gui/widgets.h"
#include "menus/splash.h"
#include "progress/road.h"
#include "game/gallery.h"

#include <cstdio>
#include <memory>
#include <optional>

namespace game {

using namespace app;

namespace {

// Drives a run frame by frame for automation: the virtual clock of headless
// runs, the frame limit, the input script and the screenshots.
class Automation {
public:
    Automation(const CmdOptions& options, InputScript script)
        : frames_(options.frames), screenshot_(options.screenshot), player_(std::move(script))
    {
        if (options.headless) {
            clock_ = std::make_shared<platform::VirtualClock>(HeadlessClockAt(0));
            platform::SetClock(clock_);
        }
    }

    ~Automation()
    {
        if (clock_)
            platform::SetClock(nullptr);
    }

    void Install(bool scriptCloses)
    {
        // Without a known last frame every frame is kept, so that the one
        // drawn last can be written when the run ends.
        captureEveryFrame_ = !screenshot_.empty() && (!frames_ || scriptCloses);
        Control::GetHooks().beginFrame = [this] { BeginFrame(); };
        Control::GetHooks().endFrame = [this] { EndFrame(); };
    }

    int64_t Frame() const { return frame_; }

    // Writes the --screenshot file; false when it could not be written.
    bool WriteFinalScreenshot()
    {
        if (screenshot_.empty() || frame_ == 0)
            return true;
        if (platform::SaveScreenshot(screenshot_))
            return true;
        platform::Log("Cannot write the screenshot " + screenshot_);
        return false;
    }

private:
    void BeginFrame()
    {
        ++frame_;
        if (clock_)
            clock_->Set(HeadlessClockAt(frame_));
        if (frames_ && frame_ > *frames_) {
            platform::InjectClose();
            return;
        }
        if ((frames_ && frame_ == *frames_ && !screenshot_.empty()) || captureEveryFrame_)
            platform::CaptureNextFrame();
        for (const ScriptEvent& e : player_.TakeUpTo(frame_))
            Inject(e);
    }

    void EndFrame()
    {
        for (const std::string& path : pendingShots_)
            if (!platform::SaveScreenshot(path))
                platform::Log("Cannot write the screenshot " + path);
        pendingShots_.clear();
    }

    void Inject(const ScriptEvent& e)
    {
        switch (e.action) {
        case ScriptAction::MouseMove:
            // Scripts give design-area units; the platform's pointer is in
            // virtual units, where the wide layout puts the design area 171
            // units from the left edge.
            platform::InjectMouseMove(e.x + (Control::WideLayout() ? 171.0f : 0.0f), e.y);
            break;
        case ScriptAction::MouseDown:
        case ScriptAction::MouseUp:
            platform::InjectMouseButton(e.button, e.action == ScriptAction::MouseDown);
            break;
        case ScriptAction::KeyDown:
        case ScriptAction::KeyUp:
            platform::InjectKey(e.key, e.action == ScriptAction::KeyDown);
            break;
        case ScriptAction::Text:
            for (char32_t c : platform::Utf8ToU32(e.text))
                platform::InjectChar(static_cast<int>(c));
            break;
        case ScriptAction::FocusLost:
        case ScriptAction::FocusGained:
            platform::InjectFocus(e.action == ScriptAction::FocusGained);
            break;
        case ScriptAction::Close:
            platform::InjectClose();
            break;
        case ScriptAction::Screenshot:
            platform::CaptureNextFrame();
            pendingShots_.push_back(e.text);
            break;
        }
    }

    std::optional<int64_t> frames_;
    std::string screenshot_;
    ScriptPlayer player_;
    std::shared_ptr<platform::VirtualClock> clock_;
    bool captureEveryFrame_ = false;
    int64_t frame_ = 0;
    std::vector<std::string> pendingShots_;
};

// Restores the program-wide state a run changed, however the run ends.
struct RunGuard {
    ~RunGuard()
    {
        Control::GetHooks() = Control::Hooks{};
        SetEventPump(nullptr);
        fx::SetFrameFactorSource(nullptr);
        fx::SetAppClockSource(nullptr);
        if (platform::IsInitialised())
            platform::Shutdown();
    }
};

} // namespace

int64_t HeadlessClockAt(int64_t frame)
{
    // Starts above 0 so that no reading of the clock is ever 0.
    constexpr int64_t kStart = 1000;
    return kStart + frame * 1000 / 60;
}

bool ReadLanguageAndTitle(std::string& title, std::string& error)
{
    const std::string localPath = GameDir() + "Local.txt";
    const auto local = platform::TryReadTextFile(localPath);
    if (!local) {
        error = "Cannot read the file \"" + localPath + "\", which names the language folder.";
        return false;
    }
    SetLanguageFolder(TrimText(*local));

    const std::string namePath = TrimText(GameDir() + "local/" + LanguageFolder() + "/appname.txt");
    const auto name = platform::TryReadTextFile(namePath);
    if (!name) {
        error = "Cannot read the file \"" + namePath + "\", which holds the window title.";
        return false;
    }
    // Line ends and blanks around the name do not belong in a window title.
    title = TrimText(*name);
    return true;
}

// The start-up order (later steps read what earlier ones set); the numbered
// headers below mark the steps in place, and each subsystem adds its step at
// its number when it arrives:
//   1 platform, 2 program-wide objects and marker files, 3 frame timing,
//   4 single-instance guard, 5-6 the screens, pop-ups, loaders, text classes
//   and other program-wide objects, 7 console trace, 8 language and window
//   title, 9 global variables (SpeedFPS among them), 10 the loading screen as
//   start screen, 11 random seed, 12 user-data folder and settings, 13 sound
//   catalogue, 14 display, 15 dialog data generated when missing, 16 window
//   icon, 17 the global-variable file, 18 splash, 19 the loading screen's work
//   list, 20 Control::Setup and the main loop.
int RunGame(const CmdOptions& options, const StartupEnv& env)
{
    auto fail = [&](const std::string& message) {
        platform::Log(message);
        if (env.messageBox)
            env.messageBox(message);
        else
            platform::MessageBox(message, true);
        return 1;
    };

    // The input script is read first: a run that cannot follow its script
    // should not start at all.
    InputScript script;
    bool scriptCloses = false;
    if (!options.inputScript.empty()) {
        const auto text = platform::TryReadTextFile(options.inputScript);
        if (!text) {
            platform::Log("Cannot read the input script " + options.inputScript);
            return 2;
        }
        ScriptParseResult parsed = ParseInputScript(*text, options.inputScript);
        if (!parsed.errors.empty()) {
            for (const std::string& e : parsed.errors)
                platform::Log(e);
            return 2;
        }
        script = std::move(parsed.script);
        for (const ScriptEvent& e : script.events)
            scriptCloses = scriptCloses || e.action == ScriptAction::Close;
    }

    RunGuard guard;
    Automation automation(options, std::move(script));

    // ---- 1. Platform ----
    platform::InitOptions init;
    init.headless = options.headless;
    if (!platform::Init(init))
        platform::Log("The platform could not start; running without display and sound");
    SetEventPump([] { platform::PollEvents(); });
    if (options.headless)
        platform::SetFrameLimit(0); // the virtual clock sets the pace

    // ---- 2. Program-wide state: game folder and marker files ----
    SetGameDir(options.gameDir);
    ReadMarkerFlags();

    // ---- 3. Frame timing ----
    MainDeltaTime().SetFPS(60.0f);
    // Animations read the frame factor and the application clock through fx.
    fx::SetFrameFactorSource([] { return FrameFactor(); });
    fx::SetAppClockSource([] { return AppClock(); });

    // ---- 5-6. Text classes and the mouse object ----
    // The program-wide text classes load the game's fonts; the mouse object
    // is refreshed in every frame step from here on.
    gui::CreateProgramTextClasses();
    Control::GetHooks().mouseUpdate = [] { gui::Mouse().Update(); };
    // The widget types of GUI files, before any screen reads its file.
    gui::RegisterWidgetTypes();

    // ---- 5. Screens, pop-ups and loaders ----
    // The text classes above already exist, so they are not made again here.
    CreateProgramScreens(false);
    // The progression behind the level's pop-ups and the menus.
    progress::InstallRoad();

    // ---- 7. Console trace ----
    ConsoleTrace("Velmora starting, game folder " + GameDir());

    // ---- 8. Language folder and window title ----
    std::string title;
    std::string error;
    if (!ReadLanguageAndTitle(title, error))
        return fail(error);
    platform::SetWindowTitle(title);

    // ---- 9. Global variables ----
    RegisterProgramGlobalVars();

    // ---- 10. The loading screen starts ----
    Control::SetStartScreen(Program().LoadingScreen);
    Control::SetLoadingScreen(Program().LoadingScreen);

    // ---- 11. Random numbers ----
    platform::Rng().Seed(options.seed ? *options.seed : static_cast<uint32_t>(platform::Millis()));

    // ---- 12. User-data folder and settings ----
    const UserFolderResult user = PrepareUserDataFolder(platform::AppDataFolder(), options.userDir);
    SetUserDataFolder(user.folder);
    if (!user.ok)
        platform::Log(user.message + "; settings and profiles will not be saved");
    Settings::Load();
    Control::AddSaveBeforeQuit("the settings", [] { return Settings::Save(); });

    // ---- 14. Display ----
    // The full-screen choice of the command line wins over the settings;
    // headless runs keep to a window unless told otherwise, so that their
    // screenshots do not depend on the desktop.
    const int fullScreen = options.fullScreen ? (*options.fullScreen ? 1 : 0)
                                              : (options.headless ? 0 : Settings::FullScreen);
    if (!Control::ApplyGraphicsMode(fullScreen))
        return fail("Cannot open the game window.");

    // ---- 16. Window icon ----
    const std::string iconPath = GameDir() + "gfx/icon.png";
    if (platform::FileExists(iconPath))
        platform::SetWindowIcon(iconPath);

    // ---- 17. Global-variable file ----
    LoadGlobalVars();

    // ---- 18. Splash ----
    // The automation drives the splash's frames as it drives the main loop's:
    // the virtual clock, the input script, screenshots and the frame limit.
    automation.Install(scriptCloses);
    {
        menus::TSplash splash;
        splash.Setup();
        // Closing the window during the splash ends the run as it would later.
        if (!splash.Mainloop())
            Control::Quit();
        else if (!splash.images.empty())
            ConsoleTrace("Splash over in frame " + std::to_string(automation.Frame()));
    }

    // ---- 19. The loading screen's work list ----
    SetupLoadingScreen(Program().LoadingScreen);

    // ---- Developer gallery: Cheats.txt and --gallery ----
    if (options.gallery)
        game::StartGallery();

    // ---- 20. Main loop ----
    Control::Setup();
    // Testers' level start, built-in player and frame-time figures.
    std::unique_ptr<TAutoplay> tester;
    if (options.level || options.autoplay || options.bench) {
        tester = std::make_unique<TAutoplay>(options);
        tester->Install();
    }
    ResetDeltaTime();
    int status = Control::MainLoop();
    ConsoleTrace("Quit in frame " + std::to_string(automation.Frame()));
    if (!automation.WriteFinalScreenshot() && status == 0)
        status = 1;
    if (tester) {
        tester->PrintBench();
        if (tester->ExitStatus() && status == 0)
            status = *tester->ExitStatus();
    }
    return status;
}

int VelmoraMain(const std::vector<std::string>& args)
{
    const CmdLineResult cmd = ParseCommandLine(args);
    switch (cmd.action) {
    case CmdAction::Help:
        std::fputs(UsageText().c_str(), stdout);
        return 0;
    case CmdAction::Version:
        std::puts(VersionText().c_str());
        return 0;
    case CmdAction::Error:
        std::fprintf(stderr, "velmora: %s\nTry 'velmora --help' for the options.\n", cmd.message.c_str());
        return 2;
    case CmdAction::Run:
        break;
    }
    return RunGame(cmd.options);
}

} // namespace game
