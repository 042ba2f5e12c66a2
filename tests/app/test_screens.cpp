// Screens and pop-ups: set-up from the text and object files, the pop-up stack
// with its dark layer, Show and Hide, preparing and leaving, the transition
// screen and the loading screen with the program's screens. Runs on a small
// headless software display so that drawn layers can be read back as pixels.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <tuple>
#include <vector>

#include "app/control.h"
#include "app/crosser.h"
#include "app/deltatime.h"
#include "app/globalvars.h"
#include "app/loading.h"
#include "app/paths.h"
#include "app/platform/platform.h"
#include "game/registry.h"
#include "app/screen.h"
#include "gui/widgets.h"
#include "menus/styled/zefarpopup.h"

namespace {

namespace fs = std::filesystem;
using app::Control;
using Log = std::vector<std::string>;

// Writes each event into a shared log as "<name>.<event>"; OnDraw may cover
// the whole design area in one grey level.
template <class Base>
class Rec : public Base {
public:
    Rec(std::string name, Log& log) : log_(log) { this->Name = std::move(name); }
    void OnSetup() override { Note("OnSetup"); }
    void OnPrepare() override
    {
        Note("OnPrepare");
        if (onPrepare)
            onPrepare();
    }
    void OnLeave() override { Note("OnLeave"); }
    void OnUpdate() override { Note("OnUpdate"); }
    void OnDraw() override
    {
        Note("OnDraw");
        if (fill >= 0) {
            platform::SetColor(fill, fill, fill);
            platform::DrawRect(-171, 0, 1366, 768);
        }
    }
    void Interface() override { Note("Interface"); }
    void ClearButtons() override
    {
        Note("ClearButtons");
        Base::ClearButtons();
    }

    int fill = -1;
    std::function<void()> onPrepare;

protected:
    void Note(const std::string& what) { log_.push_back(this->Name + "." + what); }
    Log& log_;
};

using RecScreen = Rec<app::TScreen>;

class RecPopUp : public Rec<app::TPopUp> {
public:
    using Rec::Rec;
    void OnShow() override { Note("OnShow"); }
    void OnHide() override
    {
        Note("OnHide");
        if (onHide)
            onHide();
    }
    std::function<void()> onHide;
};

class RecLoader : public Rec<app::TLoader> {
public:
    using Rec::Rec;
};

size_t Count(const Log& log, const std::string& entry) { return std::count(log.begin(), log.end(), entry); }

// Position of the first entry, or -1.
long IndexOf(const Log& log, const std::string& entry)
{
    const auto it = std::find(log.begin(), log.end(), entry);
    return it == log.end() ? -1 : static_cast<long>(it - log.begin());
}

class ScreensTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        platform::InitOptions o;
        o.headless = true;
        o.audio = false;
        ASSERT_TRUE(platform::Init(o));
        ASSERT_TRUE(platform::OpenDisplay(128, 96, 0));
    }
    static void TearDownTestSuite() { platform::Shutdown(); }

    void SetUp() override
    {
        clock = std::make_shared<platform::VirtualClock>(1000);
        platform::SetClock(clock);
        platform::SetFrameLimit(0);
        platform::SetRasterising(true);
        platform::SetVirtualResolution(1024, 768, 0);
        platform::ResetDrawState();
        platform::ResetInput();
        Control::Reset();
        // Every frame step takes exactly one nominal frame: 16 ms at 62.5
        // frames per second, so the frame factor is exactly 1, also right
        // after the timing is reset at a switch.
        app::MainDeltaTime().SetFPS(62.5f);
        app::SetEventPump([this] {
            clock->Advance(16);
            platform::PollEvents();
        });
        app::ResetAppClock();
        app::ResetDeltaTime();
        app::Loaders().clear();
        app::ResetLoading();
        app::GetLoadingHooks() = app::LoadingHooks{};
        app::Crosser() = std::make_shared<app::TCrosser>();
        menus::TZefarPopUp::ResetNextSide();
        gui::RegisterWidgetTypes(); // the widgets of GUI files
        app::GlobalVars::POPUPDARKFADESPEED = 0.05f;
        app::GlobalVars::POPUPSHOWSPEED = 0.025f;
        oldGameDir = app::GameDir();
        oldLanguage = app::LanguageFolder();
        platform::SetLogSink([this](const std::string& line) { console.push_back(line); });
    }

    void TearDown() override
    {
        platform::SetLogSink(nullptr);
        app::SetGameDir(oldGameDir);
        app::SetLanguageFolder(oldLanguage);
        app::SetEventPump(nullptr);
        app::MainDeltaTime().SetFPS(60);
        app::Crosser() = std::make_shared<app::TCrosser>();
        app::Loaders().clear();
        app::ResetLoading();
        game::Program() = game::ProgramScreens{};
        Control::Reset();
        platform::ResetInput();
        platform::SetFrameLimit(60);
        platform::SetClock(nullptr);
        if (!tmp.empty())
            fs::remove_all(tmp);
    }

    std::shared_ptr<RecScreen> Screen(const std::string& name)
    {
        auto s = std::make_shared<RecScreen>(name, log);
        s->Init(0, name, 1);
        return s;
    }
    std::shared_ptr<RecPopUp> PopUp(const std::string& name)
    {
        auto p = std::make_shared<RecPopUp>(name, log);
        p->Init(100, name, 1);
        return p;
    }

    // One frame step (a frame factor of exactly 1) and the current screen's update.
    static void Tick()
    {
        app::UpdateDeltaTime();
        if (auto current = Control::CurrScreen())
            current->Update();
    }

    // Updates until `target` is current; the number of updates, or -1 after `limit`.
    static int TicksUntilCurrent(const std::shared_ptr<app::TScreen>& target, int limit = 1000)
    {
        for (int n = 1; n <= limit; ++n) {
            Tick();
            if (Control::CurrScreen() == target)
                return n;
        }
        return -1;
    }

    // The grey level at the centre of the design area after drawing `s`.
    static int CentreGrey(app::TScreen& s)
    {
        platform::SetClearColor(0, 0, 0);
        platform::Cls();
        platform::ResetDrawState();
        s.Draw();
        return platform::ReadPixel(64, 48).r;
    }

    // A game folder of its own with one language "Test".
    void MakeGameDir()
    {
        tmp = fs::temp_directory_path() / ("velmora_screens_" + std::to_string(::getpid()));
        fs::remove_all(tmp);
        fs::create_directories(tmp / "Local/Test/txt");
        app::SetGameDir(tmp.string());
        app::SetLanguageFolder("Test");
    }
    void Write(const std::string& rel, const std::string& text)
    {
        fs::create_directories((tmp / rel).parent_path());
        std::ofstream(tmp / rel, std::ios::binary) << text;
    }

    std::shared_ptr<platform::VirtualClock> clock;
    Log log;
    Log console;
    fs::path tmp;
    std::string oldGameDir, oldLanguage;
};

// ---- Set-up ----

TEST_F(ScreensTest, SetUpReadsTheTextAndObjectFilesNamedAfterTheScreen)
{
    MakeGameDir();
    Write("Local/Test/txt/Menu.txt", "Play\n\nQuit\n");
    Write("Local/Test/Data/Menu/Objects.txt",
          "OBJECT {\n  Name = \"fromFile1\"\n  OBJECT {\n    Name = \"inner\"\n  }\n}\n"
          "UNKNOWN {\n  Name = \"skipped\"\n}\n"
          "OBJECT {\n  Name = \"fromFile2\"\n}\n"
          "TEXT {\n  Name = \"caption\"\n  Line = 3\n}\n");
    auto menu = Screen("Menu");
    app::CreateAppObj("madeInCode", 0, 0, menu.get());

    menu->Setup();

    std::vector<std::string> names;
    for (const auto& o : menu->Objects)
        names.push_back(o->Name);
    // Objects made in code before set-up stay below the file's objects.
    EXPECT_EQ(names, (std::vector<std::string>{"madeInCode", "fromFile1", "fromFile2", "caption"}));
    EXPECT_NE(menu->FindObject("inner"), nullptr);
    // Captions of the file read the screen's lines: the texts come first.
    const auto caption = std::dynamic_pointer_cast<gui::TUIText>(menu->FindObject("caption"));
    ASSERT_NE(caption, nullptr);
    EXPECT_EQ(caption->Text, "Quit");
    EXPECT_EQ(menu->GetTxt(1), "Play");
    EXPECT_EQ(menu->GetTxt(2), "");
    EXPECT_EQ(menu->GetTxt(3), "Quit");
    EXPECT_EQ(menu->GetTxt(4), "");
    EXPECT_EQ(Count(log, "Menu.OnSetup"), 1u);
    EXPECT_TRUE(console.empty());
}

TEST_F(ScreensTest, MissingFilesGiveAnEmptyTextFileAndOnlyTheCodeObjects)
{
    MakeGameDir();
    auto bare = Screen("Bare");
    app::CreateAppObj("madeInCode", 0, 0, bare.get());
    auto neverSetUp = Screen("Never");

    bare->Setup();

    ASSERT_NE(bare->TxtFile, nullptr);
    EXPECT_EQ(bare->TxtFile->Lines(), 0);
    EXPECT_EQ(bare->GetTxt(1), "");
    ASSERT_EQ(bare->Objects.size(), 1u);
    EXPECT_TRUE(console.empty()) << "a missing text file is silent";

    // Only a screen that was never set up says so.
    EXPECT_EQ(neverSetUp->GetTxt(1), "");
    ASSERT_EQ(console.size(), 1u);
    EXPECT_EQ(console[0], "Text File 'Never' not loaded for screen: Never");
}

TEST_F(ScreensTest, ALoaderOnlyRunsItsOwnSetUpAndJoinsTheLoaderList)
{
    MakeGameDir();
    Write("Local/Test/txt/Work.txt", "line\n");
    auto loader = std::make_shared<RecLoader>("Work", log);
    loader->Init(42, "Work", 1);

    loader->Setup();

    EXPECT_EQ(log, (Log{"Work.OnSetup"}));
    EXPECT_EQ(loader->TxtFile, nullptr);
    ASSERT_EQ(app::Loaders().size(), 1u);
    EXPECT_EQ(app::Loaders()[0], loader);
    EXPECT_TRUE(Control::Screens().empty());
    EXPECT_TRUE(Control::PopUps().empty());
}

// ---- The pop-up stack ----

TEST_F(ScreensTest, TwoShownPopUpsOnlyTheUpperUpdatesBothDrawnOverOneHalfDarkLayer)
{
    struct Case {
        bool lockUpper;
        const char* interfaceGoesTo; // "" for nobody
    } cases[] = {{false, "upper.Interface"}, {true, ""}};

    for (const Case& c : cases) {
        SCOPED_TRACE(c.lockUpper ? "upper locked" : "upper unlocked");
        Control::Reset();
        log.clear();
        auto screen = Screen("screen");
        screen->fill = 255;
        auto lower = PopUp("lower");
        auto upper = PopUp("upper");
        Control::SetCurrScreenInstantly(screen);
        lower->Show();
        upper->Show();
        if (c.lockUpper)
            upper->Lock();
        log.clear();

        for (int i = 0; i < 30; ++i)
            Tick();
        EXPECT_EQ(Count(log, "upper.OnUpdate"), 30u);
        EXPECT_EQ(Count(log, "lower.OnUpdate"), 0u);
        EXPECT_EQ(Count(log, "screen.OnUpdate"), 0u);
        EXPECT_FLOAT_EQ(screen->PopUpFade, 1.0f);

        log.clear();
        Control::Interface();
        if (*c.interfaceGoesTo)
            EXPECT_EQ(log, (Log{c.interfaceGoesTo}));
        else
            EXPECT_TRUE(log.empty());

        log.clear();
        // White covered by one layer at half darkness: 255 * 0.5.
        EXPECT_NEAR(CentreGrey(*screen), 128, 2);
        EXPECT_EQ(log, (Log{"screen.OnDraw", "lower.OnDraw", "upper.OnDraw"}));
    }
}

TEST_F(ScreensTest, DarkLayerFollowsTheShownPopUps)
{
    class Tip : public RecPopUp {
    public:
        using RecPopUp::RecPopUp;
        bool LeavesDarkFadeAlone() const override { return true; }
    };
    struct Case {
        const char* name;
        bool tip, normal;
        float startFade;
        float expected;
    } cases[] = {
        {"nothing shown clears it", false, false, 1, 0},
        {"a pop-up darkens", false, true, 0, 1},
        {"a tip alone keeps it light", true, false, 0, 0},
        {"a tip alone keeps it dark", true, false, 1, 1},
        {"a tip under a pop-up darkens", true, true, 0, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Control::Reset();
        auto screen = Screen("screen");
        Control::SetCurrScreenInstantly(screen);
        screen->PopUpFade = screen->dPopUpFade = c.startFade;
        if (c.tip) {
            auto tip = std::make_shared<Tip>("tip", log);
            tip->Init(110, "tip", 1);
            tip->Show();
        }
        if (c.normal)
            PopUp("normal")->Show();
        float previous = screen->PopUpFade;
        for (int i = 0; i < 25; ++i) {
            Tick();
            // 0.05 per nominal frame, never past the target.
            EXPECT_LE(std::abs(screen->PopUpFade - previous), 0.05f + 1e-6f);
            previous = screen->PopUpFade;
        }
        EXPECT_FLOAT_EQ(screen->PopUpFade, c.expected);
    }
}

TEST_F(ScreensTest, ShowingTwiceAndHidingWhatIsNotShownAreHarmless)
{
    auto screen = Screen("screen");
    auto popup = PopUp("popup");
    auto other = PopUp("other");

    // Hiding before it was ever shown: no screen at all.
    popup->Hide();
    EXPECT_EQ(Count(log, "popup.OnHide"), 0u);

    Control::SetCurrScreenInstantly(screen);
    popup->Show();
    popup->Show();
    ASSERT_EQ(screen->ShowedPopUps.size(), 1u);
    EXPECT_EQ(Count(log, "popup.OnShow"), 1u);
    EXPECT_EQ(popup->Screen, screen.get());
    screen->ShowPopUpOnScreen(popup);
    EXPECT_EQ(screen->ShowedPopUps.size(), 1u);

    popup->Hide();
    popup->Hide();
    EXPECT_EQ(Count(log, "popup.OnHide"), 1u);
    EXPECT_TRUE(screen->ShowedPopUps.empty());
    EXPECT_EQ(popup->isEnabled, 0);

    // Shown, but its screen link was cleared under it: hiding does nothing.
    other->Show();
    other->Screen = nullptr;
    other->Hide();
    EXPECT_EQ(Count(log, "other.OnHide"), 0u);
}

TEST_F(ScreensTest, AfterAHideTheNewTopmostPopUpHasItsButtonsCleared)
{
    auto screen = Screen("screen");
    Control::SetCurrScreenInstantly(screen);
    auto bottom = PopUp("bottom");
    auto middle = PopUp("middle");
    auto top = PopUp("top");
    bottom->Show();
    middle->Show();
    top->Show();
    log.clear();

    top->Hide();

    EXPECT_EQ(Count(log, "screen.ClearButtons"), 1u);
    EXPECT_EQ(Count(log, "middle.ClearButtons"), 1u) << "the pop-up that now gets the input";
    EXPECT_EQ(Count(log, "bottom.ClearButtons"), 0u);
    EXPECT_LT(IndexOf(log, "top.OnHide"), IndexOf(log, "screen.ClearButtons"));
    ASSERT_EQ(screen->ShowedPopUps.size(), 2u);
    EXPECT_EQ(screen->ShowedPopUps.back(), middle);
}

TEST_F(ScreensTest, PreparingHidesEveryPopUpWhileHidingChangesTheList)
{
    auto screen = Screen("screen");
    Control::SetCurrScreenInstantly(screen);
    auto first = PopUp("first");
    auto second = PopUp("second");
    auto third = PopUp("third");
    first->Show();
    second->Show();
    third->Show();
    // Hiding the first takes the second away too; hiding the third hides it again.
    first->onHide = [&] { second->Hide(); };
    third->onHide = [&] { third->Hide(); };
    log.clear();

    screen->Prepare();

    EXPECT_TRUE(screen->ShowedPopUps.empty());
    for (const char* name : {"first", "second", "third"})
        EXPECT_EQ(Count(log, std::string(name) + ".OnHide"), 1u) << name;
    EXPECT_EQ(first->isEnabled + second->isEnabled + third->isEnabled, 0);
    EXPECT_EQ(log.back(), "screen.OnPrepare");
}

TEST_F(ScreensTest, LeaveSkipsOnLeaveOnceWhenAsked)
{
    auto screen = Screen("screen");
    screen->DontUseLeaveThisTime = 1;
    screen->Leave();
    EXPECT_EQ(Count(log, "screen.OnLeave"), 0u);
    EXPECT_EQ(screen->DontUseLeaveThisTime, 0);
    screen->Leave();
    EXPECT_EQ(Count(log, "screen.OnLeave"), 1u);
}

// ---- Transitions ----

TEST_F(ScreensTest, ATransitionTakes103UpdatesAndCallsInOrder)
{
    struct Case {
        const char* name;
        bool withFunction;
        bool noPrepare;
    } cases[] = {{"plain", false, false}, {"with a function", true, false}, {"without preparing", true, true}};

    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Control::Reset();
        app::Crosser() = std::make_shared<app::TCrosser>();
        log.clear();
        console.clear();
        auto oldScreen = Screen("old");
        auto newScreen = Screen("new");
        Control::SetCurrScreenInstantly(oldScreen);
        std::function<void()> func;
        if (c.withFunction)
            func = [&] { log.push_back("func"); };
        if (c.noPrepare)
            app::GoToScreenNoPrepare(newScreen, func);
        else
            app::GoToScreen(newScreen, func);

        EXPECT_EQ(Control::CurrScreen(), app::Crosser());
        EXPECT_EQ(console, (Log{"Changing to: new"}));
        // The transition screen takes no input.
        log.clear();
        Control::Interface();
        EXPECT_TRUE(log.empty());

        EXPECT_EQ(TicksUntilCurrent(newScreen), 103);
        const long leave = IndexOf(log, "old.OnLeave");
        const long f = IndexOf(log, "func");
        const long prepare = IndexOf(log, "new.OnPrepare");
        EXPECT_GE(leave, 0);
        if (c.withFunction) {
            EXPECT_GT(f, leave);
        }
        if (c.noPrepare) {
            EXPECT_EQ(prepare, -1);
        } else {
            EXPECT_GT(prepare, std::max(leave, f));
            EXPECT_LT(IndexOf(log, "new.ClearButtons"), prepare);
        }
        // The new screen was drawn once at the switch, off-frame.
        EXPECT_EQ(Count(log, "new.OnDraw"), 1u);
        EXPECT_EQ(Count(log, "old.OnUpdate") + Count(log, "new.OnUpdate"), 0u) << "both frozen meanwhile";
    }
}

TEST_F(ScreensTest, AskingForAnotherScreenDuringATransitionNeverLoops)
{
    struct Case {
        const char* name;
        bool fromFunction; // else from the new screen's OnPrepare
        int updatesToThird;
        size_t secondPrepared; // how often the screen first asked for is prepared
    } cases[] = {
        {"from the function: the transition takes the new target", true, 103, 0},
        {"from OnPrepare: a second transition follows", false, 206, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Control::Reset();
        app::Crosser() = std::make_shared<app::TCrosser>();
        log.clear();
        auto first = Screen("first");
        auto second = Screen("second");
        auto third = Screen("third");
        Control::SetCurrScreenInstantly(first);
        std::function<void()> func;
        if (c.fromFunction)
            func = [&] { app::GoToScreen(third); };
        else
            second->onPrepare = [&] { app::GoToScreen(third); };

        app::GoToScreen(second, func);
        int n = 0;
        while (Control::CurrScreen() != third && n < 1000) {
            Tick();
            ++n;
            auto crosser = app::Crosser();
            ASSERT_NE(crosser->OldScreen, crosser) << "the transition screen left itself";
            if (n % 25 == 0) {
                Control::Draw(); // draws the old or new screen, never itself
            }
        }
        EXPECT_EQ(n, c.updatesToThird);
        EXPECT_EQ(Count(log, "second.OnPrepare"), c.secondPrepared);
        EXPECT_EQ(Count(log, "third.OnPrepare"), 1u);
        EXPECT_EQ(Count(log, "first.OnLeave"), 1u);
        EXPECT_EQ(Count(log, "second.OnLeave"), c.secondPrepared);
        for (int i = 0; i < 10; ++i)
            Tick();
        EXPECT_EQ(Control::CurrScreen(), third) << "nothing runs on after the end";
    }
}

TEST_F(ScreensTest, AFunctionThatKeepsAskingForAChangeIsCutAfterSixteen)
{
    auto first = Screen("first");
    auto second = Screen("second");
    Control::SetCurrScreenInstantly(first);
    int calls = 0;
    std::function<void()> again = [&] {
        ++calls;
        app::GoToScreen(second, again);
    };
    app::GoToScreen(second, again);
    EXPECT_GT(TicksUntilCurrent(second), 0);
    EXPECT_EQ(calls, 16) << "sixteen chained functions run at one switch; the rest are dropped";
    EXPECT_EQ(Count(log, "second.OnPrepare"), 1u);
    EXPECT_EQ(std::count_if(console.begin(), console.end(),
                            [](const std::string& l) { return l.find("Too many chained") != std::string::npos; }),
              1);
}

TEST_F(ScreensTest, AChangeAskedDuringATransitionKeepsItsOwnPrepareChoice)
{
    // A second change (to "third") asked while the first (to "second") runs:
    // each prepares its screen or not as it was asked, whichever way the two
    // were asked and whenever the second comes.
    enum When { kFromFunction, kWhileClosing, kWhileOpening, kFromOnPrepare };
    const char* names[] = {"from the function", "while the iris closes", "while the iris opens",
                           "from the new screen's OnPrepare"};
    for (int when = kFromFunction; when <= kFromOnPrepare; ++when)
        for (int firstNo = 0; firstNo < 2; ++firstNo)
            for (int secondNo = 0; secondNo < 2; ++secondNo) {
                if (when == kFromOnPrepare && firstNo)
                    continue; // an unprepared screen asks nothing
                SCOPED_TRACE(std::string(names[when]) + (firstNo ? ", first without" : ", first with") +
                             (secondNo ? ", second without preparing" : ", second with preparing"));
                Control::Reset();
                app::Crosser() = std::make_shared<app::TCrosser>();
                log.clear();
                auto first = Screen("first");
                auto second = Screen("second");
                auto third = Screen("third");
                Control::SetCurrScreenInstantly(first);
                auto ask = [&third, secondNo] {
                    if (secondNo)
                        app::GoToScreenNoPrepare(third);
                    else
                        app::GoToScreen(third);
                };
                std::function<void()> func;
                if (when == kFromFunction)
                    func = ask;
                if (when == kFromOnPrepare)
                    second->onPrepare = ask;
                if (firstNo)
                    app::GoToScreenNoPrepare(second, func);
                else
                    app::GoToScreen(second, func);
                int n = 0;
                while (Control::CurrScreen() != third && n < 1000) {
                    Tick();
                    ++n;
                    if ((when == kWhileClosing && n == 10) || (when == kWhileOpening && n == 60))
                        ask();
                }
                ASSERT_EQ(Control::CurrScreen(), third);
                EXPECT_EQ(Count(log, "third.OnPrepare"), secondNo ? 0u : 1u);
                const bool secondReached = when == kWhileOpening || when == kFromOnPrepare;
                EXPECT_EQ(Count(log, "second.OnPrepare"), secondReached && !firstNo ? 1u : 0u);
            }
}

TEST_F(ScreensTest, FunctionsThatKeepAskingForScreensStop)
{
    auto first = Screen("first");
    auto second = Screen("second");
    Control::SetCurrScreenInstantly(first);
    int calls = 0;
    std::function<void()> again = [&] {
        ++calls;
        app::GoToScreen(second, again);
    };
    app::GoToScreen(second, again);
    EXPECT_EQ(TicksUntilCurrent(second), 103);
    EXPECT_GT(calls, 1);
    EXPECT_LT(calls, 100);
}

TEST_F(ScreensTest, APopUpShownWhileTheNewScreenIsPreparedStaysOnIt)
{
    auto first = Screen("first");
    auto second = Screen("second");
    auto popup = PopUp("popup");
    Control::SetCurrScreenInstantly(first);
    second->onPrepare = [&] { popup->Show(); };
    app::GoToScreen(second);
    ASSERT_EQ(TicksUntilCurrent(second), 103);

    EXPECT_TRUE(app::Crosser()->ShowedPopUps.empty());
    ASSERT_EQ(second->ShowedPopUps.size(), 1u);
    EXPECT_EQ(popup->Screen, second.get());
    log.clear();
    Tick();
    Control::Interface();
    EXPECT_EQ(log, (Log{"popup.OnUpdate", "popup.Interface"}));
}

TEST_F(ScreensTest, ADirectSwitchEndsARunningTransition)
{
    auto first = Screen("first");
    auto second = Screen("second");
    auto third = Screen("third");
    Control::SetCurrScreenInstantly(first);
    app::GoToScreen(second);
    for (int i = 0; i < 10; ++i)
        Tick();
    Control::SetCurrScreen(third);

    // The next request is a transition of its own, from the screen now current.
    app::GoToScreen(first);
    EXPECT_EQ(app::Crosser()->OldScreen, third);
    EXPECT_EQ(TicksUntilCurrent(first), 103);
}

TEST_F(ScreensTest, TheIrisClosesOnTheOldScreenAndOpensOnTheNew)
{
    app::Crosser()->Setup(); // the iris pictures of the game folder
    auto oldScreen = Screen("old");
    auto newScreen = Screen("new");
    oldScreen->fill = 255;
    newScreen->fill = 200;
    Control::SetCurrScreenInstantly(oldScreen);
    app::GoToScreen(newScreen);
    auto& crosser = *app::Crosser();

    auto corner = [&] {
        platform::SetClearColor(0, 0, 0);
        platform::Cls();
        platform::ResetDrawState();
        crosser.Draw();
        return platform::ReadPixel(2, 2).r;
    };
    EXPECT_EQ(corner(), 255) << "wide open at the start";
    for (int i = 0; i < 30; ++i)
        Tick();
    EXPECT_EQ(corner(), 0) << "the corners are dark while it closes";
    EXPECT_EQ(CentreGrey(crosser), 255) << "the old screen in the opening";
    TicksUntilCurrent(newScreen);
    EXPECT_EQ(CentreGrey(*newScreen), 200);
}

// ---- Loading and the program's screens ----

TEST_F(ScreensTest, TheProgramScreensAreMadeInOrderAndTheWorkListHoldsThemAll)
{
    game::CreateProgramScreens(false);
    struct Row {
        const char* name;
        int id;
        char kind; // s screen, p pop-up, z styled pop-up, l loader
    } rows[] = {
        {"MainGame", 1, 's'},    {"MainMenu", 2, 's'},      {"Intro", 3, 's'},         {"Outro", 3, 's'},
        {"WarStory", 112, 'p'},  {"DialogShow", 113, 'p'},  {"MapScreen", 4, 's'},     {"Options", 101, 'z'},
        {"Profiles", 102, 'z'},  {"EnterName", 103, 'z'},   {"YesOrNo", 104, 'z'},     {"Scores", 105, 'z'},
        {"LevelSummary", 106, 'p'}, {"PickMode", 107, 'z'}, {"Lose", 109, 'z'},        {"InGameMenu", 111, 'z'},
        {"CaptionsLoader", 0, 'l'}, {"Credits", 6, 's'},    {"CharactersLoader", 0, 'l'}, {"Dialogs", 108, 'p'},
        {"Tutorial", 110, 'p'},
    };
    std::vector<std::string> screens, loaders, popups;
    for (const Row& r : rows) {
        (r.kind == 's' ? screens : r.kind == 'l' ? loaders : popups).push_back(r.name);
    }
    auto names = [](const auto& list) {
        std::vector<std::string> out;
        for (const auto& s : list)
            out.push_back(s->Name);
        return out;
    };
    EXPECT_EQ(names(Control::Screens()), screens);
    EXPECT_EQ(names(Control::PopUps()), popups);
    EXPECT_EQ(names(app::Loaders()), loaders);
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        std::shared_ptr<app::TScreen> s = Control::GetScreenByName(r.name);
        if (!s)
            for (const auto& p : Control::PopUps())
                if (p->Name == r.name)
                    s = p;
        if (r.kind == 'l') {
            EXPECT_EQ(s, nullptr);
            continue;
        }
        ASSERT_NE(s, nullptr);
        EXPECT_EQ(s->Id, r.id);
        EXPECT_EQ(s->IsPopUp(), r.kind == 'p' || r.kind == 'z');
        EXPECT_EQ(dynamic_cast<menus::TZefarPopUp*>(s.get()) != nullptr, r.kind == 'z');
    }
    const auto& loading = game::Program().LoadingScreen;
    ASSERT_NE(loading, nullptr);
    EXPECT_EQ(loading->Id, -1);
    EXPECT_EQ(loading->Name, "LoadingScreen");
    EXPECT_EQ(game::Program().Crosser, app::Crosser());

    app::SetupLoadingScreen(loading);
    std::vector<std::string> expected = screens;
    expected.insert(expected.end(), loaders.begin(), loaders.end());
    expected.insert(expected.end(), popups.begin(), popups.end());
    EXPECT_EQ(names(app::WorkList()), expected);
    EXPECT_EQ(app::WorkList().size(), 21u);
}

TEST_F(ScreensTest, LoadingSetsUpOnePerStepThenProfilesThenSoundsThenGoesToTheMenu)
{
    auto menu = Screen("MainMenu");
    auto map = Screen("Map");
    auto options = PopUp("Options");
    auto loader = std::make_shared<RecLoader>("Captions", log);
    loader->Init(0, "Captions", 0);
    int profileLoads = 0, soundsLeft = 3;
    app::GetLoadingHooks().loadProfiles = [&] { ++profileLoads; };
    app::GetLoadingHooks().loadOneSound = [&] { return --soundsLeft <= 0; };

    auto loading = std::make_shared<app::TLoadingScreen>();
    loading->Init(-1, "LoadingScreen", 0);
    app::SetupLoadingScreen(loading);
    Control::SetStartScreen(loading);
    EXPECT_FLOAT_EQ(app::LoadingProgress(), 0);

    // Nothing loads while the black cover fades (the drawing thins it).
    Tick();
    EXPECT_TRUE(log.empty());
    for (int i = 0; i < 25; ++i) {
        app::UpdateDeltaTime();
        loading->Draw();
    }
    EXPECT_EQ(loading->Fade, 0);

    const char* order[] = {"MainMenu.OnSetup", "Map.OnSetup", "Captions.OnSetup", "Options.OnSetup"};
    for (int step = 0; step < 4; ++step) {
        Tick();
        EXPECT_EQ(log.back(), order[step]);
        EXPECT_FLOAT_EQ(app::LoadingProgress(), (step + 1) / 4.0f);
    }
    Tick();
    EXPECT_EQ(profileLoads, 1);
    Tick();
    Tick();
    EXPECT_EQ(Control::CurrScreen(), loading) << "sounds still loading";
    Tick();
    EXPECT_EQ(soundsLeft, 0);
    EXPECT_EQ(Control::CurrScreen(), app::Crosser());
    EXPECT_EQ(app::Crosser()->NewScreen, menu);
    EXPECT_EQ(profileLoads, 1);
    EXPECT_EQ(TicksUntilCurrent(menu), 103);
}

TEST_F(ScreensTest, AScreenWhoseSetUpFailsIsReportedAndLoadingGoesOn)
{
    class Broken : public RecScreen {
    public:
        using RecScreen::RecScreen;
        void OnSetup() override { throw std::runtime_error("cannot read Game/broken.txt"); }
    };
    auto broken = std::make_shared<Broken>("Broken", log);
    broken->Init(5, "Broken", 1);
    auto next = Screen("Next");
    app::BuildWorkList();

    EXPECT_FALSE(app::LoadingStep());
    EXPECT_FALSE(app::LoadingStep());
    EXPECT_EQ(Count(log, "Next.OnSetup"), 1u);
    EXPECT_NE(std::find(console.begin(), console.end(),
                        "Setting up 'Broken' failed: cannot read Game/broken.txt"),
              console.end());
}

TEST_F(ScreensTest, TheLoadingBarFillsWithTheProgress)
{
    auto loading = std::make_shared<app::TLoadingScreen>();
    loading->Init(-1, "LoadingScreen", 0);
    for (const char* name : {"a", "b"})
        Screen(name);
    app::SetupLoadingScreen(loading);
    loading->Fade = 0;
    platform::SetVirtualResolution(1024, 768, 0);

    // The bar lies at (341, 699), 342 wide: read near its left and right ends.
    auto barLit = [&](float vx) {
        platform::Cls();
        platform::ResetDrawState();
        loading->Fade = 0;
        loading->Draw();
        float px = 0, py = 0;
        platform::VirtualToPixel(vx, 710, px, py);
        return platform::ReadPixel(static_cast<int>(px), static_cast<int>(py));
    };
    auto rgb = [](const platform::Pixel& p) { return std::make_tuple(p.r, p.g, p.b); };
    const auto emptyLeft = rgb(barLit(345));
    const auto emptyRight = rgb(barLit(660));
    app::LoadingStep();
    const auto halfLeft = rgb(barLit(345));
    const auto halfRight = rgb(barLit(660));
    app::LoadingStep();
    EXPECT_FLOAT_EQ(app::LoadingProgress(), 1);
    const auto fullRight = rgb(barLit(660));
    EXPECT_NE(emptyLeft, halfLeft) << "half way the left end is filled";
    EXPECT_EQ(emptyRight, halfRight) << "half way the right end is not";
    EXPECT_NE(emptyRight, fullRight) << "at the end it is";
}

} // namespace
