// Builds .sbx archive images in memory: the writer half of the format the
// runtime's archive reader (runtime/core/archive.h) reads.
//
// Kept header-only so the sbxpack tool, the tests and the benchmarks all write
// archives the same way. The image is entry data first (each: 32-bit
// uncompressed size + LZO1X-1 data), then the directory, then the "sbX"
// trailer with the directory offset. Output depends only on the inputs, so the
// build's archives are reproducible.
#pragma once

#include <lzo/lzo1x.h>

#include <cstdint>
#include <string>
#include <vector>

#include "runtime/core/archive.h"

namespace sbxpack {

struct InputFile {
  std::string name;                  // the entry name: a file name without folders
  std::vector<unsigned char> bytes;  // the uncompressed content
};

namespace detail {

inline void PutLe32(std::vector<unsigned char>* out, uint32_t v) {
  out->push_back(static_cast<unsigned char>(v));
  out->push_back(static_cast<unsigned char>(v >> 8));
  out->push_back(static_cast<unsigned char>(v >> 16));
  out->push_back(static_cast<unsigned char>(v >> 24));
}

inline bool SameNoCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    unsigned char x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
    if (x >= 'A' && x <= 'Z') x += 32;
    if (y >= 'A' && y <= 'Z') y += 32;
    if (x != y) return false;
  }
  return true;
}

// Why a name cannot be stored, or empty when it can. The reader compares only
// the file-name part of a request, so names with folder separators or NUL
// could never be found; a second name equal ignoring case would be shadowed.
inline std::string CheckName(const std::vector<InputFile>& files, size_t index) {
  const std::string& name = files[index].name;
  if (name.empty()) return "empty entry name";
  if (name.size() > static_cast<size_t>(vxl::kArchiveMaxName)) {
    return "entry name longer than 255 bytes: \"" + name.substr(0, 40) + "...\"";
  }
  if (name.find_first_of(std::string("/\\\0", 3)) != std::string::npos) {
    return "entry name contains '/', '\\' or NUL: \"" + name + "\"";
  }
  for (size_t j = 0; j < index; ++j) {
    if (SameNoCase(files[j].name, name)) {
      return "duplicate entry name (letter case is ignored): \"" + name + "\"";
    }
  }
  return std::string();
}

}  // namespace detail

// Writes the archive for `files`, in the given order, into *image. With
// `fromEnd` every offset counts from the end of the file, so the image can be
// appended to another file (an executable) and still be found. Returns false
// with a one-line reason in *error when an input cannot be stored: a bad or
// duplicate name, a file above the reader's entry limit, or an archive
// beyond 2 GiB.
inline bool BuildArchive(const std::vector<InputFile>& files, bool fromEnd,
                         std::vector<unsigned char>* image, std::string* error) {
  image->clear();
  if (lzo_init() != LZO_E_OK) {
    *error = "LZO library initialisation failed";
    return false;
  }
  for (size_t i = 0; i < files.size(); ++i) {
    std::string why = detail::CheckName(files, i);
    if (why.empty() && files[i].bytes.size() > vxl::kArchiveMaxEntrySize) {
      why = "\"" + files[i].name + "\" is larger than 256 MiB";
    }
    if (!why.empty()) {
      *error = why;
      return false;
    }
  }

  std::vector<unsigned char> work(LZO1X_1_MEM_COMPRESS);
  std::vector<uint64_t> starts, stored;
  for (const InputFile& f : files) {
    const size_t n = f.bytes.size();
    std::vector<unsigned char> packed(n + n / 16 + 64 + 3);
    lzo_uint packedLength = 0;
    static const unsigned char kEmpty = 0;
    const unsigned char* in = n ? f.bytes.data() : &kEmpty;
    if (lzo1x_1_compress(in, n, packed.data(), &packedLength, work.data()) != LZO_E_OK) {
      *error = "LZO compression failed for \"" + f.name + "\"";
      return false;
    }
    starts.push_back(image->size());
    stored.push_back(4 + packedLength);
    detail::PutLe32(image, static_cast<uint32_t>(n));
    image->insert(image->end(), packed.begin(), packed.begin() + packedLength);
  }

  uint64_t directorySize = 1;
  for (const InputFile& f : files) directorySize += 1 + f.name.size() + 8;
  const uint64_t total = image->size() + directorySize + 7;
  if (total > 0x7fffffffu) {
    *error = "archive would exceed 2 GiB";
    image->clear();
    return false;
  }
  // From the end: position - total, a negative number the reader adds to the size.
  auto offsetOf = [&](uint64_t position) {
    return fromEnd
               ? static_cast<uint32_t>(static_cast<int64_t>(position) - static_cast<int64_t>(total))
               : static_cast<uint32_t>(position);
  };
  const uint64_t directoryStart = image->size();
  for (size_t i = 0; i < files.size(); ++i) {
    image->push_back(static_cast<unsigned char>(files[i].name.size()));
    image->insert(image->end(), files[i].name.begin(), files[i].name.end());
    detail::PutLe32(image, offsetOf(starts[i]));
    detail::PutLe32(image, static_cast<uint32_t>(stored[i]));
  }
  image->push_back(0);
  image->push_back('s');
  image->push_back('b');
  image->push_back('X');
  detail::PutLe32(image, offsetOf(directoryStart));
  return true;
}

}  // namespace sbxpack
