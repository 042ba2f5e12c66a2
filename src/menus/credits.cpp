#include "menus/credits.h"

#include "app/control.h"
#include "app/crosser.h"
#include "app/paths.h"
#include "app/platform/draw.h"
#include "app/platform/input.h"
#include "datafiles/txtfile.h"
#include "app/deltatime.h"
#include "gui/mouse.h"
#include "gui/textclasses.h"

namespace menus {

std::vector<TCreditData> TCredits::ReadCredits(const TTxtFile& file)
{
    std::vector<TCreditData> lines;
    for (int n = 1; n <= file.Lines(); ++n) {
        std::string t = GetTxtLine(&file, n);
        int cls = 20;
        if (!t.empty() && t[0] == '#') {
            cls = 21;
            t.erase(0, 1);
        } else if (!t.empty() && t[0] == '$') {
            cls = 22;
            t.erase(0, 1);
        }
        lines.push_back(TCreditData{std::move(t), gui::TextClass(cls)});
    }
    return lines;
}

// ---- EVENTS ----

void TCredits::OnSetup()
{
    img = platform::LoadImage(app::GameDir() + "gfx/gui/credits/back.jpg");
    platform::SetImageHandle(img, 171, 0);
    // A missing text file is named on the console and gives no lines.
    const PTxtFile file = LoadTxtFile(app::GameDir() + "Local/" + app::LanguageFolder() + "/txt/credits.txt");
    lista = file ? ReadCredits(*file) : std::vector<TCreditData>{};
}

void TCredits::OnPrepare()
{
    y = 768;
    if (ScreenToGo.expired())
        ScreenToGo = app::Control::GetScreenByName("MainMenu");
}

void TCredits::Interface()
{
    const bool leave = gui::Mouse().leftPressed > 0 || platform::KeyHit(platform::key::Enter) > 0 ||
                       platform::KeyHit(platform::key::Space) > 0 ||
                       platform::KeyHit(platform::key::Escape) > 0;
    if (!leave)
        return;
    if (WasTheGameEnd) {
        // Menu music starts here once the sound catalogue plays music.
        if (auto menu = app::Control::GetScreenByName("MainMenu"))
            menu->ClearButtons();
    }
    WasTheGameEnd = 0;
    auto back = ScreenToGo.lock();
    if (!back)
        back = app::Control::GetScreenByName("MainMenu");
    if (back)
        app::GoToScreenNoPrepare(back);
}

// ---- DRAWING ----

void TCredits::DrawBack()
{
    platform::SetColor(255, 255, 255);
    platform::SetAlpha(1);
    if (img) {
        platform::DrawImage(img, 0, 0);
    } else {
        platform::SetColor(30, 20, 50);
        platform::DrawRect(-171, 0, 1366, 768);
        platform::SetColor(255, 255, 255);
    }
}

void TCredits::DrawCredits()
{
    float h = y;
    for (const TCreditData& line : lista) {
        int lineH = 0;
        if (line.cl) {
            line.cl->SelectFont();
            lineH = platform::TextHeight();
            if (!line.txt.empty()) {
                const int w = platform::TextWidth(line.txt);
                line.cl->DrawTextXY(line.txt, static_cast<float>(512 - w / 2), h);
            }
        } else {
            lineH = platform::TextHeight();
            if (!line.txt.empty())
                platform::DrawText(line.txt, static_cast<float>(512 - platform::TextWidth(line.txt) / 2), h);
        }
        h += static_cast<float>(lineH + 2);
    }
    if (h < 0)
        y = 800;
}

// ---- UPDATING ----

void TCredits::UpdateMove() { y -= 1.0f * app::FrameFactor(); }

void TCredits::draw()
{
    DrawBack();
    DrawCredits();
    UpdateMove();
}

} // namespace menus
