// Shelf packing of the contact sheet: items left to right, a new row when the next one does
// not fit, each on a dark-grey card so transparent edges are visible against it.
#include "tools/mediagen/contact_sheet.h"

#include <algorithm>

namespace mediagen {

Image LayoutSheet(const std::vector<SheetItem>& items, int width) {
  const int gap = 8;
  struct Placed {
    int x, y;
  };
  std::vector<Placed> at;
  int x = gap, y = gap, rowH = 0;
  for (const SheetItem& it : items) {
    int w = it.image.width * it.zoom, h = it.image.height * it.zoom;
    if (x + w + gap > width && x > gap) {
      x = gap;
      y += rowH + gap;
      rowH = 0;
    }
    at.push_back({x, y});
    x += w + gap;
    rowH = std::max(rowH, h);
  }
  Image page = MakeImage(width, y + rowH + gap);
  for (int j = 0; j < page.height; ++j) {
    for (int i = 0; i < page.width; ++i) BlendPixel(page, i, j, Rgb8(0, 0, 0), 1.0f);
  }
  for (size_t k = 0; k < items.size(); ++k) {
    const SheetItem& it = items[k];
    Image shown = it.zoom > 1 ? Enlarge(it.image, it.zoom) : it.image;
    for (int j = -2; j < shown.height + 2; ++j) {
      for (int i = -2; i < shown.width + 2; ++i) {
        BlendPixel(page, at[k].x + i, at[k].y + j, Rgb8(24, 24, 28), 1.0f);
      }
    }
    Composite(page, shown, at[k].x, at[k].y);
  }
  return page;
}

}  // namespace mediagen
