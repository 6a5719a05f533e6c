// The .sbx archive: round trips through the real sbxpack tool and the reader,
// the writer's refusals, archives appended to other files, and a table of
// corrupt archives that must fail cleanly at every layer (memory image, file,
// and the media lookup with its archive-enabled flag).
#include "runtime/core/archive.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "runtime/core/files.h"
#include "tests/unit/core/temp_folder.h"
#include "tools/sbxpack/sbx_writer.h"

namespace {

using quarx_test::Exists;
using quarx_test::ReadBytes;
using quarx_test::RunCommand;
using quarx_test::SampleBytes;
using quarx_test::WriteBytes;

std::string Unpack(const char* archive, const char* name, vxl::ArchiveResult* result) {
  vxl::ArchiveData data;
  *result = vxl::ReadArchiveEntry(archive, name, &data);
  if (*result != vxl::kArchiveOk) return "<failed>";
  return std::string(reinterpret_cast<const char*>(data.bytes.get()),
                     static_cast<size_t>(data.size));
}

std::vector<std::string> EntryNames(const char* archive) {
  std::vector<std::string> names;
  vxl::ListArchive(
      archive,
      [](const vxl::ArchiveEntry& e, void* context) {
        static_cast<std::vector<std::string>*>(context)->push_back(e.name.c_str());
      },
      &names);
  return names;
}

class SbxpackTest : public quarx_test::TempFolderTest {};

TEST_F(SbxpackTest, FolderRoundTripsThroughTheReader) {
  ASSERT_EQ(mkdir("in", 0755), 0);
  ASSERT_EQ(mkdir("in/sub", 0755), 0);  // folders inside are not packed
  const std::string zeros(3 << 20, '\0');
  const std::string sample = SampleBytes(300000, 7);
  WriteBytes("in/zeros.bin", zeros);
  WriteBytes("in/Sample.PNG", sample);
  WriteBytes("in/empty.txt", "");
  WriteBytes("in/a.txt", "hello\r\nworld\n");
  WriteBytes("in/sub/hidden.txt", "not packed");

  ASSERT_EQ(RunCommand(std::string(QUARX_SBXPACK) + " out.sbx in"), 0);
  EXPECT_EQ(EntryNames("out.sbx"),
            (std::vector<std::string>{"Sample.PNG", "a.txt", "empty.txt", "zeros.bin"}));

  vxl::ArchiveResult r;
  EXPECT_EQ(Unpack("out.sbx", "zeros.bin", &r), zeros);
  EXPECT_EQ(Unpack("out.sbx", "sample.png", &r), sample);  // letter case ignored
  EXPECT_EQ(Unpack("out.sbx", "EMPTY.TXT", &r), "");
  EXPECT_EQ(r, vxl::kArchiveOk);
  EXPECT_EQ(Unpack("out.sbx", "a.txt", &r), "hello\r\nworld\n");
  EXPECT_EQ(Unpack("out.sbx", "hidden.txt", &r), "<failed>");
  EXPECT_EQ(r, vxl::kArchiveNoEntry);

  // Same inputs, same bytes: the build's archives are reproducible.
  ASSERT_EQ(RunCommand(std::string(QUARX_SBXPACK) + " again.sbx in"), 0);
  EXPECT_EQ(ReadBytes("out.sbx"), ReadBytes("again.sbx"));
}

TEST_F(SbxpackTest, FileArgumentsKeepTheirOrderAndFileName) {
  ASSERT_EQ(mkdir("d", 0755), 0);
  WriteBytes("d/z.txt", "zzz");
  WriteBytes("m.txt", "mmm");
  ASSERT_EQ(RunCommand(std::string(QUARX_SBXPACK) + " out.sbx d/z.txt m.txt"), 0);
  EXPECT_EQ(EntryNames("out.sbx"), (std::vector<std::string>{"z.txt", "m.txt"}));
}

TEST_F(SbxpackTest, RefusalsLeaveNoArchive) {
  ASSERT_EQ(mkdir("one", 0755), 0);
  ASSERT_EQ(mkdir("two", 0755), 0);
  WriteBytes("one/a.txt", "1");
  WriteBytes("two/A.TXT", "2");
  const std::string tool = QUARX_SBXPACK;
  struct Case {
    std::string arguments;
    int status;
  } cases[] = {
      {"", 2},                     // usage
      {"out.sbx", 2},              // no inputs
      {"out.sbx missing.txt", 1},  // unreadable input
      {"out.sbx one two", 1},      // a.txt and A.TXT would shadow each other
      {"-e out.sbx one/a.txt two/A.TXT", 1},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(RunCommand(tool + " " + c.arguments), c.status) << c.arguments;
    EXPECT_FALSE(Exists("out.sbx")) << c.arguments;
  }
  const int status = std::system((tool + " out.sbx one two 2>err.txt").c_str());
  EXPECT_NE(status, 0);
  EXPECT_NE(ReadBytes("err.txt").find("duplicate entry name"), std::string::npos);
}

TEST(SbxWriter, RefusesNamesTheReaderCouldNotFind) {
  const std::string longName(256, 'n');
  struct Case {
    std::string name;
    const char* reason;
  } cases[] = {
      {longName, "longer than 255 bytes"},      {"", "empty entry name"},
      {"dir/file.png", "contains '/'"},         {"dir\\file.png", "contains '/'"},
      {std::string("a\0b", 3), "contains '/'"},
  };
  for (const Case& c : cases) {
    std::vector<unsigned char> image;
    std::string error;
    EXPECT_FALSE(sbxpack::BuildArchive({{c.name, {1, 2, 3}}}, false, &image, &error));
    EXPECT_NE(error.find(c.reason), std::string::npos) << error;
    EXPECT_TRUE(image.empty());
  }
  std::vector<unsigned char> image;
  std::string error;
  EXPECT_TRUE(sbxpack::BuildArchive({{std::string(255, 'n'), {1}}}, false, &image, &error));
}

TEST_F(SbxpackTest, FromEndArchiveWorksAppendedToAnotherFile) {
  WriteBytes("tune.ogg", SampleBytes(5000, 3));
  ASSERT_EQ(RunCommand(std::string(QUARX_SBXPACK) + " -e tail.sbx tune.ogg"), 0);
  // The executable with media packed onto its end.
  const std::string exe = SampleBytes(100000, 9) + ReadBytes("tail.sbx");
  WriteBytes("game.bin", exe);
  vxl::ArchiveResult r;
  EXPECT_EQ(Unpack("game.bin", "TUNE.OGG", &r), SampleBytes(5000, 3));
  EXPECT_EQ(Unpack("tail.sbx", "tune.ogg", &r), SampleBytes(5000, 3));
}

// ---- corrupt archives -------------------------------------------------------------

// A sound two-entry archive and the positions of the fields a case patches.
struct Fixture {
  std::vector<unsigned char> image;
  size_t trailer = 0;       // start of "sbX"
  size_t directory = 0;     // start of the directory
  size_t secondOffset = 0;  // the second entry's data-offset field
  size_t secondStored = 0;  // its stored-size field
  size_t secondData = 0;    // its data (the 32-bit uncompressed size first)
  size_t terminator = 0;    // the directory's closing 0
};

uint32_t Le32(const std::vector<unsigned char>& b, size_t at) {
  return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<uint32_t>(b[at + 3]) << 24;
}
void SetLe32(std::vector<unsigned char>* b, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) (*b)[at + i] = static_cast<unsigned char>(v >> (8 * i));
}

Fixture MakeFixture() {
  Fixture f;
  std::string error;
  const std::string text = "hello hello hello hello archive";
  const std::string sample = SampleBytes(2000, 5);
  EXPECT_TRUE(sbxpack::BuildArchive(
      {{"first.txt", {text.begin(), text.end()}}, {"second.bin", {sample.begin(), sample.end()}}},
      false, &f.image, &error));
  f.trailer = f.image.size() - 7;
  f.directory = Le32(f.image, f.trailer + 3);
  const size_t second = f.directory + 1 + 9 + 8;  // past "first.txt"'s entry
  f.secondOffset = second + 1 + 10;
  f.secondStored = f.secondOffset + 4;
  f.secondData = Le32(f.image, f.secondOffset);
  f.terminator = f.secondStored + 4;
  return f;
}

struct CorruptCase {
  const char* what;
  void (*patch)(Fixture* f);
  vxl::ArchiveResult expected;  // for a lookup of "second.bin"
};

const CorruptCase kCorruptCases[] = {
    {"sound archive", [](Fixture*) {}, vxl::kArchiveOk},
    {"zero-length file", [](Fixture* f) { f->image.clear(); }, vxl::kArchiveNoTrailer},
    {"shorter than a trailer",
     [](Fixture* f) {
       f->image.assign({'s', 'b', 'X', 0, 0, 0});
     },
     vxl::kArchiveNoTrailer},
    {"truncated trailer", [](Fixture* f) { f->image.resize(f->image.size() - 3); },
     vxl::kArchiveNoTrailer},
    {"bad magic", [](Fixture* f) { f->image[f->trailer + 2] = 'x'; }, vxl::kArchiveNoTrailer},
    {"directory offset past end",
     [](Fixture* f) { SetLe32(&f->image, f->trailer + 3, f->image.size() + 100); },
     vxl::kArchiveBadDirectory},
    {"directory offset at the trailer",
     [](Fixture* f) { SetLe32(&f->image, f->trailer + 3, f->trailer); }, vxl::kArchiveBadDirectory},
    {"directory offset 0x7fffffff",
     [](Fixture* f) { SetLe32(&f->image, f->trailer + 3, 0x7fffffff); }, vxl::kArchiveBadDirectory},
    {"negative directory offset before the start",
     [](Fixture* f) {
       SetLe32(&f->image, f->trailer + 3,
               static_cast<uint32_t>(-static_cast<int>(f->image.size()) - 5));
     },
     vxl::kArchiveBadDirectory},
    {"directory offset INT_MIN",
     [](Fixture* f) { SetLe32(&f->image, f->trailer + 3, 0x80000000u); },
     vxl::kArchiveBadDirectory},
    {"directory without its closing 0", [](Fixture* f) { f->image[f->terminator] = 200; },
     vxl::kArchiveBadDirectory},
    {"name running into the trailer", [](Fixture* f) { f->image[f->directory] = 255; },
     vxl::kArchiveBadDirectory},
    {"negative data offset in a from-start archive",
     [](Fixture* f) { SetLe32(&f->image, f->secondOffset, static_cast<uint32_t>(-20)); },
     vxl::kArchiveBadEntry},
    {"entry data past end",
     [](Fixture* f) { SetLe32(&f->image, f->secondOffset, f->image.size() - 2); },
     vxl::kArchiveBadEntry},
    {"stored size past end", [](Fixture* f) { SetLe32(&f->image, f->secondStored, 0xfffffff0u); },
     vxl::kArchiveBadEntry},
    {"stored size below 4", [](Fixture* f) { SetLe32(&f->image, f->secondStored, 3); },
     vxl::kArchiveBadEntry},
    {"absurd uncompressed size", [](Fixture* f) { SetLe32(&f->image, f->secondData, 0xffffffffu); },
     vxl::kArchiveBadEntry},
    {"uncompressed size above 256 MiB",
     [](Fixture* f) { SetLe32(&f->image, f->secondData, (256u << 20) + 1); },
     vxl::kArchiveBadEntry},
    {"uncompressed size beyond any LZO ratio",
     [](Fixture* f) { SetLe32(&f->image, f->secondData, 64u << 20); }, vxl::kArchiveBadEntry},
    {"uncompressed size too small", [](Fixture* f) { SetLe32(&f->image, f->secondData, 1000); },
     vxl::kArchiveBadEntry},
    {"uncompressed size too large", [](Fixture* f) { SetLe32(&f->image, f->secondData, 2001); },
     vxl::kArchiveBadEntry},
    {"garbage LZO data",
     [](Fixture* f) {
       for (size_t i = f->secondData + 4; i < f->secondData + 60; ++i) f->image[i] = 0xff ^ i;
     },
     vxl::kArchiveBadEntry},
};

class CorruptArchiveTest : public quarx_test::TempFolderTest {
 protected:
  void TearDown() override {
    vxl::InitFileRequests();
    quarx_test::TempFolderTest::TearDown();
  }
};

TEST_F(CorruptArchiveTest, FailsCleanlyAtEveryLayer) {
  for (const CorruptCase& c : kCorruptCases) {
    SCOPED_TRACE(c.what);
    Fixture f = MakeFixture();
    c.patch(&f);
    vxl::ArchiveData data;
    EXPECT_EQ(vxl::ReadArchiveEntryFromMemory(f.image.data(), f.image.size(), "second.bin", &data),
              c.expected);
    EXPECT_EQ(data.bytes != nullptr, c.expected == vxl::kArchiveOk);

    WriteBytes("case.sbx", std::string(f.image.begin(), f.image.end()));
    EXPECT_EQ(vxl::ReadArchiveEntry("case.sbx", "second.bin", &data), c.expected);
    if (c.expected == vxl::kArchiveOk) {
      EXPECT_EQ(std::string(reinterpret_cast<const char*>(data.bytes.get()), data.size),
                SampleBytes(2000, 5));
    }

    // Through the media lookup: a whole-archive fault switches the archive
    // off, an entry fault only loses that entry.
    vxl::SetArchives("case.sbx", "");
    const vxl::StringValue name = vxl::RequestFile(vxl::kMediaRequest, "Media/second.bin", true);
    EXPECT_EQ(name.empty(), c.expected != vxl::kArchiveOk);
    EXPECT_EQ(vxl::ArchiveEnabled(vxl::kMediaRequest), vxl::ArchiveIsUnusable(c.expected) ? 0 : 1);
  }
}

TEST(ArchiveReader, MissingNameAndUnreadableFile) {
  Fixture f = MakeFixture();
  vxl::ArchiveData data;
  EXPECT_EQ(vxl::ReadArchiveEntryFromMemory(f.image.data(), f.image.size(), "third.bin", &data),
            vxl::kArchiveNoEntry);
  // Only whole names match, ignoring case.
  EXPECT_EQ(vxl::ReadArchiveEntryFromMemory(f.image.data(), f.image.size(), "second", &data),
            vxl::kArchiveNoEntry);
  EXPECT_EQ(vxl::ReadArchiveEntryFromMemory(f.image.data(), f.image.size(), "FIRST.TXT", &data),
            vxl::kArchiveOk);
  EXPECT_EQ(vxl::ReadArchiveEntry("/nonexistent/x.sbx", "first.txt", &data),
            vxl::kArchiveCannotOpen);
  EXPECT_EQ(vxl::ReadArchiveEntry("/", "first.txt", &data), vxl::kArchiveCannotOpen);
  EXPECT_EQ(vxl::ReadArchiveEntryFromMemory(nullptr, 0, "first.txt", &data),
            vxl::kArchiveNoTrailer);
}

TEST(ArchiveReader, UnpackedBytesOutliveTheLookup) {
  Fixture f = MakeFixture();
  vxl::ArchiveData data;
  ASSERT_EQ(vxl::ReadArchiveEntryFromMemory(f.image.data(), f.image.size(), "first.txt", &data),
            vxl::kArchiveOk);
  std::shared_ptr<const unsigned char> kept = data.bytes;
  f.image.assign(f.image.size(), 0);  // the image is gone; the unpacked copy is not
  data = vxl::ArchiveData();
  EXPECT_EQ(std::memcmp(kept.get(), "hello hello", 11), 0);
}

}  // namespace
