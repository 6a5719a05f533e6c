// Vexel runtime: text encryption for the internet hiscore upload.
//
// Blowfish (the published cipher with its standard initial tables, the
// hexadecimal digits of pi) in ECB mode over zero-padded 8-byte blocks. The
// byte order inside a block is part of the wire format the hiscore service
// decodes: bytes 0-3 form the left half and bytes 4-7 the right half, each read
// and written little-endian (byte 0 least significant). This is NOT the
// big-endian convention of the published test vectors; the raw block routine
// below works on the two 32-bit halves so both can be checked.
#pragma once

#include <cstdint>

#include "runtime/core/string_value.h"

namespace vxl {

// ---- the raw block cipher ------------------------------------------------------------
// The expanded key: 18 round subkeys and four 256-entry S-boxes.
struct BlowfishKey {
  uint32_t p[18];
  uint32_t s[4][256];
};

// Expands `length` key bytes, taken four at a time most significant first and
// cycling over the key. Any length works (Blowfish proper uses at most 56
// bytes; bytes past the 72nd never reach the subkeys). An empty key (length <= 0
// or null bytes) is treated as the single byte 0, so it is safe but weak.
void BlowfishSetKey(BlowfishKey& key, const unsigned char* bytes, int length);
// Enciphers / deciphers one block given as its two 32-bit halves, in place.
// BlowfishDecryptBlock undoes BlowfishEncryptBlock under the same key.
void BlowfishEncryptBlock(const BlowfishKey& key, uint32_t& left, uint32_t& right);
void BlowfishDecryptBlock(const BlowfishKey& key, uint32_t& left, uint32_t& right);

// ---- text encryption -----------------------------------------------------------------
// The text's bytes, zero-padded to a multiple of 8 (none when already a multiple;
// an empty text gives an empty result), enciphered block by block with the
// little-endian halves described above, returned as lowercase hexadecimal (two
// digits per byte, high nibble first). An empty key counts as the byte 0. A text
// whose hex form would not fit a string (over 1 GB) gives an empty result.
StringValue EncryptText(const StringValue& key, const StringValue& text);

// The inverse, used by the hiscore service: hexadecimal cipher text (either
// letter case) back to the plain bytes, with the trailing zero padding removed
// (so a plain text that itself ended in zero bytes loses them). Anything that is
// not a whole number of 16-digit blocks of hexadecimal digits gives an empty
// result.
StringValue DecryptText(const StringValue& key, const StringValue& hex);

}  // namespace vxl
