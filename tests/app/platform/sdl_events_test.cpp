// SDL's own events reach the same input state as injected ones. These tests
// push SDL events the way the window system would and read them back through
// the layer's queries.
#include <SDL2/SDL.h>
#include <gtest/gtest.h>

#include <cstring>

#include "platform_env.h"

using namespace platform;

namespace {

class SdlEvents : public ::testing::Test {
protected:
    void SetUp() override
    {
        vmtest::FreshDisplay(200, 100);
        SetVirtualResolution(100, 100, 2); // scale 1, design area from x = 50
        PollEvents();
        ResetInput();
    }
    static void Push(SDL_Event e) { ASSERT_EQ(SDL_PushEvent(&e), 1); }
    static SDL_Event Key(SDL_Scancode sc, bool down, bool repeat = false)
    {
        SDL_Event e{};
        e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
        e.key.keysym.scancode = sc;
        e.key.repeat = repeat ? 1 : 0;
        return e;
    }
    static SDL_Event Button(Uint8 button, bool down, int x, int y)
    {
        SDL_Event e{};
        e.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
        e.button.button = button;
        e.button.x = x;
        e.button.y = y;
        return e;
    }
    static SDL_Event Window(Uint8 what)
    {
        SDL_Event e{};
        e.type = SDL_WINDOWEVENT;
        e.window.event = what;
        return e;
    }
};

TEST_F(SdlEvents, KeysCountOncePerPressAndAltReportsBothCodes)
{
    Push(Key(SDL_SCANCODE_F4, true));
    Push(Key(SDL_SCANCODE_F4, true, true)); // auto-repeat: not another hit
    Push(Key(SDL_SCANCODE_LALT, true));
    PollEvents();
    EXPECT_EQ(KeyHit(key::F4), 1);
    EXPECT_TRUE(KeyDown(key::LeftAlt));
    EXPECT_TRUE(KeyDown(key::Alt));
    EXPECT_FALSE(KeyDown(key::RightAlt));
    Push(Key(SDL_SCANCODE_LALT, false));
    PollEvents();
    EXPECT_FALSE(KeyDown(key::LeftAlt));
}

TEST_F(SdlEvents, TypedTextAndRepeatedBackspace)
{
    SDL_Event t{};
    t.type = SDL_TEXTINPUT;
    std::strcpy(t.text.text, "a\xC3\xA9");
    Push(t);
    Push(Key(SDL_SCANCODE_BACKSPACE, true));
    Push(Key(SDL_SCANCODE_BACKSPACE, true, true));
    Push(Key(SDL_SCANCODE_RETURN, true));
    PollEvents();
    for (int expected : {int('a'), 0xE9, 8, 8, 13, 0})
        EXPECT_EQ(GetChar(), expected);
    EXPECT_EQ(KeyHit(key::Backspace), 1);
}

TEST_F(SdlEvents, ButtonsMoveThePointerAndCountPerButton)
{
    Push(Button(SDL_BUTTON_LEFT, true, 60, 20));
    Push(Button(SDL_BUTTON_RIGHT, true, 70, 30));
    Push(Button(SDL_BUTTON_RIGHT, false, 70, 30));
    Push(Button(SDL_BUTTON_MIDDLE, true, 80, 40));
    Push(Button(SDL_BUTTON_X1, true, 80, 40)); // not one of ours
    PollEvents();
    EXPECT_EQ(MouseHit(kMouseLeft), 1);
    EXPECT_EQ(MouseHit(kMouseRight), 1);
    EXPECT_EQ(MouseHit(kMouseMiddle), 1);
    EXPECT_TRUE(MouseDown(kMouseLeft));
    EXPECT_FALSE(MouseDown(kMouseRight));
    EXPECT_NEAR(MouseX(), 30, 0.01f); // 80 pixels minus the 50-unit offset
    EXPECT_NEAR(MouseY(), 40, 0.01f);
    SDL_Event wheel{};
    wheel.type = SDL_MOUSEWHEEL;
    wheel.wheel.y = -3;
    Push(wheel);
    PollEvents();
    EXPECT_EQ(MouseWheel(), -3);
}

TEST_F(SdlEvents, FocusAndCloseFromTheWindow)
{
    Push(Window(SDL_WINDOWEVENT_FOCUS_LOST));
    PollEvents();
    EXPECT_TRUE(AppSuspended());
    Push(Window(SDL_WINDOWEVENT_FOCUS_GAINED));
    PollEvents();
    EXPECT_FALSE(AppSuspended());
    Push(Window(SDL_WINDOWEVENT_MINIMIZED));
    PollEvents();
    EXPECT_TRUE(AppSuspended());
    Push(Window(SDL_WINDOWEVENT_RESTORED));
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    Push(quit);
    PollEvents();
    EXPECT_FALSE(AppSuspended());
    EXPECT_TRUE(CloseRequested());
    EXPECT_FALSE(CloseRequested());
}

// Injected events follow the SDL events collected in the same poll.
TEST_F(SdlEvents, InjectedEventsComeAfterSdlEvents)
{
    InjectKey(key::Space, false);
    Push(Key(SDL_SCANCODE_SPACE, true));
    PollEvents();
    EXPECT_FALSE(KeyDown(key::Space));
    EXPECT_EQ(KeyHit(key::Space), 1);
}

} // namespace
