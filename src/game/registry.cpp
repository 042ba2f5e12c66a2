#include "game/registry.h"

#include "app/crosser.h"
#include "app/loading.h"
#include "gui/textclasses.h"
#include "citymap/mapscreen.h"
#include "level/ingamemenu.h"
#include "level/losepopup.h"
#include "level/maingame.h"
#include "level/pickmode.h"
#include "level/summary.h"
#include "match3/captionsloader.h"
#include "menus/credits.h"
#include "menus/mainmenu.h"
#include "progress/entername.h"
#include "progress/options.h"
#include "progress/profiles.h"
#include "progress/scores.h"
#include "progress/yesorno.h"
#include "story/charactersloader.h"
#include "story/dialogshow.h"
#include "story/dialogspopup.h"
#include "story/intro.h"
#include "story/outro.h"
#include "story/warstory.h"
#include "tutorial/tutorialpopup.h"

namespace game {

using namespace app;

namespace {

// Creates one object through its Init; register 1 puts it on Control's list.
template <class T>
std::shared_ptr<T> Make(int id, const char* name, int reg = 1)
{
    auto obj = std::make_shared<T>();
    obj->Init(id, name, reg);
    return obj;
}

} // namespace

ProgramScreens& Program()
{
    static ProgramScreens screens;
    return screens;
}

void CreateProgramScreens(bool makeTextClasses)
{
    ProgramScreens& p = Program();
    p = ProgramScreens{};
    Loaders().clear();
    p.LoadingScreen = Make<TLoadingScreen>(-1, "LoadingScreen", 0);
    p.MainGame = Make<level::TMainGame>(1, "MainGame");
    p.MainMenu = Make<menus::TMainMenu>(2, "MainMenu");
    p.Intro = Make<story::TIntro>(3, "Intro");
    p.Outro = Make<story::TOutro>(3, "Outro");
    p.WarStory = Make<story::TWarStory>(112, "WarStory");
    p.DialogShow = Make<story::TDialogShow>(113, "DialogShow");
    p.MapScreen = Make<citymap::TMapScreen>(4, "MapScreen");
    p.Options = Make<progress::TOptions>(101, "Options");
    p.Profiles = Make<progress::TProfiles>(102, "Profiles");
    p.EnterName = Make<progress::TEnterName>(103, "EnterName");
    p.YesOrNo = Make<progress::TYesOrNo>(104, "YesOrNo");
    p.Scores = Make<progress::TScores>(105, "Scores");
    p.LevelSummary = Make<level::TSummary>(106, "LevelSummary");
    p.PickMode = Make<level::TPickMode>(107, "PickMode");
    p.Lose = Make<level::TLosePopUp>(109, "Lose");
    p.InGameMenu = Make<level::TInGameMenu>(111, "InGameMenu");
    p.MainGame->SummaryPopUp = p.LevelSummary;
    p.MainGame->LosePopUp = p.Lose;
    p.MainGame->MenuPopUp = p.InGameMenu;
    p.CaptionsLoader = Make<match3::TCaptionsLoader>(0, "CaptionsLoader");
    if (makeTextClasses)
        gui::CreateProgramTextClasses();
    // The transition screen is a plain object: no Init, never registered.
    Crosser() = std::make_shared<TCrosser>();
    p.Crosser = Crosser();
    p.Credits = Make<menus::TCredits>(6, "Credits");
    p.CharactersLoader = Make<story::TCharactersLoader>(0, "CharactersLoader");
    p.Dialogs = Make<story::TDialogsPopUp>(108, "Dialogs");
    p.Tutorial = Make<tutorial::TTutorialPopUp>(110, "Tutorial");
}

} // namespace game
