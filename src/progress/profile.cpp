#include "progress/profile.h"

#include <algorithm>
#include <optional>
#include <sstream>

#include "app/control.h"
#include "app/crosser.h"
#include "app/globalvars.h"
#include "app/paths.h"
#include "app/platform/core/files.h"
#include "app/platform/core/system.h"
#include "datafiles/numbers.h"
#include "level/maingame.h"

namespace progress {

namespace {

// Switches to the screen of that name, through the transition unless
// `instantly`; a name no screen bears is reported and changes nothing.
void GoTo(const std::string& name, bool instantly = false)
{
    std::shared_ptr<app::TScreen> screen = app::Control::GetScreenByName(name);
    if (!screen) {
        platform::Log("There is no screen named " + name);
        return;
    }
    if (instantly)
        app::Control::SetCurrScreen(screen);
    else
        app::GoToScreen(screen);
}

// Ids each followed by one blank.
template <class List, class Id>
std::string IdString(const List& list, Id id)
{
    std::string out;
    for (const auto& e : list)
        out += std::to_string(id(e)) + " ";
    return out;
}

std::string TrimTrailingBlank(std::string s)
{
    while (!s.empty() && s.back() == ' ')
        s.pop_back();
    return s;
}

// The numbers of a blank-separated id string; pieces that are not numbers are skipped.
std::vector<int> SplitIds(const std::string& text)
{
    std::vector<int> out;
    std::istringstream in(text);
    std::string piece;
    while (in >> piece) {
        const std::string digits = piece[0] == '-' ? piece.substr(1) : piece;
        if (digits.empty() || !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
            continue;
        out.push_back(datafiles::ParseInt(piece));
    }
    return out;
}

} // namespace

// ---- Names ----

std::string CodedName(const std::string& name)
{
    std::string out;
    for (char32_t c : platform::Utf8ToU32(name)) {
        auto unit = [&out](unsigned v) {
            if (!out.empty())
                out += "-";
            out += std::to_string(v);
        };
        if (c >= 0x10000) {
            const unsigned v = static_cast<unsigned>(c) - 0x10000;
            unit(0xD800 + (v >> 10));
            unit(0xDC00 + (v & 0x3FF));
        } else {
            unit(static_cast<unsigned>(c));
        }
    }
    return out;
}

std::string UpperName(const std::string& name)
{
    std::u32string s = platform::Utf8ToU32(name);
    for (char32_t& c : s) {
        if (c >= U'a' && c <= U'z')
            c -= 32;
        else if (c >= 0xE0 && c <= 0xFE && c != 0xF7) // Latin-1 letters, not the division sign
            c -= 32;
    }
    return platform::U32ToUtf8(s);
}

int NameLength(const std::string& name) { return static_cast<int>(platform::Utf8ToU32(name).size()); }

bool SameName(const std::string& a, const std::string& b) { return UpperName(a) == UpperName(b); }

int StageLength(int stage)
{
    if (stage < 1 || stage > match3::kStageCount)
        return 0;
    return match3::kLevelsInStage[stage - 1];
}

PProfile& CurrProfile()
{
    static PProfile current;
    return current;
}

std::function<std::vector<int>()>& TutorialTipIds()
{
    static std::function<std::vector<int>()> ids;
    return ids;
}

TProfile::TProfile() : Map(citymap::TakeStartMap()) {}

// ---- GETTING ----

bool TProfile::AllUpgradesDone() const
{
    // The map's progress is the number of objects bought out of 32.
    const float progress = static_cast<float>(BoughtUpgrades.size()) / kAllUpgrades;
    return static_cast<int>(progress * 100) > 99;
}

std::string TProfile::GetCodedName() const { return CodedName(Name); }

bool TProfile::isPowerUpAvailable(int n) const
{
    if (n == 0)
        return true;
    if (n < 1 || n > 5)
        return false;
    const int unlocker = app::GlobalVars::PowerUpUnlocker(n);
    // A removal unlocks as soon as it is paid for, not once its fade is over.
    return (Map && Map->isObject_ForPowerUp(unlocker)) ||
           (isBought(unlocker) && citymap::TMap::isObjectReversed(unlocker));
}

bool TProfile::isBought(int id) const
{
    return std::any_of(BoughtUpgrades.begin(), BoughtUpgrades.end(),
                       [id](const TProfBuildData& b) { return b.id == id; });
}

bool TProfile::isTipDone(int id) const { return std::find(Tips.begin(), Tips.end(), id) == Tips.end(); }

std::string TProfile::FilePath() const { return app::UserDataFolder() + "Profiles/" + GetCodedName() + ".txt"; }

// ---- PROGRESSION ----

void TProfile::FLOW_StartNew()
{
    CurrLevelId = 1;
    CurrStageID = 1;
    DialogsShowed.clear();
    BoughtUpgrades.clear();
    WasAtUpgradesScreen = 0;
    CurrBG = 0;
    // The level screen loads its background again for the new game.
    if (level::TMainGame* g = level::MainGameScreen())
        g->LastLoadedBG = -1;
    Tips = TutorialTipIds() ? TutorialTipIds()() : std::vector<int>{};
    CurrScreen.clear();
    Cash = 0;
    Score = 0;
    // A new game starts on a fresh map.
    Map = citymap::TakeStartMap();
}

bool TProfile::AdvanceAfterWin()
{
    if (isAtEnd())
        return true;
    CurrLevelId += 1;
    if (CurrLevelId > StageLength(CurrStageID)) {
        CurrStageID += 1;
        CurrLevelId = 1;
    }
    if (CurrStageID > match3::kStageCount) {
        CurrStageID = match3::kStageCount;
        CurrLevelId = kEndLevel;
        return true;
    }
    return false;
}

void TProfile::MoveOnAfterWin()
{
    if (isAtEnd() && AllUpgradesDone()) {
        FLOW_GoOutro();
        return;
    }
    GoToMap();
}

void TProfile::FLOW_ContinueFromSummary()
{
    AdvanceAfterWin();
    MoveOnAfterWin();
}

void TProfile::FLOW_StartGameAfterIntro()
{
    LoadCurrLevel();
    GoTo(level::TMainGame::kName);
}

void TProfile::FLOW_ContinueGame()
{
    if (CurrScreen == "MapScreen") {
        GoToMap();
        return;
    }
    if (!isAtEnd())
        LoadCurrLevel();
    GoTo(CurrScreen.empty() ? std::string(level::TMainGame::kName) : CurrScreen);
}

void TProfile::FLOW_PlayFromMap()
{
    if (isAtEnd()) {
        FLOW_GoOutro();
        return;
    }
    LoadCurrLevel();
    GoTo(level::TMainGame::kName);
}

void TProfile::FLOW_PlayFromTown()
{
    if (CurrLevelId == 1)
        GoToMap();
    else
        FLOW_PlayFromMap();
}

void TProfile::FLOW_GoOutro() { GoTo("Outro"); }

void TProfile::FLOW_RestartLevel() { LoadCurrLevel(); }

void TProfile::FLOW_Finish()
{
    // The high-score table reads the profiles themselves when it lands.
    CurrScreen.clear();
}

void TProfile::FLOW_CHEAT_NextLevel()
{
    if (AdvanceAfterWin()) {
        GoTo("Outro", true);
        return;
    }
    GoToMap(true);
}

void TProfile::GoToMap(bool instantly)
{
    GoTo(isAtEnd() && AllUpgradesDone() ? "Outro" : "MapScreen", instantly);
}

bool TProfile::PayPurchase(int id, int price, int backgroundIndex)
{
    if (isBought(id)) {
        platform::Log("Map object " + std::to_string(id) + " is already bought; not paid again");
        return false;
    }
    Cash -= price;
    BoughtUpgrades.push_back(TProfBuildData{id});
    if (backgroundIndex >= kBackgroundSets) {
        platform::Log("Map object " + std::to_string(id) + " brings background set " +
                      std::to_string(backgroundIndex) + ", which does not exist; the first set is used");
        CurrBG = 0;
    } else if (backgroundIndex >= 0) {
        CurrBG = backgroundIndex;
    }
    return true;
}

// ---- LOADING ----

bool TProfile::LoadCurrLevel()
{
    level::TMainGame* g = level::MainGameScreen();
    if (!g)
        return false;
    level::TLevelSetup setup;
    setup.stage = CurrStageID;
    setup.level = CurrLevelId;
    setup.timed = Mode;
    setup.background = CurrBG;
    setup.baseScore = Score;
    if (!g->LoadLevel(setup)) {
        platform::Log(g->error);
        CurrLevel.reset();
        return false;
    }
    CurrLevel = g->Level;
    return true;
}

void TProfile::SaveBasicData(TBlockFile& file) const
{
    SetBlockString(file, "Name", Name);
    if (!CurrScreen.empty())
        SetBlockString(file, "CurrScreen", CurrScreen);
    SetBlockInt(file, "Level", CurrLevelId);
    SetBlockInt(file, "Stage", CurrStageID);
    SetBlockInt(file, "Money", Cash);
    SetBlockInt(file, "Score", Score);
    SetBlockInt(file, "Mode", Mode);
    SetBlockInt(file, "CurrBG", CurrBG);
    SetBlockInt(file, "HitPoints", HitPoints, 0);
    SetBlockInt(file, "HitPoints", MaxHitPoints, 1);
    SetBlockInt(file, "WasAtUpgradesScreen", WasAtUpgradesScreen);
    SetBlockString(file, "BoughtUpgrades", IdString(BoughtUpgrades, [](const TProfBuildData& b) { return b.id; }));
    SetBlockString(file, "Tutorial", TrimTrailingBlank(IdString(Tips, [](int id) { return id; })));
    SetBlockString(file, "Dialogs", TrimTrailingBlank(IdString(DialogsShowed, [](int id) { return id; })));
}

void TProfile::SavePowerups(TBlockFile& file) const
{
    for (int i = 0; i < kPowerUps; ++i)
        SetBlockInt(file, "PowerUp" + std::to_string(i + 1), CurrPowerUp[static_cast<size_t>(i)]);
}

void TProfile::SaveMap(TBlockFile& file) const
{
    if (Map)
        Map->Save(file);
}

bool TProfile::Save() const
{
    TBlockFile root;
    root.name = FilePath();
    SaveBasicData(*NewBlock("Data", &root));
    SavePowerups(*NewBlock("PowerUps", &root));
    if (Map)
        SaveMap(*NewBlock("Map", &root));
    if (!SaveBlockFile(root)) {
        platform::Log("The profile " + Name + " could not be saved to " + root.name);
        return false;
    }
    return true;
}

void TProfile::LoadBasicData(const TBlockFile& file)
{
    const std::string screen = file.GetBlock("CurrScreen")->GetString(0);
    CurrScreen.clear();
    if (!screen.empty())
        if (std::shared_ptr<app::TScreen> s = app::Control::GetScreenByName(screen))
            CurrScreen = s->Name;
    auto num = [&file](const char* key, int i = 0) { return file.GetBlock(key)->GetInt(i); };
    CurrLevelId = num("Level");
    CurrStageID = num("Stage");
    Cash = num("Money");
    Score = num("Score");
    Mode = num("Mode");
    CurrBG = num("CurrBG");
    if (CurrBG < 0 || CurrBG >= kBackgroundSets) {
        platform::Log("The profile " + Name + " names background set " + std::to_string(CurrBG) +
                      ", which does not exist; the first set is used");
        CurrBG = 0;
    }
    HitPoints = num("HitPoints", 0);
    MaxHitPoints = num("HitPoints", 1);
    WasAtUpgradesScreen = num("WasAtUpgradesScreen");
    // The tutorial and the dialogs keep their ids until their catalogues land.
    Tips = SplitIds(file.GetBlock("Tutorial")->GetString(0));
    DialogsShowed = SplitIds(file.GetBlock("Dialogs")->GetString(0));
    BoughtUpgrades.clear();
    for (int id : SplitIds(file.GetBlock("BoughtUpgrades")->GetString(0))) {
        if (isBought(id)) {
            platform::Log("The profile " + Name + " lists map object " + std::to_string(id) +
                          " as bought twice; it counts once");
            continue;
        }
        BoughtUpgrades.push_back(TProfBuildData{id});
    }
}

void TProfile::LoadPowerups(const TBlockFile& file)
{
    for (int i = 0; i < kPowerUps; ++i)
        CurrPowerUp[static_cast<size_t>(i)] = file.GetBlock("PowerUp" + std::to_string(i + 1))->GetInt(0);
}

void TProfile::LoadMap(const TBlockFile& file)
{
    if (!Map)
        Map = std::make_shared<citymap::TMap>();
    Map->Load(file);
}

bool TProfile::Load()
{
    const std::string path = FilePath();
    if (!platform::FileExists(path)) {
        platform::Log("The profile file " + path + " of " + Name + " is missing; the profile starts afresh");
        return false;
    }
    const std::optional<std::string> text = platform::TryReadTextFile(path);
    if (!text) {
        platform::Log("The profile file " + path + " of " + Name + " cannot be read; the profile starts afresh");
        return false;
    }
    PBlockFile root = ParseBlockText(*text, path);
    PBlockFile data = root->isBlock("Data");
    PBlockFile powerUps = root->isBlock("PowerUps");
    const bool hasData = data && data->MyType == 0;
    const bool hasPowerUps = powerUps && powerUps->MyType == 0;
    if (hasData)
        LoadBasicData(*data);
    if (hasPowerUps)
        LoadPowerups(*powerUps);
    if (PBlockFile map = root->isBlock("Map"); map && map->MyType == 0)
        LoadMap(*map);
    // Every file this program writes ends with the close of a block.
    const std::string trimmed = datafiles::Trim(*text);
    if (!hasData || !hasPowerUps || trimmed.empty() || trimmed.back() != '}') {
        platform::Log("The profile file " + path + " of " + Name + " is damaged; what could be read of it is kept");
        return false;
    }
    return true;
}

} // namespace progress
