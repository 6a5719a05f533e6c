// Fuzz target: arbitrary bytes as an .sbx archive.
//
// Every input is read twice: as a memory image (listing the directory and
// unpacking every entry it names, plus a name it does not) and as a file
// behind the media lookup, in memory and extracted, so the pread path, the
// archive-enabled bookkeeping and the private extraction folder are covered
// too. Any crash, out-of-bounds read or undefined behaviour is a finding.
#include <stdlib.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "runtime/core/archive.h"
#include "runtime/core/files.h"

namespace {

std::string g_archivePath;

std::string g_folder;

void Cleanup() {
  std::remove(g_archivePath.c_str());
  rmdir(g_folder.c_str());
}

void Setup() {
  // tmpfs when there is one: every input is written to a file.
  char folder[] = "/dev/shm/quarx-fuzz-archive-XXXXXX";
  char fallback[] = "/tmp/quarx-fuzz-archive-XXXXXX";
  const char* made = mkdtemp(folder);
  if (!made) made = mkdtemp(fallback);
  if (!made) abort();
  g_folder = made;
  std::atexit(Cleanup);
  g_archivePath = std::string(made) + "/input.sbx";
  setenv("TMPDIR", made, 1);  // extracted entries go there too
  // The lookup's diagnostics would drown the fuzzer's own output.
  if (!std::freopen("/dev/null", "w", stdout)) abort();
}

void Collect(const vxl::ArchiveEntry& entry, void* context) {
  auto* names = static_cast<std::vector<std::string>*>(context);
  if (names->size() < 32) names->emplace_back(entry.name.c_str());
}

// Reads every byte so a short buffer shows up under the sanitizers.
unsigned Touch(const vxl::ArchiveData& data) {
  unsigned sum = 0;
  for (int i = 0; i < data.size; ++i) sum += data.bytes.get()[i];
  return sum;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static bool ready = (Setup(), true);
  (void)ready;

  std::vector<std::string> names;
  vxl::ListArchiveInMemory(data, size, Collect, &names);
  names.push_back("not-in-the-archive.png");
  volatile unsigned sink = 0;
  for (const std::string& name : names) {
    vxl::ArchiveData entry;
    if (vxl::ReadArchiveEntryFromMemory(data, size, name.c_str(), &entry) == vxl::kArchiveOk) {
      sink = sink + Touch(entry);
    }
  }

  FILE* f = std::fopen(g_archivePath.c_str(), "wb");
  if (!f) abort();
  if (size && std::fwrite(data, 1, size, f) != size) abort();
  std::fclose(f);
  vxl::SetArchives(g_archivePath.c_str(), g_archivePath.c_str());
  const std::string first = names.front();
  const vxl::StringValue mem =
      vxl::RequestFile(vxl::kMediaRequest, ("Media/" + first).c_str(), true);
  const unsigned char* bytes = nullptr;
  int length = 0;
  if (vxl::MemoryFileBytes(mem.c_str(), &bytes, &length)) {
    for (int i = 0; i < length; ++i) sink = sink + bytes[i];
  }
  const vxl::StringValue path = vxl::RequestFile(vxl::kMusicRequest, first.c_str(), false);
  // The same entry through both states: the extracted file holds the same bytes.
  const bool extracted = std::string(path.c_str()).find("/music/sbx") != std::string::npos;
  if (extracted && !mem.empty() && vxl::FileSize(path) != length) abort();
  vxl::FreeFileRequests();
  return 0;
}
