#include "app/paths.h"

#include "app/platform/core/files.h"
#include "datafiles/txtfile.h"

namespace app {

namespace {
std::string g_userData;
MarkerFlags g_markers;

std::string WithSlash(std::string dir)
{
    for (char& c : dir)
        if (c == '\\')
            c = '/';
    if (!dir.empty() && dir.back() != '/')
        dir += '/';
    return dir;
}

// Creates every missing component of `dir` in turn (each needs its parent).
bool CreateFolders(const std::string& dir)
{
    std::string path = dir;
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    if (path.empty())
        return false;
    size_t pos = (path[0] == '/') ? 1 : 0;
    while (true) {
        const size_t slash = path.find('/', pos);
        const std::string part = slash == std::string::npos ? path : path.substr(0, slash);
        if (!part.empty() && platform::FileType(part) != 2 && !platform::CreateFolder(part))
            return false;
        if (slash == std::string::npos)
            break;
        pos = slash + 1;
    }
    return platform::FileType(path) == 2;
}
} // namespace

// The one store of the game and language folders is the data files' own, so
// that "[BDIR]" and "[LANG]" in any data file follow --game-dir.
const std::string& GameDir() { return GamePaths::GameFolder(); }
void SetGameDir(const std::string& dir) { GamePaths::SetGameFolder(dir.empty() ? "Game/" : WithSlash(dir)); }

const std::string& LanguageFolder() { return GamePaths::LanguageFolder(); }
void SetLanguageFolder(const std::string& folder) { GamePaths::SetLanguageFolder(folder); }
std::string LocalDir() { return GamePaths::LanguageRoot(); }

std::string TrimText(const std::string& text)
{
    size_t b = 0;
    size_t e = text.size();
    while (b < e && static_cast<unsigned char>(text[b]) <= 32)
        ++b;
    while (e > b && static_cast<unsigned char>(text[e - 1]) <= 32)
        --e;
    return text.substr(b, e - b);
}

const std::string& UserDataFolder() { return g_userData; }
void SetUserDataFolder(const std::string& folder) { g_userData = WithSlash(folder); }

UserFolderResult PrepareUserDataFolder(const std::string& base, const std::string& overrideDir)
{
    UserFolderResult r;
    r.folder = overrideDir.empty() ? WithSlash(base) + "Velmora/" : WithSlash(overrideDir);
    // Only the owner's default permissions: the folder is never opened up to
    // other accounts of the machine.
    if (!CreateFolders(r.folder)) {
        r.ok = false;
        r.message = "Cannot create the user-data folder " + r.folder;
        return r;
    }
    for (const char* sub : {"Data", "Profiles"}) {
        const std::string path = r.folder + sub;
        if (platform::FileType(path) != 2 && !platform::CreateFolder(path)) {
            r.ok = false;
            r.message = "Cannot create the folder " + path;
        }
    }
    return r;
}

MarkerFlags& Markers() { return g_markers; }

void ReadMarkerFlags(const std::string& dir)
{
    const std::string prefix = dir.empty() ? std::string() : WithSlash(dir);
    g_markers.cheats = platform::FileType(prefix + "Cheats.txt") == 1;
    g_markers.noSound = platform::FileType(prefix + "NoSound.txt") == 1;
    g_markers.noDialogs = platform::FileType(prefix + "NoDialogs.txt") == 1;
    g_markers.noStory = platform::FileType(prefix + "Nostory.txt") == 1;
}

} // namespace app
