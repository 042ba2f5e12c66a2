#include "menus/mainmenu.h"

#include "app/crosser.h"
#include "app/paths.h"
#include "app/platform/core/files.h"
#include "app/platform/core/system.h"
#include "app/platform/draw.h"
#include "gui/textclasses.h"

namespace menus {

void TMainMenu::OnSetup()
{
    back_ = platform::LoadImage(app::GameDir() + "gfx/gui/loading/back.jpg");
    if (const auto name = platform::TryReadTextFile(app::LocalDir() + "appname.txt"))
        title_ = app::TrimText(*name);
    app::Crosser()->Setup();
}

void TMainMenu::OnDraw()
{
    if (back_) {
        platform::DrawImage(back_, -171, 0);
    } else {
        platform::SetColor(20, 24, 48);
        platform::DrawRect(-171, 0, 1366, 768);
        platform::SetColor(255, 255, 255);
    }
    if (title_.empty())
        return;
    const gui::PTextClass& cls = gui::TextClass(35);
    if (cls) {
        cls->SelectFont();
        const int w = platform::TextWidth(title_);
        const int h = platform::TextHeight();
        cls->DrawTextXY(title_, static_cast<float>(512 - w / 2), static_cast<float>(384 - h / 2));
    } else {
        const int w = platform::TextWidth(title_);
        platform::DrawText(title_, static_cast<float>(512 - w / 2), 370);
    }
}

} // namespace menus
