// The file layer: case fallback, the media lookup from disk and from
// archives (in memory and extracted), "mem://" lifetimes, switching an
// unusable archive off, safe replacement, the folder listing and its pattern
// matching, and the file channels with their fatal ends.
#include "runtime/core/files.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <string>
#include <vector>

#include "runtime/core/error.h"
#include "tests/unit/core/temp_folder.h"
#include "tools/sbxpack/sbx_writer.h"

namespace {

using quarx_test::Exists;
using quarx_test::ReadBytes;
using quarx_test::SampleBytes;
using quarx_test::WriteBytes;

std::string Archive(const std::vector<sbxpack::InputFile>& files, bool fromEnd = false) {
  std::vector<unsigned char> image;
  std::string error;
  EXPECT_TRUE(sbxpack::BuildArchive(files, fromEnd, &image, &error)) << error;
  return std::string(image.begin(), image.end());
}

sbxpack::InputFile Entry(const std::string& name, const std::string& bytes) {
  return {name, std::vector<unsigned char>(bytes.begin(), bytes.end())};
}

std::string MemoryContent(const vxl::StringValue& name) {
  const unsigned char* data = nullptr;
  int size = 0;
  if (!vxl::MemoryFileBytes(name.c_str(), &data, &size)) return "<stale>";
  return std::string(reinterpret_cast<const char*>(data), static_cast<size_t>(size));
}

std::string StreamContent(FILE* f) {
  std::string out;
  char chunk[1000];
  size_t got;
  while ((got = std::fread(chunk, 1, sizeof chunk, f)) > 0) out.append(chunk, got);
  return out;
}

// Every test leaves both request states as start-up made them.
class FilesTest : public quarx_test::TempFolderTest {
 protected:
  void SetUp() override {
    quarx_test::TempFolderTest::SetUp();
    vxl::InitFileRequests();
    vxl::CloseAllFileChannels();
    vxl::ClearError();
  }
  void TearDown() override {
    vxl::CloseAllFileChannels();
    vxl::FreeFileRequests();
    quarx_test::TempFolderTest::TearDown();
  }
};

// ---- case fallback ----------------------------------------------------------------

TEST_F(FilesTest, CaseFallbackCorrectsOnlyTheFileName) {
  ASSERT_EQ(mkdir("Media", 0755), 0);
  WriteBytes("Media/Player.PNG", "png");
  WriteBytes("ReadMe.TXT", "top");

  struct Case {
    const char* asked;
    const char* resolved;  // nullptr: not found
  } cases[] = {
      {"Media/Player.PNG", "Media/Player.PNG"},
      {"Media/player.png", "Media/Player.PNG"},
      {"readme.txt", "ReadMe.TXT"},
      {"media/player.png", nullptr},  // the folder's case is not corrected
      {"Media/player.jpg", nullptr},
      {"Media", nullptr},  // a folder is not a file
      {"Media/", nullptr},
      {"", nullptr},
  };
  for (const Case& c : cases) {
    vxl::StringValue resolved;
    const bool found = vxl::ResolveFileCase(c.asked, &resolved);
    EXPECT_EQ(found, c.resolved != nullptr) << c.asked;
    if (c.resolved) {
      EXPECT_STREQ(resolved.c_str(), c.resolved) << c.asked;
    }
    FILE* f = vxl::OpenFileCase(c.asked, "rb");
    EXPECT_EQ(f != nullptr, c.resolved != nullptr) << c.asked;
    if (f) std::fclose(f);
  }
  // An absolute path works the same way.
  vxl::StringValue resolved;
  EXPECT_TRUE(vxl::ResolveFileCase(Path("Media/PLAYER.png").c_str(), &resolved));
  EXPECT_EQ(std::string(resolved.c_str()), Path("Media/Player.PNG"));
}

TEST_F(FilesTest, CaseFallbackPicksOneNameDeterministically) {
  WriteBytes("b.TXT", "upper");
  WriteBytes("B.txt", "lower");
  vxl::StringValue resolved;
  ASSERT_TRUE(vxl::ResolveFileCase("b.txt", &resolved));
  EXPECT_STREQ(resolved.c_str(), "B.txt");  // first in byte order
}

TEST_F(FilesTest, WritingThroughTheFallbackReusesTheExistingName) {
  WriteBytes("Scores.INI", "old");
  FILE* f = vxl::OpenFileCase("scores.ini", "wb");
  ASSERT_NE(f, nullptr);
  std::fputs("new", f);
  std::fclose(f);
  EXPECT_EQ(ReadBytes("Scores.INI"), "new");
  EXPECT_FALSE(Exists("scores.ini"));

  f = vxl::OpenFileCase("fresh.txt", "ab");  // nothing matches: created as given
  ASSERT_NE(f, nullptr);
  std::fclose(f);
  EXPECT_TRUE(Exists("fresh.txt"));
  EXPECT_EQ(vxl::OpenFileCase("nofolder/x.txt", "wb"), nullptr);
}

// ---- the media lookup -------------------------------------------------------------

TEST_F(FilesTest, DiskWinsOverTheArchive) {
  WriteBytes("media.sbx", Archive({Entry("logo.png", "from archive")}));
  ASSERT_EQ(mkdir("Media", 0755), 0);
  WriteBytes("Media/Logo.png", "from disk");
  vxl::SetArchives("media.sbx", "");
  EXPECT_STREQ(vxl::RequestFile(vxl::kMediaRequest, "Media/logo.png", true).c_str(),
               "Media/Logo.png");
  EXPECT_EQ(vxl::RequestFile(vxl::kMediaRequest, "", true), "");
}

TEST_F(FilesTest, InMemoryEntryLivesUntilTheStatesNextLookup) {
  const std::string ball = SampleBytes(5000, 1);
  WriteBytes("media.sbx", Archive({Entry("p1_1ball.png", ball), Entry("other.png", "other")}));
  vxl::SetArchives("media.sbx", "");

  // Only the file name is compared: folders and "\" separators are dropped.
  const vxl::StringValue name =
      vxl::RequestFile(vxl::kMediaRequest, "Players/Player_1/P1_1Ball.png", true);
  ASSERT_EQ(std::strncmp(name.c_str(), "mem://", 6), 0) << name.c_str();
  EXPECT_EQ(MemoryContent(name), ball);
  EXPECT_EQ(vxl::FileExists(name), 1);
  EXPECT_EQ(vxl::FileSize(name), 5000);
  // Asking again for a "mem://" name keeps it alive.
  EXPECT_EQ(vxl::RequestFile(vxl::kMediaRequest, name, true), name);

  // A stream opened now keeps its bytes after the state moves on.
  FILE* stream = vxl::OpenFileCase(name.c_str(), "rb");
  ASSERT_NE(stream, nullptr);
  EXPECT_EQ(vxl::OpenFileCase(name.c_str(), "wb"), nullptr);  // read-only

  const vxl::StringValue next =
      vxl::RequestFile(vxl::kMediaRequest, "Players\\Player_1\\OTHER.PNG", true);
  EXPECT_EQ(MemoryContent(next), "other");
  EXPECT_NE(next, name);
  EXPECT_EQ(MemoryContent(name), "<stale>");  // a missing file, not freed memory
  EXPECT_EQ(vxl::OpenFileCase(name.c_str(), "rb"), nullptr);
  EXPECT_EQ(StreamContent(stream), ball);
  std::fclose(stream);

  // The music state has its own buffer: a media lookup does not free it.
  const vxl::StringValue music = vxl::RequestFile(vxl::kMusicRequest, "other.png", true);
  EXPECT_EQ(music, "");  // the music state has no archive here
  vxl::SetArchives("media.sbx", "media.sbx");
  const vxl::StringValue m = vxl::RequestFile(vxl::kMusicRequest, "other.png", true);
  vxl::RequestFile(vxl::kMediaRequest, "p1_1ball.png", true);
  EXPECT_EQ(MemoryContent(m), "other");
}

TEST_F(FilesTest, ExtractedEntryIsPrivateAndRemovedAtTheNextLookup) {
  const std::string sound = SampleBytes(3000, 2);
  WriteBytes("media.sbx", Archive({Entry("sound110.wav", sound), Entry("x.wav", "x")}));
  vxl::SetArchives("media.sbx", "media.sbx");

  const std::string path =
      vxl::RequestFile(vxl::kMediaRequest, "Sounds/SOUND110.wav", false).c_str();
  ASSERT_FALSE(path.empty());
  EXPECT_EQ(ReadBytes(path), sound);
  // <tmp>/quarx-XXXXXX/media/sbx + two letters + the entry's own name.
  const std::string file = path.substr(path.rfind('/') + 1);
  ASSERT_EQ(file.size(), 5 + std::strlen("sound110.wav"));
  EXPECT_EQ(file.substr(0, 3), "sbx");
  EXPECT_TRUE(file[3] >= 'A' && file[3] <= 'Z' && file[4] >= 'A' && file[4] <= 'Z');
  EXPECT_EQ(file.substr(5), "sound110.wav");
  struct stat st;
  ASSERT_EQ(stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);
  const std::string stateFolder = path.substr(0, path.rfind('/'));
  const std::string privateFolder = stateFolder.substr(0, stateFolder.rfind('/'));
  ASSERT_EQ(stat(privateFolder.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0700u);
  EXPECT_NE(privateFolder.find("/quarx-"), std::string::npos);

  // The music state extracts the same entry beside it, not over it.
  const std::string music = vxl::RequestFile(vxl::kMusicRequest, "sound110.wav", false).c_str();
  ASSERT_FALSE(music.empty());
  EXPECT_NE(music, path);
  EXPECT_TRUE(Exists(path));

  vxl::RequestFile(vxl::kMediaRequest, "x.wav", false);
  EXPECT_FALSE(Exists(path));
  EXPECT_TRUE(Exists(music));

  vxl::FreeFileRequests();
  EXPECT_FALSE(Exists(music));
  EXPECT_FALSE(Exists(privateFolder));
}

TEST_F(FilesTest, ExtractedNamesCannotLeaveThePrivateFolder) {
  // Entry names with separators are refused by sbxpack but may come from a
  // hostile archive; the request's own file-name part decides the match, so
  // only "." and ".." style names can get that far.
  WriteBytes("media.sbx", Archive({Entry("..", "dots")}));
  vxl::SetArchives("media.sbx", "");
  const std::string path = vxl::RequestFile(vxl::kMediaRequest, "Media/..", false).c_str();
  ASSERT_FALSE(path.empty());
  EXPECT_EQ(path.substr(path.rfind('/') + 1).substr(5), "..");
  EXPECT_EQ(ReadBytes(path), "dots");
}

TEST_F(FilesTest, ExecutableWithoutTrailerSwitchesTheArchiveOffUntilTheNextSetArchives) {
  WriteBytes("game", SampleBytes(20000, 4));  // an executable with nothing appended
  vxl::SetArchives("game", "game");
  EXPECT_EQ(vxl::RequestFile(vxl::kMediaRequest, "Media/tile.png", true), "");
  EXPECT_EQ(vxl::ArchiveEnabled(vxl::kMediaRequest), 0);
  EXPECT_EQ(vxl::ArchiveEnabled(vxl::kMusicRequest), 1);  // each state finds out by itself

  // Media packed onto the end now: the state stays off...
  WriteBytes("game", SampleBytes(20000, 4) + Archive({Entry("tile.png", "tile")}, true));
  EXPECT_EQ(vxl::RequestFile(vxl::kMediaRequest, "Media/tile.png", true), "");
  // ...until set archives turns it on again.
  vxl::SetArchives("game", "game");
  EXPECT_EQ(MemoryContent(vxl::RequestFile(vxl::kMediaRequest, "Media/tile.png", true)), "tile");
  EXPECT_EQ(MemoryContent(vxl::RequestFile(vxl::kMusicRequest, "tile.png", true)), "tile");

  vxl::SetArchives("missing.sbx", "");  // an archive that cannot be opened counts too
  EXPECT_EQ(vxl::RequestFile(vxl::kMediaRequest, "tile.png", true), "");
  EXPECT_EQ(vxl::ArchiveEnabled(vxl::kMediaRequest), 0);
}

// ---- safe replacement -------------------------------------------------------------

TEST_F(FilesTest, SafeWriterReplacesOnlyWhenComplete) {
  WriteBytes("options.ini", "old");
  ASSERT_EQ(chmod("options.ini", 0640), 0);
  vxl::SafeWriter w;
  ASSERT_TRUE(vxl::BeginSafeWrite(&w, "options.ini"));
  std::fputs("new content", w.file);
  EXPECT_EQ(ReadBytes("options.ini"), "old");  // untouched until finished
  ASSERT_TRUE(vxl::FinishSafeWrite(&w));
  EXPECT_EQ(ReadBytes("options.ini"), "new content");
  struct stat st;
  ASSERT_EQ(stat("options.ini", &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);

  ASSERT_TRUE(vxl::BeginSafeWrite(&w, "options.ini"));
  std::fputs("abandoned", w.file);
  vxl::AbandonSafeWrite(&w);
  EXPECT_EQ(ReadBytes("options.ini"), "new content");

  // Through a symlink: the file it points at is replaced, the link stays.
  ASSERT_EQ(symlink("options.ini", "link.ini"), 0);
  ASSERT_TRUE(vxl::BeginSafeWrite(&w, "link.ini"));
  std::fputs("via link", w.file);
  ASSERT_TRUE(vxl::FinishSafeWrite(&w));
  EXPECT_EQ(ReadBytes("options.ini"), "via link");
  ASSERT_EQ(lstat("link.ini", &st), 0);
  EXPECT_TRUE(S_ISLNK(st.st_mode));

  EXPECT_FALSE(vxl::BeginSafeWrite(&w, "no/such/folder/x.ini"));
  EXPECT_FALSE(vxl::BeginSafeWrite(&w, "mem://00000001.00000001"));
  ASSERT_EQ(mkdir("dir.ini", 0755), 0);
  EXPECT_FALSE(vxl::BeginSafeWrite(&w, "dir.ini"));

  // Nothing but the real files is left behind.
  vxl::ArrayValue<vxl::StringValue> names;
  EXPECT_EQ(vxl::DirectoryListing("*.*", names), 3 * 65536 + 2);
}

// ---- files and folders ------------------------------------------------------------

TEST_F(FilesTest, FileAndFolderOperations) {
  WriteBytes("Data.bin", std::string(1234, 'd'));
  EXPECT_EQ(vxl::FileExists("data.bin"), 1);
  EXPECT_EQ(vxl::FileExists("nothing.bin"), 0);
  EXPECT_EQ(vxl::FileSize("DATA.BIN"), 1234);
  EXPECT_EQ(vxl::LastError(), 0);
  EXPECT_EQ(vxl::FileSize("nothing.bin"), 0);
  EXPECT_EQ(vxl::LastError(), vxl::kErrNoSuchFile);

  EXPECT_EQ(vxl::CreateDirectory("sub"), 1);
  EXPECT_EQ(vxl::CreateDirectory("sub"), 0);
  EXPECT_EQ(vxl::IsDirectory("sub"), 1);
  EXPECT_EQ(vxl::IsDirectory("Data.bin"), 0);
  EXPECT_EQ(vxl::IsDirectory("nothing"), 0);
  EXPECT_EQ(vxl::DeleteFile("Data.bin"), 0);
  EXPECT_EQ(vxl::DeleteFile("Data.bin"), -1);

  const vxl::StringValue here = vxl::CurrentDirectory();
  EXPECT_EQ(std::string(here.c_str()), folder_ + "/");
  vxl::ClearError();
  EXPECT_EQ(vxl::SetCurrentDirectory("sub"), 1);
  EXPECT_EQ(std::string(vxl::CurrentDirectory().c_str()), folder_ + "/sub/");
  EXPECT_EQ(vxl::SetCurrentDirectory("no-such-folder"), 0);
  EXPECT_EQ(vxl::LastError(), vxl::kErrNoSuchFile);
  EXPECT_EQ(vxl::SetCurrentDirectory(here), 1);
}

TEST(FilesEnvironment, NamedAndWholeEnvironment) {
  setenv("QUARX_FILES_TEST", "a=b c", 1);
  unsetenv("QUARX_FILES_UNSET");
  EXPECT_EQ(vxl::Environment("QUARX_FILES_TEST"), "a=b c");
  EXPECT_EQ(vxl::Environment("QUARX_FILES_UNSET"), "");
  const std::string all = vxl::Environment("").c_str();
  EXPECT_NE(all.find("QUARX_FILES_TEST=a=b c\n"), std::string::npos);
  EXPECT_EQ(all.back(), '\n');
  unsetenv("QUARX_FILES_TEST");
}

// ---- folder listing ---------------------------------------------------------------

TEST_F(FilesTest, ListingPutsFoldersFirstAndFiltersOnlyFiles) {
  WriteBytes("b.TXT", "");
  WriteBytes("a.txt", "");
  WriteBytes("c.png", "");
  ASSERT_EQ(mkdir("x", 0755), 0);
  vxl::ArrayValue<vxl::StringValue> names;
  EXPECT_EQ(vxl::DirectoryListing("*.txt", names), 3 * 65536 + 2);
  ASSERT_EQ(names.Size(), 5);
  const char* expected[] = {".", "..", "x", "a.txt", "b.TXT"};
  for (int i = 0; i < 5; ++i) EXPECT_STREQ(names[i].c_str(), expected[i]) << i;

  EXPECT_EQ(vxl::DirectoryListing("*.*", names), 3 * 65536 + 3);
  EXPECT_EQ(vxl::DirectoryListing("none", names), 3 * 65536 + 0);
  EXPECT_EQ(names.Size(), 3);
}

TEST(FilesPattern, MatchingRules) {
  struct Case {
    const char* pattern;
    std::string name;
    bool match;
  } cases[] = {
      {"*.*", "noextension", true},  // "*.*" is "everything"
      {"*.*", ".hidden", true},
      {"*.txt", "a.txt", true},
      {"*.txt", "B.TXT", true},  // letter case ignored
      {"*.txt", "a.txt.bak", false},
      {"*.txt", ".txt", true},
      {"a?c", "abc", true},
      {"a?c", "a.c", false},  // "?" never stands for "."
      {"a?c", "ac", false},
      {"??", "ab", true},
      {"*", "", true},
      {"", "", true},
      {"", "a", false},
      {"a**b", "ab", true},  // several stars count as one
      {"a*b*c", "axxbyyc", true},
      {"a*b*c", "axxbyy", false},
      {"*ab", "aab", true},  // needs backtracking to the star
      {"*.png", "flag.PNG", true},
      {"*a*a*a*a*a*a*a*b", std::string(60, 'a'), false},  // no blow-up
  };
  for (const Case& c : cases) {
    EXPECT_EQ(vxl::MatchesPattern(c.pattern, c.name.c_str()), c.match)
        << "'" << c.pattern << "' vs '" << c.name << "'";
  }
}

// ---- file channels ----------------------------------------------------------------

std::vector<std::string> ReadAllLines(int channel) {
  std::vector<std::string> lines;
  while (!vxl::EndOfFile(channel)) lines.push_back(vxl::ReadLine(channel).c_str());
  return lines;
}

TEST_F(FilesTest, ReadLineRules) {
  const std::string longLine(2500, 'x');
  struct Case {
    const char* what;
    std::string content;
    std::vector<std::string> lines;
  } cases[] = {
      {"CR LF and LF", "one\r\ntwo\nthree", {"one", "two", "three"}},
      {"last line with LF", "a\n", {"a"}},
      {"empty lines", "\n\r\n\n", {"", "", ""}},
      {"lone CR stays", "a\rb\r", {"a\rb\r"}},
      {"empty file", "", {}},
      {"long line continues",
       longLine + "\nend",
       {std::string(1023, 'x'), std::string(1023, 'x'), std::string(454, 'x'), "end"}},
      {"exactly 1023 then CR LF", std::string(1023, 'y') + "\r\nz", {std::string(1023, 'y'), "z"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    WriteBytes("Chapters.txt", c.content);
    ASSERT_EQ(vxl::OpenFile(3, "chapters.txt", 1), 1);
    EXPECT_EQ(ReadAllLines(3), c.lines);
    vxl::CloseFile(3);
  }
}

TEST_F(FilesTest, ChannelReadsInMemoryEntriesItOwns) {
  WriteBytes("media.sbx", Archive({Entry("page.txt", "first\r\nsecond\n"), Entry("pic.png", "p")}));
  vxl::SetArchives("media.sbx", "");
  ASSERT_EQ(vxl::OpenFile(0, "Instructions/en/page.txt", 1), 1);
  EXPECT_EQ(vxl::ReadLine(0), "first");
  // A picture loaded while the page is read must not pull the page away.
  vxl::RequestFile(vxl::kMediaRequest, "pic.png", true);
  EXPECT_EQ(vxl::ReadLine(0), "second");
  EXPECT_EQ(vxl::EndOfFile(0), 1);
  vxl::CloseFile(0);

  EXPECT_EQ(vxl::OpenFile(0, "missing.txt", 1), 0);
  EXPECT_EQ(vxl::LastError(), vxl::kErrNoSuchFile);
  EXPECT_EQ(vxl::EndOfFile(0), 1);
}

TEST_F(FilesTest, WriteAndAppendChannels) {
  WriteBytes("Out.txt", "old\n");
  ASSERT_EQ(vxl::OpenFile(1, "out.txt", 0), 1);  // the existing name is reused
  EXPECT_EQ(vxl::WriteText(1, "new\n"), 1);
  EXPECT_EQ(ReadBytes("Out.txt"), "old\n");  // replaced only when closed
  vxl::CloseFile(1);
  EXPECT_EQ(ReadBytes("Out.txt"), "new\n");
  EXPECT_FALSE(Exists("out.txt"));

  ASSERT_EQ(vxl::OpenFile(1, "Out.txt", -1), 1);
  EXPECT_EQ(vxl::WriteText(1, "more\n"), 1);
  vxl::CloseFile(1);
  EXPECT_EQ(ReadBytes("Out.txt"), "new\nmore\n");

  ASSERT_EQ(vxl::OpenFile(2, "fresh.txt", 0), 1);
  EXPECT_EQ(vxl::FreeFileChannel(), 0);
  EXPECT_EQ(vxl::WriteText(0, "x"), 0);  // nothing open there
  vxl::CloseAllFileChannels();
  EXPECT_EQ(ReadBytes("fresh.txt"), "");

  // In-memory names are read-only; channels exist only from 0 to 7.
  WriteBytes("media.sbx", Archive({Entry("a.txt", "a")}));
  vxl::SetArchives("media.sbx", "");
  const vxl::StringValue mem = vxl::RequestFile(vxl::kMediaRequest, "a.txt", true);
  EXPECT_EQ(vxl::OpenFile(1, mem, 0), 0);
  EXPECT_EQ(vxl::LastError(), vxl::kErrNoSuchFile);
  EXPECT_EQ(vxl::OpenFile(1, mem, -1), 0);
  EXPECT_EQ(vxl::LastError(), vxl::kErrNoSuchFile);
  ASSERT_EQ(vxl::OpenFile(1, mem, 1), 1);  // but readable, and it stays the same entry
  EXPECT_EQ(vxl::ReadLine(1), "a");
  EXPECT_EQ(vxl::OpenFile(8, "Out.txt", 1), 0);
  EXPECT_EQ(vxl::LastError(), vxl::kErrOutOfMemory);
  EXPECT_EQ(vxl::OpenFile(0, "no/such/folder/x.txt", 0), 0);
  EXPECT_EQ(vxl::LastError(), vxl::kErrNoSuchFile);
}

using FilesDeathTest = FilesTest;

TEST_F(FilesDeathTest, ReadingPastTheEndOrOutsideTheChannelsIsFatal) {
  // Forked at the statement: the child works in this test's folder, and the
  // parent cleans up after it.
  GTEST_FLAG_SET(death_test_style, "fast");
  WriteBytes("one.txt", "only\n");
  EXPECT_EXIT(
      {
        vxl::OpenFile(0, "one.txt", 1);
        vxl::ReadLine(0);
        vxl::ReadLine(0);
      },
      testing::ExitedWithCode(vxl::kErrNoSuchFile), "");
  EXPECT_EXIT(vxl::ReadLine(5), testing::ExitedWithCode(vxl::kErrNoSuchFile), "");
  EXPECT_EXIT(
      {
        vxl::OpenFile(0, "new.txt", 0);
        vxl::ReadLine(0);
      },
      testing::ExitedWithCode(vxl::kErrNoSuchFile), "");
  EXPECT_EXIT(vxl::ReadLine(8), testing::ExitedWithCode(vxl::kErrOutOfMemory), "");
  EXPECT_EXIT(vxl::ReadLine(-1), testing::ExitedWithCode(vxl::kErrOutOfMemory), "");
  EXPECT_EXIT(vxl::CloseFile(9), testing::ExitedWithCode(vxl::kErrOutOfMemory), "");
}

}  // namespace
