// The program's single screens, pop-ups and loaders, created at start-up in
// their fixed order with their names and ids, and found here by type.
#pragma once

#include <memory>

namespace level { class TMainGame; class TSummary; class TPickMode; class TLosePopUp; class TInGameMenu; }
namespace menus { class TMainMenu; class TCredits; }
namespace story {
class TIntro; class TOutro; class TWarStory; class TDialogShow; class TCharactersLoader; class TDialogsPopUp;
}
namespace citymap { class TMapScreen; }
namespace progress { class TOptions; class TProfiles; class TEnterName; class TYesOrNo; class TScores; }
namespace match3 { class TCaptionsLoader; }
namespace tutorial { class TTutorialPopUp; }

namespace app {
class TLoadingScreen;
class TCrosser;
} // namespace app

namespace game {

struct ProgramScreens {
    std::shared_ptr<app::TLoadingScreen> LoadingScreen;
    std::shared_ptr<level::TMainGame> MainGame;
    std::shared_ptr<menus::TMainMenu> MainMenu;
    std::shared_ptr<story::TIntro> Intro;
    std::shared_ptr<story::TOutro> Outro;
    std::shared_ptr<story::TWarStory> WarStory;
    std::shared_ptr<story::TDialogShow> DialogShow;
    std::shared_ptr<citymap::TMapScreen> MapScreen;
    std::shared_ptr<progress::TOptions> Options;
    std::shared_ptr<progress::TProfiles> Profiles;
    std::shared_ptr<progress::TEnterName> EnterName;
    std::shared_ptr<progress::TYesOrNo> YesOrNo;
    std::shared_ptr<progress::TScores> Scores;
    std::shared_ptr<level::TSummary> LevelSummary;
    std::shared_ptr<level::TPickMode> PickMode;
    std::shared_ptr<level::TLosePopUp> Lose;
    std::shared_ptr<level::TInGameMenu> InGameMenu;
    std::shared_ptr<match3::TCaptionsLoader> CaptionsLoader;
    std::shared_ptr<app::TCrosser> Crosser;
    std::shared_ptr<menus::TCredits> Credits;
    std::shared_ptr<story::TCharactersLoader> CharactersLoader;
    std::shared_ptr<story::TDialogsPopUp> Dialogs;
    std::shared_ptr<tutorial::TTutorialPopUp> Tutorial;
};

// The objects made by CreateProgramScreens (all none before).
ProgramScreens& Program();

// Creates every screen, pop-up and loader in table order, each through its
// Init (which registers it), the loading screen first and unregistered. The
// program-wide text classes are made between the captions loader and the
// transition screen (which gets no Init) when `makeTextClasses` is set.
void CreateProgramScreens(bool makeTextClasses = true);

} // namespace game
