// The contact sheet: one picture with every sprite, every font grid, the podium, the banner
// and a few flags, for reviewing the whole set at a glance. It is not shipped.
#pragma once

#include <string>
#include <vector>

#include "tools/mediagen/raster.h"

namespace mediagen {

struct SheetItem {
  Image image;
  int zoom;  // nearest-neighbour enlargement for small sprites
};

// Lays the items out in rows on a black page no wider than `width` and returns the page.
Image LayoutSheet(const std::vector<SheetItem>& items, int width);

}  // namespace mediagen
