// Program-wide paths and the marker flags read at start-up.
//
//   game folder      "Game/" unless the command line names another
//   language folder  the trimmed content of game folder + "Local.txt"
//   localised folder game folder + "Local/" + language folder + "/"
//   user-data folder the platform's application-data folder + "/Velmora/",
//                    with the sub-folders "Data" and "Profiles"
#pragma once

#include <string>

namespace app {

// ---- Game and language folders ----
// One store: these read and write the data files' GamePaths, so that the
// "[BDIR]" and "[LANG]" of every data file follow the game folder set here.

const std::string& GameDir();
// Sets the game folder; a missing trailing "/" is added.
void SetGameDir(const std::string& dir);

const std::string& LanguageFolder();
void SetLanguageFolder(const std::string& folder);
// game folder + "Local/" + language folder + "/"
std::string LocalDir();

// Every character of code 32 or less removed from both ends.
std::string TrimText(const std::string& text);

// ---- User-data folder ----

// The folder settings and profiles live in, ending in "/"; empty until prepared.
const std::string& UserDataFolder();

struct UserFolderResult {
    std::string folder;  // ends in "/", backslashes replaced by "/"
    bool ok = true;      // false when a folder could not be created
    std::string message; // what failed
};

// Creates (when missing) `base` + "/Velmora/" with its "Data" and "Profiles"
// sub-folders, or, when `overrideDir` is not empty, that folder with the same
// sub-folders. Folders get the default permissions of the user. Failures are
// reported in the result, never thrown: later writes then fail and say so.
UserFolderResult PrepareUserDataFolder(const std::string& base, const std::string& overrideDir = "");
void SetUserDataFolder(const std::string& folder);

// ---- Marker files ----

// Each is true when the file exists in the working directory at start-up.
struct MarkerFlags {
    bool cheats = false;    // "Cheats.txt": developer keys
    bool noSound = false;   // "NoSound.txt": sounds are not loaded
    bool noDialogs = false; // "NoDialogs.txt": dialog scenes are skipped
    bool noStory = false;   // "Nostory.txt": story scenes are skipped
};

MarkerFlags& Markers();
// Tests each marker file once, in `dir` (the working directory when empty).
void ReadMarkerFlags(const std::string& dir = "");

} // namespace app
