// The file layer: case fallback, "mem://" files, the media lookup with its two
// request states, safe file replacement, file and folder operations, the
// folder listing and the eight file channels.
//
// Index
//   [SECTION] Helpers
//   [SECTION] Case fallback
//   [SECTION] In-memory files
//   [SECTION] Private temporary folder
//   [SECTION] Request states
//   [SECTION] Safe replacement
//   [SECTION] Files and folders
//   [SECTION] Folder listing
//   [SECTION] File channels
//
// Lifetimes are the delicate part. A state's in-memory buffer and extracted
// file last until that state's next lookup, so anything that must outlive
// that (a stream opened on a "mem://" name, a channel reading one) holds its
// own reference to the bytes. "mem://" names carry a serial number, not an
// address: a stale name reads as a missing file. Extracted sounds go into a
// folder only this process can enter, created with mkdtemp.
#include "runtime/core/files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cinttypes>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "runtime/core/archive.h"
#include "runtime/core/error.h"

extern char** environ;

namespace vxl {
namespace {

// [SECTION] Helpers ======================================================================

unsigned char FoldAscii(unsigned char c) {
  return (c >= 'A' && c <= 'Z') ? c + 32 : c;
}

bool EqualNoCase(const char* a, const char* b) {
  for (;; ++a, ++b) {
    const unsigned char x = FoldAscii(static_cast<unsigned char>(*a));
    if (x != FoldAscii(static_cast<unsigned char>(*b))) return false;
    if (x == 0) return true;
  }
}

// ASCII-only strcasecmp, independent of the C locale.
int CompareNoCase(const char* a, const char* b) {
  for (;; ++a, ++b) {
    const int x = FoldAscii(static_cast<unsigned char>(*a));
    const int y = FoldAscii(static_cast<unsigned char>(*b));
    if (x != y || x == 0) return x - y;
  }
}

bool ModeWrites(const char* mode) {
  return std::strchr(mode, 'w') || std::strchr(mode, 'a') || std::strchr(mode, '+');
}

// The folder part of a path for creating files beside it ("." for none).
std::string FolderOf(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

// [SECTION] Case fallback ================================================================

// The existence test of the case fallback: opens for reading and is no folder.
// O_NONBLOCK so that a FIFO cannot hang the test.
bool OpensAsFile(const char* path) {
  const int fd = open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat st;
  const bool ok = fstat(fd, &st) == 0 && !S_ISDIR(st.st_mode);
  close(fd);
  return ok;
}

}  // namespace

bool ResolveFileCase(const char* path, StringValue* resolved) {
  if (!path || !*path) return false;
  if (OpensAsFile(path)) {
    *resolved = path;
    return true;
  }
  const char* slash = std::strrchr(path, '/');
  const std::string folder = slash ? std::string(path, slash - path) : std::string();
  const char* wanted = slash ? slash + 1 : path;
  if (!*wanted) return false;
  DIR* dir = opendir(slash ? (folder.empty() ? "/" : folder.c_str()) : ".");
  if (!dir) return false;
  // Of several names that differ only in case, take the first in byte order so
  // the answer does not depend on the file system's listing order.
  std::string best;
  bool found = false;
  while (dirent* e = readdir(dir)) {
    if (!EqualNoCase(e->d_name, wanted)) continue;
    if (found && std::strcmp(e->d_name, best.c_str()) >= 0) continue;
    const std::string candidate = slash ? folder + "/" + e->d_name : std::string(e->d_name);
    if (!OpensAsFile(candidate.c_str())) continue;
    best = e->d_name;
    found = true;
  }
  closedir(dir);
  if (!found) return false;
  *resolved = slash ? StringValue((folder + "/" + best).c_str()) : StringValue(best.c_str());
  return true;
}

namespace {
FILE* OpenMemoryStream(const char* name, const char* mode);
}  // namespace

FILE* OpenFileCase(const char* path, const char* mode) {
  if (!path || !mode) return nullptr;
  if (IsMemoryFileName(path)) return OpenMemoryStream(path, mode);
  StringValue resolved;
  if (ResolveFileCase(path, &resolved)) {
    FILE* f = std::fopen(resolved.c_str(), mode);
    if (!f) {
      std::printf("request: fopen_case(\"%s\", \"%s\") opens \"%s\": %s\n", path, mode,
                  resolved.c_str(), "failed");
    }
    return f;
  }
  if (std::strchr(mode, 'w') || std::strchr(mode, 'a')) {
    FILE* f = std::fopen(path, mode);
    if (!f) std::printf("wrt-request: fopen(\"%s\", \"%s\") failed\n\n", path, mode);
    return f;
  }
  std::printf("request: fopen(\"%s\", \"%s\") failed\n", path, mode);
  return nullptr;
}

// [SECTION] In-memory files ==============================================================

namespace {

constexpr char kMemPrefix[] = "mem://";
constexpr int kMemPrefixLength = 6;

struct RequestStateData {
  int enabled = 1;
  StringValue archive;
  StringValue tempFile;  // the last extracted file, "" for none
  std::shared_ptr<const unsigned char> buffer;
  int bufferSize = 0;
  uint32_t bufferSerial = 0;  // 0: no buffer
};

RequestStateData g_states[2];
uint32_t g_nextSerial = 1;

// "mem://" + size + "." + serial, both eight hex digits.
StringValue MemoryName(int size, uint32_t serial) {
  char text[32];
  std::snprintf(text, sizeof text, "%s%08x.%08x", kMemPrefix, static_cast<unsigned>(size),
                static_cast<unsigned>(serial));
  return StringValue(text);
}

bool ParseHex8(const char* p, uint32_t* value) {
  uint32_t v = 0;
  for (int i = 0; i < 8; ++i) {
    const char c = p[i];
    int d;
    if (c >= '0' && c <= '9')
      d = c - '0';
    else if (c >= 'a' && c <= 'f')
      d = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F')
      d = c - 'A' + 10;
    else
      return false;
    v = v << 4 | static_cast<uint32_t>(d);
  }
  *value = v;
  return true;
}

// The state buffer a live name stands for, or null.
const RequestStateData* FindMemory(const char* name) {
  if (!name || std::strncmp(name, kMemPrefix, kMemPrefixLength) != 0) return nullptr;
  const char* p = name + kMemPrefixLength;
  uint32_t size, serial;
  if (std::strlen(p) != 17 || p[8] != '.' || !ParseHex8(p, &size) || !ParseHex8(p + 9, &serial)) {
    return nullptr;
  }
  for (const RequestStateData& s : g_states) {
    if (s.bufferSerial != 0 && s.bufferSerial == serial &&
        static_cast<uint32_t>(s.bufferSize) == size) {
      return &s;
    }
  }
  return nullptr;
}

// A read-only stdio stream over shared bytes; the cookie owns a reference, so
// the stream stays valid after the state moves on.
struct MemoryStream {
  std::shared_ptr<const unsigned char> bytes;
  int64_t size = 0;
  int64_t pos = 0;
};

ssize_t MemoryStreamRead(void* cookie, char* out, size_t n) {
  MemoryStream* s = static_cast<MemoryStream*>(cookie);
  const int64_t left = s->size - s->pos;
  if (left <= 0) return 0;
  if (static_cast<uint64_t>(left) < n) n = static_cast<size_t>(left);
  std::memcpy(out, s->bytes.get() + s->pos, n);
  s->pos += static_cast<int64_t>(n);
  return static_cast<ssize_t>(n);
}

int MemoryStreamSeek(void* cookie, off64_t* offset, int whence) {
  MemoryStream* s = static_cast<MemoryStream*>(cookie);
  int64_t base = whence == SEEK_SET ? 0 : whence == SEEK_CUR ? s->pos : s->size;
  if (whence != SEEK_SET && whence != SEEK_CUR && whence != SEEK_END) return -1;
  const int64_t target = base + *offset;
  if (target < 0 || target > s->size) return -1;
  s->pos = target;
  *offset = target;
  return 0;
}

int MemoryStreamClose(void* cookie) {
  delete static_cast<MemoryStream*>(cookie);
  return 0;
}

FILE* OpenMemoryStream(const char* name, const char* mode) {
  if (ModeWrites(mode)) {
    std::printf("request: fopen(\"%s\", \"%s\") failed: in-memory files are read-only\n", name,
                mode);
    return nullptr;
  }
  const RequestStateData* s = FindMemory(name);
  if (!s) {
    std::printf("request: fopen(\"%s\", \"%s\") failed\n", name, mode);
    return nullptr;
  }
  MemoryStream* stream = new MemoryStream{s->buffer, s->bufferSize, 0};
  cookie_io_functions_t io = {MemoryStreamRead, nullptr, MemoryStreamSeek, MemoryStreamClose};
  FILE* f = fopencookie(stream, "rb", io);
  if (!f) delete stream;
  return f;
}

}  // namespace

bool IsMemoryFileName(const char* name) {
  return name && std::strncmp(name, kMemPrefix, kMemPrefixLength) == 0;
}

bool MemoryFileBytes(const char* name, const unsigned char** data, int* size) {
  const RequestStateData* s = FindMemory(name);
  if (!s) return false;
  *data = s->buffer.get();
  *size = s->bufferSize;
  return true;
}

// [SECTION] Private temporary folder =====================================================

namespace {

// Created on the first extraction: <TMPDIR or /tmp>/quarx-XXXXXX (mode 0700),
// with one sub-folder per request state so the two states never collide on a
// name. Removed with everything in it at shut-down and at process end.
std::string g_privateFolder;
const char* const kStateFolders[2] = {"media", "music"};

void FilesAtExit();

void RemoveFolderContents(const std::string& folder) {
  DIR* dir = opendir(folder.c_str());
  if (!dir) return;
  while (dirent* e = readdir(dir)) {
    if (std::strcmp(e->d_name, ".") == 0 || std::strcmp(e->d_name, "..") == 0) continue;
    unlink((folder + "/" + e->d_name).c_str());
  }
  closedir(dir);
}

void RemovePrivateFolder() {
  if (g_privateFolder.empty()) return;
  for (const char* sub : kStateFolders) {
    const std::string path = g_privateFolder + "/" + sub;
    RemoveFolderContents(path);
    rmdir(path.c_str());
  }
  rmdir(g_privateFolder.c_str());
  g_privateFolder.clear();
}

bool EnsurePrivateFolder() {
  if (!g_privateFolder.empty()) return true;
  AddEndHook(FilesAtExit);
  const char* env = std::getenv("TMPDIR");
  const char* bases[2] = {env && *env ? env : "/tmp", "/tmp"};
  for (const char* base : bases) {
    std::string pattern = std::string(base) + "/quarx-XXXXXX";
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    if (!mkdtemp(buffer.data())) continue;
    const std::string folder(buffer.data());
    bool ok = true;
    for (const char* sub : kStateFolders) {
      ok = ok && mkdir((folder + "/" + sub).c_str(), 0700) == 0;
    }
    g_privateFolder = folder;
    if (ok) return true;
    RemovePrivateFolder();
  }
  std::printf("request: cannot create a private temporary folder: %s\n", std::strerror(errno));
  return false;
}

bool WriteAll(int fd, const unsigned char* data, size_t n) {
  while (n > 0) {
    const ssize_t put = write(fd, data, n);
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) return false;
    data += put;
    n -= static_cast<size_t>(put);
  }
  return true;
}

// Writes an unpacked entry for the mixer, which opens files by path. The name
// keeps the "sbx" + two letters + entry name form; bytes that would leave the
// folder ("/", "\" and NUL) become "_", and the "sbx" prefix means "." or ".."
// can never be the whole name.
StringValue ExtractEntry(int state, const ArchiveData& data) {
  if (!EnsurePrivateFolder()) return StringValue();
  std::string name = "sbx";
  name += static_cast<char>('A' + static_cast<uint8_t>(data.entry.dataOffset) % 26);
  name += static_cast<char>('A' + static_cast<uint8_t>(data.entry.storedSize) % 26);
  for (int i = 0; i < data.entry.name.length(); ++i) {
    const char c = static_cast<char>(data.entry.name[i]);
    name += (c == '/' || c == '\\' || c == '\0') ? '_' : c;
  }
  const std::string path = g_privateFolder + "/" + kStateFolders[state] + "/" + name;
  int fd = -1;
  for (int attempt = 0; attempt < 2 && fd < 0; ++attempt) {
    fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    // Only this process can write here, so a leftover is our own: replace it.
    if (fd < 0 && errno == EEXIST) unlink(path.c_str());
  }
  if (fd < 0) {
    std::printf("request: cannot create \"%s\": %s\n", path.c_str(), std::strerror(errno));
    return StringValue();
  }
  const bool ok = WriteAll(fd, data.bytes.get(), static_cast<size_t>(data.size));
  if (close(fd) != 0 || !ok) {
    std::printf("request: cannot write \"%s\"\n", path.c_str());
    unlink(path.c_str());
    return StringValue();
  }
  g_states[state].tempFile = path.c_str();
  return g_states[state].tempFile;
}

// [SECTION] Request states ===============================================================

void ReleaseState(RequestStateData& s) {
  s.buffer.reset();
  s.bufferSize = 0;
  s.bufferSerial = 0;
  if (!s.tempFile.empty()) {
    unlink(s.tempFile.c_str());
    s.tempFile.Clear();
  }
}

bool ValidState(int state) {
  return state == kMediaRequest || state == kMusicRequest;
}

// The part of a request the archive is searched for: after the last "/" or "\".
const char* FileNamePart(const char* name) {
  const char* part = name;
  for (const char* p = name; *p; ++p) {
    if (*p == '/' || *p == '\\') part = p + 1;
  }
  return part;
}

}  // namespace

void InitFileRequests() {
  for (RequestStateData& s : g_states) {
    ReleaseState(s);
    s.enabled = 1;
    s.archive.Clear();
  }
}

void FreeFileRequests() {
  InitFileRequests();
  RemovePrivateFolder();
}

void SetArchives(const StringValue& mediaArchive, const StringValue& musicArchive) {
  const StringValue names[2] = {mediaArchive, musicArchive};
  for (int i = 0; i < 2; ++i) {
    ReleaseState(g_states[i]);
    g_states[i].enabled = 1;
    g_states[i].archive = names[i];
  }
}

int ArchiveEnabled(int state) {
  return ValidState(state) ? g_states[state].enabled : 0;
}

StringValue RequestFile(int state, const StringValue& name, bool inMemory) {
  if (!ValidState(state)) return StringValue();
  // A name this layer handed out is already resolved; looking it up again
  // would free the very bytes it names.
  if (FindMemory(name.c_str())) return name;
  RequestStateData& s = g_states[state];
  ReleaseState(s);
  if (name.empty()) return StringValue();

  StringValue resolved;
  if (ResolveFileCase(name.c_str(), &resolved)) return resolved;

  if (s.enabled && !s.archive.empty()) {
    ArchiveData data;
    const ArchiveResult r = ReadArchiveEntry(s.archive.c_str(), FileNamePart(name.c_str()), &data);
    if (ArchiveIsUnusable(r)) {
      s.enabled = 0;
      std::printf("request: archive \"%s\" %s; switched off\n", s.archive.c_str(),
                  ArchiveResultText(r));
    } else if (r == kArchiveBadEntry) {
      std::printf("request: \"%s\" in archive \"%s\": %s\n", name.c_str(), s.archive.c_str(),
                  ArchiveResultText(r));
    } else if (r == kArchiveOk) {
      if (!inMemory) return ExtractEntry(state, data);
      s.buffer = data.bytes;
      s.bufferSize = data.size;
      s.bufferSerial = g_nextSerial++;
      if (g_nextSerial == 0) g_nextSerial = 1;  // 0 means "no buffer"
      return MemoryName(s.bufferSize, s.bufferSerial);
    }
  }
  std::printf("request: fopen(\"%s\", \"%s\") failed\n", name.c_str(), "rb");
  return StringValue();
}

// [SECTION] Safe replacement =============================================================

bool BeginSafeWrite(SafeWriter* writer, const char* path) {
  *writer = SafeWriter();
  if (!path || !*path || IsMemoryFileName(path)) return false;
  std::string target = path;
  struct stat st;
  // Replace what a symlink points at, not the link itself.
  if (lstat(path, &st) == 0 && S_ISLNK(st.st_mode)) {
    if (char* real = realpath(path, nullptr)) {
      target = real;
      std::free(real);
    }
  }
  const bool exists = stat(target.c_str(), &st) == 0;
  if (exists && S_ISDIR(st.st_mode)) return false;

  static unsigned counter = 0;
  const std::string folder = FolderOf(target);
  std::string temp;
  int fd = -1;
  for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
    temp =
        folder + "/.quarx-" + std::to_string(getpid()) + "-" + std::to_string(counter++) + ".tmp";
    fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, exists ? 0600 : 0666);
    if (fd < 0 && errno != EEXIST) return false;
  }
  if (fd < 0) return false;
  if (exists) fchmod(fd, st.st_mode & 07777);
  FILE* f = fdopen(fd, "wb");
  if (!f) {
    close(fd);
    unlink(temp.c_str());
    return false;
  }
  writer->file = f;
  writer->target = target.c_str();
  writer->temp = temp.c_str();
  return true;
}

bool FinishSafeWrite(SafeWriter* writer) {
  if (!writer->file) return false;
  bool ok = std::fflush(writer->file) == 0 && !std::ferror(writer->file);
  ok = ok && fsync(fileno(writer->file)) == 0;
  ok = (std::fclose(writer->file) == 0) && ok;
  writer->file = nullptr;
  ok = ok && std::rename(writer->temp.c_str(), writer->target.c_str()) == 0;
  if (!ok) unlink(writer->temp.c_str());
  *writer = SafeWriter();
  return ok;
}

void AbandonSafeWrite(SafeWriter* writer) {
  if (writer->file) {
    std::fclose(writer->file);
    unlink(writer->temp.c_str());
  }
  *writer = SafeWriter();
}

// [SECTION] Files and folders ============================================================

int FileExists(const StringValue& name) {
  if (FindMemory(name.c_str())) return 1;
  FILE* f = OpenFileCase(name.c_str(), "rb");
  if (!f) return 0;
  std::fclose(f);
  return 1;
}

int FileSize(const StringValue& name) {
  if (const RequestStateData* s = FindMemory(name.c_str())) return s->bufferSize;
  FILE* f = OpenFileCase(name.c_str(), "rb");
  if (!f) {
    SetError(kErrNoSuchFile);
    return 0;
  }
  off_t size = 0;
  if (fseeko(f, 0, SEEK_END) == 0) size = ftello(f);
  std::fclose(f);
  if (size < 0) return 0;
  return size > 0x7fffffff ? 0x7fffffff : static_cast<int>(size);
}

int DeleteFile(const StringValue& name) {
  if (IsMemoryFileName(name.c_str())) return -1;
  return std::remove(name.c_str());
}

int CreateDirectory(const StringValue& name) {
  return mkdir(name.c_str(), 0755) == 0 ? 1 : 0;
}

int IsDirectory(const StringValue& name) {
  struct stat st;
  return stat(name.c_str(), &st) == 0 && S_ISDIR(st.st_mode) ? 1 : 0;
}

StringValue CurrentDirectory() {
  char* cwd = getcwd(nullptr, 0);
  if (!cwd) return StringValue();
  std::string text = cwd;
  std::free(cwd);
  std::replace(text.begin(), text.end(), '\\', '/');
  if (text.empty() || text.back() != '/') text += '/';
  return StringValue(text.c_str());
}

int SetCurrentDirectory(const StringValue& path) {
  std::printf("set cdir to: %s\n", path.c_str());
  if (chdir(path.c_str()) != 0) {
    SetError(kErrNoSuchFile);
    return 0;
  }
  return 1;
}

StringValue Environment(const StringValue& name) {
  if (name.empty()) {
    StringValue all;
    for (char** e = environ; e && *e; ++e) {
      all += *e;
      all.AppendChar('\n');
    }
    return all;
  }
  const char* value = std::getenv(name.c_str());
  return value ? StringValue(value) : StringValue();
}

// [SECTION] Folder listing ===============================================================

bool MatchesPattern(const char* pattern, const char* name) {
  if (std::strcmp(pattern, "*.*") == 0) return true;
  // Greedy match that backtracks only to the last star: linear in practice,
  // never exponential however many stars a pattern has.
  const char* p = pattern;
  const char* n = name;
  const char* starP = nullptr;
  const char* starN = nullptr;
  while (*n) {
    if (*p == '*') {
      while (*p == '*') ++p;
      starP = p;
      starN = n;
      continue;
    }
    const bool one = *p == '?' ? *n != '.'
                               : *p && FoldAscii(static_cast<unsigned char>(*p)) ==
                                           FoldAscii(static_cast<unsigned char>(*n));
    if (one) {
      ++p;
      ++n;
    } else if (starP) {
      p = starP;
      n = ++starN;
    } else {
      return false;
    }
  }
  while (*p == '*') ++p;
  return *p == '\0';
}

int DirectoryListing(const StringValue& pattern, ArrayValue<StringValue>& out) {
  std::vector<std::string> folders, files;
  DIR* dir = opendir(".");
  if (!dir) {
    out.Dimension(0);
    return 0;
  }
  const int dirFd = dirfd(dir);
  while (dirent* e = readdir(dir)) {
    struct stat st;
    const bool isFolder = fstatat(dirFd, e->d_name, &st, 0) == 0 && S_ISDIR(st.st_mode);
    if (isFolder) {
      if (folders.size() < 32767) folders.push_back(e->d_name);
    } else if (MatchesPattern(pattern.c_str(), e->d_name)) {
      if (files.size() < 65535) files.push_back(e->d_name);
    }
  }
  closedir(dir);
  auto order = [](const std::string& a, const std::string& b) {
    const int c = CompareNoCase(a.c_str(), b.c_str());
    return c != 0 ? c < 0 : std::strcmp(a.c_str(), b.c_str()) < 0;
  };
  std::sort(folders.begin(), folders.end(), order);
  std::sort(files.begin(), files.end(), order);
  const int total = static_cast<int>(folders.size() + files.size());
  out.Dimension(total);
  int i = 0;
  for (const std::string& f : folders) out[i++] = StringValue(f.c_str());
  for (const std::string& f : files) out[i++] = StringValue(f.c_str());
  return static_cast<int>(folders.size()) * 65536 + static_cast<int>(files.size());
}

// [SECTION] File channels ================================================================

namespace {

enum ChannelKind { kClosed, kReading, kWriting, kAppending };
constexpr int kMaxLine = 1023;
constexpr size_t kReadAhead = 4096;

struct Channel {
  ChannelKind kind = kClosed;
  // Reading: either shared in-memory bytes, or a file with a read-ahead buffer.
  std::shared_ptr<const unsigned char> bytes;
  int64_t size = 0;
  int64_t pos = 0;
  FILE* file = nullptr;  // reading from disk, or appending
  unsigned char ahead[kReadAhead];
  size_t aheadPos = 0;
  size_t aheadLength = 0;
  bool fileDone = false;
  SafeWriter writer;  // writing
};

Channel g_channels[kFileChannels];

bool ValidChannel(int channel) {
  return channel >= 0 && channel < kFileChannels;
}

// The byte `offset` places past the read position, or -1 past the end.
int Peek(Channel& c, size_t offset) {
  if (!c.file) {
    const int64_t at = c.pos + static_cast<int64_t>(offset);
    return at < c.size ? c.bytes.get()[at] : -1;
  }
  while (c.aheadLength - c.aheadPos <= offset && !c.fileDone) {
    std::memmove(c.ahead, c.ahead + c.aheadPos, c.aheadLength - c.aheadPos);
    c.aheadLength -= c.aheadPos;
    c.aheadPos = 0;
    const size_t got = std::fread(c.ahead + c.aheadLength, 1, kReadAhead - c.aheadLength, c.file);
    if (got == 0) c.fileDone = true;
    c.aheadLength += got;
  }
  return c.aheadPos + offset < c.aheadLength ? c.ahead[c.aheadPos + offset] : -1;
}

void Advance(Channel& c, size_t n) {
  if (c.file) {
    c.aheadPos += n;
  } else {
    c.pos += static_cast<int64_t>(n);
  }
}

void CloseChannel(Channel& c) {
  if (c.kind == kWriting) {
    if (!FinishSafeWrite(&c.writer))
      std::printf("can't write to file: %s\n", c.writer.target.c_str());
  } else if (c.file) {
    std::fclose(c.file);
  }
  c.kind = kClosed;
  c.bytes.reset();
  c.size = c.pos = 0;
  c.file = nullptr;
  c.aheadPos = c.aheadLength = 0;
  c.fileDone = false;
}

void FilesAtExit() {
  CloseAllFileChannels();
  for (RequestStateData& s : g_states) ReleaseState(s);
  RemovePrivateFolder();
}

bool OpenForReading(Channel& c, const StringValue& name) {
  StringValue path = RequestFile(kMediaRequest, name, true);
  if (path.empty()) {
    SetError(kErrNoSuchFile);
    path = name;
  }
  if (const RequestStateData* s = FindMemory(path.c_str())) {
    c.bytes = s->buffer;  // our own reference: later lookups cannot free it
    c.size = s->bufferSize;
  } else {
    c.file = std::fopen(path.c_str(), "rb");
    if (!c.file) {
      SetError(kErrNoSuchFile);
      return false;
    }
  }
  c.kind = kReading;
  return true;
}

}  // namespace

int FreeFileChannel() {
  for (int i = 0; i < kFileChannels; ++i) {
    if (g_channels[i].kind == kClosed) return i;
  }
  return -1;
}

int OpenFile(int channel, const StringValue& name, int mode) {
  ClearError();
  if (!ValidChannel(channel)) {
    SetError(kErrOutOfMemory);
    return 0;
  }
  Channel& c = g_channels[channel];
  CloseChannel(c);
  if (mode >= 1) return OpenForReading(c, name) ? 1 : 0;

  if (IsMemoryFileName(name.c_str())) {
    std::printf("can't write to file: %s\n", name.c_str());
    SetError(kErrNoSuchFile);
    return 0;
  }
  AddEndHook(FilesAtExit);  // pending writes are committed at process end
  if (mode == 0) {
    StringValue target = name;
    ResolveFileCase(name.c_str(), &target);  // an existing file keeps its case
    if (!BeginSafeWrite(&c.writer, target.c_str())) {
      std::printf("can't write to file: %s\n", name.c_str());
      SetError(kErrNoSuchFile);
      return 0;
    }
    c.kind = kWriting;
    return 1;
  }
  c.file = OpenFileCase(name.c_str(), "ab");
  if (!c.file) {
    SetError(kErrNoSuchFile);
    return 0;
  }
  c.kind = kAppending;
  return 1;
}

StringValue ReadLine(int channel) {
  if (!ValidChannel(channel)) FatalError(kErrOutOfMemory);
  Channel& c = g_channels[channel];
  if (c.kind != kReading || Peek(c, 0) < 0) FatalError(kErrNoSuchFile);
  char line[kMaxLine];
  int length = 0;
  for (;;) {
    const int b = Peek(c, 0);
    if (b < 0) break;
    if (b == '\n') {
      Advance(c, 1);
      break;
    }
    if (b == '\r' && Peek(c, 1) == '\n') {
      Advance(c, 2);
      break;
    }
    // A longer line is cut here; its rest is the next line.
    if (length == kMaxLine) break;
    line[length++] = static_cast<char>(b);
    Advance(c, 1);
  }
  return StringValue(line, length);
}

int WriteText(int channel, const StringValue& text) {
  if (!ValidChannel(channel)) {
    SetError(kErrOutOfMemory);
    return 0;
  }
  Channel& c = g_channels[channel];
  FILE* f = c.kind == kWriting ? c.writer.file : c.kind == kAppending ? c.file : nullptr;
  if (!f || std::fwrite(text.c_str(), 1, static_cast<size_t>(text.length()), f) !=
                static_cast<size_t>(text.length())) {
    SetError(kErrNoSuchFile);
    return 0;
  }
  return 1;
}

int EndOfFile(int channel) {
  if (!ValidChannel(channel)) {
    SetError(kErrOutOfMemory);
    return 1;
  }
  Channel& c = g_channels[channel];
  return c.kind != kReading || Peek(c, 0) < 0 ? 1 : 0;
}

void CloseFile(int channel) {
  if (!ValidChannel(channel)) FatalError(kErrOutOfMemory);
  CloseChannel(g_channels[channel]);
}

void CloseAllFileChannels() {
  for (Channel& c : g_channels) CloseChannel(c);
}

}  // namespace vxl
