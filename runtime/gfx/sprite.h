// Vexel runtime: the sprite slot table and the upload of images to textures.
//
// Every 2D picture is a GL texture in one of 65536 numbered slots. Slots
// 0 ... 65503 are sprites, 65504 ... 65535 hold the 32 fonts (font n is slot
// kFirstFontSlot + n). Images are padded to power-of-two textures, never
// resampled, so sprites keep their exact pixels; the image sits in texture
// coordinates (0, 0) ... (uExtent, vExtent) with the image's bottom row at t = 0.
// Sprite slots also get a square mipmapped copy for 3D drawing; font slots are
// sampled with nearest filtering and get no copy.
#pragma once

#include "runtime/core/array_value.h"
#include "runtime/core/string_value.h"
#include "runtime/gfx/image.h"

namespace vxl {

constexpr int kSpriteSlotCount = 65536;
constexpr int kLastSpriteSlot = 65503;  // also the scratch slot of emulated render targets
constexpr int kFirstFontSlot = 65504;

// ---- the slot record --------------------------------------------------------------
// An empty slot has both texture names 0, image sizes 0, texture sizes -1 and
// both extents 1.0.
struct SpriteSlot {
  unsigned texture = 0;                       // GL name of the padded image, 0 when empty
  unsigned mipTexture = 0;                    // square mipmapped copy (sprite slots only)
  float uExtent = 1.f;                        // image width / texture width
  float vExtent = 1.f;                        // image height / texture height
  int textureWidth = -1, textureHeight = -1;  // powers of two (>= 16 for loaded images)
  int imageWidth = 0, imageHeight = 0;        // the full image size, before any cropping
  int frameWidth = 0, frameHeight = 0;        // animation frame size, 0 = no animation
};

// Read access to a slot. A slot outside 0 ... 65535 is a programming error:
// the bounds failure (code 9) ends the program.
const SpriteSlot& SpriteSlotRecord(int slot);
// True for 0 ... 65535.
bool IsValidSlot(int slot);

// ---- uploading --------------------------------------------------------------------
// Empties the slot, then uploads `image` (RGBA rows, top row first): cropped to
// the GL texture limit, padded to the smallest power of two >= 16 in each
// direction with transparent black. Sprite slots: GL_LINEAR and the mipmapped
// copy; font slots: GL_NEAREST, no copy. An image of width or height 0 leaves
// the slot empty. Returns false (slot empty) when the texture could not be made.
bool UploadImage(const ImageBuffer& image, int slot);
// Deletes both textures, drops the collision alpha cache, resets the record.
void EmptySlot(int slot);
// Texture size for an image side: smallest power of two >= size and >= 16.
int TextureSizeFor(int size);

// ---- loading ----------------------------------------------------------------------
// Every operation here first sets the last error code to 0.
// Empties the slot; an empty name stops there. Otherwise loads BMP, PNG or JPEG
// (disk or "mem://" entry) with the transparency colour, fills transparent
// pixels of alpha-less images and uploads. A missing or undecodable file: code
// 3, slot empty.
void LoadSprite(const StringValue& name, int slot);
// LoadSprite, then stores the frame size when the image loaded.
void LoadAnimation(const StringValue& name, int slot, int frameWidth, int frameHeight);
// LoadSprite with the image turned into a normal map (blue channel = height).
void LoadBumpTexture(const StringValue& name, int slot);
// Image width and height; 0, 0 for an empty slot.
void SpriteSize(int slot, int* width, int* height);
// The highest sprite slot from 65503 downwards whose image width is 0; -1 if none.
int FreeSpriteSlot();
// Pixels: one value per pixel, red in bits 0-7 ... alpha in bits 24-31, rows
// from the top. Returns 0 and changes nothing when width * height differs from
// the array's first size; an array without storage is a bounds failure.
int MemoryToSprite(const ArrayValue<int>& pixels, int slot, int width, int height);
// Copies the back-buffer rectangle (top-left origin) into the slot; width or
// height 0 empties it. The mipmapped copy is dropped.
void GrabSprite(int slot, int x, int y, int width, int height);

// ---- render targets -----------------------------------------------------------------
// Empties the slot and gives it a zero-filled (transparent) texture of the given
// power-of-two size with linear filtering, recording the image size. No
// mipmapped copy. False (slot empty) when GL could not make it.
bool CreateEmptyTexture(int slot, int textureWidth, int textureHeight, int imageWidth,
                        int imageHeight);
// The slot's texture was drawn into: drops the cached collision alpha.
void SlotContentChanged(int slot);

// ---- collision support ------------------------------------------------------------
// The alpha channel of the slot's texture (texture width x height bytes, row 0 =
// image bottom row), read back once and cached until the slot changes. Null for
// an empty slot.
const unsigned char* SlotAlpha(int slot);

// ---- shut-down ------------------------------------------------------------------
// Empties every slot (before the GL context goes away).
void FreeAllSlots();

}  // namespace vxl
