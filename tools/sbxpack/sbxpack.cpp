// sbxpack: packs files into an .sbx archive for the runtime's media lookup.
//
//   sbxpack [-e] OUT.sbx FILE_OR_FOLDER...
//
// A file argument becomes one entry named after its file name; a folder adds
// every regular file directly inside it, sorted by name. With -e (--from-end)
// offsets count from the end of the archive, so it still works when appended
// to another file such as the executable. The output is written to a
// temporary file beside OUT and renamed over it, so a failed run never leaves
// a half-written archive; the same inputs always give the same bytes.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "tools/sbxpack/sbx_writer.h"

namespace {

int Usage() {
  std::fprintf(stderr,
               "usage: sbxpack [-e|--from-end] OUT.sbx FILE_OR_FOLDER...\n"
               "  a folder adds every regular file directly inside it, sorted by name\n"
               "  -e  offsets count from the end (for appending the archive to a file)\n");
  return 2;
}

std::string BaseName(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool ReadWholeFile(const std::string& path, std::vector<unsigned char>* out) {
  FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) {
    std::fprintf(stderr, "sbxpack: cannot read \"%s\": %s\n", path.c_str(), std::strerror(errno));
    return false;
  }
  out->clear();
  unsigned char chunk[65536];
  size_t got;
  while ((got = std::fread(chunk, 1, sizeof chunk, f)) > 0) {
    out->insert(out->end(), chunk, chunk + got);
    if (out->size() > vxl::kArchiveMaxEntrySize) break;  // refused later with its reason
  }
  const bool ok = !std::ferror(f);
  if (!ok) std::fprintf(stderr, "sbxpack: error reading \"%s\"\n", path.c_str());
  std::fclose(f);
  return ok;
}

// Adds one command-line argument: a file, or the regular files of a folder.
bool AddArgument(const std::string& path, std::vector<sbxpack::InputFile>* files) {
  struct stat st;
  if (stat(path.c_str(), &st) != 0) {
    std::fprintf(stderr, "sbxpack: \"%s\": %s\n", path.c_str(), std::strerror(errno));
    return false;
  }
  std::vector<std::string> names;
  std::string folder;
  if (S_ISDIR(st.st_mode)) {
    DIR* dir = opendir(path.c_str());
    if (!dir) {
      std::fprintf(stderr, "sbxpack: cannot list \"%s\": %s\n", path.c_str(), std::strerror(errno));
      return false;
    }
    folder = path + "/";
    while (dirent* e = readdir(dir)) {
      struct stat entry;
      if (stat((folder + e->d_name).c_str(), &entry) == 0 && S_ISREG(entry.st_mode)) {
        names.push_back(e->d_name);
      }
    }
    closedir(dir);
    // readdir order depends on the file system; sorting keeps output reproducible.
    std::sort(names.begin(), names.end());
  } else if (S_ISREG(st.st_mode)) {
    names.push_back(BaseName(path));
  } else {
    std::fprintf(stderr, "sbxpack: \"%s\" is neither a file nor a folder\n", path.c_str());
    return false;
  }
  for (const std::string& name : names) {
    sbxpack::InputFile file;
    file.name = name;
    if (!ReadWholeFile(folder.empty() ? path : folder + name, &file.bytes)) return false;
    files->push_back(std::move(file));
  }
  return true;
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

// Temporary file beside the target, then rename: readers see the old archive
// or the new one, never a torn one.
bool WriteArchiveFile(const std::string& out, const std::vector<unsigned char>& image) {
  const std::string temp = out + ".tmp-" + std::to_string(getpid());
  const int fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd < 0) {
    std::fprintf(stderr, "sbxpack: cannot create \"%s\": %s\n", temp.c_str(), std::strerror(errno));
    return false;
  }
  bool ok = WriteAll(fd, image.data(), image.size()) && fsync(fd) == 0;
  ok = (close(fd) == 0) && ok;
  if (ok && rename(temp.c_str(), out.c_str()) != 0) ok = false;
  if (!ok) {
    std::fprintf(stderr, "sbxpack: cannot write \"%s\": %s\n", out.c_str(), std::strerror(errno));
    unlink(temp.c_str());
  }
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  bool fromEnd = false;
  int first = 1;
  if (first < argc &&
      (std::strcmp(argv[first], "-e") == 0 || std::strcmp(argv[first], "--from-end") == 0)) {
    fromEnd = true;
    ++first;
  }
  if (argc - first < 2) return Usage();
  const std::string out = argv[first];

  std::vector<sbxpack::InputFile> files;
  for (int i = first + 1; i < argc; ++i) {
    if (!AddArgument(argv[i], &files)) return 1;
  }
  std::vector<unsigned char> image;
  std::string error;
  if (!sbxpack::BuildArchive(files, fromEnd, &image, &error)) {
    std::fprintf(stderr, "sbxpack: %s\n", error.c_str());
    return 1;
  }
  return WriteArchiveFile(out, image) ? 0 : 1;
}
