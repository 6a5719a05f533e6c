// Vexel runtime: the .sbx packed archive reader.
//
// An .sbx archive is a set of named, LZO1X-compressed files with a directory
// and a 7-byte trailer at the very end, so an archive can stand alone or be
// appended to another file (the executable). The layout, all integers 32-bit
// little-endian:
//
//   entry data   uncompressed size, then LZO1X data (stored size - 4 bytes)
//   directory    per entry: name length (1 byte, 0 ends), name, data offset,
//                stored size
//   trailer      "sbX" + directory offset (the last 7 bytes of the file)
//
// A negative directory offset counts from the end of the file, and then every
// data offset does too; that is what makes an appended archive relocatable.
//
// Archives are untrusted input: every offset, length and count is checked
// against the file size, the declared uncompressed size is capped, and data is
// unpacked with LZO's safe decompressor. A fault never crashes or reads out of
// bounds; it is reported as a result code.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "runtime/core/string_value.h"

namespace vxl {

// ---- results -------------------------------------------------------------------
enum ArchiveResult : int {
  kArchiveOk = 0,
  kArchiveCannotOpen,    // the file cannot be opened or read
  kArchiveNoTrailer,     // shorter than 7 bytes, or the last 7 do not start "sbX"
  kArchiveBadDirectory,  // directory offset out of range, or the directory
                         // runs past its end without the closing 0
  kArchiveNoEntry,       // the directory is sound but has no such name
  kArchiveBadEntry,      // the entry's data is out of range, its sizes are
                         // absurd, or its LZO data does not unpack exactly
};

// A short English text for diagnostics ("no sbX trailer", ...). Never null.
const char* ArchiveResultText(ArchiveResult result);

// True for the faults that belong to the archive as a whole (cannot open, no
// trailer, bad directory): every lookup in it would fail the same way, so the
// file layer switches such an archive off. Entry faults and missing names are
// not: the other entries stay usable.
bool ArchiveIsUnusable(ArchiveResult result);

// ---- limits ---------------------------------------------------------------------
// Entry names are 1..255 bytes (the length is one byte and 0 ends the directory).
constexpr int kArchiveMaxName = 255;
// An entry never unpacks to more than this; larger declared sizes are refused.
constexpr uint32_t kArchiveMaxEntrySize = 256u << 20;
// LZO1X cannot expand data much beyond 255:1, so a declared size above
// kArchiveMaxRatio * compressed size + kArchiveRatioSlack is a lie, refused
// before anything is allocated.
constexpr uint32_t kArchiveMaxRatio = 256;
constexpr uint32_t kArchiveRatioSlack = 4096;

// ---- entries --------------------------------------------------------------------
// One directory entry as stored. `dataOffset` is the raw 32-bit value (the file
// layer derives the extracted file's name from its low byte); `dataStart` is
// the absolute position it stands for, which may lie outside the file for a
// corrupt entry (only the chosen entry is checked further).
struct ArchiveEntry {
  StringValue name;
  int32_t dataOffset = 0;
  uint32_t storedSize = 0;
  int64_t dataStart = 0;
};

// An unpacked entry. The bytes are shared: whoever still holds `bytes` keeps
// them alive (a file channel reading an in-memory file, say), independent of
// the lookup that produced them. `bytes` is never null after kArchiveOk, also
// for an entry of size 0.
struct ArchiveData {
  std::shared_ptr<const unsigned char> bytes;
  int size = 0;
  ArchiveEntry entry;
};

// ---- lookup ---------------------------------------------------------------------
// Looks `fileName` up in the archive at `archivePath`: the first directory
// entry whose name equals it ignoring ASCII case. The whole directory is
// checked before any entry is used, so the answer never depends on where a
// fault sits. On kArchiveOk `out` holds the unpacked bytes; otherwise `out` is
// left empty. `fileName` is compared as given (callers strip any folder).
ArchiveResult ReadArchiveEntry(const char* archivePath, const char* fileName, ArchiveData* out);

// The same over an archive image already in memory (tests, fuzzing, archives
// embedded in other data). `image` may be null when `size` is 0.
ArchiveResult ReadArchiveEntryFromMemory(const unsigned char* image, size_t size,
                                         const char* fileName, ArchiveData* out);

// Calls `visit(entry, context)` for every directory entry in order, after the
// whole directory has been checked (nothing is visited for an unusable
// archive). Entry data is not checked here. Returns kArchiveOk or the fault.
using ArchiveVisitor = void (*)(const ArchiveEntry& entry, void* context);
ArchiveResult ListArchive(const char* archivePath, ArchiveVisitor visit, void* context);
ArchiveResult ListArchiveInMemory(const unsigned char* image, size_t size, ArchiveVisitor visit,
                                  void* context);

}  // namespace vxl
