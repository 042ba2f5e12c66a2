// The content check behind "velmora --check-content [--game-dir DIR]": looks
// over a game folder without starting the game and reports every problem as one
// line "FILE:LINE: message" (LINE is 0 when the problem concerns the whole file).
//
// It is a list of checks (ContentChecks()); each subsystem that reads content
// adds a check of its own files there, so that a broken pack is caught before a
// player meets it.
#pragma once

#include <functional>
#include <map>
#include <optional>
#include <ostream>
#include <set>
#include <string>
#include <vector>

namespace contentcheck {

enum class Severity { Error, Warning };

struct Problem {
    std::string file; // path as shown to the author (game folder included)
    int line = 0;     // from 1; 0 for the whole file
    std::string message;
    Severity severity = Severity::Error;
};

// Formats a problem as the output line: "FILE:LINE: message", warnings as
// "FILE:LINE: warning: message".
std::string FormatProblem(const Problem& p);

// What a check sees: the game folder, the language, and the report.
class Context {
public:
    explicit Context(std::string gameDir);

    // The game folder with a trailing "/".
    const std::string& GameDir() const { return gameDir_; }
    // The language folder name read from Local.txt; empty when it could not be read.
    const std::string& Language() const { return language_; }
    void SetLanguage(std::string language) { language_ = std::move(language); }
    // game folder + "Local/" + language + "/" (empty without a language).
    std::string LanguageRoot() const;

    void Error(const std::string& file, int line, const std::string& message);
    void Warning(const std::string& file, int line, const std::string& message);
    const std::vector<Problem>& Problems() const { return problems_; }
    int Errors() const;

    // Resolves a path relative to the working directory the way the game does
    // (letter case ignored). Returns the path on disk, or "" when nothing is
    // there. `caseOnly` is set when only a spelling in another letter case exists.
    std::string Resolve(const std::string& path, bool* caseOnly = nullptr) const;

    // A path as written in a data file ("[BDIR]gfx/a.png", "Game/gfx/a.png")
    // turned into a path under this game folder.
    std::string DataPath(const std::string& written) const;

    // Tests that a file referenced from `fromFile` at `line` exists: an error
    // when it is missing, a warning when only another letter case exists.
    // Returns true when the file exists in some spelling. The same reference is
    // reported once, whichever checks look at it.
    bool RequireFile(const std::string& path, const std::string& fromFile, int line, const std::string& what);

    // True for a value that names a file of the game folder: it begins with
    // "[BDIR]", "[LANG]" or "Game/" (letter case ignored).
    static bool IsGamePath(const std::string& value);
    // "picture", "sound", "font" or "file", from the path's extension.
    static std::string KindOfFile(const std::string& path);

    // Files already checked as block or catalogue files (so that no file is
    // reported twice by checks that overlap).
    std::set<std::string>& Seen() { return seen_; }

private:
    std::string gameDir_;
    std::string language_;
    std::vector<Problem> problems_;
    std::set<std::string> seen_;
    std::set<std::string> referenced_;
};

struct ContentCheck {
    std::string name;
    std::function<void(Context&)> run;
};

// The checks, in the order they run. The first one reads the language; later
// checks find it in the context.
const std::vector<ContentCheck>& ContentChecks();

// Runs every check over the game folder (default "Game/") and writes one line
// per problem to `out`, then a summary line. Returns 0 when no errors were
// found (warnings allowed), 1 otherwise.
int RunContentCheck(const std::string& gameDir, std::ostream& out);

// ---- Check helpers, shared by the checks and their tests ----

// Byte rules of authored text files: LF line ends, a final line feed, ASCII or
// UTF-8 with a byte-order mark.
void CheckTextBytes(Context& ctx, const std::string& path, const std::string& bytes);

// One entry of a block file, as written.
struct BlockEntry {
    std::vector<std::string> blocks; // enclosing block names, upper-cased, outermost first
    std::string key;                 // lower-cased
    std::vector<std::string> values;
    int line = 0;
};

// Structure rules of block files (names on the line of their "{", braces that
// match, quoted text values, comment lines free of "=", "{", "}") plus the
// parser's own error lines. Returns the entries for reference checks.
std::vector<BlockEntry> CheckBlockFile(Context& ctx, const std::string& path);

// Line (from 1) of every block and entry of a block file, by its lower-cased
// path: blocks are named with their place among the blocks of that name in
// the same parent, from 1, entries by their key ("mapobject 12::obj 1::url";
// "chapter3" at the top). The first of equal paths wins, as the readers take
// the first entry of a key. The same paths name the map readers' issues
// (citymap::TMapFileIssue::where, lower-cased).
std::map<std::string, int> BlockPathLines(const std::string& text);
// The line of a path in such a table, or of the nearest enclosing block that
// has one (a missing entry is reported at its block), or 0.
int BlockPathLine(const std::map<std::string, int>& lines, const std::string& path);

// Rules of resource-catalogue files (balanced braces, group names on the line of
// their "{", no stray text, text values written as key = "a", "b").
void CheckCatalogueFile(Context& ctx, const std::string& path);

// Pictures: visible pure-black pixels turn transparent under the default image
// flags, so authored pictures must not have any.
void CheckPictureFile(Context& ctx, const std::string& path);

// ---- Game rules (gamerules.cpp) ----

// Line (from 1) of every entry and group of a resource-catalogue text, by its
// lower-cased path ("level::data::seconds", "tiles::tile2"); the first of
// equal paths wins.
std::map<std::string, int> CatalogueKeyLines(const std::string& text);

// The engine data and every level of the road as the game reads them: the
// loaders' reports of what they played around with become errors at the
// line of the entry; then the rules between kinds, the files of the road and
// each board's chip kinds and first move.
void CheckGameRules(Context& ctx);

// The tuning variables after `text` (the tuning-variable file, "" when there
// is none) is applied: every value the program reads in its range.
void CheckTuningRanges(Context& ctx, const std::string& path, const std::string& text);

// ---- City map rules (maprules.cpp) ----

// The catalogue of map objects, the building queue, the start map, the map
// screen's texts and the economy of the road against the queue.
void CheckMapRules(Context& ctx);

// The ids of the building queue that name objects of the catalogue (the
// purchases a player can make), or none when either file is missing.
std::optional<std::set<int>> QueuedPurchaseIds(const Context& ctx);

} // namespace contentcheck
