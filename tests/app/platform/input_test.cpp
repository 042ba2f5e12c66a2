// Input state collected by PollEvents from the event queue.
#include <gtest/gtest.h>

#include "platform_env.h"

using namespace platform;

namespace {

class Input : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetInput();
        PollEvents(); // drop anything the window produced
        ResetInput();
    }
};

TEST_F(Input, KeyHitsAreCountedAndClearedByTheQuery)
{
    InjectKey(key::Space, true);
    InjectKey(key::Space, false);
    InjectKey(key::Space, true);
    EXPECT_EQ(KeyHit(key::Space), 0); // nothing before the poll
    PollEvents();
    EXPECT_TRUE(KeyDown(key::Space));
    EXPECT_EQ(KeyHit(key::Space), 2);
    EXPECT_EQ(KeyHit(key::Space), 0);
    EXPECT_TRUE(KeyDown(key::Space)); // not cleared by queries
    InjectKey(key::Space, false);
    PollEvents();
    EXPECT_FALSE(KeyDown(key::Space));
    // Out-of-range codes are harmless.
    EXPECT_EQ(KeyHit(-1), 0);
    EXPECT_EQ(KeyHit(5000), 0);
    EXPECT_FALSE(KeyDown(256));
}

TEST_F(Input, MouseButtonsCountPerButton)
{
    InjectMouseButton(kMouseLeft, true);
    InjectMouseButton(kMouseLeft, false);
    InjectMouseButton(kMouseLeft, true);
    InjectMouseButton(kMouseRight, true);
    InjectMouseButton(kMouseRight, false);
    InjectMouseWheel(2);
    InjectMouseWheel(-1);
    PollEvents();
    struct { int button, hits; bool down; } cases[] = {{1, 2, true}, {2, 1, false}, {3, 0, false}, {0, 0, false}, {4, 0, false}};
    for (auto c : cases) {
        EXPECT_EQ(MouseDown(c.button), c.down) << c.button;
        EXPECT_EQ(MouseHit(c.button), c.hits) << c.button;
        EXPECT_EQ(MouseHit(c.button), 0) << c.button;
    }
    EXPECT_EQ(MouseWheel(), 1);
}

TEST_F(Input, FlushDiscardsPendingHitsButNotHeldState)
{
    InjectKey(key::Escape, true);
    InjectChar('x');
    InjectMouseButton(kMouseLeft, true);
    PollEvents();
    FlushKeys();
    EXPECT_EQ(KeyHit(key::Escape), 0);
    EXPECT_EQ(GetChar(), 0);
    EXPECT_TRUE(KeyDown(key::Escape));
    EXPECT_EQ(MouseHit(kMouseLeft), 1); // keys only
    InjectMouseButton(kMouseLeft, false);
    InjectMouseButton(kMouseLeft, true);
    PollEvents();
    FlushMouse();
    EXPECT_EQ(MouseHit(kMouseLeft), 0);
    EXPECT_TRUE(MouseDown(kMouseLeft));
}

TEST_F(Input, TypedCharactersInOrderWithBackspaceAndEnter)
{
    InjectChar('A');
    InjectKey(key::A, true); // a key press itself types nothing...
    InjectKey(key::Backspace, true); // ...except Backspace and Enter
    InjectChar(0x00E9);
    InjectKey(key::Enter, true);
    PollEvents();
    for (int expected : {int('A'), 8, 0xE9, 13, 0})
        EXPECT_EQ(GetChar(), expected);
}

TEST_F(Input, SuspendStaysAndCloseClearsOnQuery)
{
    InjectKey(key::LeftAlt, true);
    InjectFocus(false);
    PollEvents();
    EXPECT_TRUE(AppSuspended());
    EXPECT_TRUE(AppSuspended());
    EXPECT_FALSE(KeyDown(key::LeftAlt)); // released while away
    InjectFocus(true);
    InjectClose();
    PollEvents();
    EXPECT_FALSE(AppSuspended());
    EXPECT_TRUE(CloseRequested());
    EXPECT_FALSE(CloseRequested());
}

// SDL scancodes (USB usage ids) to the program's key codes.
TEST(KeyCodes, ScancodesMapToVirtualKeys)
{
    struct { int scancode, code; } cases[] = {
        {4, 65},   {29, 90},  {30, 49},  {38, 57},  {39, 48},  {40, 13},  {41, 27},  {42, 8},
        {44, 32},  {46, 187}, {58, 112}, {61, 115}, {63, 117}, {226, 164}, {230, 165}, {79, 39},
        {80, 37},  {81, 40},  {82, 38},  {0, 0},    {300, 0},
    };
    for (auto c : cases)
        EXPECT_EQ(KeyCodeFromScancode(c.scancode), c.code) << c.scancode;
}

} // namespace
