// The screens tests' fixture: screens, pop-ups and loaders that write what they
// are asked to do into a shared log, and a small headless software display so
// that drawn layers can be read back as pixels.
#pragma once

#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
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
#include "app/screen.h"
#include "gui/widgets.h"
#include "menus/styled/zefarpopup.h"
#include "support/headless.h"
#include "support/virtualframes.h"

namespace screenstest {

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

inline size_t Count(const Log& log, const std::string& entry) { return std::count(log.begin(), log.end(), entry); }

// Position of the first entry, or -1.
inline long IndexOf(const Log& log, const std::string& entry)
{
    const auto it = std::find(log.begin(), log.end(), entry);
    return it == log.end() ? -1 : static_cast<long>(it - log.begin());
}

class ScreensTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        testsupport::OpenHeadlessDisplay(128, 96);
    }
    static void TearDownTestSuite() { platform::Shutdown(); }

    void SetUp() override
    {
        clock = testsupport::StartVirtualFrames();
        platform::SetRasterising(true);
        app::Loaders().clear();
        app::ResetLoading();
        app::GetLoadingHooks() = app::LoadingHooks{};
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
        app::Loaders().clear();
        app::ResetLoading();
        game::Program() = game::ProgramScreens{};
        testsupport::StopVirtualFrames();
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

} // namespace screenstest
