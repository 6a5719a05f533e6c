// Vexel runtime: the global 2D drawing state every frame starts from.
//
// The renderer caches what it last told GL (blending, alpha test, texture
// binding) and only calls GL when a state really changes; Set2DDefaults()
// resets both GL and the cache, so each frame begins from the same known state.
#pragma once

namespace vxl {

// Viewport = whole window; depth test, culling, fog, smoothing of lines/points/
// polygons, stencil, normalising, lighting, colour material, dithering and
// polygon offset off; flat shading; FASTEST hints; alpha test at 0.05; smoothing
// flag 1; no texture bound; alpha mode 0 (blending off, opaque white).
void Set2DDefaults();
// a = 0: blending off, alpha 1. a > 0: additive, alpha min(a, 1). a < 0:
// translucent, alpha min(-a, 1). The current colour becomes white with that alpha.
void SetAlphaMode(double a);
// Threshold >= 1 switches the alpha test off; otherwise fragments with alpha
// greater than the threshold are drawn.
void SetAlphaTest(double threshold);
// 1 = sprites sampled linearly, 0 = nearest.
void SetSmoothing(int flag);
int Smoothing();
double AlphaValue();
// Forgets the cached GL state (after a new GL context, for instance).
void InvalidateDrawStateCache();

}  // namespace vxl
