#include "datafiles/txtfile.h"

#include "app/platform/core/files.h"
#include "app/platform/core/system.h"

namespace {
std::string& GameFolderSlot()
{
    static std::string folder = "Game/";
    return folder;
}
std::string& LanguageSlot()
{
    static std::string folder;
    return folder;
}

std::string ReplaceAll(std::string text, const std::string& what, const std::string& with)
{
    size_t pos = 0;
    while ((pos = text.find(what, pos)) != std::string::npos) {
        text.replace(pos, what.size(), with);
        pos += with.size();
    }
    return text;
}
} // namespace

const std::string& GamePaths::GameFolder() { return GameFolderSlot(); }

void GamePaths::SetGameFolder(const std::string& folder)
{
    GameFolderSlot() = folder.empty() || folder.back() == '/' ? folder : folder + "/";
}

const std::string& GamePaths::LanguageFolder() { return LanguageSlot(); }
void GamePaths::SetLanguageFolder(const std::string& folder) { LanguageSlot() = folder; }
std::string GamePaths::LanguageRoot() { return GameFolder() + "Local/" + LanguageFolder() + "/"; }

std::string ExpandPath(const std::string& path)
{
    return ReplaceAll(ReplaceAll(path, "[BDIR]", GamePaths::GameFolder()), "[LANG]", GamePaths::GameFolder());
}

std::string ExpandBDir(const std::string& path) { return ReplaceAll(path, "[BDIR]", GamePaths::GameFolder()); }

PTxtFile NewTxtFile() { return std::make_shared<TTxtFile>(); }

std::vector<std::string> SplitTxtLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::string current;
    const size_t n = text.size();
    for (size_t i = 0; i < n; ++i) {
        const char c = text[i];
        if (c == '\n') {
            lines.push_back(std::move(current));
            current.clear();
        } else if (c == '\r' && (i + 1 == n || text[i + 1] == '\n')) {
            // the CR of a CR LF pair belongs to no line
        } else {
            current += c;
        }
    }
    if (!current.empty())
        lines.push_back(std::move(current));
    return lines;
}

PTxtFile LoadTxtFile(const std::string& path)
{
    auto file = NewTxtFile();
    const std::string real = ExpandPath(path);
    auto text = platform::TryReadTextFile(real);
    if (!text) {
        platform::Log("Cannot read text file: " + real);
        return file;
    }
    file->txt = SplitTxtLines(*text);
    return file;
}

std::string GetTxtLine(const TTxtFile* file, int n)
{
    if (!file || n < 1 || n > file->Lines())
        return std::string();
    return file->txt[static_cast<size_t>(n - 1)];
}
