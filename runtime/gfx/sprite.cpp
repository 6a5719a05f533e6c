// The sprite slot table: uploading images to padded textures (with the square
// mipmapped copy for 3D drawing), loading sprites, animations and bump
// textures, memory-to-sprite, grabbing the back buffer, the empty textures of
// render targets and the cached alpha channels the collision test reads.
//
// Index
//   [SECTION] slot table
//   [SECTION] upload
//   [SECTION] loading
//   [SECTION] grab and render-target textures
//   [SECTION] alpha cache
#include "runtime/gfx/sprite.h"

#include <GL/gl.h>

#include <cstring>
#include <memory>
#include <vector>

#include "runtime/core/error.h"
#include "runtime/core/frame.h"
#include "runtime/gfx/draw_state.h"

namespace vxl {
namespace {

SpriteSlot g_slots[kSpriteSlotCount];
// Collision alpha per slot, filled on first use; null when not read yet.
std::unique_ptr<std::vector<unsigned char>> g_alpha[kSpriteSlotCount];

SpriteSlot& Slot(int slot) {
  if (!IsValidSlot(slot)) FatalError(kErrOutOfBounds);
  return g_slots[slot];
}

int MaxTextureSize() {
  const RendererInfo* r = Renderer();
  return r && r->maxTextureSize > 0 ? r->maxTextureSize : 2048;
}

void DeleteTexture(unsigned* name) {
  if (*name == 0) return;
  ForgetTexture(*name);
  GLuint n = *name;
  glDeleteTextures(1, &n);
  *name = 0;
}

void SetFilters(GLint filter, GLint minFilter, GLint wrap) {
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, minFilter);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, wrap);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, wrap);
}

// A fresh texture bound through the state cache, or 0 when GL has none to give.
unsigned NewTexture() {
  GLuint name = 0;
  glGenTextures(1, &name);
  if (name) UseTexture(name);
  return name;
}

bool GlFailed() {
  bool failed = false;
  while (glGetError() != GL_NO_ERROR) failed = true;
  return failed;
}

// Fills a slot's sizes once its texture holds the picture. The extents cover
// the `covered` part of the texture (what was uploaded), so a cropped image is
// drawn shrunk to its texture, never wrapped around it.
void RecordSizes(SpriteSlot& s, int textureWidth, int textureHeight, int imageWidth,
                 int imageHeight, int coveredWidth, int coveredHeight) {
  s.textureWidth = textureWidth;
  s.textureHeight = textureHeight;
  s.imageWidth = imageWidth;
  s.imageHeight = imageHeight;
  s.uExtent = static_cast<float>(coveredWidth) / textureWidth;
  s.vExtent = static_cast<float>(coveredHeight) / textureHeight;
}

}  // namespace

// ---- [SECTION] slot table --------------------------------------------------------------------

bool IsValidSlot(int slot) {
  return slot >= 0 && slot < kSpriteSlotCount;
}

const SpriteSlot& SpriteSlotRecord(int slot) {
  return Slot(slot);
}

void EmptySlot(int slot) {
  SpriteSlot& s = Slot(slot);
  DeleteTexture(&s.texture);
  DeleteTexture(&s.mipTexture);
  s = SpriteSlot{};
  g_alpha[slot].reset();
}

void FreeAllSlots() {
  for (int i = 0; i < kSpriteSlotCount; ++i) {
    if (g_slots[i].texture || g_slots[i].mipTexture) EmptySlot(i);
  }
}

int TextureSizeFor(int size) {
  int t = 8;
  do {
    t *= 2;
  } while (t < size && t < (1 << 30));
  return t;
}

void SpriteSize(int slot, int* width, int* height) {
  ClearError();
  const SpriteSlot& s = Slot(slot);
  if (width) *width = s.imageWidth;
  if (height) *height = s.imageHeight;
}

int FreeSpriteSlot() {
  ClearError();
  for (int i = kLastSpriteSlot; i >= 0; --i) {
    if (g_slots[i].imageWidth == 0) return i;
  }
  return -1;
}

// ---- [SECTION] upload ------------------------------------------------------------------------

namespace {

// Halves a square-or-not RGBA image to a square one, then uploads every level
// down to 1 x 1 with the weighted 2 x 2 filter.
void UploadMipChain(std::vector<unsigned char> img, int w, int h) {
  std::vector<unsigned char> next;
  while (w > h) {
    next.assign(static_cast<size_t>(w / 2) * h * 4, 0);
    for (int y = 0; y < h; ++y) {
      for (int x = 0; x < w / 2; ++x) {
        for (int c = 0; c < 4; ++c) {
          const size_t row = static_cast<size_t>(y) * w;
          next[(static_cast<size_t>(y) * (w / 2) + x) * 4 + c] = static_cast<unsigned char>(
              (img[(row + 2 * x) * 4 + c] + img[(row + 2 * x + 1) * 4 + c]) / 2);
        }
      }
    }
    img.swap(next);
    w /= 2;
  }
  while (h > w) {
    next.assign(static_cast<size_t>(w) * (h / 2) * 4, 0);
    for (int y = 0; y < h / 2; ++y) {
      for (int x = 0; x < w; ++x) {
        for (int c = 0; c < 4; ++c) {
          next[(static_cast<size_t>(y) * w + x) * 4 + c] =
              static_cast<unsigned char>((img[(static_cast<size_t>(2 * y) * w + x) * 4 + c] +
                                          img[(static_cast<size_t>(2 * y + 1) * w + x) * 4 + c]) /
                                         2);
        }
      }
    }
    img.swap(next);
    h /= 2;
  }
  int level = 0;
  for (;;) {
    glTexImage2D(GL_TEXTURE_2D, level, GL_RGBA8, w, h, 0, GL_RGBA, GL_UNSIGNED_BYTE, img.data());
    if (w <= 1 && h <= 1) break;
    const int nw = w > 1 ? w / 2 : 1, nh = h > 1 ? h / 2 : 1;
    next.assign(static_cast<size_t>(nw) * nh * 4, 0);
    for (int y = 0; y < nh; ++y) {
      for (int x = 0; x < nw; ++x) {
        const int sx = 2 * x, sy = 2 * y;
        const bool hasRight = sx + 1 < w, hasBelow = sy + 1 < h;
        for (int c = 0; c < 4; ++c) {
          auto at = [&](int px, int py) { return img[(static_cast<size_t>(py) * w + px) * 4 + c]; };
          const int a = at(sx, sy);
          int v;
          if (hasRight && hasBelow) {
            v = (4 * a + 2 * at(sx + 1, sy) + 2 * at(sx, sy + 1) + at(sx + 1, sy + 1)) / 9;
          } else if (hasRight) {
            v = (2 * a + at(sx + 1, sy)) / 3;
          } else if (hasBelow) {
            v = (2 * a + at(sx, sy + 1)) / 3;
          } else {
            v = a;
          }
          next[(static_cast<size_t>(y) * nw + x) * 4 + c] = static_cast<unsigned char>(v);
        }
      }
    }
    img.swap(next);
    w = nw;
    h = nh;
    ++level;
  }
}

}  // namespace

bool UploadImage(const ImageBuffer& image, int slot) {
  EmptySlot(slot);
  SpriteSlot& s = g_slots[slot];
  if (image.width <= 0 || image.height <= 0) return true;
  if (image.pixels.size() < static_cast<size_t>(image.width) * image.height * 4) return false;
  GlFailed();  // start from a clean error state
  const int maxSize = MaxTextureSize();
  const int rw = image.width < maxSize ? image.width : maxSize;
  const int rh = image.height < maxSize ? image.height : maxSize;
  const int tw = TextureSizeFor(rw), th = TextureSizeFor(rh);
  std::vector<unsigned char> padded(static_cast<size_t>(tw) * th * 4, 0);
  for (int r = 0; r < rh; ++r) {
    // Texture row 0 holds the region's bottom row: t grows upwards in the image.
    std::memcpy(&padded[static_cast<size_t>(r) * tw * 4], image.Pixel(0, rh - 1 - r),
                static_cast<size_t>(rw) * 4);
  }
  const bool font = slot >= kFirstFontSlot;
  s.texture = NewTexture();
  if (!s.texture) return false;
  glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
  glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
  glPixelStorei(GL_UNPACK_SKIP_ROWS, 0);
  glPixelStorei(GL_UNPACK_SKIP_PIXELS, 0);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, tw, th, 0, GL_RGBA, GL_UNSIGNED_BYTE, padded.data());
  SetFilters(font ? GL_NEAREST : GL_LINEAR, font ? GL_NEAREST : GL_LINEAR, GL_REPEAT);
  if (GlFailed()) {
    EmptySlot(slot);
    return false;
  }
  if (!font) {
    s.mipTexture = NewTexture();
    if (s.mipTexture) {
      UploadMipChain(std::move(padded), tw, th);
      SetFilters(GL_LINEAR, GL_LINEAR_MIPMAP_LINEAR, GL_REPEAT);
      if (GlFailed()) DeleteTexture(&s.mipTexture);
    }
  }
  RecordSizes(s, tw, th, image.width, image.height, rw, rh);
  return true;
}

// ---- [SECTION] loading -----------------------------------------------------------------------

namespace {

// One working buffer for every load: its allocation is kept when the next
// image fits.
ImageBuffer g_loadBuffer;

bool LoadInto(const StringValue& name, int slot, bool bump) {
  ClearError();
  EmptySlot(slot);
  if (name.length() == 0) return false;
  if (!LoadImageFile(name, &g_loadBuffer)) {
    SetError(kErrNoSuchFile);
    return false;
  }
  if (!g_loadBuffer.hasAlpha) FillTransparentPixels(&g_loadBuffer);
  if (bump) MakeNormalMap(&g_loadBuffer);
  if (!UploadImage(g_loadBuffer, slot)) {
    SetError(kErrOutOfMemory);
    return false;
  }
  return true;
}

}  // namespace

void LoadSprite(const StringValue& name, int slot) {
  LoadInto(name, slot, false);
}

void LoadAnimation(const StringValue& name, int slot, int frameWidth, int frameHeight) {
  LoadInto(name, slot, false);
  SpriteSlot& s = Slot(slot);
  if (s.imageWidth > 0) {
    s.frameWidth = frameWidth > 0 ? frameWidth : 0;
    s.frameHeight = frameHeight > 0 ? frameHeight : 0;
  }
}

void LoadBumpTexture(const StringValue& name, int slot) {
  LoadInto(name, slot, true);
}

int MemoryToSprite(const ArrayValue<int>& pixels, int slot, int width, int height) {
  ClearError();
  Slot(slot);
  if (!pixels.HasStorage()) (void)pixels[0];  // the array's own bounds failure
  if (width < 0 || height < 0 ||
      static_cast<long long>(width) * height != static_cast<long long>(pixels.Size(0))) {
    return 0;
  }
  ImageBuffer image;
  image.width = width;
  image.height = height;
  image.pixels.resize(static_cast<size_t>(width) * height * 4);
  const int* src = pixels.Data();
  for (size_t i = 0; i < static_cast<size_t>(width) * height; ++i) {
    const unsigned v = static_cast<unsigned>(src[i]);
    image.pixels[i * 4 + 0] = static_cast<unsigned char>(v);
    image.pixels[i * 4 + 1] = static_cast<unsigned char>(v >> 8);
    image.pixels[i * 4 + 2] = static_cast<unsigned char>(v >> 16);
    image.pixels[i * 4 + 3] = static_cast<unsigned char>(v >> 24);
  }
  if (!UploadImage(image, slot)) SetError(kErrOutOfMemory);
  return 1;
}

// ---- [SECTION] grab and render-target textures
// ---------------------------------------------------

void GrabSprite(int slot, int x, int y, int width, int height) {
  ClearError();
  SpriteSlot& s = Slot(slot);
  if (width <= 0 || height <= 0) {
    EmptySlot(slot);
    return;
  }
  const int maxSize = MaxTextureSize();
  if (width > maxSize) width = maxSize;
  if (height > maxSize) height = maxSize;
  const int tw = TextureSizeFor(width), th = TextureSizeFor(height);
  g_alpha[slot].reset();
  DeleteTexture(&s.mipTexture);
  GlFailed();
  if (s.texture == 0 || s.textureWidth != tw || s.textureHeight != th) {
    DeleteTexture(&s.texture);
    s.texture = NewTexture();
    if (!s.texture) {
      EmptySlot(slot);
      return;
    }
    const RendererInfo* r = Renderer();
    const GLenum format = r && r->hasBgra ? GL_BGRA : GL_RGBA;
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, tw, th, 0, format, GL_UNSIGNED_BYTE, nullptr);
    SetFilters(GL_LINEAR, GL_LINEAR, GL_REPEAT);
  } else {
    UseTexture(s.texture);
  }
  int targetWidth = 0, targetHeight = 0;
  DrawTargetSize(&targetWidth, &targetHeight);
  (void)targetWidth;
  const int windowRow = targetHeight - y - height;
  GLint alphaBits = 0;
  glGetIntegerv(GL_ALPHA_BITS, &alphaBits);
  if (alphaBits > 0) {
    glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, x, windowRow, width, height);
  } else {
    // Window rows come bottom-up, as the texture wants them.
    std::vector<unsigned char> pixels(static_cast<size_t>(width) * height * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glReadPixels(x, windowRow, width, height, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE,
                    pixels.data());
  }
  if (GlFailed()) {
    EmptySlot(slot);
    return;
  }
  RecordSizes(s, tw, th, width, height, width, height);
}

bool CreateEmptyTexture(int slot, int textureWidth, int textureHeight, int imageWidth,
                        int imageHeight) {
  EmptySlot(slot);
  SpriteSlot& s = g_slots[slot];
  if (textureWidth <= 0 || textureHeight <= 0) return false;
  GlFailed();
  s.texture = NewTexture();
  if (!s.texture) return false;
  std::vector<unsigned char> zero(static_cast<size_t>(textureWidth) * textureHeight * 4, 0);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, textureWidth, textureHeight, 0, GL_RGBA,
               GL_UNSIGNED_BYTE, zero.data());
  SetFilters(GL_LINEAR, GL_LINEAR, GL_REPEAT);
  if (GlFailed()) {
    EmptySlot(slot);
    return false;
  }
  RecordSizes(s, textureWidth, textureHeight, imageWidth, imageHeight, imageWidth, imageHeight);
  return true;
}

// ---- [SECTION] alpha cache ---------------------------------------------------------------------

void SlotContentChanged(int slot) {
  Slot(slot);
  g_alpha[slot].reset();
}

const unsigned char* SlotAlpha(int slot) {
  const SpriteSlot& s = Slot(slot);
  if (!s.texture) return nullptr;
  if (!g_alpha[slot]) {
    auto alpha = std::make_unique<std::vector<unsigned char>>(static_cast<size_t>(s.textureWidth) *
                                                              s.textureHeight);
    UseTexture(s.texture);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_ALPHA, GL_UNSIGNED_BYTE, alpha->data());
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    g_alpha[slot] = std::move(alpha);
  }
  return g_alpha[slot]->data();
}

}  // namespace vxl
