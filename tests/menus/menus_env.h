// The frame-by-frame world the menu tests run in: a headless software
// display, a virtual clock that moves 16 ms per frame step at a nominal 62.5
// frames per second (a frame factor of exactly 1), injected input, and the
// pack's Game folder with its English texts.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/control.h"
#include "app/crosser.h"
#include "app/deltatime.h"
#include "app/paths.h"
#include "app/platform/platform.h"
#include "gui/mouse.h"
#include "gui/textclasses.h"
#include "gui/widgets.h"
#include "support/headless.h"
#include "support/virtualframes.h"

namespace menustest {

class MenusEnv : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        testsupport::OpenHeadlessDisplay(1366, 768);
    }
    static void TearDownTestSuite() { platform::Shutdown(); }

    void SetUp() override
    {
        clock = testsupport::StartVirtualFrames();
        app::Control::SetWideLayout(0);
        gui::Mouse() = gui::TMouse{};
        app::Control::GetHooks().mouseUpdate = [] { gui::Mouse().Update(); };
        app::SetGameDir("Game/");
        app::SetLanguageFolder("English");
        gui::RegisterWidgetTypes();
        gui::CreateProgramTextClasses();
    }

    void TearDown() override
    {
        testsupport::StopVirtualFrames();
        gui::Mouse() = gui::TMouse{};
    }

    // One main-loop frame: the frame step and update, drawing, input.
    void Frame()
    {
        app::Control::Update();
        app::Control::Draw();
        app::Control::Interface();
    }
    void Frames(int n)
    {
        for (int i = 0; i < n; ++i)
            Frame();
    }

    // A click at a design-area point: move, press, release, one frame each.
    void Click(float x, float y)
    {
        platform::InjectMouseMove(x, y);
        Frame();
        platform::InjectMouseButton(platform::kMouseLeft, true);
        Frame();
        platform::InjectMouseButton(platform::kMouseLeft, false);
        Frame();
    }

    // The centre of a widget's hit rectangle in design-area units.
    static std::pair<float, float> Centre(const gui::TUIObject& o)
    {
        return {o.x - static_cast<float>(o.HandleX) + static_cast<float>(o.w) / 2,
                o.y - static_cast<float>(o.HandleY) + static_cast<float>(o.h) / 2};
    }

    std::shared_ptr<platform::VirtualClock> clock;
};

} // namespace menustest
