// The program's screens and pop-ups made as start-up makes them, the road
// installed, a fresh user-data folder per test, the console captured, and a
// headless frame loop (update, draw, input) on a virtual clock with input
// injected through the platform queue.
#pragma once

#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "app/control.h"
#include "app/crosser.h"
#include "app/deltatime.h"
#include "app/globalvars.h"
#include "app/loading.h"
#include "app/paths.h"
#include "app/platform/platform.h"
#include "game/registry.h"
#include "gui/mouse.h"
#include "gui/widgets.h"
#include "level/levelroad.h"
#include "menus/styled/zefarpopup.h"
#include "progress/profile.h"
#include "progress/profiles.h"
#include "progress/road.h"
#include "support/headless.h"
#include "support/virtualframes.h"

namespace progress_test {

namespace fs = std::filesystem;
using app::Control;

inline std::string ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

inline void WriteAll(const std::string& path, const std::string& text)
{
    std::ofstream out(path, std::ios::binary);
    out << text;
}

class ProgressTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        testsupport::OpenHeadlessDisplay(256, 192);
    }
    static void TearDownTestSuite() { platform::Shutdown(); }

    void SetUp() override
    {
        clock = testsupport::StartVirtualFrames();
        app::ResetLoading();
        app::GetLoadingHooks() = app::LoadingHooks{};
        menus::TZefarPopUp::ResetNextSide();
        gui::RegisterWidgetTypes();
        app::RegisterProgramGlobalVars();
        app::SetGameDir("Game/");
        app::SetLanguageFolder("English");
        static int counter = 0;
        tmp = fs::temp_directory_path() /
              ("velmora-progress-" + std::to_string(::getpid()) + "-" + std::to_string(++counter));
        fs::create_directories(tmp / "Profiles");
        app::SetUserDataFolder(tmp.string() + "/");
        platform::SetLogSink([this](const std::string& line) { console.push_back(line); });
        level::Road() = level::TLevelRoad{};
        game::CreateProgramScreens(true);
        progress::InstallRoad();
        Control::GetHooks().mouseUpdate = [] { gui::Mouse().Update(); };
        progress::LoadProfiles();
    }

    void TearDown() override
    {
        platform::SetLogSink(nullptr);
        progress::CurrProfile().reset();
        level::Road() = level::TLevelRoad{};
        app::Loaders().clear();
        app::ResetLoading();
        game::Program() = game::ProgramScreens{};
        testsupport::StopVirtualFrames();
        app::SetUserDataFolder("");
        std::error_code ec;
        fs::remove_all(tmp, ec);
    }

    std::shared_ptr<progress::TProfiles> List() const { return game::Program().Profiles; }
    std::string ProfileFile(const std::string& coded) const { return (tmp / "Profiles" / (coded + ".txt")).string(); }
    std::string ListFile() const { return (tmp / "Profiles" / "Profiles.txt").string(); }

    bool Logged(const std::string& part) const
    {
        return std::any_of(console.begin(), console.end(),
                           [&](const std::string& l) { return l.find(part) != std::string::npos; });
    }

    // A whole frame of the main loop: timing, mouse, update, draw, input.
    static void Frame()
    {
        Control::Update();
        Control::Draw();
        Control::Interface();
    }
    static void Frames(int n)
    {
        for (int i = 0; i < n; ++i)
            Frame();
    }

    // Frames until the styled pop-up has slid in and takes input.
    static void UntilAtRest(const menus::TZefarPopUp& p)
    {
        for (int i = 0; i < 200 && (p.isLocked || p.PopUpStatus != 2); ++i)
            Frame();
        ASSERT_TRUE(p.IsShown());
        ASSERT_FALSE(p.isLocked);
    }
    static void UntilHidden(const menus::TZefarPopUp& p)
    {
        for (int i = 0; i < 200 && p.IsShown(); ++i)
            Frame();
        ASSERT_FALSE(p.IsShown());
    }

    // Moves to the middle of the widget and clicks it (down, then up a frame later).
    static void Click(const gui::TUIObject& w)
    {
        ClickAt(w.x - static_cast<float>(w.HandleX) + static_cast<float>(w.w) / 2,
                w.y - static_cast<float>(w.HandleY) + static_cast<float>(w.h) / 2);
    }
    static void ClickAt(float x, float y)
    {
        platform::InjectMouseMove(x, y);
        Frame();
        platform::InjectMouseButton(platform::kMouseLeft, true);
        Frame();
        platform::InjectMouseButton(platform::kMouseLeft, false);
        Frame();
        Frame();
    }
    static void Type(const std::u32string& text)
    {
        for (char32_t c : text) {
            platform::InjectChar(static_cast<int>(c));
            Frame();
        }
    }

    // A profile saved on disk and listed, as a previous run leaves it.
    void SaveListed(const std::vector<progress::PProfile>& profiles, const std::string& currentCoded)
    {
        std::string list = "CurrProfile = \"" + currentCoded + "\"\n";
        for (const auto& p : profiles) {
            list += "Profile{\n\tName = \"" + p->Name + "\"\n\tId = \"" + p->GetCodedName() + "\"\n}\n";
            ASSERT_TRUE(p->Save());
        }
        WriteAll(ListFile(), list);
    }

    std::shared_ptr<platform::VirtualClock> clock;
    fs::path tmp;
    std::vector<std::string> console;
};

} // namespace progress_test
