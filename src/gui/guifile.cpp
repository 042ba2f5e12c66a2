#include "gui/guifile.h"

#include <algorithm>

#include "app/paths.h"
#include "app/platform/core/files.h"
#include "app/platform/core/system.h"
#include "app/screen.h"
#include "datafiles/blockfile.h"
#include "datafiles/numbers.h"
#include "gui/widgets.h"

namespace gui {

namespace {

void ReplaceAll(std::string& text, const std::string& from, const std::string& to)
{
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
}

bool StartsWithNoCase(const std::string& text, const std::string& prefix)
{
    return text.size() >= prefix.size() &&
           datafiles::AsciiUpper(text.substr(0, prefix.size())) == datafiles::AsciiUpper(prefix);
}

} // namespace

std::string ScreenObjectsPath(const std::string& screenName)
{
    return app::GameDir() + "Local/" + app::LanguageFolder() + "/Data/" + screenName + "/Objects.txt";
}

std::string GuiFilePath(const std::string& written)
{
    const std::string& game = app::GameDir();
    std::string path = written;
    ReplaceAll(path, "[BDIR]", game);
    ReplaceAll(path, "[LANG]", game);
    std::replace(path.begin(), path.end(), '\\', '/');
    if (game != "Game/" && StartsWithNoCase(path, "Game/"))
        path = game + path.substr(5);
    return path;
}

std::string GuiLineText(const TBlockFile& block, const app::TAppObj& owner)
{
    const PBlockFile line = block.isBlock("Line");
    if (!line)
        return std::string();
    const int n = datafiles::TruncToInt(line->GetFloat(0));
    const app::TAppObj* screen = owner.FindRootScreen();
    if (!screen || n == 0)
        return line->GetString(0);
    if (const auto* texts = dynamic_cast<const app::TScreen*>(screen))
        return texts->GetTxt(n);
    platform::Log("GUI file: text line " + std::to_string(n) + " asked of screen '" + screen->Name +
                  "', which has no text file");
    return std::string();
}

void BuildGuiObjects(const TBlockFile& root, app::TAppObj& parent)
{
    RegisterWidgetTypes();
    // Each object is appended after the existing children, so objects made in
    // code before stay in front; unknown block names build nothing.
    for (const PBlockFile& child : GetAllSubBlocks(root))
        app::CreateAppObjFromBlock(*child, &parent);
}

bool LoadGuiFile(const std::string& path, app::TAppObj& parent)
{
    if (!platform::FileExists(path))
        return false;
    const PBlockFile root = LoadBlockFile(path);
    if (root)
        BuildGuiObjects(*root, parent);
    return true;
}

bool LoadScreenObjects(app::TAppObj& screen, const std::string& screenName)
{
    if (screenName.empty())
        return false;
    return LoadGuiFile(ScreenObjectsPath(screenName), screen);
}

} // namespace gui
