// One player's profile: the whole saved progress of a game (stage and level,
// cash and score, power-up charges, hit points, the map's purchases, the
// dialogs already played and the tutorial tips still pending, the screen to
// resume), its save file, and the progression steps that move the player
// from level to level and between screens (the FLOW_ operations).
//
// The profile list (profiles.h) owns the profiles; exactly one is current
// after start-up (CurrProfile). A profile runs without any screen: the steps
// that change screens find them by name and do nothing when there is none,
// so tests drive the counting and the files alone.
//
// Save file: user-data folder + "Profiles/" + coded name + ".txt", a block
// file with the blocks Data, PowerUps and Map (the city map's own entries).
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "citymap/map.h"
#include "datafiles/blockfile.h"
#include "match3/m3level.h"

namespace progress {

// One map object bought.
struct TProfBuildData {
    int32_t id = 0; // the map object's id
};

class TProfile;
using PProfile = std::shared_ptr<TProfile>;

class TProfile {
public:
    static constexpr int kEndLevel = 23;      // CurrLevelId after the last level of the last stage
    static constexpr int kAllUpgrades = 32;   // objects bought when the map is complete
    static constexpr int kPowerUps = 6;
    static constexpr int kBackgroundSets = 10; // CurrBG runs 0 .. 9

    std::string Name;                          // upper case
    std::vector<int> Tips;                     // ids of the tutorial tips NOT yet done
    std::vector<int> DialogsShowed;            // ids of the dialogs already played
    std::vector<TProfBuildData> BoughtUpgrades;
    std::string CurrScreen;                    // resume screen's name; empty: no game in progress
    int CurrLevelId = 0;                       // level within the stage, from 1 (23: the end)
    int CurrStageID = 0;                       // 1 to 5
    match3::PM3Level CurrLevel;                // the loaded current level (not saved)
    std::array<int, kPowerUps> CurrPowerUp{};  // collected charge of each power-up
    citymap::PMap Map;                         // the city map (a start map at creation)
    int MaxHitPoints = 100;
    int HitPoints = 100;
    int CurrBG = 2;                            // background set of the level and dialog screens
    int Cash = 0;
    int Mode = 0;                              // 0 relaxed, 1 timed
    int Score = 0;
    int WasAtUpgradesScreen = 0;

    // Takes over the program-wide start map as its own.
    TProfile();

    // ---- GETTING ----
    bool AllUpgradesDone() const;
    bool isBought(int id) const;
    std::string GetCodedName() const;
    int CountLevelId() const { return (CurrStageID - 1) * 20 + CurrLevelId; }
    bool isAtEnd() const { return CurrLevelId == kEndLevel; }
    bool isStageCompleted(int stage) const { return stage < CurrStageID; }
    bool isAbleToContinue() const { return !CurrScreen.empty(); }
    bool isPowerUpAvailable(int n) const;
    bool isTipDone(int id) const;
    // The save file's path in the user-data folder.
    std::string FilePath() const;

    // ---- PROGRESSION ----
    // A new game: stage 1 level 1, no purchases, dialogs, cash or score, every
    // tutorial tip pending, no resume screen. Mode, hit points and power-up
    // charges stay.
    void FLOW_StartNew();
    // The counting of a won level: the next level, the next stage after the
    // stage's last one, the end state (5, 23) after the last stage. True when
    // the end state was reached.
    bool AdvanceAfterWin();
    // After a won level was counted: the outro at the end with the map
    // complete, otherwise the map.
    void MoveOnAfterWin();
    // AdvanceAfterWin, then MoveOnAfterWin.
    void FLOW_ContinueFromSummary();
    void FLOW_StartGameAfterIntro();
    void FLOW_ContinueGame();
    void FLOW_PlayFromMap();
    void FLOW_PlayFromTown();
    void FLOW_GoOutro();
    void FLOW_RestartLevel();
    void FLOW_Finish();
    // The developer's next-level key: the next level (by the real stage
    // lengths), then the outro at the end or else the map, without transition.
    void FLOW_CHEAT_NextLevel();
    // Where every "go to the map" of the progression leads: the map screen,
    // or the outro at the end with the map complete.
    void GoToMap(bool instantly = false);
    // A purchase on the map, in one step: pay, record, take the background
    // set it brings (an index outside the sets gives the first set).
    // Refused (false) when the object is already bought. The caller saves.
    bool PayPurchase(int id, int price, int backgroundIndex);

    // ---- LOADING ----
    // The current level's file handed to the level play screen; false (and a
    // console line from the screen) when it cannot be loaded.
    bool LoadCurrLevel();
    void SaveBasicData(TBlockFile& file) const;
    void SavePowerups(TBlockFile& file) const;
    void SaveMap(TBlockFile& file) const;
    // Writes the save file atomically; false (logged) when it failed.
    bool Save() const;
    void LoadBasicData(const TBlockFile& file);
    void LoadPowerups(const TBlockFile& file);
    void LoadMap(const TBlockFile& file);
    // Reads the save file (Name must be set). A missing or damaged file is
    // reported on the console naming it; whatever could be read is kept and
    // the rest stays at its defaults. False then.
    bool Load();
};

// The levels of stage s (1 .. 5); 0 for any other stage.
int StageLength(int stage);

// ---- Names ----
// The decimal value of each UTF-16 code unit of the name joined by "-"
// ("AB" gives "65-66"): only digits and dashes, so a file name made from it
// stays inside the profile folder.
std::string CodedName(const std::string& name);
// Upper case of a UTF-8 name: ASCII letters and the Latin-1 letters
// (é becomes É); other characters stay as they are.
std::string UpperName(const std::string& name);
// Characters (code points) of a UTF-8 text.
int NameLength(const std::string& name);
// Two names are the same player when their upper cases are equal.
bool SameName(const std::string& a, const std::string& b);

// ---- Program-wide ----
// The current profile (none until one is chosen or created).
PProfile& CurrProfile();
// The ids of every tutorial tip, in catalogue order, for a new game's pending
// tips; filled in by the tutorial (empty until then).
std::function<std::vector<int>()>& TutorialTipIds();

} // namespace progress
