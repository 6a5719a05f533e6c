// Test support for the file-layer tests: a fresh folder per test that is also
// the working folder while the test runs, and small whole-file helpers.
#pragma once

#include <ftw.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace quarx_test {

inline void WriteBytes(const std::string& path, const std::string& bytes) {
  FILE* f = std::fopen(path.c_str(), "wb");
  ASSERT_NE(f, nullptr) << path;
  ASSERT_EQ(std::fwrite(bytes.data(), 1, bytes.size(), f), bytes.size());
  std::fclose(f);
}

inline std::string ReadBytes(const std::string& path) {
  std::string out;
  FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return "<missing>";
  char chunk[4096];
  size_t got;
  while ((got = std::fread(chunk, 1, sizeof chunk, f)) > 0) out.append(chunk, got);
  std::fclose(f);
  return out;
}

inline bool Exists(const std::string& path) {
  struct stat st;
  return lstat(path.c_str(), &st) == 0;
}

// Pseudo-random bytes that compress a little, like real media data.
inline std::string SampleBytes(size_t n, unsigned seed) {
  std::string out(n, '\0');
  unsigned x = seed * 2654435761u + 1;
  for (size_t i = 0; i < n; ++i) {
    x = x * 1103515245u + 12345u;
    out[i] = static_cast<char>((x >> 16) % ((i / 512) % 2 ? 7 : 251));
  }
  return out;
}

// Runs a shell command line; returns the exit status (or -1).
inline int RunCommand(const std::string& command) {
  const int status = std::system((command + " >/dev/null 2>&1").c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// A fresh folder under TMPDIR (or /tmp) that is the working folder during
// the test; the previous working folder comes back and the folder goes away
// afterwards.
class TempFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char* cwd = getcwd(nullptr, 0);
    previous_ = cwd ? cwd : "/";
    std::free(cwd);
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/quarx-test-XXXXXX";
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    ASSERT_NE(mkdtemp(buffer.data()), nullptr);
    folder_ = buffer.data();
    ASSERT_EQ(chdir(folder_.c_str()), 0);
  }
  void TearDown() override {
    if (chdir(previous_.c_str()) != 0) std::perror("chdir");
    nftw(
        folder_.c_str(),
        [](const char* path, const struct stat*, int, struct FTW*) { return std::remove(path); },
        16, FTW_DEPTH | FTW_PHYS);
  }
  std::string Path(const std::string& name) const { return folder_ + "/" + name; }

  std::string folder_;
  std::string previous_;
};

}  // namespace quarx_test
