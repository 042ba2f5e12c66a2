// Small readers shared by the engine's file loaders: catalogue values as the
// engine wants them (integers truncated toward zero, texts without quotes),
// and the one way a loader tells the author about a mistake it read past.
#pragma once

#include <functional>
#include <string>

#include "datafiles/rcmfile.h"

namespace match3 {

// The text with blanks, tabs and stray quotes removed from both ends.
std::string TrimmedValue(const std::string& s);
// Value i of the catalogue entry as an integer: the number truncated toward
// zero; anything that is not a finite number in int range reads as 0.
int CatalogueInt(const TRCMFile& f, const std::string& key, int i = 0);
// The entry at "group::...::key", or none.
const TRCMEntry* CatalogueEntry(const TRCMFile& f, const std::string& key);
// The group at "group::...::name", or none.
PRCMGroup CatalogueGroup(const TRCMFile& f, const std::string& path);
// True when the text is a whole number (an optional "-" and digits).
bool IsWholeNumber(const std::string& text);

// A content mistake a loader met and played around with a default: the file,
// the catalogue key of the entry at fault ("level::data::seconds"; empty for
// the whole file) and what was wrong and what the game does instead.
struct DataIssue {
    std::string file;
    std::string key;
    std::string message;
};

// Reports a mistake: one console line "FILE: KEY: message", or, while an
// issue collector is installed, a call to it instead (the content check turns
// issues into its own report lines, with the line of the key).
void ReportDataIssue(const std::string& file, const std::string& key, const std::string& message);

// Installs a collector for the lifetime of the object (the previous one comes
// back afterwards). Single-threaded, like the rest of the program.
class DataIssueCollector {
public:
    explicit DataIssueCollector(std::function<void(const DataIssue&)> sink);
    ~DataIssueCollector();
    DataIssueCollector(const DataIssueCollector&) = delete;
    DataIssueCollector& operator=(const DataIssueCollector&) = delete;

private:
    std::function<void(const DataIssue&)> previous_;
};

} // namespace match3
