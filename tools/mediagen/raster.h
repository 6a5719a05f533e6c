// A small floating-point canvas for the media generator: every picture of the game is painted
// here with anti-aliased shapes given as signed distance functions, then written as 8-bit RGBA.
// Pixels are kept premultiplied so that layering ("over") and downsampling stay exact.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

namespace mediagen {

struct Rgba {
  float r = 0, g = 0, b = 0, a = 1;  // straight (not premultiplied) colour, 0..1
};

Rgba Rgb8(int r, int g, int b, float a = 1.0f);
Rgba Mix(Rgba a, Rgba b, float t);
Rgba Scale(Rgba c, float k);  // scales the colour channels, keeps alpha

struct Image {
  int width = 0;
  int height = 0;
  std::vector<float> px;  // premultiplied r, g, b, a per pixel, rows top to bottom
};

Image MakeImage(int width, int height);
// Paints colour c with the given coverage (0..1) over pixel (x, y); outside pixels are ignored.
void BlendPixel(Image& img, int x, int y, Rgba c, float coverage);
Rgba PixelAt(const Image& img, int x, int y);  // straight colour of a pixel
// Places src over dst with its top-left corner at (x, y), scaled by opacity.
void Composite(Image& dst, const Image& src, int x, int y, float opacity = 1.0f);
// Box-filters an image painted at factor times the wanted size.
Image Downsample(const Image& src, int factor);
// Nearest-neighbour enlargement (contact sheet).
Image Enlarge(const Image& src, int factor);
Image Crop(const Image& src, int x, int y, int width, int height);
std::vector<uint8_t> ToRgba8(const Image& img);  // straight RGBA, alpha 0 pixels black

// Anti-aliased coverage of a pixel whose centre lies at signed distance d (pixels, <0 inside).
float CoverageFromDistance(float d);

// Paints every pixel of the box [x0, x1) x [y0, y1) whose centre is inside the shape: dist gives
// the signed distance in pixels at a point, shade the colour there.
using DistanceFn = std::function<float(float x, float y)>;
using ShadeFn = std::function<Rgba(float x, float y)>;
void FillShape(Image& img, int x0, int y0, int x1, int y1, const DistanceFn& dist,
               const ShadeFn& shade);
void FillShape(Image& img, const DistanceFn& dist, const ShadeFn& shade);  // whole image

// Signed distance functions of the shapes the art uses.
float SdCircle(float x, float y, float cx, float cy, float r);
float SdRoundRect(float x, float y, float cx, float cy, float halfW, float halfH, float radius);
float SdSegment(float x, float y, float ax, float ay, float bx, float by, float halfWidth);
// Polygon given as x0, y0, x1, y1, ...; non-zero winding decides inside.
float SdPolygon(float x, float y, const std::vector<float>& pts);

// Soft glow: adds colour c with alpha falling off as a Gaussian of distance from a centre.
void RadialGlow(Image& img, float cx, float cy, float radius, Rgba c);

}  // namespace mediagen
