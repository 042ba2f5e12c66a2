// Localised line files: every user-visible text lives in a plain text file of
// the language folder, one text per line, and code asks for it by line number.
// Also the program-wide game and language folders and the path tokens.
#pragma once

#include <memory>
#include <string>
#include <vector>

// The program-wide paths. Start-up sets the language folder (read from
// "Game/Local.txt"); tests point both at temporary folders.
class GamePaths {
public:
    // The game folder with its trailing "/" ("Game/").
    static const std::string& GameFolder();
    static void SetGameFolder(const std::string& folder); // a missing trailing "/" is added
    // The language folder name, e.g. "English" (no slashes).
    static const std::string& LanguageFolder();
    static void SetLanguageFolder(const std::string& folder);
    // game folder + "Local/" + language folder + "/"
    static std::string LanguageRoot();
};

// Every "[BDIR]" and then every "[LANG]" becomes the game folder.
std::string ExpandPath(const std::string& path);
// Only "[BDIR]" becomes the game folder.
std::string ExpandBDir(const std::string& path);

class TTxtFile {
public:
    std::vector<std::string> txt; // the lines, without their line ends
    int Lines() const { return static_cast<int>(txt.size()); }
};

using PTxtFile = std::shared_ptr<TTxtFile>;

PTxtFile NewTxtFile();
// Lines of a text: a line feed ends a line (empty lines count); a last line
// without a line feed counts when it is not empty; CR LF reads like LF.
std::vector<std::string> SplitTxtLines(const std::string& text);
// The file at ExpandPath(path). A file that cannot be read gives an empty file
// and a console line naming it.
PTxtFile LoadTxtFile(const std::string& path);
// Line n counted from 1; "" for n below 1, above the count, or no file.
std::string GetTxtLine(const TTxtFile* file, int n);
inline std::string GetTxtLine(const PTxtFile& file, int n) { return GetTxtLine(file.get(), n); }
