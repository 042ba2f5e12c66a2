// Designer tuning variables. Code registers each variable by name with its
// default (the variable's current value); the game folder's
// "Data/GlobalVars.txt" may then override any of them at start-up. The file is
// INI-style: sections in square brackets (their names do not matter) holding
// name = value triples. Names are matched ignoring case; floats read as
// numbers, flags are 1 only for the word TRUE (any case), ints read as numbers
// (anything else gives 0). Words before the first section are ignored, which is
// where the file keeps its comment header.
#pragma once

#include <memory>
#include <string>
#include <vector>

class TIniBlock;

namespace app {

class TRegVar {
public:
    std::string name; // upper-cased at registration
    virtual ~TRegVar() = default;
};

class TRegVarFloat : public TRegVar {
public:
    float* v = nullptr;
    void SetFloatV(float f) { *v = f; }
};

class TRegVarInt : public TRegVar {
public:
    int* v = nullptr;
    void SetIntV(int i) { *v = i; }
};

// An int used as a flag (1 or 0).
class TRegVarBool : public TRegVarInt {};

using PRegVar = std::shared_ptr<TRegVar>;

class GlobalVars {
public:
    GlobalVars() = delete;

    // ---- The program's tuning variables (defaults as initial values) ----

    static inline int AutoProfileCreate = 1;         // create a profile without asking for a name
    static inline int CRUSHTILESEFFECT = 0;
    static inline float POPUPDARKFADESPEED = 0.05f;  // dark layer under pop-ups, per nominal frame
    static inline float POPUPSHOWSPEED = 0.025f;     // styled pop-ups' show speed, per nominal frame
    static inline int PowerUpCollectNeed[6] = {};    // charge needed by power-ups 1 to 6
    static inline int PowerUpsAvailableDuringFight = 0;
    static inline int FightChipId = 1;
    static inline float PlayerHitPointsSpeed = 0.5f;
    static inline int OneStarScore = 40;
    static inline int TwoStarScore = 100;
    static inline int TriStarScore = 200;
    static inline float ScoreToGoldRatio = 0.1f;
    static inline float TimeToGoldRatio = 0.1f;
    static inline int PowerUp1Unlocker = 0;          // map object that unlocks power-up 1
    static inline int PowerUp2Unlocker = 0;
    static inline int PowerUp3Unlocker = 0;
    static inline int PowerUp4Unlocker = 0;
    static inline int PowerUp5Unlocker = 0;
    static inline int isMusicContinued = 0;          // level music continues instead of restarting
    static inline int DialogTextMoveX = 0;           // dialog text placement and width
    static inline int DialogTextMoveY = 48;
    static inline int DialogTextWidth = 400;

    // PowerUp1Unlocker .. PowerUp5Unlocker for n = 1 .. 5; 0 for any other n.
    static int PowerUpUnlocker(int n);

    // ---- Registry ----

    // Every registered variable in registration order.
    static const std::vector<PRegVar>& List();
    // Empties the registry (the variables keep their values).
    static void Clear();
    // The first entry whose name equals `name` (trimmed, ignoring case), or null.
    static TRegVar* Find(const std::string& name);

    // Applies every parameter of one section in file order; unknown names are
    // ignored and a later parameter overwrites an earlier one.
    static void ApplySection(const TIniBlock& section);
    // Applies every section of an INI-style text.
    static void ApplyText(const std::string& text);

    static void Add(PRegVar entry);
};

// Append a registry entry bound to the variable; the name is upper-cased.
// Registering a name twice keeps both entries, and the file sets only the first.
void RegisterFloatVar(float& variable, const std::string& name);
void RegisterIntVar(int& variable, const std::string& name);
void RegisterBoolVar(int& variable, const std::string& name);

// Applies the global-variable file (game folder + "Data/GlobalVars.txt" when
// `path` is empty). A missing file keeps the registered defaults and logs one
// line; returns false then.
bool LoadGlobalVars(const std::string& path = "");

// A problem found in a global-variable text: the line (from 1) and what is wrong.
struct GlobalVarsProblem {
    int line = 0;
    std::string message;
};

// Looks over a global-variable text the way the loader reads it and reports
// what the loader would silently get wrong: a triple whose middle word is not
// "=" (an extra or missing word shifts every later triple of the section), an
// incomplete last triple, names that match no registered variable, and values
// that do not suit the variable's kind (numbers for floats and ints, TRUE or
// FALSE for flags). Checks against the registry as it is now.
std::vector<GlobalVarsProblem> CheckGlobalVarsText(const std::string& text);

// Empties the registry, puts the program's tuning variables (Control's
// SpeedFPS among them) back to their defaults and registers them in their
// fixed order. Start-up calls it once; calling it again starts afresh.
void RegisterProgramGlobalVars();

// The design area's size, whatever the window.
class OpenedGraphics {
public:
    OpenedGraphics() = delete;
    static int GetScreenWidth() { return 1024; }
    static int GetScreenHeight() { return 768; }
};

} // namespace app
