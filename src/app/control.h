// Control: the current screen, the lists of screens and pop-ups, and the frame
// (update, draw, interface, flip) that the main loop repeats.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/screen.h"

namespace app {

// Display geometry chosen from the full-screen setting and the desktop size.
struct GraphicsMode {
    int width = 1366, height = 768; // window client size, or the desktop for full screen
    int depth = 0;                  // 0 window, 32 full screen
    float virtualW = 1024, virtualH = 768;
    int virtualMode = 2;
    int wide = 0; // 1 when the 1366-wide virtual area is used directly
};

// FullScreen 0 is a window (1366 x 768 when the desktop is at least 1366 wide,
// else 1024 x 768 showing the letter-boxed 1366 x 768 area); any other value
// is full screen at the desktop size.
GraphicsMode ChooseGraphicsMode(int fullScreen, int desktopWidth, int desktopHeight);

// A "save before quit" entry: returns false (or throws) when the save failed.
using SaveHook = std::function<bool()>;

class Control {
public:
    Control() = delete;

    static constexpr int kDefaultSpeedFPS = 120;
    // The nominal rate of the speed toggle (the global variable "SpeedFPS").
    static int SpeedFPS;

    // ---- SCREENS ----
    static void AddScreen(const std::shared_ptr<TScreen>& screen);
    static void AddPopUp(const std::shared_ptr<TPopUp>& popup);
    static const std::vector<std::shared_ptr<TScreen>>& Screens();
    static const std::vector<std::shared_ptr<TPopUp>>& PopUps();
    // The first registered screen whose name matches ignoring case; none otherwise.
    static std::shared_ptr<TScreen> GetScreenByName(const std::string& name);
    // The registered pop-up of that name (letter case ignored), or none.
    static std::shared_ptr<TPopUp> GetPopUpByName(const std::string& name);
    static std::shared_ptr<TScreen> CurrScreen();
    static void SetStartScreen(const std::shared_ptr<TScreen>& screen);
    static void SetCurrScreenInstantly(const std::shared_ptr<TScreen>& screen);
    static void PrepareScreen(const std::shared_ptr<TScreen>& screen);
    static void SetCurrScreen(const std::shared_ptr<TScreen>& screen);
    static void SetCurrPopUp(const std::shared_ptr<TPopUp>& popup);
    // The loading screen: losing the focus while it is current pauses nothing.
    static void SetLoadingScreen(const std::shared_ptr<TScreen>& screen);

    // ---- FRAME ----
    // Loads the system font, the pause text and the loading text.
    static void Setup();
    // Repeats Update, Draw and Interface until the program quits; returns the
    // exit status (0, or 3 when a save before quitting failed).
    static int MainLoop();
    static void Update();
    static void Draw();
    static void Interface();
    static void FlipScreen();
    // One flipped frame showing the loading text (used while a screen is prepared).
    static void ShowLoadingText();

    // ---- QUITTING ----
    // Registers a save that runs, in registration order, before the program quits.
    static void AddSaveBeforeQuit(const std::string& name, SaveHook save);
    // Runs every save; a failing one is reported on the console and the rest
    // still run. Returns false when any failed.
    static bool SaveAll();
    // Saves and stops the main loop (the close button, Alt+F4, --frames).
    static void Quit();
    static bool Quitting();
    static int ExitStatus();

    // ---- HOOKS ----
    // Filled in by the subsystems that provide them; empty hooks do nothing.
    struct Hooks {
        std::function<void()> soundUpdate;  // sound catalogue, once per frame
        std::function<void()> mouseUpdate;  // mouse object, once per frame
        std::function<void()> pauseSounds;  // the pause screen begins
        std::function<void()> resumeSounds; // the pause screen ends
        std::function<void()> beginFrame;   // automation: before a frame's events are polled
        std::function<void()> endFrame;     // automation: after a frame's flip
        std::function<void()> afterUpdate;  // measuring: the frame's update is over
        std::function<void()> beforeFlip;   // measuring: the frame is drawn, the flip (and its wait) follows
    };
    static Hooks& GetHooks();

    // ---- DISPLAY ----
    // Opens the display for the full-screen setting and sets the projection.
    static bool ApplyGraphicsMode(int fullScreen);
    static int WideLayout();
    static void SetWideLayout(int wide);

    // ---- TEXTS ----
    static const std::string& PauseText();
    static const std::string& LoadingText();

    // Everything back to the start (tests).
    static void Reset();
};

// Sets the drawing origin to (x, y) plus the offsets of the current projection.
void SetDesignOrigin(float x, float y);

// The developer console line: "> " + text.
void ConsoleTrace(const std::string& text);

// Text drawn with a one-pixel black border: colour index 0 white, 1 red,
// 2 green, 3 blue, 4 cyan, 5 yellow, 6 magenta, 7 orange, 8 sky blue; other
// indices keep the current colour.
void DebugText(const std::string& text, float x, float y, int colourIndex);

// The speed toggle: with cheats on and the key hit, switches the nominal rate
// between 60 and speedFps.
void ApplySpeedToggle(bool cheats, bool keyHit, int speedFps);

} // namespace app
