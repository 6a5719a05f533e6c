// The JPEG decoder: libjpeg reading from a byte range (jpeg_mem_src), so JPEGs
// load from archive entries as well as from disk.
//
// libjpeg's default error_exit prints and exits the process; here it longjmps
// back to the decoder, which then reports failure. Its warnings are counted,
// not printed; a file that ends early (libjpeg would pad it with grey) fails.
// The function holding the setjmp keeps no C++ object with a destructor.
// jpeglib.h needs FILE and size_t declared before it.
#include <cstdio>
// (keep this order)
#include <jerror.h>
#include <jpeglib.h>

#include <csetjmp>

#include "runtime/gfx/image.h"

namespace vxl {
namespace {

struct JpegErrors {
  jpeg_error_mgr base;
  jmp_buf jump;
  int truncated;
};

void OnErrorExit(j_common_ptr cinfo) {
  longjmp(reinterpret_cast<JpegErrors*>(cinfo->err)->jump, 1);
}
void OnOutputMessage(j_common_ptr /*cinfo*/) {}
void OnEmitMessage(j_common_ptr cinfo, int level) {
  if (level < 0) {
    auto* err = reinterpret_cast<JpegErrors*>(cinfo->err);
    ++err->base.num_warnings;
    if (err->base.msg_code == JWRN_JPEG_EOF) err->truncated = 1;
  }
}

// Working memory libjpeg may use (progressive images keep every coefficient).
constexpr long kJpegMemoryLimit = 256L * 1024 * 1024;

enum JpegResult { kJpegOk, kJpegFailed, kJpegBadChannels };

JpegResult ReadJpeg(jpeg_decompress_struct* cinfo, JpegErrors* errors, const unsigned char* data,
                    size_t size, ImageBuffer* out, std::vector<unsigned char>* row,
                    int* channelsOut) {
  if (setjmp(errors->jump)) return kJpegFailed;
  jpeg_create_decompress(cinfo);
  cinfo->mem->max_memory_to_use = kJpegMemoryLimit;
  jpeg_mem_src(cinfo, data, static_cast<unsigned long>(size));
  jpeg_read_header(cinfo, TRUE);
  if (cinfo->image_width == 0 || cinfo->image_height == 0 ||
      cinfo->image_width > static_cast<JDIMENSION>(kMaxImageSide) ||
      cinfo->image_height > static_cast<JDIMENSION>(kMaxImageSide) ||
      static_cast<long long>(cinfo->image_width) * cinfo->image_height > kMaxImagePixels) {
    return kJpegFailed;
  }
  jpeg_start_decompress(cinfo);
  const int channels = cinfo->output_components;
  if (channels != 1 && channels != 3 && channels != 4) {
    *channelsOut = channels;
    return kJpegBadChannels;
  }
  const int width = static_cast<int>(cinfo->output_width);
  const int height = static_cast<int>(cinfo->output_height);
  out->width = width;
  out->height = height;
  out->hasAlpha = channels == 4;
  row->resize(static_cast<size_t>(width) * channels);
  const size_t full = static_cast<size_t>(width) * height * 4;
  while (cinfo->output_scanline < cinfo->output_height) {
    const int y = static_cast<int>(cinfo->output_scanline);
    JSAMPROW rows[1] = {row->data()};
    if (jpeg_read_scanlines(cinfo, rows, 1) != 1) return kJpegFailed;
    if (errors->truncated) return kJpegFailed;
    // Grow in steps so a truncated file claiming a huge size fails early.
    const size_t need = static_cast<size_t>(y + 1) * width * 4;
    if (out->pixels.size() < need) {
      size_t next = out->pixels.size() * 2;
      if (next < need) next = need;
      out->pixels.resize(next < full ? next : full);
    }
    unsigned char* dst = out->Pixel(0, y);
    const unsigned char* src = row->data();
    for (int x = 0; x < width; ++x, dst += 4) {
      if (channels == 1) {
        dst[0] = dst[1] = dst[2] = src[x];
        dst[3] = 255;
      } else if (channels == 3) {
        dst[0] = src[3 * x];
        dst[1] = src[3 * x + 1];
        dst[2] = src[3 * x + 2];
        dst[3] = 255;
      } else {
        for (int c = 0; c < 4; ++c) dst[c] = src[4 * x + c];
      }
    }
  }
  jpeg_finish_decompress(cinfo);
  return errors->truncated ? kJpegFailed : kJpegOk;
}

}  // namespace

bool DecodeJpeg(const unsigned char* data, size_t size, ImageBuffer* out, const char* name) {
  out->width = out->height = 0;
  out->hasAlpha = 0;
  if (!data || size < 4) return false;
  jpeg_decompress_struct cinfo{};
  JpegErrors errors{};
  cinfo.err = jpeg_std_error(&errors.base);
  errors.base.error_exit = OnErrorExit;
  errors.base.output_message = OnOutputMessage;
  errors.base.emit_message = OnEmitMessage;
  std::vector<unsigned char> row;
  int channels = 0;
  const JpegResult result = ReadJpeg(&cinfo, &errors, data, size, out, &row, &channels);
  jpeg_destroy_decompress(&cinfo);
  if (result == kJpegBadChannels && name)
    std::printf("JPEG: Channels: %d not supported!\n", channels);
  if (result != kJpegOk) {
    out->width = out->height = 0;
    out->hasAlpha = 0;
    return false;
  }
  return true;
}

}  // namespace vxl
