// The image decoders on bytes built by the tests themselves: every BMP pixel
// format and header, the transparency key, PNG expansion and stripping, JPEG
// channels, and untrusted input that must fail cleanly (never crash, never read
// past the data, never exit).
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "runtime/gfx/image.h"
#include "tests/unit/gfx/gfx_test_support.h"

namespace vxl {
namespace {

using gfx_test::BmpSpec;
using gfx_test::Bytes;
using gfx_test::MakeBmp;
using gfx_test::MakeJpeg;
using gfx_test::MakePng;
using gfx_test::MakeRgbPng;
using gfx_test::PngSpec;

constexpr int kKey = 0x8000ff;  // the start-up transparency colour (red 255, blue 128)

// 0xAARRGGBB of a decoded pixel.
uint32_t At(const ImageBuffer& img, int x, int y) {
  const unsigned char* p = img.Pixel(x, y);
  return static_cast<uint32_t>(p[3]) << 24 | p[0] << 16 | p[1] << 8 | p[2];
}

bool Decode(const Bytes& b, ImageBuffer* out, int key = kKey) {
  return DecodeImage(b.data(), b.size(), out, key);
}

// ---- BMP ------------------------------------------------------------------------------

TEST(BmpDecode, PixelFormatsAndRowOrder) {
  // A 3 x 2 picture: top row red, green, blue; bottom row white, black, grey.
  const std::vector<uint32_t> rgb = {0xff0000, 0x00ff00, 0x0000ff, 0xffffff, 0x000000, 0x808080};
  const std::vector<uint32_t> pal = {0xff0000, 0x00ff00, 0x0000ff, 0xffffff, 0x000000, 0x808080};
  const std::vector<uint32_t> idx = {0, 1, 2, 3, 4, 5};
  struct Case {
    const char* what;
    BmpSpec spec;
  };
  std::vector<Case> cases;
  cases.push_back({"24-bit", {3, 2, 24, false, {}, rgb}});
  cases.push_back({"24-bit top-down", {3, -2, 24, false, {}, rgb}});
  cases.push_back({"32-bit", {3, 2, 32, false, {}, rgb}});
  cases.push_back({"8-bit palette", {3, 2, 8, false, pal, idx}});
  cases.push_back({"4-bit palette", {3, 2, 4, false, pal, idx}});
  cases.push_back({"8-bit core header", {3, 2, 8, true, pal, idx}});
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ImageBuffer img;
    ASSERT_TRUE(Decode(MakeBmp(c.spec), &img));
    EXPECT_EQ(img.width, 3);
    EXPECT_EQ(img.height, 2);
    EXPECT_EQ(img.hasAlpha, 0);
    for (int i = 0; i < 6; ++i) EXPECT_EQ(At(img, i % 3, i / 3), 0xff000000u | rgb[i]) << i;
  }
}

TEST(BmpDecode, OneBitRowsArePaddedToWords) {
  // 10 x 3 with two colours; each 1-bit row takes 4 bytes in the file.
  BmpSpec s{10, 3, 1, false, {0x000000, 0xffffff}, {}};
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 10; ++x) s.pixels.push_back((x + y) % 3 == 0);
  ImageBuffer img;
  ASSERT_TRUE(Decode(MakeBmp(s), &img));
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 10; ++x) {
      EXPECT_EQ(At(img, x, y), (x + y) % 3 == 0 ? 0xffffffffu : 0xff000000u) << x << "," << y;
    }
  }
  // And an OS/2 core header with its 3-byte palette right after it.
  s.coreHeader = true;
  ASSERT_TRUE(Decode(MakeBmp(s), &img));
  EXPECT_EQ(At(img, 0, 0), 0xffffffffu);
  EXPECT_EQ(At(img, 1, 0), 0xff000000u);
}

TEST(BmpDecode, SixteenBitScalesFiveBitChannels) {
  // 5-5-5: red 31, green 0, blue 16 -> 255, 0, 131.
  BmpSpec s{1, 1, 16, false, {}, {31u << 10 | 16u}};
  ImageBuffer img;
  ASSERT_TRUE(Decode(MakeBmp(s), &img));
  EXPECT_EQ(At(img, 0, 0), 0xffff0083u);
}

TEST(BmpDecode, TransparencyKey) {
  BmpSpec s{2, 1, 24, false, {}, {0xff0080, 0x102030}};
  ImageBuffer img;
  ASSERT_TRUE(Decode(MakeBmp(s), &img, kKey));
  EXPECT_EQ(At(img, 0, 0), 0x00000000u);  // fully transparent, colour cleared too
  EXPECT_EQ(At(img, 1, 0), 0xff102030u);
  ASSERT_TRUE(Decode(MakeBmp(s), &img, -1));
  EXPECT_EQ(At(img, 0, 0), 0xffff0080u);
}

TEST(BmpDecode, UntrustedHeadersFailCleanly) {
  const Bytes good = MakeBmp({4, 4, 24, false, {}, std::vector<uint32_t>(16, 0x123456)});
  auto patched = [&](size_t at, uint32_t v, int bytes = 4) {
    Bytes b = good;
    unsigned char le[4] = {static_cast<unsigned char>(v), static_cast<unsigned char>(v >> 8),
                           static_cast<unsigned char>(v >> 16),
                           static_cast<unsigned char>(v >> 24)};
    if (at + bytes <= b.size()) std::memcpy(b.data() + at, le, bytes);
    return b;
  };
  struct Case {
    const char* what;
    Bytes bytes;
  };
  const std::vector<Case> cases = {
      {"info header size 64", patched(14, 64)},
      {"width 0", patched(18, 0)},
      {"width past 16384", patched(18, 16385)},
      {"height past 16384", patched(22, 0xffff0000u)},  // -65536: top-down, too tall
      {"height INT_MIN", patched(22, 0x80000000u)},
      {"16384 x 16384 claims 1 GiB",
       [&] {
         Bytes b = patched(18, 16384);
         b[22] = 0;
         b[23] = 0x40;  // height 16384
         return b;
       }()},
      {"2 bits per pixel", patched(28, 2, 2)},
      {"pixel offset past the end", patched(10, 0x7fffffff)},
      {"pixel offset wraps", patched(10, 0xffffffffu)},
      {"truncated pixel rows", Bytes(good.begin(), good.end() - 5)},
      {"truncated info header", Bytes(good.begin(), good.begin() + 30)},
      {"just the magic", Bytes{'B', 'M'}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ImageBuffer img;
    EXPECT_FALSE(DecodeBmp(c.bytes.data(), c.bytes.size(), &img, kKey));
    EXPECT_EQ(img.width, 0);
    EXPECT_EQ(img.height, 0);
  }
}

TEST(BmpDecode, PaletteIndexBeyondThePaletteReadsBlack) {
  BmpSpec s{2, 1, 8, false, {0xffffff}, {0, 200}};
  ImageBuffer img;
  ASSERT_TRUE(Decode(MakeBmp(s), &img));
  EXPECT_EQ(At(img, 0, 0), 0xffffffffu);
  EXPECT_EQ(At(img, 1, 0), 0xff000000u);
}

// ---- PNG ------------------------------------------------------------------------------

TEST(PngDecode, RgbIsKeyedRgbaKeepsItsAlpha) {
  ImageBuffer img;
  const Bytes rgb = MakeRgbPng(2, 1, {0xff0080, 0x010203});
  ASSERT_TRUE(Decode(rgb, &img));
  EXPECT_EQ(img.hasAlpha, 0);
  EXPECT_EQ(At(img, 0, 0), 0x00000000u);
  EXPECT_EQ(At(img, 1, 0), 0xff010203u);

  PngSpec s;
  s.width = 2;
  s.colourType = PNG_COLOR_TYPE_RGB_ALPHA;
  s.rows = {255, 0, 128, 255, 9, 8, 7, 100};  // the key colour is not keyed with an alpha channel
  ASSERT_TRUE(Decode(MakePng(s), &img));
  EXPECT_EQ(img.hasAlpha, 1);
  EXPECT_EQ(At(img, 0, 0), 0xffff0080u);
  EXPECT_EQ(At(img, 1, 0), 0x64090807u);
}

TEST(PngDecode, SixteenBitPaletteLowGreyAndInterlacedLoadAsEightBit) {
  ImageBuffer img;
  PngSpec deep;
  deep.width = 2;
  deep.depth = 16;
  deep.rows = {0x12, 0x34, 0x56, 0x78, 0x9a, 0xbc, 0xff, 0xff, 0x00, 0x00, 0x80, 0x00};
  ASSERT_TRUE(Decode(MakePng(deep), &img, -1));
  EXPECT_EQ(At(img, 0, 0), 0xff12569au);
  EXPECT_EQ(At(img, 1, 0), 0xffff0080u);
  // Keying happens on the 8-bit result: a 16-bit RGB PNG is an RGB PNG.
  ASSERT_TRUE(Decode(MakePng(deep), &img, kKey));
  EXPECT_EQ(At(img, 1, 0), 0x00000000u);

  PngSpec pal;
  pal.width = 2;
  pal.colourType = PNG_COLOR_TYPE_PALETTE;
  pal.palette = {{10, 20, 30}, {40, 50, 60}};
  pal.rows = {1, 0};
  ASSERT_TRUE(Decode(MakePng(pal), &img));
  EXPECT_EQ(At(img, 0, 0), 0xff28323cu);
  EXPECT_EQ(At(img, 1, 0), 0xff0a141eu);

  PngSpec grey;
  grey.width = 8;
  grey.colourType = PNG_COLOR_TYPE_GRAY;
  grey.depth = 1;
  grey.rows = {0xa0};                                  // 1 0 1 0 0 0 0 0
  ASSERT_TRUE(Decode(MakePng(grey), &img, 0xffffff));  // grey is never keyed
  EXPECT_EQ(At(img, 0, 0), 0xffffffffu);
  EXPECT_EQ(At(img, 1, 0), 0xff000000u);
  EXPECT_EQ(At(img, 2, 0), 0xffffffffu);

  std::vector<uint32_t> px;
  for (int i = 0; i < 9 * 7; ++i) px.push_back(static_cast<uint32_t>(i * 0x030201));
  PngSpec inter;
  inter.width = 9;
  inter.height = 7;
  inter.interlaced = true;
  for (uint32_t v : px) {
    inter.rows.push_back(static_cast<unsigned char>(v >> 16));
    inter.rows.push_back(static_cast<unsigned char>(v >> 8));
    inter.rows.push_back(static_cast<unsigned char>(v));
  }
  ASSERT_TRUE(Decode(MakePng(inter), &img, -1));
  for (int i = 0; i < 9 * 7; ++i) ASSERT_EQ(At(img, i % 9, i / 9), 0xff000000u | px[i]) << i;
}

TEST(PngDecode, GreyAlphaFailsWithTheColourTypeMessage) {
  PngSpec s;
  s.colourType = PNG_COLOR_TYPE_GRAY_ALPHA;
  s.rows = {100, 200};
  const Bytes b = MakePng(s);
  ImageBuffer img;
  testing::internal::CaptureStdout();
  const bool ok = DecodePng(b.data(), b.size(), &img, kKey, "ga.png");
  const std::string out = testing::internal::GetCapturedStdout();
  EXPECT_FALSE(ok);
  EXPECT_EQ(out,
            "File ga.png has unsupported color type.\nTypes GRAY, RGB and RGB_ALPHA are "
            "supported.\n");
  EXPECT_EQ(img.width, 0);
}

TEST(PngDecode, CorruptAndTruncatedDataFailQuietly) {
  std::vector<uint32_t> px(32 * 32);
  for (size_t i = 0; i < px.size(); ++i) px[i] = static_cast<uint32_t>(i * 2654435761u);
  const Bytes good = MakeRgbPng(32, 32, px);
  Bytes flipped = good;
  flipped[good.size() / 2] ^= 0x55;  // inside IDAT: CRC or inflate error
  Bytes hugeHeader = good;
  // IHDR width at byte 16: 100000 (past the side limit; the CRC is fixed below).
  hugeHeader[16] = 0;
  hugeHeader[17] = 1;
  hugeHeader[18] = 0x86;
  hugeHeader[19] = 0xa0;
  // A text chunk right after IHDR whose length field claims about 2 GB.
  Bytes hugeChunk(good.begin(), good.begin() + 33);
  const char kHugeText[] = "\x76\x76\x76\x74tEXtdate";
  hugeChunk.insert(hugeChunk.end(), kHugeText, kHugeText + sizeof kHugeText - 1);
  hugeChunk.insert(hugeChunk.end(), good.begin() + 33, good.end());
  const struct {
    const char* what;
    Bytes bytes;
  } cases[] = {
      {"truncated in IDAT", Bytes(good.begin(), good.begin() + good.size() / 2)},
      {"chunk longer than the file", hugeChunk},
      {"truncated in the header", Bytes(good.begin(), good.begin() + 20)},
      {"flipped byte", flipped},
      {"huge width (bad CRC)", hugeHeader},
      {"signature only", Bytes(good.begin(), good.begin() + 8)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    ImageBuffer img;
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    EXPECT_FALSE(DecodePng(c.bytes.data(), c.bytes.size(), &img, kKey, "bad.png"));
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(img.width, 0);
  }
}

// ---- JPEG -----------------------------------------------------------------------------

TEST(JpegDecode, ChannelsAndNoKey) {
  // Flat colour survives JPEG nearly exactly; the key colour stays opaque.
  Bytes rgb;
  for (int i = 0; i < 16 * 16; ++i) rgb.insert(rgb.end(), {255, 0, 128});
  ImageBuffer img;
  const Bytes j = MakeJpeg(16, 16, 3, rgb);
  ASSERT_TRUE(Decode(j, &img, kKey));
  EXPECT_EQ(img.width, 16);
  EXPECT_EQ(img.hasAlpha, 0);
  const unsigned char* p = img.Pixel(8, 8);
  EXPECT_EQ(p[3], 255);
  EXPECT_NEAR(p[0], 255, 3);
  EXPECT_NEAR(p[1], 0, 3);
  EXPECT_NEAR(p[2], 128, 3);

  const Bytes grey = MakeJpeg(8, 8, 1, Bytes(64, 77));
  ASSERT_TRUE(Decode(grey, &img));
  p = img.Pixel(3, 3);
  EXPECT_NEAR(p[0], 77, 2);
  EXPECT_EQ(p[0], p[1]);
  EXPECT_EQ(p[1], p[2]);
}

TEST(JpegDecode, TruncatedAndCorruptDataFailWithoutExiting) {
  Bytes noise;
  for (int i = 0; i < 64 * 64 * 3; ++i) noise.push_back(static_cast<unsigned char>(i * 37));
  const Bytes good = MakeJpeg(64, 64, 3, noise, 90);
  Bytes emptyFrame = good;  // the frame header claims height 0
  for (size_t i = 2; i + 8 < emptyFrame.size(); ++i) {
    if (emptyFrame[i] == 0xff && emptyFrame[i + 1] == 0xc0) {
      emptyFrame[i + 5] = emptyFrame[i + 6] = 0;
      break;
    }
  }
  const struct {
    const char* what;
    Bytes bytes;
  } cases[] = {
      {"cut in the scan", Bytes(good.begin(), good.begin() + good.size() * 2 / 3)},
      {"cut in the header", Bytes(good.begin(), good.begin() + 40)},
      {"height 0", emptyFrame},
      {"not a JPEG", Bytes(200, 0x42)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    ImageBuffer img;
    testing::internal::CaptureStderr();
    EXPECT_FALSE(DecodeJpeg(c.bytes.data(), c.bytes.size(), &img, "bad.jpg"));
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(img.width, 0);
  }
}

// ---- post-processing -------------------------------------------------------------------

TEST(ImagePostProcess, TransparentPixelsTakeTheirInnerNeighboursColour) {
  // 4 x 4: inner pixels (1,1) red and (2,1) blue; everything else transparent.
  ImageBuffer img;
  img.width = img.height = 4;
  img.pixels.assign(64, 0);
  auto set = [&](int x, int y, uint32_t argb) {
    unsigned char* p = img.Pixel(x, y);
    p[0] = static_cast<unsigned char>(argb >> 16);
    p[1] = static_cast<unsigned char>(argb >> 8);
    p[2] = static_cast<unsigned char>(argb);
    p[3] = static_cast<unsigned char>(argb >> 24);
  };
  set(1, 1, 0xffff0000);
  set(2, 1, 0xff0000ff);
  set(0, 3, 0xff00ff00);  // on the edge: never used as a neighbour
  FillTransparentPixels(&img);
  EXPECT_EQ(At(img, 1, 0), 0x007f007fu);  // average of red and blue, alpha stays 0
  EXPECT_EQ(At(img, 0, 0), 0x00ff0000u);  // only red touches it
  EXPECT_EQ(At(img, 1, 2), 0x007f007fu);
  EXPECT_EQ(At(img, 3, 3), 0x00000000u);  // its only inner neighbour (2,2) is transparent
  EXPECT_EQ(At(img, 0, 3), 0xff00ff00u);  // opaque pixels are left alone
}

TEST(ImagePostProcess, FlatHeightGivesTheUpNormal) {
  ImageBuffer img;
  img.width = 3;
  img.height = 2;
  img.pixels.assign(24, 90);
  MakeNormalMap(&img);
  for (int i = 0; i < 6; ++i) EXPECT_EQ(At(img, i % 3, i / 3), 0x5a8080ffu) << i;
}

}  // namespace
}  // namespace vxl
