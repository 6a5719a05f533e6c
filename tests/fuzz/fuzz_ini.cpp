// Fuzz target: arbitrary bytes as an INI file.
//
// The input is opened as the current document, read with a few gets, changed
// with one fixed put and one put derived from the input, and written back.
// Then two properties are checked, not just the absence of crashes: the fixed
// put reads back, and writing the re-read document again gives the very same
// bytes (the written form is a fixed point of read + write).
#include <stdlib.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "runtime/core/files.h"
#include "runtime/core/ini.h"

namespace {

std::string g_path;

std::string g_folder;

void Cleanup() {
  std::remove(g_path.c_str());
  rmdir(g_folder.c_str());
}

void Setup() {
  // tmpfs when there is one: every input is written (and synced) twice.
  char folder[] = "/dev/shm/quarx-fuzz-ini-XXXXXX";
  char fallback[] = "/tmp/quarx-fuzz-ini-XXXXXX";
  const char* made = mkdtemp(folder);
  if (!made) made = mkdtemp(fallback);
  if (!made) abort();
  g_folder = made;
  std::atexit(Cleanup);
  g_path = std::string(made) + "/fuzz.ini";
  if (!std::freopen("/dev/null", "w", stdout)) abort();
  vxl::InitFileRequests();
}

std::string ReadAll(const std::string& path) {
  std::string out;
  FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return out;
  char chunk[4096];
  size_t got;
  while ((got = std::fread(chunk, 1, sizeof chunk, f)) > 0) out.append(chunk, got);
  std::fclose(f);
  return out;
}

// Printable text from the input, so the derived put is one that must read back.
std::string Printable(const uint8_t* data, size_t size, size_t from, size_t count) {
  std::string out;
  for (size_t i = from; i < size && out.size() < count; ++i)
    out += static_cast<char>('!' + data[i] % 94);
  return out.empty() ? "x" : out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static bool ready = (Setup(), true);
  (void)ready;

  FILE* f = std::fopen(g_path.c_str(), "wb");
  if (!f) abort();
  if (size && std::fwrite(data, 1, size, f) != size) abort();
  std::fclose(f);

  vxl::OpenIni(g_path.c_str());
  vxl::GetIni("", "", "d");
  vxl::GetIni("DISPLAY", "SCREENWIDTH", "640");
  const std::string section = Printable(data, size, 0, 6);
  const std::string key = Printable(data, size, 6, 6);
  vxl::GetIni(section.c_str(), key.c_str(), "");
  if (vxl::PutIni("FUZZ", "KEY", "value") != 1) abort();
  vxl::PutIni(section.c_str(), key.c_str(), Printable(data, size, 12, 20).c_str());
  vxl::CloseIni();
  const std::string first = ReadAll(g_path);

  vxl::OpenIni(g_path.c_str());
  if (vxl::GetIni("fuzz", "key", "") != "value") abort();
  vxl::PutIni("FUZZ", "KEY", "value");  // same value: only forces the rewrite
  vxl::CloseIni();
  if (ReadAll(g_path) != first) abort();
  return 0;
}
