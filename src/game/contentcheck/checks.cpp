// The list of content checks. A subsystem that reads new content adds its files
// here: a path read by code goes into the code-reference table, a new data file
// format into its own check.
#include "game/contentcheck/contentcheck.h"
#include "datafiles/numbers.h"

#include "app/globalvars.h"
#include "app/platform/core/files.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

namespace contentcheck {

namespace {

namespace fs = std::filesystem;


bool EndsWith(const std::string& s, const std::string& suffix)
{
    return s.size() >= suffix.size() && s.compare(s.size() - suffix.size(), suffix.size(), suffix) == 0;
}

// Every file below the game folder, as paths that start with the game folder,
// sorted so that reports come out in a stable order.
std::vector<std::string> AllFiles(const Context& ctx)
{
    std::vector<std::string> files;
    std::error_code ec;
    const fs::path root(ctx.GameDir());
    for (fs::recursive_directory_iterator it(root, ec), end; !ec && it != end; it.increment(ec)) {
        if (it->is_regular_file(ec))
            files.push_back(ctx.GameDir() + fs::relative(it->path(), root, ec).generic_string());
    }
    std::sort(files.begin(), files.end());
    return files;
}

// Game-folder-relative part of a path from AllFiles, lower-cased.
std::string RelLower(const Context& ctx, const std::string& path)
{
    return datafiles::AsciiLower(path.substr(ctx.GameDir().size()));
}

// ---- start-up files ----

void CheckStartup(Context& ctx)
{
    const std::string localTxt = ctx.GameDir() + "Local.txt";
    if (!ctx.RequireFile(localTxt, localTxt, 0, "the language file"))
        return;
    auto text = platform::TryReadTextFile(ctx.Resolve(localTxt));
    if (!text) {
        ctx.Error(localTxt, 0, "cannot be read");
        return;
    }
    // The language folder name is the content with blanks and control characters trimmed.
    size_t a = 0, b = text->size();
    while (a < b && static_cast<unsigned char>((*text)[a]) <= 32)
        ++a;
    while (b > a && static_cast<unsigned char>((*text)[b - 1]) <= 32)
        --b;
    const std::string language = text->substr(a, b - a);
    if (language.empty()) {
        ctx.Error(localTxt, 1, "names no language folder");
        return;
    }
    const std::string folder = ctx.GameDir() + "Local/" + language;
    if (platform::FileType(platform::ResolvePath(folder)) != 2) {
        ctx.Error(localTxt, 1, "the language folder \"" + folder + "\" does not exist");
        return;
    }
    ctx.SetLanguage(language);
    const std::string root = ctx.LanguageRoot();
    for (const char* f : {"appname.txt", "Txt/Pause.txt", "Txt/LoadingText.txt"})
        ctx.RequireFile(root + f, root + f, 0, "the start-up file");
}

// ---- paths read by code ----

struct CodeReference {
    const char* path;   // relative to the game folder, or to the language root when localised
    bool localised;
    const char* reader; // who reads it, for the message
};

// Files the program opens by a fixed name. Extend this table as subsystems land.
const CodeReference kCodeReferences[] = {
    {"gfx/font.ttf", false, "the display font"},
    {"gfx/font2.ttf", false, "the body font"},
    {"gfx/gui/loading/back.jpg", false, "the loading screen"},
    {"gfx/gui/loading/LoadingBarBG.png", false, "the loading screen"},
    {"gfx/gui/loading/Bar.png", false, "the loading screen"},
    {"gfx/TransSpin.png", false, "the screen transition"},
    {"gfx/TransDark.png", false, "the screen transition"},
    {"gfx/GUI/YesOrNo/ConfirmWindow.png", false, "the confirmation pop-up"},
    {"gfx/options/WindowOkButton.png", true, "the OK button of the pop-ups"},
    {"gfx/EnterName/ButtonCancel.png", true, "the Cancel button of the pop-ups"},
    {"gfx/options/optionsWindow.png", true, "the options pop-up"},
    {"gfx/options/CreditsButton.png", true, "the options pop-up"},
    {"gfx/GUI/options/on.png", false, "the options pop-up"},
    {"gfx/GUI/options/off.png", false, "the options pop-up"},
    {"gfx/gui/options/VolumeMinusButton0.png", false, "the options pop-up"},
    {"gfx/gui/options/VolumePlusButton0.png", false, "the options pop-up"},
    {"gfx/gui/options/Bar0.png", false, "the options pop-up"},
    {"gfx/gui/options/Bar1.png", false, "the options pop-up"},
    {"gfx/Profiles/Window.png", true, "the profiles pop-up"},
    {"gfx/Profiles/NewButton.png", true, "the profiles pop-up"},
    {"gfx/Profiles/NewButton0.png", true, "the profiles pop-up"},
    {"gfx/Profiles/DeleteButton.png", true, "the profiles pop-up"},
    {"gfx/Profiles/DeleteButton0.png", true, "the profiles pop-up"},
    {"gfx/gui/Profiles/NameListSelection.png", false, "the profiles pop-up"},
    {"gfx/EnterName/AddNameWindow.png", true, "the name entry pop-up"},
    {"Txt/Profiles.txt", true, "the profiles pop-up (the delete question, the default player name)"},
    {"Txt/EnterName.txt", true, "the name entry pop-up"},
    {"Txt/YesOrNo.txt", true, "the confirmation pop-up"},
    {"gfx/GUI/Scores/InfoWindow.png", false, "the high-score and mode pop-ups"},
    {"gfx/GUI/Lose/Window.png", false, "the lose pop-up"},
    {"gfx/inGameMenu/InGameMenuWindow.png", true, "the in-game menu"},
    {"gfx/inGameMenu/InGameResumeButton.png", true, "the in-game menu"},
    {"gfx/inGameMenu/InGameRestartButton.png", true, "the in-game menu"},
    {"gfx/inGameMenu/InGameOptionsButton.png", true, "the in-game menu"},
    {"gfx/inGameMenu/InGameToMenuButton.png", true, "the in-game menu"},
    {"gfx/captions/Go.png", true, "the level captions"},
    {"gfx/captions/GetReady.png", true, "the level captions"},
    {"gfx/captions/Completed.png", true, "the level captions"},
    {"gfx/captions/NoMatch.png", true, "the level captions"},
    {"gfx/captions/TimesUp.png", true, "the level captions"},
    {"gfx/Match3/BoardBorder.png", false, "the level play screen"},
    {"gfx/gui/mainGame/ChipLight.png", false, "the level play screen"},
    {"Data/MapScreen/MapObjects.txt", false, "the map screen (the catalogue of map objects)"},
    {"Data/MapScreen/ObjectsBuildingQue.txt", false, "the map screen (the building queue)"},
    {"Txt/MapObjects.txt", true, "the map screen (names and descriptions of the map objects)"},
    {"Txt/MapScreen.txt", true, "the map screen"},
    {"gfx/Map/UpgradeIconLock.png", false, "the map screen (the lock on the fourth buy button)"},
    {"gfx/gui/MapScreen/Slots.png", false, "the map screen"},
    {"gfx/gui/MapScreen/UpperPanel.png", false, "the map screen (the progress panel)"},
    {"gfx/gui/MapScreen/UpperBar.png", false, "the map screen (the progress panel)"},
    {"gfx/gui/MapScreen/Bar.png", false, "the map screen (the progress panel)"},
    {"gfx/gui/MapScreen/Left.png", false, "the map screen"},
    {"gfx/gui/MapScreen/Right.png", false, "the map screen"},
    {"gfx/mainmenu/playbutton.png", true, "the map screen (Play)"},
    {"gfx/gui/MapScreen/shopWindow.png", false, "the map screen's buy window"},
    {"gfx/gui/summary/coin.png", false, "the map screen's buy window"},
    {"gfx/BuyUpgrade/BuyNormal.png", true, "the map screen's buy window"},
    {"gfx/BuyUpgrade/BuyUnactive.png", true, "the map screen's buy window"},
};

void CheckCodeReferences(Context& ctx)
{
    for (const CodeReference& r : kCodeReferences) {
        if (r.localised && ctx.Language().empty())
            continue; // already reported by the start-up check
        const std::string path = (r.localised ? ctx.LanguageRoot() : ctx.GameDir()) + r.path;
        // The program spells some folders in several letter cases; the lookup
        // ignores case, so only a missing file is a problem here.
        if (ctx.Resolve(path).empty())
            ctx.Error(path, 0, std::string("missing: read by ") + r.reader);
    }
}

// ---- text files ----

void CheckTextFiles(Context& ctx)
{
    for (const std::string& f : AllFiles(ctx)) {
        const std::string rel = RelLower(ctx, f);
        if (!EndsWith(rel, ".txt"))
            continue;
        // The dialog text the game writes itself from the translators' script is
        // not authored and keeps the program's own encoding.
        if (EndsWith(rel, "/txt/dialogs.txt"))
            continue;
        std::vector<uint8_t> bytes;
        if (!platform::ReadBinaryFile(f, bytes)) {
            ctx.Error(f, 0, "cannot be read");
            continue;
        }
        CheckTextBytes(ctx, f, std::string(bytes.begin(), bytes.end()));
    }
}

// ---- block files ----

bool IsBlockFile(const std::string& rel)
{
    if (rel == "sfx/sounds.txt" || rel == "data/mapscreen/mapobjects.txt" ||
        rel == "data/mapscreen/objectsbuildingque.txt" || rel == "data/tutorial.txt" ||
        rel == "data/charspositions.txt" || rel == "data/introstorydata.txt" || rel == "data/outrostorydata.txt")
        return true;
    if (rel.rfind("gfx/backgrounds/", 0) == 0 && EndsWith(rel, "/background.txt"))
        return true;
    // Screen GUI files: Local/<language>/Data/<screen>/Objects.txt
    return rel.rfind("local/", 0) == 0 && rel.find("/data/") != std::string::npos && EndsWith(rel, "/objects.txt");
}

void CheckBlockFiles(Context& ctx)
{
    for (const std::string& f : AllFiles(ctx)) {
        const std::string rel = RelLower(ctx, f);
        if (!IsBlockFile(rel))
            continue;
        const std::vector<BlockEntry> entries = CheckBlockFile(ctx, f);
        const bool guiFile = EndsWith(rel, "/objects.txt");
        const bool sounds = rel == "sfx/sounds.txt";
        for (const BlockEntry& e : entries) {
            if (e.key != "url" || e.blocks.empty() || e.values.empty() || e.values[0].empty())
                continue;
            const std::string& owner = e.blocks.back();
            if (guiFile && (owner == "IMAGE" || owner == "LIGHTBUTTON"))
                ctx.RequireFile(ctx.DataPath(e.values[0]), f, e.line, "picture");
            else if (sounds && e.blocks.size() == 1 && owner == "SOUND")
                ctx.RequireFile(ctx.DataPath(e.values[0]), f, e.line, "sound");
        }
    }
}

// ---- resource-catalogue files ----

void CheckCatalogueFiles(Context& ctx)
{
    for (const std::string& f : AllFiles(ctx)) {
        const std::string rel = RelLower(ctx, f);
        if (!EndsWith(rel, ".txt"))
            continue;
        if (rel.rfind("data/match3engine/", 0) == 0 || rel.rfind("data/levels/", 0) == 0)
            CheckCatalogueFile(ctx, f);
    }
}

// ---- tuning variables ----

void CheckTuningVariables(Context& ctx)
{
    const std::string path = ctx.GameDir() + "Data/GlobalVars.txt";
    const std::string found = ctx.Resolve(path);
    if (found.empty()) {
        CheckTuningRanges(ctx, path, ""); // the registered defaults apply
        return;
    }
    auto text = platform::TryReadTextFile(found);
    if (!text) {
        ctx.Error(path, 0, "cannot be read");
        return;
    }
    app::RegisterProgramGlobalVars(); // check names and kinds against the program's own list
    for (const app::GlobalVarsProblem& p : app::CheckGlobalVarsText(*text))
        ctx.Error(path, p.line, p.message);
    CheckTuningRanges(ctx, path, *text);
}

// ---- pictures ----

void CheckPictures(Context& ctx)
{
    for (const std::string& f : AllFiles(ctx)) {
        const std::string rel = RelLower(ctx, f);
        if (EndsWith(rel, ".png") || EndsWith(rel, ".jpg") || EndsWith(rel, ".jpeg"))
            CheckPictureFile(ctx, f);
    }
}

} // namespace

const std::vector<ContentCheck>& ContentChecks()
{
    static const std::vector<ContentCheck> checks = {
        {"start-up files", CheckStartup},
        {"files read by code", CheckCodeReferences},
        {"text file bytes", CheckTextFiles},
        {"block files", CheckBlockFiles},
        {"resource catalogues", CheckCatalogueFiles},
        {"game rules", CheckGameRules},
        {"city map", CheckMapRules},
        {"tuning variables", CheckTuningVariables},
        {"pictures", CheckPictures},
    };
    return checks;
}

} // namespace contentcheck
