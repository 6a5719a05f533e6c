// Vexel runtime: the file layer. Case-tolerant opening, the media lookup that
// can serve files out of .sbx archives, in-memory "mem://" files, safe
// replacement of files, the eight numbered file channels, and the small file,
// folder and environment operations the game and the toolkit use.
//
// The game's data may ship as loose files under Media/, inside archives, or
// packed onto the end of the executable; every media load goes through
// RequestFile so that all three work and letter case in file names does not
// matter (only the last path component is corrected; folders must match).
#pragma once

#include <cstdio>

#include "runtime/core/array_value.h"
#include "runtime/core/string_value.h"

namespace vxl {

// ---- opening with case fallback ---------------------------------------------------
// Finds the file a path means: the path itself when it opens for reading (and
// is not a folder), otherwise the entry of its folder whose name equals the
// last component ignoring ASCII case (of several, the first in byte order).
// Returns false when nothing matches. Prints nothing.
bool ResolveFileCase(const char* path, StringValue* resolved);

// fopen through ResolveFileCase; every C-library open of the runtime comes
// here. A name that resolves is opened with `mode`; one that does not is
// created for "w"/"a" modes and fails otherwise. Failures print one line:
//   request: fopen_case("path", "mode") opens "resolved": failed
//   wrt-request: fopen("path", "mode") failed        (then an empty line)
//   request: fopen("path", "mode") failed
// A live "mem://" name opens as a read-only stream over its bytes (the stream
// keeps the bytes alive until fclose); writing to a "mem://" name is refused.
FILE* OpenFileCase(const char* path, const char* mode);

// ---- in-memory files ----------------------------------------------------------------
// True for any name with the "mem://" prefix, live or not.
bool IsMemoryFileName(const char* name);
// The bytes behind a live "mem://" name returned by RequestFile. They stay
// valid until the next RequestFile on the same state (or SetArchives,
// FreeFileRequests). A stale or unknown name gives false: it reads as a
// missing file, never as freed memory.
bool MemoryFileBytes(const char* name, const unsigned char** data, int* size);

// ---- the media lookup (file-request states) --------------------------------------
// Two independent states: media (sprites, fonts, INI files, sounds, channels)
// and music. Each has its own archive, its own in-memory buffer and its own
// extracted file, each living until that state's next lookup.
enum FileRequestState : int { kMediaRequest = 0, kMusicRequest = 1 };

// Start-up: both states enabled, without archive, nothing held.
void InitFileRequests();
// Shut-down: frees both buffers, removes the extracted files and the private
// temporary folder, forgets the archive names.
void FreeFileRequests();
// Frees what both states hold, enables them and stores the archive names
// ("" for none). An archive that proved unusable is usable again after this.
void SetArchives(const StringValue& mediaArchive, const StringValue& musicArchive);
// 1 while the state's archive has not proved unusable, else 0.
int ArchiveEnabled(int state);

// The lookup every media load uses. First frees the state's previous buffer
// and extracted file. Then:
//  - a name found on disk (with case fallback) gives the resolved path;
//  - otherwise the state's archive is searched for the file-name part (after
//    the last "/" or "\") ignoring case. With `inMemory` the entry's bytes are
//    held and a "mem://" name returned; without it (sounds, music: the mixer
//    opens by path) the entry is written to a private temporary folder (mode
//    0700, created once per process, removed at its end) as
//    "sbx" + two letters + entry name, and that path returned;
//  - an archive that cannot be opened, has no trailer or a corrupt directory
//    is switched off for this state until the next SetArchives; a corrupt
//    entry is just not found.
// Returns "" when nothing was found (and prints the request failure line). A
// live "mem://" name is returned unchanged and frees nothing.
StringValue RequestFile(int state, const StringValue& name, bool inMemory);

// ---- replacing a file safely ---------------------------------------------------------
// Every file the runtime rewrites is written to a temporary file in the same
// folder and renamed over the target only when complete, so a crash or a full
// disk leaves the old file intact, never a truncated one.
struct SafeWriter {
  FILE* file = nullptr;  // write the new content here
  StringValue target;    // the file being replaced (a symlink's destination)
  StringValue temp;      // the temporary file beside it
};
// Creates the temporary file. The new file gets the old one's permissions (or
// the usual ones for a new file). False, with nothing created, when the folder
// is not writable or `path` is a "mem://" name.
bool BeginSafeWrite(SafeWriter* writer, const char* path);
// Flushes and syncs the data, then renames it over the target. False when
// anything failed; the target is then unchanged and the temporary file gone.
bool FinishSafeWrite(SafeWriter* writer);
// Drops the new content; the target is unchanged.
void AbandonSafeWrite(SafeWriter* writer);

// ---- files and folders ----------------------------------------------------------------
// 1 when the name opens for reading through the case fallback (archives are
// not searched; a live "mem://" name counts). A miss prints the failure line.
int FileExists(const StringValue& name);
// Size in bytes (a "mem://" name: its buffer's size; capped at 2^31 - 1). A
// missing file sets the last error code to 3 and gives 0.
int FileSize(const StringValue& name);
// The result of remove(): 0 on success, -1 otherwise ("mem://" names: -1).
int DeleteFile(const StringValue& name);
// mkdir with mode 0755: 1 on success, 0 otherwise.
int CreateDirectory(const StringValue& name);
// 1 when the name exists and is a folder (symlinks followed).
int IsDirectory(const StringValue& name);
// The working folder with "/" separators and a trailing "/"; "" on failure.
StringValue CurrentDirectory();
// Prints "set cdir to: <path>" and changes the working folder: 1, or 0 with
// error code 3.
int SetCurrentDirectory(const StringValue& path);

// Lists the working folder into `out`: every folder first (".", ".." and the
// rest; the pattern does not apply to them), then the files matching
// `pattern`, each group sorted ignoring ASCII case (ties in byte order).
// Returns folders * 65536 + files; a folder that cannot be read gives 0 and an
// empty array. At most 32767 folders and 65535 files are listed.
int DirectoryListing(const StringValue& pattern, ArrayValue<StringValue>& out);
// The listing's filter: "*.*" matches everything; "*" any run of characters;
// "?" any one character except "."; anything else itself ignoring ASCII case.
bool MatchesPattern(const char* pattern, const char* name);

// getenv, "" when unset. The empty name gives every environment line, each
// followed by a line feed.
StringValue Environment(const StringValue& name);

// ---- file channels 0..7 -----------------------------------------------------------------
constexpr int kFileChannels = 8;
// The lowest closed channel, or -1.
int FreeFileChannel();
// Sets the last error code to 0, closes what the channel had open, then:
//  mode >= 1  read: the name goes through RequestFile (media state, in
//             memory); not found sets code 3. The channel keeps its own
//             reference to in-memory bytes, so later lookups cannot pull
//             them away.
//  mode 0     write: replaces the file safely (see SafeWriter); the new
//             content appears at CloseFile. Failure prints
//             "can't write to file: <name>" and sets code 3.
//  mode < 0   append: opens "ab" through the case fallback; failure sets 3.
// "mem://" names are refused for writing and appending (code 3).
// A channel outside 0..7 sets code 7. Returns 1 on success, 0 otherwise.
int OpenFile(int channel, const StringValue& name, int mode);
// The next line: up to the LF, without it and without a CR right before it;
// a last line without LF counts. At most 1023 bytes are returned: the rest of
// a longer line comes back as the following line(s). With nothing left to
// read (end of file, a closed or writing channel) the program ends with code
// 3; a channel outside 0..7 ends it with code 7. Test EndOfFile first.
StringValue ReadLine(int channel);
// Writes the bytes as they are (add "\n" for a line) to a channel open for
// writing or appending: 1, or 0 with code 3 (code 7 outside 0..7).
int WriteText(int channel, const StringValue& text);
// 1 when nothing is left to read (also for a closed or writing channel);
// outside 0..7: code 7 and 1.
int EndOfFile(int channel);
// Closes the channel; a file opened for writing takes its new content now. A
// channel outside 0..7 ends the program with code 7.
void CloseFile(int channel);
// Shut-down: closes every channel as CloseFile would.
void CloseAllFileChannels();

}  // namespace vxl
