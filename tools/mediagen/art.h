// The pictures of the game, one drawing routine per manifest picture. Sizes are the ones the
// game's layout relies on (cells of 42 x 42, menu buttons of 63 x 63, podium frames of
// 213 x 150, a 4 : 1 banner). Every routine is deterministic: no clocks, no random sources.
#pragma once

#include <string>

#include "tools/mediagen/raster.h"
#include "tools/mediagen/text.h"

namespace mediagen {

constexpr int kCell = 42;

// Seat colours: 1 yellow, 2 green, 3 red, 4 blue (seat 1..4).
Rgba SeatColour(int seat);

// balls.cpp — the glossy balls and everything drawn in a seat's colour.
void PaintBall(Image& img, float cx, float cy, float r, Rgba base);
Image DrawBalls(int seat, int count);     // 42 x 42, one to three balls
Image DrawPointer(Rgba fill, Rgba edge);  // 32 x 32 arrow, hot spot top-left
Image DrawProtectorMark(int seat);        // 42 x 42 shield drawn over a protected cell
Image DrawWeaponSelection(int seat);      // 20 x 32 arrow pointing at the chosen icon

// board.cpp — the board cell strip and the instruction diagrams of the board.
Image DrawTileStrip();  // 4 frames of 42 x 42 side by side; frame 0 is the one drawn
// A board diagram: cols x rows cells; cells holds one char per cell ('.' empty, '1'..'4' the
// seat with one ball, or 'a'..'d' / 'A'..'D' for two / three balls of seat 1..4); marks holds
// '*' for a highlighted cell and 'o' for a cell that receives a ball, ' ' otherwise.
Image DrawBoardDiagram(int cols, int rows, const std::string& cells, const std::string& marks);

// icons.cpp — the weapon icons and the menu buttons.
Image DrawDisintegrator();              // 48 x 48
Image DrawExploder();                   // 48 x 48
Image DrawProtectorIcon();              // 48 x 48
Image DrawMenuStrip(const Text& text);  // 8 frames of 63 x 63

// podium.cpp, title.cpp, logos.cpp
Image DrawPodiumStrip(const Text& text);      // 3 frames of 213 x 150
Image DrawTitleBanner(const Text& text);      // 1024 x 256
Image DrawTitleTexture();                     // 256 x 256
Image DrawLogo(const Text& text, int which);  // 0 Brelm, 1 Pavonia, 2 Vexel; 640 x 480

}  // namespace mediagen
