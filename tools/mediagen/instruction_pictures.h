// The pictures of the instructions: board diagrams and views of the game's own sprites, all
// 284 x 204 (twice the 142 x 102 frame in which the viewer shows them).
#pragma once

#include <string>
#include <vector>

#include "tools/mediagen/raster.h"
#include "tools/mediagen/text.h"

namespace mediagen {

struct NamedPicture {
  std::string fileName;
  Image image;
};

std::vector<NamedPicture> InstructionPictures(const Text& text);

}  // namespace mediagen
