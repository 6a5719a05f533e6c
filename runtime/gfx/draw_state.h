// Vexel runtime: the global 2D drawing state every frame starts from.
//
// The renderer caches what it last told GL (blending, alpha test, texturing,
// the bound texture, shading) and only calls GL when a state really changes;
// Set2DDefaults() resets both GL and the cache, so each frame begins from the
// same known state.
#pragma once

namespace vxl {

// ---- defaults ---------------------------------------------------------------------
// Viewport = whole target; depth test, culling, fog, smoothing of lines/points/
// polygons, stencil, normalising, lighting, colour material, dithering and
// polygon offset off; flat shading; FASTEST hints; alpha test at 0.05; smoothing
// flag 1; no texture bound; alpha mode 0 (blending off, opaque white).
void Set2DDefaults();
// Forgets the cached GL state (after a new GL context, for instance).
void InvalidateDrawStateCache();

// ---- alpha, alpha test, smoothing -------------------------------------------------
// a = 0: blending off, alpha 1. a > 0: additive, alpha min(a, 1). a < 0:
// translucent, alpha min(-a, 1). The current colour becomes white with that alpha.
void SetAlphaMode(double a);
double AlphaMode();  // the last value given to SetAlphaMode (0 after the defaults)
double AlphaValue();
// Threshold >= 1 switches the alpha test off; otherwise fragments with alpha
// greater than the threshold are drawn.
void SetAlphaTest(double threshold);
double AlphaTestThreshold();
// 1 = sprites sampled linearly, 0 = nearest (applied to the texture at each draw).
void SetSmoothing(int flag);
int Smoothing();
// Resets the current GL colour to white with the alpha value.
void RestoreCurrentColour();

// ---- viewport and target ----------------------------------------------------------
// Width or height <= 0 means the whole target at (0, 0). Sets glViewport to
// (x, target height - y - height, width, height) and a pixel projection with
// the origin at the viewport's top-left corner, y down, depth -1 ... 1.
void SetViewport(int x, int y, int width, int height);
// The size drawing is aimed at: the window (0, 0 = the window) or a render
// target. Render targets set it; the next SetViewport uses it.
void SetDrawTarget(int width, int height);
// Current target size (the window when no render target is in use).
void DrawTargetSize(int* width, int* height);

// ---- cached GL switches -----------------------------------------------------------
// Binds `texture` with GL_TEXTURE_2D on; 0 switches texturing off.
void UseTexture(unsigned texture);
// A texture is being deleted: forget it if the cache holds it as bound.
void ForgetTexture(unsigned texture);
// Flat (0) or smooth (1) shading with dithering.
void UseSmoothShading(int on);

}  // namespace vxl
