// Vexel runtime: drawing sprites and primitives in window pixels.
//
// All 2D output of the game and of Pebbl comes through here. Coordinates are
// pixels of the current target (the window or a render target) with the origin
// at the top-left corner and y growing downwards. The drawing state these
// operations obey (alpha mode, alpha test, smoothing, viewport) is in
// draw_state.h; every show-screen restores its defaults.
#pragma once

#include "runtime/core/string_value.h"

namespace vxl {

// ---- screen -----------------------------------------------------------------------
// Removes the background image; -1 switches clearing after each flip off; any
// other colour (red + 256 green + 65536 blue) becomes the clear colour and the
// colour buffer is cleared at once.
void ClearScreen(int colour);
// The window size, or the image size of the render target in use.
void ScreenSize(int* width, int* height);
// Loads an image and draws it instead of the clear after every flip (a grid of
// up to 8 x 8 textures stretched over the window, nearest filtering). False and
// code 3 when the file does not load; ClearScreen removes it.
bool SetBackgroundImage(const StringValue& name);

// ---- sprites ----------------------------------------------------------------------
// An empty slot draws nothing.
// The whole image at (x, y), one texel per pixel.
void DrawSprite(int slot, int x, int y);
// The whole image stretched over (x, y) - (x + width, y + height).
void StretchSprite(int slot, int x, int y, int width, int height);
// Centred at (x + width / 2, y + height / 2) (integer halves), scaled by zoom
// and turned counter-clockwise on screen by angle degrees; at angle 0 and zoom 1
// it covers exactly the pixels DrawSprite would.
void RotateZoomSprite(int slot, int x, int y, double angle, double zoom);
// Animation frames: the frame size stored by LoadAnimation; frames lie in rows
// across the image (row = frame / frames per row). A slot without a frame size
// draws nothing; frame numbers past the last frame are not wrapped.
void DrawAnimFrame(int slot, int frame, int x, int y);
void RotateZoomAnimFrame(int slot, int frame, int x, int y, double angle, double zoom);
void StretchAnimFrame(int slot, int frame, int x, int y, int width, int height);

// ---- primitives -------------------------------------------------------------------
// Colours are red + 256 green + 65536 blue; the transparency colour draws with
// alpha 0, any other with the current alpha value. Integer coordinates hit pixel
// centres.
void SetPixel(int x, int y, int colour);
// Both end points are set; (0,0)-(0,0) sets one pixel.
void DrawLine(int x1, int y1, int x2, int y2, int colour);
// Filled. A negative width covers x + width + 1 ... x (height likewise); 0 draws
// nothing. The transparency colour writes transparent pixels (the alpha test is
// off while it draws): this is how a render target is cleared.
void DrawRectangle(int x, int y, int width, int height, int colour);

// ---- polygons ---------------------------------------------------------------------
enum PolygonMode : int { kPolygonFan = 0, kPolygonTriangles = 1, kPolygonStrip = 2 };
// slot -1 draws untextured. Empties the vertex list.
void StartPolygon(int slot, int mode);
// tx, ty: pixel position in the sprite's image from its top-left corner.
// 0xffffff is plain white; any other colour turns per-vertex colouring on.
void PolygonVertex(double x, double y, double tx, double ty, int colour);
// Strip mode: joins the next strip to the previous one with degenerate triangles.
void NewStrip();
// Draws the collected vertices in one call.
void EndPolygon();

// ---- collision --------------------------------------------------------------------
// 1 when the two sprites' images at these positions have a pixel where both
// alphas are non-zero (the overlap's centre, then every second pixel of every
// second row); 0 otherwise, also when they only touch. Each slot's alpha is
// read back once and cached until the slot changes.
int SpriteCollision(int slot1, int x1, int y1, int slot2, int x2, int y2);

}  // namespace vxl
