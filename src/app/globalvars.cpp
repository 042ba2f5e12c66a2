#include "app/globalvars.h"

#include <cctype>
#include <charconv>
#include <cmath>

#include "app/control.h"
#include "app/paths.h"
#include "app/platform/core/files.h"
#include "app/platform/core/system.h"
#include "datafiles/inifile.h"
#include "datafiles/numbers.h"

namespace app {

namespace {

std::vector<PRegVar>& Registry()
{
    static std::vector<PRegVar> list;
    return list;
}

template <class T, class V>
void Register(V& variable, const std::string& name)
{
    auto entry = std::make_shared<T>();
    entry->name = datafiles::AsciiUpper(datafiles::Trim(name));
    entry->v = &variable;
    GlobalVars::Add(std::move(entry));
}

} // namespace

int GlobalVars::PowerUpUnlocker(int n)
{
    switch (n) {
    case 1: return PowerUp1Unlocker;
    case 2: return PowerUp2Unlocker;
    case 3: return PowerUp3Unlocker;
    case 4: return PowerUp4Unlocker;
    case 5: return PowerUp5Unlocker;
    default: return 0;
    }
}

// ---- Registry ----

const std::vector<PRegVar>& GlobalVars::List() { return Registry(); }

void GlobalVars::Clear() { Registry().clear(); }

void GlobalVars::Add(PRegVar entry)
{
    if (entry)
        Registry().push_back(std::move(entry));
}

TRegVar* GlobalVars::Find(const std::string& name)
{
    const std::string wanted = datafiles::AsciiUpper(datafiles::Trim(name));
    for (const PRegVar& e : Registry())
        if (e->name == wanted)
            return e.get();
    return nullptr;
}

void GlobalVars::ApplySection(const TIniBlock& section)
{
    for (const TIniParam& p : section.params) {
        TRegVar* entry = Find(p.id);
        if (!entry)
            continue;
        // The kinds are tested in this order: a flag is an int, so it must be
        // recognised before the plain int.
        if (auto* f = dynamic_cast<TRegVarFloat*>(entry))
            f->SetFloatV(p.GetFloat());
        else if (auto* b = dynamic_cast<TRegVarBool*>(entry))
            b->SetIntV(p.GetBool());
        else if (auto* i = dynamic_cast<TRegVarInt*>(entry))
            i->SetIntV(p.GetInt());
    }
}

void GlobalVars::ApplyText(const std::string& text)
{
    for (const PIniBlock& section : ParseIniText(text))
        if (section)
            ApplySection(*section);
}

void RegisterFloatVar(float& variable, const std::string& name) { Register<TRegVarFloat>(variable, name); }
void RegisterIntVar(int& variable, const std::string& name) { Register<TRegVarInt>(variable, name); }
void RegisterBoolVar(int& variable, const std::string& name) { Register<TRegVarBool>(variable, name); }

bool LoadGlobalVars(const std::string& path)
{
    const std::string file = path.empty() ? GameDir() + "Data/GlobalVars.txt" : path;
    const auto text = platform::TryReadTextFile(platform::ResolvePath(file));
    if (!text) {
        platform::Log("Cannot read the tuning-variable file " + file + "; the built-in values are used");
        return false;
    }
    GlobalVars::ApplyText(*text);
    return true;
}

namespace {

struct Word {
    std::string text;
    int line;
};

// The words of an INI-style text as the loader cuts them (blanks, "=" and line
// ends), each with its line.
std::vector<Word> IniWords(const std::string& text)
{
    std::vector<Word> words;
    std::string current;
    int line = 1;
    auto flush = [&] {
        if (!current.empty())
            words.push_back({current, line});
        current.clear();
    };
    for (char c : text) {
        if (c == '\n') {
            flush();
            ++line;
        } else if (c == '=') {
            flush();
            words.push_back({"=", line});
        } else if (datafiles::IsBlank(c)) {
            flush();
        } else {
            current += c;
        }
    }
    flush();
    return words;
}

bool IsFloatText(const std::string& raw)
{
    std::string s = datafiles::Trim(raw);
    if (!s.empty() && s[0] == '+')
        s.erase(0, 1);
    if (s.empty() || !(std::isdigit(static_cast<unsigned char>(s[0])) || s[0] == '.' || s[0] == '-'))
        return false;
    double v = 0;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    return ec == std::errc() && end == s.data() + s.size() && std::isfinite(v);
}

bool IsIntText(const std::string& raw)
{
    std::string s = datafiles::Trim(raw);
    if (!s.empty() && (s[0] == '+' || s[0] == '-'))
        s.erase(0, 1);
    int base = 10;
    if (!s.empty() && (s[0] == '$' || s[0] == '%')) {
        base = s[0] == '$' ? 16 : 2;
        s.erase(0, 1);
    }
    if (s.empty())
        return false;
    for (char c : s) {
        const int digit = std::isdigit(static_cast<unsigned char>(c)) ? c - '0'
                          : std::isxdigit(static_cast<unsigned char>(c))
                              ? std::toupper(static_cast<unsigned char>(c)) - 'A' + 10
                              : 99;
        if (digit >= base)
            return false;
    }
    return true;
}

} // namespace

std::vector<GlobalVarsProblem> CheckGlobalVarsText(const std::string& text)
{
    std::vector<GlobalVarsProblem> problems;
    const std::vector<Word> words = IniWords(text);
    size_t i = 0;
    while (i < words.size() && words[i].text[0] != '[')
        ++i;
    while (i < words.size()) {
        // words[i] is a section word; its triples run up to the next one.
        size_t end = i + 1;
        while (end < words.size() && words[end].text[0] != '[')
            ++end;
        size_t k = i + 1;
        for (; k + 2 < end; k += 3) {
            const Word& name = words[k];
            const Word& sep = words[k + 1];
            const Word& value = words[k + 2];
            if (sep.text != "=") {
                problems.push_back({sep.line, "\"" + sep.text + "\" where \"=\" should follow " + name.text +
                                                  ": an extra or missing word shifts the lines after it"});
                // Everything later in this section is read shifted; one report is enough.
                k = end;
                break;
            }
            TRegVar* entry = GlobalVars::Find(name.text);
            if (!entry) {
                problems.push_back({name.line, "unknown name " + name.text + " (ignored)"});
                continue;
            }
            const std::string upper = datafiles::AsciiUpper(value.text);
            if (dynamic_cast<TRegVarFloat*>(entry)) {
                if (!IsFloatText(value.text))
                    problems.push_back({value.line, name.text + ": \"" + value.text + "\" is not a number (reads as 0)"});
            } else if (dynamic_cast<TRegVarBool*>(entry)) {
                if (upper != "TRUE" && upper != "FALSE")
                    problems.push_back({value.line, name.text + " is a flag: \"" + value.text +
                                                        "\" is neither TRUE nor FALSE (reads as off)"});
            } else if (!IsIntText(value.text)) {
                problems.push_back({value.line, name.text + ": \"" + value.text + "\" is not a whole number (reads as " +
                                                    std::to_string(datafiles::ParseInt(value.text)) + ")"});
            }
        }
        if (k < end)
            problems.push_back({words[k].line, "incomplete line starting with " + words[k].text + " (ignored)"});
        i = end;
    }
    return problems;
}

void RegisterProgramGlobalVars()
{
    using G = GlobalVars;
    G::Clear();

    G::AutoProfileCreate = 1;
    G::CRUSHTILESEFFECT = 0;
    G::POPUPDARKFADESPEED = 0.05f;
    G::POPUPSHOWSPEED = 0.025f;
    for (int& need : G::PowerUpCollectNeed)
        need = 0;
    G::PowerUpsAvailableDuringFight = 0;
    G::FightChipId = 1;
    G::PlayerHitPointsSpeed = 0.5f;
    G::OneStarScore = 40;
    G::TwoStarScore = 100;
    G::TriStarScore = 200;
    G::ScoreToGoldRatio = 0.1f;
    G::TimeToGoldRatio = 0.1f;
    G::PowerUp1Unlocker = G::PowerUp2Unlocker = G::PowerUp3Unlocker = G::PowerUp4Unlocker = G::PowerUp5Unlocker = 0;
    G::isMusicContinued = 0;
    G::DialogTextMoveX = 0;
    G::DialogTextMoveY = 48;
    G::DialogTextWidth = 400;
    Control::SpeedFPS = Control::kDefaultSpeedFPS;

    RegisterBoolVar(G::AutoProfileCreate, "AutoProfileCreate");
    RegisterBoolVar(G::CRUSHTILESEFFECT, "CRUSHTILESEFFECT");
    RegisterFloatVar(G::POPUPDARKFADESPEED, "POPUPDARKFADESPEED");
    RegisterFloatVar(G::POPUPSHOWSPEED, "POPUPSHOWSPEED");
    for (int i = 0; i < 6; ++i)
        RegisterIntVar(G::PowerUpCollectNeed[i], "PowerUp" + std::to_string(i + 1) + "CollectNeed");
    RegisterBoolVar(G::PowerUpsAvailableDuringFight, "PowerUpsAvailableDuringFight");
    RegisterIntVar(G::FightChipId, "FightChipId");
    RegisterFloatVar(G::PlayerHitPointsSpeed, "PlayerHitPointsSpeed");
    RegisterIntVar(G::OneStarScore, "OneStarScore");
    RegisterIntVar(G::TwoStarScore, "TwoStarScore");
    RegisterIntVar(G::TriStarScore, "TriStarScore");
    RegisterFloatVar(G::ScoreToGoldRatio, "ScoreToGoldRatio");
    RegisterFloatVar(G::TimeToGoldRatio, "TimeToGoldRatio");
    RegisterIntVar(G::PowerUp1Unlocker, "PowerUp1Unlocker");
    RegisterIntVar(G::PowerUp2Unlocker, "PowerUp2Unlocker");
    RegisterIntVar(G::PowerUp3Unlocker, "PowerUp3Unlocker");
    RegisterIntVar(G::PowerUp4Unlocker, "PowerUp4Unlocker");
    RegisterIntVar(G::PowerUp5Unlocker, "PowerUp5Unlocker");
    RegisterBoolVar(G::isMusicContinued, "isMusicContinued");
    RegisterIntVar(G::DialogTextMoveX, "DialogTextMoveX");
    RegisterIntVar(G::DialogTextMoveY, "DialogTextMoveY");
    RegisterIntVar(G::DialogTextWidth, "DialogTextWidth");
    RegisterIntVar(Control::SpeedFPS, "SpeedFPS");
}

} // namespace app
