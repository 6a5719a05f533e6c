// The INI document: the lenient reading rules, case-blind lookups, put
// semantics, the exact bytes written back, when a file is (and is not)
// rewritten, safe replacement, refused puts, and write-back at process exit.
#include "runtime/core/ini.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>

#include "runtime/core/files.h"
#include "tests/unit/core/temp_folder.h"
#include "tools/sbxpack/sbx_writer.h"

namespace {

using quarx_test::Exists;
using quarx_test::ReadBytes;
using quarx_test::WriteBytes;

class IniTest : public quarx_test::TempFolderTest {
 protected:
  void SetUp() override {
    quarx_test::TempFolderTest::SetUp();
    vxl::InitFileRequests();
  }
  void TearDown() override {
    vxl::CloseIni();
    vxl::FreeFileRequests();
    quarx_test::TempFolderTest::TearDown();
  }
};

const char kQuirks[] =
    "; a comment\r\n"
    "top=before any header\r\n"
    "  \t[My Section]   \r\n"
    "name = value  \r\n"
    "empty=\r\n"
    "blank=   \r\n"
    "novalue\r\n"
    "tabbed\t=x\r\n"
    "junk x=1\r\n"
    "  indented=yes\r\n"
    "eq=a=b\r\n"
    "Dup=first\r\n"
    "dup=second\r\n"
    "ctrl=text\t\x01\r\n"
    "[Lonely]\r\n"
    "[  Spaced]]\r\n"
    "k=v\r\n"
    "[]\r\n"
    "after=in a second section\r\n"
    "[Last]\n"
    "nul=ab\0cd\n"
    "final=no line end";

TEST_F(IniTest, ReadingRules) {
  WriteBytes("quirks.ini", std::string(kQuirks, sizeof kQuirks - 1));
  vxl::OpenIni("quirks.ini");
  struct Case {
    const char* section;
    const char* key;
    const char* value;  // "<none>": the default comes back
  } cases[] = {
      {"", "top", "before any header"},
      {"My", "name", "value  "},         // leading blanks skipped, trailing kept
      {"My Section", "name", "<none>"},  // the name ends at the blank
      {"my", "NAME", "value  "},         // sections and keys ignore case
      {"My", "empty", "<none>"},         // "key=" is ignored
      {"My", "blank", "<none>"},
      {"My", "novalue", "<none>"},
      {"My", "tabbed", "<none>"},  // only blanks may stand before "="
      {"My", "junk", "<none>"},
      {"My", "indented", "yes"},
      {"My", "eq", "a=b"},
      {"My", "dup", "first"},     // the first of duplicates wins
      {"My", "ctrl", "text"},     // trailing control bytes removed
      {"Lonely", "k", "<none>"},  // a header without entries is dropped
      {"Spaced]", "k", "v"},      // blanks after "[" skipped, one "]" dropped
      // "[]" keeps the pending name, so "after" lands in a second "Spaced]"
      // section, and lookups only see the first.
      {"Spaced]", "after", "<none>"},
      {"Last", "nul", "ab"},  // a NUL ends the line
      {"Last", "final", "no line end"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(vxl::GetIni(c.section, c.key, "<none>"), c.value) << c.section << "/" << c.key;
  }
  EXPECT_EQ(vxl::IniChanged(), 0);
}

TEST_F(IniTest, OnlyReadDocumentIsNeverRewritten) {
  const std::string text = "; keep me\n[A]\nx = 1\n\n[Empty]\n";
  WriteBytes("keep.ini", text);
  struct stat before, after;
  ASSERT_EQ(stat("keep.ini", &before), 0);
  vxl::OpenIni("KEEP.INI");
  EXPECT_EQ(std::string(vxl::IniFileName().c_str()), "keep.ini");  // the resolved name
  EXPECT_EQ(vxl::GetIni("a", "X", ""), "1");
  vxl::PutIni("A", "", "");     // removes section A ...
  vxl::PutIni("gone", "", "");  // ... but a missing section changes nothing
  vxl::CloseIni();
  ASSERT_EQ(stat("keep.ini", &after), 0);
  EXPECT_NE(ReadBytes("keep.ini"), text);  // the removal was written

  WriteBytes("keep.ini", text);
  ASSERT_EQ(stat("keep.ini", &before), 0);
  vxl::OpenIni("keep.ini");
  vxl::PutIni("gone", "", "");
  vxl::PutIni("A", "y", "");  // removing a missing key changes nothing either
  vxl::OpenIni("other.ini");
  vxl::CloseIni();
  ASSERT_EQ(stat("keep.ini", &after), 0);
  EXPECT_EQ(ReadBytes("keep.ini"), text);
  EXPECT_EQ(before.st_ino, after.st_ino);
  EXPECT_FALSE(Exists("other.ini"));
}

TEST_F(IniTest, PutsAndTheExactBytesWritten) {
  WriteBytes("opts.ini", "[DISPLAY]\nWIDTH=640\nHEIGHT=480\n[Only]\n[VOLUME]\nMUSIC=1\n");
  vxl::OpenIni("opts.ini");
  vxl::PutIni("display", "width", "800");  // replaces, keeps the stored key's case
  vxl::PutIni("DISPLAY", "height", "");    // removes the key
  vxl::PutIni("DISPLAY", "FULL", "1");     // appends
  vxl::PutIni("NAMES", "P1", "Ann Lee ");  // new section at the end
  vxl::PutIni("volume", "", "");           // removes the section
  vxl::PutIni("NAMES", "P2", "");          // nothing to remove
  EXPECT_EQ(vxl::IniChanged(), 1);
  vxl::CloseIni();
  EXPECT_EQ(ReadBytes("opts.ini"),
            "[DISPLAY]\r\nWIDTH=800\r\nFULL=1\r\n[NAMES]\r\nP1=Ann Lee \r\n");

  vxl::OpenIni("opts.ini");
  EXPECT_EQ(vxl::GetIni("DISPLAY", "HEIGHT", "none"), "none");
  EXPECT_EQ(vxl::GetIni("names", "p1", ""), "Ann Lee ");
  EXPECT_EQ(vxl::GetIni("VOLUME", "MUSIC", "none"), "none");
}

TEST_F(IniTest, ReopeningWritesFirstThenReadsBack) {
  vxl::OpenIni("new.ini");  // missing: an empty document that keeps the name
  EXPECT_EQ(std::string(vxl::IniFileName().c_str()), "new.ini");
  vxl::PutIni("S", "k", "v");
  EXPECT_FALSE(Exists("new.ini"));
  vxl::OpenIni("new.ini");
  EXPECT_EQ(vxl::GetIni("s", "K", ""), "v");
  EXPECT_EQ(vxl::IniChanged(), 0);
  EXPECT_EQ(ReadBytes("new.ini"), "[S]\r\nk=v\r\n");
}

TEST_F(IniTest, NamelessSectionAndLongValuesRoundTrip) {
  WriteBytes("t.ini", "[A]\na=1\n");
  vxl::OpenIni("t.ini");
  const std::string longValue = std::string(5000, 'v') + " end";
  vxl::PutIni("", "top", "level");  // belongs before the first header
  vxl::PutIni("A", "long", longValue.c_str());
  vxl::CloseIni();
  vxl::OpenIni("t.ini");
  EXPECT_EQ(vxl::GetIni("", "top", ""), "level");
  EXPECT_EQ(vxl::GetIni("A", "top", "none"), "none");
  EXPECT_EQ(std::string(vxl::GetIni("A", "long", "").c_str()), longValue);
  EXPECT_EQ(vxl::GetIni("A", "a", ""), "1");
}

TEST_F(IniTest, PutsThatCouldNotReadBackAreRefused) {
  WriteBytes("hs.ini", "[0]\nNAME0=Ann\n");
  vxl::OpenIni("hs.ini");
  struct Case {
    const char* section;
    const char* key;
    const char* value;
  } cases[] = {
      {"My Section", "k", "v"},  // would read back as section "My"
      {"S=1", "k", "v"},
      {"0", "a b", "v"},
      {"0", "a=b", "v"},
      {"0", "[x", "v"},  // would read as a header
      {"0", ";x", "v"},  // would read as a comment
      {"0", "NAME1", "Bob\r\nNAME2=Forged"},
      {"0", "NAME0", "Bob\nX=1"},  // replacing is checked too
      {"0", "k\n", "v"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(vxl::PutIni(c.section, c.key, c.value), 0) << c.section << "/" << c.key;
  }
  EXPECT_EQ(vxl::IniChanged(), 0);
  EXPECT_EQ(vxl::GetIni("0", "NAME0", ""), "Ann");
  EXPECT_EQ(vxl::PutIni("0", "NAME0", "Bob [x] ;y =z"), 1);  // ordinary bytes are fine
  vxl::CloseIni();
  EXPECT_EQ(ReadBytes("hs.ini"), "[0]\r\nNAME0=Bob [x] ;y =z\r\n");
}

TEST_F(IniTest, WriteBackReplacesTheFileSafely) {
  WriteBytes("safe.ini", "[A]\nx=1\n");
  ASSERT_EQ(chmod("safe.ini", 0600), 0);
  vxl::OpenIni("safe.ini");
  vxl::PutIni("A", "x", "2");
  vxl::CloseIni();
  struct stat st;
  ASSERT_EQ(stat("safe.ini", &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);
  vxl::ArrayValue<vxl::StringValue> names;
  EXPECT_EQ(vxl::DirectoryListing("*.*", names) & 0xffff, 1);  // no temporary left behind

  // A file that cannot be written: the changes are dropped, nothing breaks.
  vxl::OpenIni("no/such/folder/x.ini");
  vxl::PutIni("A", "x", "1");
  vxl::CloseIni();
  EXPECT_EQ(std::string(vxl::IniFileName().c_str()), "");
}

TEST_F(IniTest, DocumentFromTheArchiveIsWrittenToALooseFile) {
  std::vector<unsigned char> image;
  std::string error;
  const std::string text = "[SUPPORTED]\nVERSION=3\n";
  ASSERT_TRUE(
      sbxpack::BuildArchive({{"Language.INI", {text.begin(), text.end()}}}, false, &image, &error));
  WriteBytes("media.sbx", std::string(image.begin(), image.end()));
  vxl::SetArchives("media.sbx", "");
  vxl::OpenIni("Media/language.ini");
  EXPECT_EQ(vxl::GetIni("supported", "version", ""), "3");
  EXPECT_EQ(std::string(vxl::IniFileName().c_str()), "Media/language.ini");
  ASSERT_EQ(mkdir("Media", 0755), 0);
  vxl::PutIni("SUPPORTED", "AUTHOR", "me");
  vxl::CloseIni();
  EXPECT_EQ(ReadBytes("Media/language.ini"), "[SUPPORTED]\r\nVERSION=3\r\nAUTHOR=me\r\n");
}

using IniDeathTest = IniTest;

TEST_F(IniDeathTest, ChangesAreWrittenAtProcessExit) {
  // The forked child shares this test's folder; its plain exit must write.
  GTEST_FLAG_SET(death_test_style, "fast");
  const std::string path = Path("exit.ini");
  EXPECT_EXIT(
      {
        vxl::OpenIni(path.c_str());
        vxl::PutIni("END", "written", "yes");
        std::exit(0);
      },
      testing::ExitedWithCode(0), "");
  EXPECT_EQ(ReadBytes(path), "[END]\r\nwritten=yes\r\n");
}

}  // namespace
