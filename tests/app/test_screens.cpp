// Screens and pop-ups: set-up from the text and object files, the pop-up stack
// with its dark layer, Show and Hide, preparing and leaving, and the transition
// screen. The fixture is in screens_fixture.h.
#include <cmath>
#include <functional>
#include <memory>
#include <string>

#include "screens_fixture.h"

namespace {

using namespace screenstest;

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

} // namespace
