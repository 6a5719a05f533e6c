// The instruction pictures. Board diagrams come from the same drawing code as the game's cells
// and balls, so they look like the screen the player will see.
#include "tools/mediagen/instruction_pictures.h"

#include "tools/mediagen/art.h"

namespace mediagen {

namespace {

Image Stage() {
  Image img = MakeImage(284, 204);
  FillShape(
      img, [](float, float) { return -1.0f; },
      [](float, float y) { return Mix(Rgb8(8, 10, 18), Rgb8(2, 2, 6), y / 204.0f); });
  return img;
}

Image WeaponRow() {
  Image img = Stage();
  const Image icons[3] = {DrawDisintegrator(), DrawExploder(), DrawProtectorIcon()};
  for (int k = 0; k < 3; ++k) {
    // 48 -> 80 pixels: enlarged five times, then box-filtered down by three
    Composite(img, Downsample(Enlarge(icons[k], 5), 3), 12 + k * 90, 62);
  }
  return img;
}

Image PodiumPicture(const Text& text) {
  Image strip = DrawPodiumStrip(text);
  Image img = Stage();
  // 639 x 150 -> 255 x 60: enlarged twice, box-filtered down by five
  Composite(img, Downsample(Enlarge(Crop(strip, 0, 0, 639, 150), 2), 5), 14, 120);
  // the winners' balls standing on their places
  PaintBall(img, 14 + 43, 120 + 7, 12, SeatColour(2));
  PaintBall(img, 14 + 128, 120 - 10, 12, SeatColour(1));
  PaintBall(img, 14 + 213, 120 + 18, 12, SeatColour(4));
  return img;
}

}  // namespace

std::vector<NamedPicture> InstructionPictures(const Text& text) {
  std::vector<NamedPicture> list;
  list.push_back({"board.png", DrawBoardDiagram(6, 4,
                                                "..1..."
                                                ".b..3."
                                                "..C..d"
                                                "2.....",
                                                "")});
  list.push_back({"capacity.png", DrawBoardDiagram(5, 3,
                                                   "1.b.."
                                                   "..C.."
                                                   ".....",
                                                   "* *  "
                                                   "  *  "
                                                   "     ")});
  list.push_back({"explosion.png", DrawBoardDiagram(5, 3,
                                                    "..2.."
                                                    ".3A.."
                                                    "..b..",
                                                    "  o  "
                                                    " o*o "
                                                    "  o  ")});
  list.push_back({"original.png", DrawBoardDiagram(5, 3, "",
                                                   "  o  "
                                                   " o*o "
                                                   "  o  ")});
  list.push_back({"diagonal.png", DrawBoardDiagram(5, 3, "",
                                                   " o o "
                                                   "  *  "
                                                   " o o ")});
  list.push_back({"extended.png", DrawBoardDiagram(5, 3, "",
                                                   " ooo "
                                                   " o*o "
                                                   " ooo ")});
  list.push_back({"chain.png", DrawBoardDiagram(6, 4,
                                                "......"
                                                ".aC3.."
                                                "..D..."
                                                "......",
                                                "      "
                                                "  *o  "
                                                "  o   "
                                                "      ")});
  list.push_back({"weapons.png", WeaponRow()});
  list.push_back({"podium.png", PodiumPicture(text)});
  return list;
}

}  // namespace mediagen
