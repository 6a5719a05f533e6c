// The sprite slot table on a real GL context: texture sizes and extents,
// loading BMP / PNG / JPEG files from disk and from an archive entry, the
// transparency key as it reaches the screen, failures that leave the slot
// empty with code 3, font-slot filtering, memory-to-sprite, grab, animations
// and bump textures.
#include "runtime/gfx/sprite.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime/core/error.h"
#include "runtime/core/files.h"
#include "runtime/gfx/draw.h"
#include "runtime/gfx/draw_state.h"
#include "tests/unit/gfx/gfx_test_support.h"
#include "tools/sbxpack/sbx_writer.h"

namespace vxl {
namespace {

using gfx_test::BmpSpec;
using gfx_test::Bytes;
using gfx_test::ReadPixel;
using gfx_test::Rgb;

constexpr int kSlot = 100;
constexpr int kKey = 0x8000ff;

class SpriteTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Set2DDefaults();
    SetTransparencyColour(kKey);
    ClearScreen(0x404040);  // grey in the bottom byte = 0x404040 everywhere
  }
  void TearDown() override {
    SetTransparencyColour(kKey);
    EmptySlot(kSlot);
    EmptySlot(kSlot + 1);
  }
};

std::string Bmp24(const std::string& name, int w, int h, const std::vector<uint32_t>& px) {
  return gfx_test::WriteTemp(name, gfx_test::MakeBmp({w, h, 24, false, {}, px}));
}

TEST_F(SpriteTest, TextureSizesAndExtents) {
  const struct {
    int w, h, tw, th;
  } cases[] = {
      {10, 10, 16, 16}, {17, 3, 32, 16}, {1, 1, 16, 16}, {16, 16, 16, 16}, {33, 200, 64, 256}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.w << "x" << c.h);
    LoadSprite(Bmp24("size.bmp", c.w, c.h, std::vector<uint32_t>(c.w * c.h, 0x112233)).c_str(),
               kSlot);
    ASSERT_EQ(LastError(), 0);
    const SpriteSlot& s = SpriteSlotRecord(kSlot);
    EXPECT_NE(s.texture, 0u);
    EXPECT_NE(s.mipTexture, 0u);
    EXPECT_EQ(s.textureWidth, c.tw);
    EXPECT_EQ(s.textureHeight, c.th);
    EXPECT_EQ(s.imageWidth, c.w);
    EXPECT_EQ(s.imageHeight, c.h);
    EXPECT_FLOAT_EQ(s.uExtent, static_cast<float>(c.w) / c.tw);
    EXPECT_FLOAT_EQ(s.vExtent, static_cast<float>(c.h) / c.th);
    int w = -1, h = -1;
    SpriteSize(kSlot, &w, &h);
    EXPECT_EQ(w, c.w);
    EXPECT_EQ(h, c.h);
  }
  EXPECT_FLOAT_EQ(SpriteSlotRecord(kSlot).uExtent, 33.f / 64);
  LoadSprite(Bmp24("ten.bmp", 10, 10, std::vector<uint32_t>(100, 1)).c_str(), kSlot);
  EXPECT_FLOAT_EQ(SpriteSlotRecord(kSlot).uExtent, 0.625f);
}

TEST_F(SpriteTest, TransparencyKeyReachesTheScreen) {
  // 2 x 1: the key colour, then red.
  const std::string path = Bmp24("key.bmp", 2, 1, {0xff0080, 0xff0000});
  LoadSprite(path.c_str(), kSlot);
  DrawSprite(kSlot, 10, 10);
  EXPECT_EQ(Rgb(ReadPixel(10, 10)), 0x404040u);  // keyed: alpha 0, the alpha test drops it
  EXPECT_EQ(Rgb(ReadPixel(11, 10)), 0xff0000u);

  SetTransparencyColour(-1);
  LoadSprite(path.c_str(), kSlot);
  DrawSprite(kSlot, 10, 10);
  EXPECT_EQ(Rgb(ReadPixel(10, 10)), 0xff0080u);
}

TEST_F(SpriteTest, OneBitAndTopDownBmpsLoadTheRightWayUp) {
  // 3 x 2, top row white-black-white, bottom row black.
  BmpSpec one{3, 2, 1, false, {0x000000, 0xffffff}, {1, 0, 1, 0, 0, 0}};
  BmpSpec topDown{3, -2, 24, false, {}, {0xffffff, 0, 0xffffff, 0, 0, 0}};
  for (const BmpSpec& spec : {one, topDown}) {
    SCOPED_TRACE(spec.bits);
    LoadSprite(gfx_test::WriteTemp("rows.bmp", gfx_test::MakeBmp(spec)).c_str(), kSlot);
    ASSERT_EQ(LastError(), 0);
    DrawSprite(kSlot, 20, 20);
    EXPECT_EQ(Rgb(ReadPixel(20, 20)), 0xffffffu);
    EXPECT_EQ(Rgb(ReadPixel(21, 20)), 0x000000u);
    EXPECT_EQ(Rgb(ReadPixel(22, 20)), 0xffffffu);
    EXPECT_EQ(Rgb(ReadPixel(20, 21)), 0x000000u);
  }
}

TEST_F(SpriteTest, PngAndJpegFiles) {
  gfx_test::PngSpec deep;
  deep.depth = 16;
  deep.rows = {0x12, 0x34, 0x56, 0x78, 0x9a, 0xbc};
  LoadSprite(gfx_test::WriteTemp("deep.png", gfx_test::MakePng(deep)).c_str(), kSlot);
  ASSERT_EQ(LastError(), 0);
  DrawSprite(kSlot, 0, 0);
  EXPECT_EQ(Rgb(ReadPixel(0, 0)), 0x12569au);

  // A JPEG is never keyed, whatever the transparency colour.
  Bytes rgb;
  for (int i = 0; i < 64; ++i) rgb.insert(rgb.end(), {255, 0, 128});
  const Bytes jpeg = gfx_test::MakeJpeg(8, 8, 3, rgb);
  const Bytes jpegKeyed = jpeg;
  LoadSprite(gfx_test::WriteTemp("key.jpg", jpeg).c_str(), kSlot);
  ASSERT_EQ(LastError(), 0);
  DrawSprite(kSlot, 0, 0);
  const uint32_t p = ReadPixel(4, 4);
  EXPECT_NEAR(static_cast<int>(p >> 16 & 255), 255, 3);
  EXPECT_NEAR(static_cast<int>(p & 255), 128, 3);

  // A grey + alpha PNG fails: code 3, slot empty, the colour-type message.
  gfx_test::PngSpec ga;
  ga.colourType = PNG_COLOR_TYPE_GRAY_ALPHA;
  ga.rows = {1, 2};
  const std::string gaPath = gfx_test::WriteTemp("ga.png", gfx_test::MakePng(ga));
  testing::internal::CaptureStdout();
  LoadSprite(gaPath.c_str(), kSlot);
  const std::string out = testing::internal::GetCapturedStdout();
  EXPECT_EQ(LastError(), 3);
  EXPECT_EQ(SpriteSlotRecord(kSlot).texture, 0u);
  EXPECT_NE(out.find("has unsupported color type."), std::string::npos) << out;
}

TEST_F(SpriteTest, ArchiveEntriesLoadAsPngAndJpeg) {
  Bytes rgb(16 * 16 * 3);
  for (size_t i = 0; i < rgb.size(); i += 3) {
    rgb[i] = 20;
    rgb[i + 1] = 200;
    rgb[i + 2] = 40;
  }
  std::vector<sbxpack::InputFile> files = {
      {"ArcPic.jpg", gfx_test::MakeJpeg(16, 16, 3, rgb)},
      {"ArcPic.png", gfx_test::MakeRgbPng(2, 1, {0x0000ff, 0x00ff00})}};
  Bytes image;
  std::string error;
  ASSERT_TRUE(sbxpack::BuildArchive(files, false, &image, &error)) << error;
  const std::string archive = gfx_test::WriteTemp("Media.sbx", image);
  SetArchives(archive.c_str(), "");
  LoadSprite("arcpic.png", kSlot);
  EXPECT_EQ(LastError(), 0);
  LoadSprite("ArcPic.jpg", kSlot + 1);
  EXPECT_EQ(LastError(), 0);
  SetArchives("", "");
  DrawSprite(kSlot, 0, 0);
  DrawSprite(kSlot + 1, 10, 0);
  EXPECT_EQ(Rgb(ReadPixel(1, 0)), 0x00ff00u);
  const uint32_t j = ReadPixel(15, 5);
  EXPECT_NEAR(static_cast<int>(j >> 8 & 255), 200, 3);
  EXPECT_EQ(SpriteSlotRecord(kSlot + 1).imageWidth, 16);
}

TEST_F(SpriteTest, FailuresEmptyTheSlotWithCodeThree) {
  const std::string good = Bmp24("good.bmp", 4, 4, std::vector<uint32_t>(16, 0x123456));
  Bytes truncated = gfx_test::MakeBmp({64, 64, 24, false, {}, std::vector<uint32_t>(4096, 7)});
  truncated.resize(truncated.size() / 2);
  Bytes badPng = gfx_test::MakeRgbPng(8, 8, std::vector<uint32_t>(64, 0x445566));
  badPng[badPng.size() - 20] ^= 0xff;
  const struct {
    const char* what;
    std::string path;
  } cases[] = {
      {"missing", gfx_test::TempFolder() + "/nothing-here.png"},
      {"truncated BMP", gfx_test::WriteTemp("trunc.bmp", truncated)},
      {"corrupt PNG", gfx_test::WriteTemp("corrupt.png", badPng)},
      {"text file", gfx_test::WriteTemp("notes.jpg", Bytes(100, 'x'))},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    LoadSprite(good.c_str(), kSlot);
    ASSERT_NE(SpriteSlotRecord(kSlot).texture, 0u);
    testing::internal::CaptureStdout();
    LoadSprite(c.path.c_str(), kSlot);
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(LastError(), 3);
    const SpriteSlot& s = SpriteSlotRecord(kSlot);
    EXPECT_EQ(s.texture, 0u);
    EXPECT_EQ(s.mipTexture, 0u);
    EXPECT_EQ(s.imageWidth, 0);
    EXPECT_EQ(s.textureWidth, -1);
    EXPECT_FLOAT_EQ(s.uExtent, 1.f);
  }
  // An empty name just empties the slot, with code 0.
  LoadSprite(good.c_str(), kSlot);
  SetError(5);
  LoadSprite("", kSlot);
  EXPECT_EQ(LastError(), 0);
  EXPECT_EQ(SpriteSlotRecord(kSlot).texture, 0u);
}

TEST_F(SpriteTest, FreeSpriteSlotSearchesFromTheTop) {
  EXPECT_EQ(FreeSpriteSlot(), 65503);
  ArrayValue<int> px;
  px.Dimension(1);
  px[0] = -1;
  ASSERT_EQ(MemoryToSprite(px, 65503, 1, 1), 1);
  EXPECT_EQ(FreeSpriteSlot(), 65502);
  EmptySlot(65503);
  EXPECT_EQ(FreeSpriteSlot(), 65503);
}

TEST_F(SpriteTest, FontSlotsAreNearestWithoutMipmaps) {
  ArrayValue<int> px;
  px.Dimension(4);
  for (int i = 0; i < 4; ++i) px[i] = static_cast<int>(0xff00ff00u);
  ASSERT_EQ(MemoryToSprite(px, kFirstFontSlot + 31, 2, 2), 1);
  ASSERT_EQ(MemoryToSprite(px, kSlot, 2, 2), 1);
  const struct {
    int slot;
    GLint filter;
    bool mip;
  } cases[] = {{kFirstFontSlot + 31, GL_NEAREST, false}, {kSlot, GL_LINEAR, true}};
  for (const auto& c : cases) {
    const SpriteSlot& s = SpriteSlotRecord(c.slot);
    glBindTexture(GL_TEXTURE_2D, s.texture);
    GLint mag = 0, min = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &mag);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &min);
    EXPECT_EQ(mag, c.filter);
    EXPECT_EQ(min, c.filter);
    EXPECT_EQ(s.mipTexture != 0, c.mip);
  }
  InvalidateDrawStateCache();
  EmptySlot(kFirstFontSlot + 31);
}

TEST_F(SpriteTest, MemoryToSpriteTakesRowsFromTheTop) {
  ArrayValue<int> px;
  px.Dimension(6);
  const uint32_t colours[6] = {0xff0000ff, 0xff00ff00, 0xffff0000,
                               0xffffffff, 0xff000000, 0xff808080};
  for (int i = 0; i < 6; ++i) px[i] = static_cast<int>(colours[i]);
  EXPECT_EQ(MemoryToSprite(px, kSlot, 2, 2), 0);  // 4 != 6: nothing happens
  EXPECT_EQ(SpriteSlotRecord(kSlot).texture, 0u);
  EXPECT_EQ(MemoryToSprite(px, kSlot, 3, 2), 1);
  DrawSprite(kSlot, 30, 30);
  // Value layout: red in bits 0-7, blue in bits 16-23.
  EXPECT_EQ(Rgb(ReadPixel(30, 30)), 0xff0000u);
  EXPECT_EQ(Rgb(ReadPixel(32, 30)), 0x0000ffu);
  EXPECT_EQ(Rgb(ReadPixel(30, 31)), 0xffffffu);
  EXPECT_EQ(Rgb(ReadPixel(32, 31)), 0x808080u);
}

TEST_F(SpriteTest, GrabCopiesTheBackBuffer) {
  DrawRectangle(50, 60, 5, 3, 0x00ff00);
  SetPixel(50, 60, 0x0000ff);  // colour values are red + 256 green + 65536 blue
  GrabSprite(kSlot, 50, 60, 5, 3);
  const SpriteSlot& s = SpriteSlotRecord(kSlot);
  EXPECT_EQ(s.imageWidth, 5);
  EXPECT_EQ(s.imageHeight, 3);
  EXPECT_EQ(s.textureWidth, 16);
  EXPECT_EQ(s.mipTexture, 0u);
  ClearScreen(0);
  DrawSprite(kSlot, 200, 100);
  EXPECT_EQ(Rgb(ReadPixel(200, 100)), 0xff0000u);
  EXPECT_EQ(Rgb(ReadPixel(204, 102)), 0x00ff00u);
  EXPECT_EQ(Rgb(ReadPixel(205, 102)), 0x000000u);
  GrabSprite(kSlot, 0, 0, 0, 10);
  EXPECT_EQ(SpriteSlotRecord(kSlot).texture, 0u);
}

TEST_F(SpriteTest, AnimationAndBumpTextures) {
  const std::string path = Bmp24("anim.bmp", 64, 32, std::vector<uint32_t>(64 * 32, 0x2080ff));
  LoadAnimation(path.c_str(), kSlot, 16, 16);
  EXPECT_EQ(SpriteSlotRecord(kSlot).frameWidth, 16);
  EXPECT_EQ(SpriteSlotRecord(kSlot).frameHeight, 16);
  LoadAnimation((gfx_test::TempFolder() + "/none.bmp").c_str(), kSlot, 16, 16);
  EXPECT_EQ(LastError(), 3);
  EXPECT_EQ(SpriteSlotRecord(kSlot).frameWidth, 0);

  // A flat height field is the straight-up normal (128, 128, 255).
  LoadBumpTexture(path.c_str(), kSlot);
  ASSERT_EQ(LastError(), 0);
  DrawSprite(kSlot, 0, 0);
  EXPECT_EQ(Rgb(ReadPixel(5, 5)), 0x8080ffu);
}

}  // namespace
}  // namespace vxl
