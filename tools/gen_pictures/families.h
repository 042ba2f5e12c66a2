// One function per picture family. Each draws its pictures and saves them through
// the pack; adding content means adding a function here and a line in main.cpp.
#pragma once

#include "pack.h"

namespace gp {

// ---- shared widget looks ----

// A styled window body filling (x, y, w, h) of the canvas, with its soft shadow
// kept inside the canvas: plum frame, gold trim, darker inset panel.
void DrawWindow(Canvas& cv, double x, double y, double w, double h);
// A pill-shaped button filling the canvas, in the given main colour, with a label
// set in the display font (empty label: no text).
void DrawButton(Canvas& cv, Fonts& fonts, const std::string& label, const Rgba& colour);
// A window with a title plaque at its top carrying `title` (display font).
void DrawTitledWindow(Canvas& cv, Fonts& fonts, double x, double y, double w, double h, const std::string& title);
// Big caption lettering filling the canvas: gradient fill, thick outline, shadow.
void DrawCaption(Canvas& cv, Fonts& fonts, const std::string& text, const Rgba& top, const Rgba& bottom);
// A daytime landscape backdrop (sky, sun glow, clouds, hills, a small town).
void DrawLandscape(Canvas& cv, unsigned seed);

// ---- families ----
void MakeLoadingScreen(Pack& pack);
void MakeTransitions(Pack& pack);
void MakePopUps(Pack& pack, const std::string& language);
void MakeCaptions(Pack& pack, const std::string& language);
void MakeSummary(Pack& pack, const std::string& language);
void MakeMainMenu(Pack& pack, const std::string& language);
void MakePowerUps(Pack& pack);
void MakeIcon(Pack& pack);
void MakePieces(Pack& pack);
void MakeCells(Pack& pack);
void MakeBoardBorder(Pack& pack);
void MakeCover(Pack& pack);
void MakeObstacles(Pack& pack);
void MakeMainGame(Pack& pack, const std::string& language);
void MakeBackgrounds(Pack& pack);
void MakeSplash(Pack& pack);
// The city map: its pictures, catalogue, building queue, texts, icons and panels.
void MakeCityMap(Pack& pack, const std::string& language);

}  // namespace gp
