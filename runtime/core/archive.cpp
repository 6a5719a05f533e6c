// The .sbx archive reader: trailer, directory walk and LZO1X unpacking.
//
// Everything that comes out of the file is treated as hostile. Positions are
// computed in 64 bits and checked against the file size before any read; the
// directory is read through a bounded window so a wild directory offset costs
// a scan, never a huge allocation; the declared uncompressed size is capped
// before the output buffer is allocated, and LZO's safe decompressor must fill
// that buffer exactly.
#include "runtime/core/archive.h"

#include <fcntl.h>
#include <lzo/lzo1x.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace vxl {
namespace {

constexpr int kTrailerSize = 7;
constexpr size_t kWindowSize = 64 * 1024;

uint32_t ReadLe32(const unsigned char* p) {
  return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
         static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

bool LzoReady() {
  // lzo_init checks the library's build against these headers; once is enough.
  static const bool ready = (lzo_init() == LZO_E_OK);
  return ready;
}

unsigned char FoldAscii(unsigned char c) {
  return (c >= 'A' && c <= 'Z') ? c + 32 : c;
}

bool SameNameNoCase(const StringValue& stored, const char* wanted, size_t wantedLength) {
  if (static_cast<size_t>(stored.length()) != wantedLength) return false;
  for (size_t i = 0; i < wantedLength; ++i) {
    if (FoldAscii(stored[static_cast<int>(i)]) !=
        FoldAscii(static_cast<unsigned char>(wanted[i]))) {
      return false;
    }
  }
  return true;
}

// Where the bytes come from: an open file (read with pread) or a memory image.
struct Source {
  int fd = -1;
  const unsigned char* image = nullptr;
  int64_t size = 0;

  // Reads exactly n bytes at pos; false when they are not all there.
  bool ReadAt(int64_t pos, void* dst, size_t n) const {
    if (pos < 0 || static_cast<uint64_t>(pos) > static_cast<uint64_t>(size) ||
        n > static_cast<uint64_t>(size - pos)) {
      return false;
    }
    if (n == 0) return true;
    if (image) {
      std::memcpy(dst, image + pos, n);
      return true;
    }
    unsigned char* out = static_cast<unsigned char*>(dst);
    while (n > 0) {
      const ssize_t got = pread(fd, out, n, static_cast<off_t>(pos));
      if (got < 0 && errno == EINTR) continue;
      if (got <= 0) return false;
      out += got;
      pos += got;
      n -= static_cast<size_t>(got);
    }
    return true;
  }
};

// Sequential reads inside [pos, end) through a window, so a directory is read
// in a few large preads rather than one per field.
class DirectoryReader {
 public:
  DirectoryReader(const Source& src, int64_t start, int64_t end)
      : src_(src), pos_(start), end_(end) {}

  // False when the n bytes would pass the end of the directory or cannot be read.
  bool Read(void* dst, size_t n) {
    if (n > static_cast<uint64_t>(end_ - pos_)) return false;
    if (src_.image) {
      std::memcpy(dst, src_.image + pos_, n);
      pos_ += static_cast<int64_t>(n);
      return true;
    }
    unsigned char* out = static_cast<unsigned char*>(dst);
    while (n > 0) {
      if (pos_ < windowStart_ || pos_ >= windowStart_ + static_cast<int64_t>(windowLength_)) {
        const int64_t left = end_ - pos_;
        const size_t want =
            left < static_cast<int64_t>(kWindowSize) ? static_cast<size_t>(left) : kWindowSize;
        if (!src_.ReadAt(pos_, window_, want)) {
          failed_ = true;
          return false;
        }
        windowStart_ = pos_;
        windowLength_ = want;
      }
      const size_t offset = static_cast<size_t>(pos_ - windowStart_);
      size_t take = windowLength_ - offset;
      if (take > n) take = n;
      std::memcpy(out, window_ + offset, take);
      out += take;
      pos_ += static_cast<int64_t>(take);
      n -= take;
    }
    return true;
  }
  bool failed() const { return failed_; }

 private:
  const Source& src_;
  int64_t pos_;
  int64_t end_;
  int64_t windowStart_ = 0;
  size_t windowLength_ = 0;
  bool failed_ = false;
  unsigned char window_[kWindowSize];
};

// Checks the trailer and the whole directory. Calls visit for every entry;
// `match`, when given, receives the first entry named `wanted`.
ArchiveResult WalkDirectory(const Source& src, const char* wanted, ArchiveEntry* match, bool* found,
                            ArchiveVisitor visit, void* context) {
  if (src.size < kTrailerSize) return kArchiveNoTrailer;
  unsigned char trailer[kTrailerSize];
  if (!src.ReadAt(src.size - kTrailerSize, trailer, kTrailerSize)) return kArchiveCannotOpen;
  if (std::memcmp(trailer, "sbX", 3) != 0) return kArchiveNoTrailer;

  const int32_t dirOffset = static_cast<int32_t>(ReadLe32(trailer + 3));
  const bool fromEnd = dirOffset < 0;
  const int64_t dirStart = fromEnd ? src.size + dirOffset : dirOffset;
  const int64_t dirEnd = src.size - kTrailerSize;
  // The directory needs at least its closing 0 before the trailer.
  if (dirStart < 0 || dirStart >= dirEnd) return kArchiveBadDirectory;

  const size_t wantedLength = wanted ? std::strlen(wanted) : 0;
  // The window is large; keep it off the stack.
  std::unique_ptr<DirectoryReader> reader(new DirectoryReader(src, dirStart, dirEnd));
  for (;;) {
    unsigned char length = 0;
    if (!reader->Read(&length, 1)) break;
    if (length == 0) return kArchiveOk;
    char name[kArchiveMaxName];
    unsigned char fields[8];
    if (!reader->Read(name, length) || !reader->Read(fields, 8)) break;
    ArchiveEntry entry;
    entry.name = StringValue(name, length);
    entry.dataOffset = static_cast<int32_t>(ReadLe32(fields));
    entry.storedSize = ReadLe32(fields + 4);
    // Data offsets count from the same end as the directory's.
    entry.dataStart = fromEnd ? src.size + entry.dataOffset : entry.dataOffset;
    if (visit) visit(entry, context);
    if (match && !*found && SameNameNoCase(entry.name, wanted, wantedLength)) {
      *match = entry;
      *found = true;
    }
  }
  return reader->failed() ? kArchiveCannotOpen : kArchiveBadDirectory;
}

void FreeBytes(const unsigned char* p) {
  std::free(const_cast<unsigned char*>(p));
}

ArchiveResult UnpackEntry(const Source& src, const ArchiveEntry& entry, ArchiveData* out) {
  if (!LzoReady()) return kArchiveBadEntry;
  if (entry.storedSize < 4 || entry.dataStart < 0 ||
      static_cast<uint64_t>(entry.dataStart) + entry.storedSize > static_cast<uint64_t>(src.size)) {
    return kArchiveBadEntry;
  }
  unsigned char header[4];
  if (!src.ReadAt(entry.dataStart, header, 4)) return kArchiveCannotOpen;
  const uint32_t declared = ReadLe32(header);
  const uint32_t packed = entry.storedSize - 4;
  if (declared > kArchiveMaxEntrySize) return kArchiveBadEntry;
  if (static_cast<uint64_t>(declared) >
      static_cast<uint64_t>(packed) * kArchiveMaxRatio + kArchiveRatioSlack) {
    return kArchiveBadEntry;
  }
  // LZO1X's worst case for incompressible input is n + n/16 + 64 + 3; more
  // stored bytes than that cannot be a genuine entry.
  if (static_cast<uint64_t>(packed) > static_cast<uint64_t>(declared) + declared / 16 + 67) {
    return kArchiveBadEntry;
  }

  const unsigned char* input = nullptr;
  std::unique_ptr<unsigned char, void (*)(const unsigned char*)> readBuffer(nullptr, FreeBytes);
  if (src.image) {
    input = src.image + entry.dataStart + 4;
  } else {
    readBuffer.reset(static_cast<unsigned char*>(std::malloc(packed ? packed : 1)));
    if (!readBuffer) return kArchiveBadEntry;
    if (!src.ReadAt(entry.dataStart + 4, readBuffer.get(), packed)) return kArchiveCannotOpen;
    input = readBuffer.get();
  }

  unsigned char* output = static_cast<unsigned char*>(std::malloc(declared ? declared : 1));
  if (!output) return kArchiveBadEntry;
  std::shared_ptr<const unsigned char> bytes(output, FreeBytes);
  lzo_uint outLength = declared;
  const int r = lzo1x_decompress_safe(input, packed, output, &outLength, nullptr);
  if (r != LZO_E_OK || outLength != declared) return kArchiveBadEntry;

  out->bytes = std::move(bytes);
  out->size = static_cast<int>(declared);
  out->entry = entry;
  return kArchiveOk;
}

ArchiveResult Lookup(const Source& src, const char* fileName, ArchiveData* out) {
  ArchiveEntry entry;
  bool found = false;
  ArchiveResult r = WalkDirectory(src, fileName, &entry, &found, nullptr, nullptr);
  if (r != kArchiveOk) return r;
  if (!found) return kArchiveNoEntry;
  return UnpackEntry(src, entry, out);
}

// Opens a regular file for the reader; the fd is closed by the caller.
ArchiveResult OpenSource(const char* path, Source* src) {
  if (!path || !*path) return kArchiveCannotOpen;
  int fd;
  do {
    fd = open(path, O_RDONLY | O_CLOEXEC);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) return kArchiveCannotOpen;
  struct stat st;
  if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    close(fd);
    return kArchiveCannotOpen;
  }
  src->fd = fd;
  src->size = st.st_size;
  return kArchiveOk;
}

}  // namespace

const char* ArchiveResultText(ArchiveResult result) {
  switch (result) {
    case kArchiveOk:
      return "ok";
    case kArchiveCannotOpen:
      return "cannot be read";
    case kArchiveNoTrailer:
      return "no sbX trailer";
    case kArchiveBadDirectory:
      return "corrupt directory";
    case kArchiveNoEntry:
      return "no such entry";
    case kArchiveBadEntry:
      return "corrupt entry";
  }
  return "unknown";
}

bool ArchiveIsUnusable(ArchiveResult result) {
  return result == kArchiveCannotOpen || result == kArchiveNoTrailer ||
         result == kArchiveBadDirectory;
}

ArchiveResult ReadArchiveEntry(const char* archivePath, const char* fileName, ArchiveData* out) {
  *out = ArchiveData();
  Source src;
  ArchiveResult r = OpenSource(archivePath, &src);
  if (r != kArchiveOk) return r;
  r = Lookup(src, fileName ? fileName : "", out);
  close(src.fd);
  return r;
}

ArchiveResult ReadArchiveEntryFromMemory(const unsigned char* image, size_t size,
                                         const char* fileName, ArchiveData* out) {
  *out = ArchiveData();
  static const unsigned char kNothing = 0;
  Source src;
  src.image = image ? image : &kNothing;
  src.size = static_cast<int64_t>(size);
  return Lookup(src, fileName ? fileName : "", out);
}

ArchiveResult ListArchive(const char* archivePath, ArchiveVisitor visit, void* context) {
  Source src;
  ArchiveResult r = OpenSource(archivePath, &src);
  if (r != kArchiveOk) return r;
  // Check first, visit second: nothing is reported from a broken directory.
  r = WalkDirectory(src, nullptr, nullptr, nullptr, nullptr, nullptr);
  if (r == kArchiveOk) r = WalkDirectory(src, nullptr, nullptr, nullptr, visit, context);
  close(src.fd);
  return r;
}

ArchiveResult ListArchiveInMemory(const unsigned char* image, size_t size, ArchiveVisitor visit,
                                  void* context) {
  static const unsigned char kNothing = 0;
  Source src;
  src.image = image ? image : &kNothing;
  src.size = static_cast<int64_t>(size);
  ArchiveResult r = WalkDirectory(src, nullptr, nullptr, nullptr, nullptr, nullptr);
  if (r == kArchiveOk) r = WalkDirectory(src, nullptr, nullptr, nullptr, visit, context);
  return r;
}

}  // namespace vxl
