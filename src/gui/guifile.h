// GUI definition files: a screen's static widgets laid out in a block file.
//
// Each top-level block named OBJECT, IMAGE, LIGHTBUTTON, TEXT or TEXTBUTTON
// (any letter case) makes one object; blocks nested in it make its children.
// Blocks of any other name are skipped with everything inside them. The
// format, every key and its default are described in docs/gui-files.md.
#pragma once

#include <string>

#include "app/appobj.h"

class TBlockFile;

namespace gui {

// game folder + "Local/" + language folder + "/Data/" + screen name + "/Objects.txt"
std::string ScreenObjectsPath(const std::string& screenName);

// A path written in a GUI file, made usable: "[BDIR]" and "[LANG]" become the
// game folder, backslashes become slashes, and a leading "Game/" names the
// game folder (which the command line may have moved).
std::string GuiFilePath(const std::string& written);

// The text of a caption's "Line" entry under `owner`: line n of the enclosing
// screen's text file (its GetTxt) when the value is a number n other than 0
// and there is a screen, else the value itself.
std::string GuiLineText(const TBlockFile& block, const app::TAppObj& owner);

// Builds the objects of every recognised block of `root` and appends them to
// `parent` after the children it already has (objects made in code stay in
// front, in their order; the file's follow in file order).
void BuildGuiObjects(const TBlockFile& root, app::TAppObj& parent);

// Reads the GUI file at `path` and builds it under `parent` as above. False,
// with nothing built, when the file does not exist (which is not an error: a
// screen needs no file).
bool LoadGuiFile(const std::string& path, app::TAppObj& parent);

// The set-up step of a screen: its "Objects.txt" (ScreenObjectsPath) built
// under it. A screen without a name reads nothing.
bool LoadScreenObjects(app::TAppObj& screen, const std::string& screenName);

} // namespace gui
