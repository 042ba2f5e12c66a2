// gen_pictures: draws the generated pictures of the content pack.
//
//   gen_pictures OUT_DIR [--fonts DIR] [--sheet PATH] [--language NAME]
//
// OUT_DIR is the game folder to fill (normally Game/). The pack's fonts are read
// from --fonts (default: OUT_DIR/gfx). The contact sheet, one picture showing every
// generated picture with its name, goes to --sheet (default: the parent folder of
// OUT_DIR, "content-sheet.png"); it is never written into the pack.
#include "families.h"

#include <exception>
#include <filesystem>
#include <iostream>
#include <string>

int main(int argc, char** argv) {
    namespace fs = std::filesystem;
    std::string out, fonts, sheet, preview, language = "English";
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        auto value = [&]() -> std::string {
            if (i + 1 >= argc) {
                std::cerr << "gen_pictures: " << a << " needs a value\n";
                std::exit(2);
            }
            return argv[++i];
        };
        if (a == "--fonts")
            fonts = value();
        else if (a == "--sheet")
            sheet = value();
        else if (a == "--preview")
            preview = value();
        else if (a == "--language")
            language = value();
        else if (!a.empty() && a[0] == '-') {
            std::cerr << "usage: gen_pictures OUT_DIR [--fonts DIR] [--sheet PATH] [--language NAME]\n";
            return 2;
        } else
            out = a;
    }
    if (out.empty()) {
        std::cerr << "usage: gen_pictures OUT_DIR [--fonts DIR] [--sheet PATH] [--language NAME]\n";
        return 2;
    }
    if (fonts.empty())
        fonts = (fs::path(out) / "gfx").string();
    if (sheet.empty()) {
        fs::path p = fs::absolute(fs::path(out)).lexically_normal();
        if (!p.has_filename())
            p = p.parent_path();  // "Game/" names the folder Game
        sheet = (p.parent_path() / "content-sheet.png").string();
    }

    try {
        gp::Pack pack(out, fonts);
        gp::MakeLoadingScreen(pack);
        gp::MakeTransitions(pack);
        gp::MakePopUps(pack, language);
        gp::MakeCaptions(pack, language);
        gp::MakeSummary(pack, language);
        gp::MakeMainMenu(pack, language);
        gp::MakePowerUps(pack);
        gp::MakeIcon(pack);
        gp::MakePieces(pack);
        gp::MakeCells(pack);
        gp::MakeBoardBorder(pack);
        gp::MakeCover(pack);
        gp::MakeObstacles(pack);
        gp::MakeMainGame(pack, language);
        gp::MakeBackgrounds(pack);
        gp::MakeSplash(pack);
        gp::MakeCityMap(pack, language);
        if (!preview.empty())
            pack.WritePreviews(preview);
        pack.WriteContactSheet(sheet);
        if (pack.Failures() > 0)
            return 1;
        std::cout << "gen_pictures: pack written to " << out << ", contact sheet " << sheet << "\n";
    } catch (const std::exception& e) {
        std::cerr << "gen_pictures: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
