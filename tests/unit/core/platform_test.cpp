// Platform information: the LOCALE mapping, the shapes of the clock and build
// answers, the folders from the environment (APPDATA is created), the fixed
// answers, GL entry points through a real window when a display exists, and
// the command line and executable path.
#include "runtime/core/platform.h"

#include <SDL/SDL.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <ctime>
#include <regex>
#include <string>

#include "tests/unit/core/temp_folder.h"

namespace {

// Sets an environment variable for one scope and puts the old value back.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const char* value) : name_(name) {
    const char* old = std::getenv(name);
    had_ = old != nullptr;
    if (had_) old_ = old;
    if (value) {
      setenv(name, value, 1);
    } else {
      unsetenv(name);
    }
  }
  ~ScopedEnv() {
    if (had_) {
      setenv(name_, old_.c_str(), 1);
    } else {
      unsetenv(name_);
    }
  }

 private:
  const char* name_;
  bool had_ = false;
  std::string old_;
};

std::string Info(const char* key) {
  return vxl::PlatformInfo(key).c_str();
}

TEST(PlatformInfo, LocaleFromLang) {
  struct Case {
    const char* lang;  // nullptr: unset
    const char* code;
  } cases[] = {
      {"de_DE.UTF-8", "de"}, {"C", "us"},          {"en_US", "us"},       {"en_GB.UTF-8", "us"},
      {"eng", "uk"},         {"English-UK", "uk"}, {"el", "gr"},          {"el_GR", "gr"},
      {"du", "nl"},          {"am", "us"},         {"ja_JP.eucJP", "jp"}, {"po", "pl"},
      {"pl_PL", "pl"},       {"FR_fr", "fr"},      {nullptr, "us"},       {"", "us"},
      {"x", "us"},           {"C.UTF-8", "us"},    {"POSIX", "us"},       {"1234", "us"},
      {"it", "it"},
  };
  for (const Case& c : cases) {
    ScopedEnv lang("LANG", c.lang);
    EXPECT_EQ(Info("LOCALE"), c.code) << (c.lang ? c.lang : "(unset)");
  }
}

TEST(PlatformInfo, ClockAndBuildShapes) {
  const std::regex stamp(R"(\d{4}-\d{2}-\d{2} \d{2}:\d{2}:\d{2})");
  EXPECT_TRUE(std::regex_match(Info("TIME"), stamp)) << Info("TIME");
  EXPECT_TRUE(std::regex_match(Info("utctime"), stamp)) << Info("utctime");
  {
    // With the zone pinned to UTC both clocks read the same (unless a second
    // ticks over between the two reads, hence the retry).
    ScopedEnv tz("TZ", "UTC");
    tzset();
    bool same = false;
    for (int i = 0; i < 3 && !same; ++i) same = Info("TIME") == Info("UTCTIME");
    EXPECT_TRUE(same);
    // And the answer is today's date, in the documented order.
    char today[16];
    const std::time_t now = std::time(nullptr);
    std::strftime(today, sizeof today, "%Y-%m-%d", std::gmtime(&now));
    EXPECT_EQ(Info("UTCTIME").substr(0, 10), today);
  }
  tzset();
  const std::regex compiled(
      R"((Jan|Feb|Mar|Apr|May|Jun|Jul|Aug|Sep|Oct|Nov|Dec) \d{2} \d{4}-\d{2}:\d{2}:\d{2})");
  EXPECT_TRUE(std::regex_match(Info("COMPILED"), compiled)) << Info("COMPILED");
  EXPECT_TRUE(std::regex_match(Info("HOSTID"), std::regex("[0-9A-F]{8}"))) << Info("HOSTID");
  EXPECT_EQ(Info("HOSTID"), Info("hostid"));
}

TEST(PlatformInfo, FixedAnswers) {
  struct Case {
    const char* key;
    const char* answer;
  } cases[] = {
      {"", "LINUX"},          {"DEVICE", "DESKTOP"}, {"device", "DESKTOP"}, {"BATTERY", "100"},
      {"Version", "001.000"}, {"ID", "NO_DATA"},     {"WHAT", "NO_DATA"},   {"TIMEX", "NO_DATA"},
  };
  for (const Case& c : cases) EXPECT_EQ(Info(c.key), c.answer) << c.key;
}

class PlatformFolders : public quarx_test::TempFolderTest {};

TEST_F(PlatformFolders, DocumentsAppDataAndTemp) {
  {
    ScopedEnv home("HOME", folder_.c_str());
    ScopedEnv tmp("TMPDIR", "/var/tmp/x");
    EXPECT_EQ(Info("DOCUMENTS"), folder_);
    EXPECT_EQ(Info("TEMP"), "/var/tmp/x");
    EXPECT_FALSE(quarx_test::Exists(folder_ + "/.vexel"));
    EXPECT_EQ(Info("appdata"), folder_ + "/.vexel");
    struct stat st;
    ASSERT_EQ(stat((folder_ + "/.vexel").c_str(), &st), 0);
    EXPECT_TRUE(S_ISDIR(st.st_mode));
    const mode_t mask = umask(0);
    umask(mask);
    EXPECT_EQ(st.st_mode & 0777, 0755u & ~static_cast<unsigned>(mask));
    EXPECT_EQ(Info("APPDATA"), folder_ + "/.vexel");  // already there: fine
  }
  {
    ScopedEnv home("HOME", "");
    ScopedEnv tmp("TMPDIR", nullptr);
    EXPECT_EQ(Info("DOCUMENTS"), "~");
    EXPECT_EQ(Info("TEMP"), "/tmp");
  }
}

TEST(PlatformInfo, GlEntryPoints) {
  // Without a window nothing resolves, and asking is harmless.
  EXPECT_EQ(Info("GLEXT:glGenBuffersARB"), "0");
  if (!std::getenv("DISPLAY")) GTEST_SKIP() << "no display for a GL window";
  // The window lives in a child process: SDL and the GL driver keep some
  // memory for the life of the process, which is not this module's to free.
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    int status = 2;  // no GL window
    if (SDL_Init(SDL_INIT_VIDEO) == 0 && SDL_SetVideoMode(64, 64, 0, SDL_OPENGL)) {
      // (GLX hands out stubs for any unknown "gl..." name, so a negative
      // answer cannot be checked against a real driver.)
      status =
          Info("glext:glGenBuffersARB") == "1" && Info("GLEXT:glDrawRangeElements") == "1" ? 0 : 1;
    }
    std::_Exit(status);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  if (WEXITSTATUS(status) == 2) GTEST_SKIP() << "no GL window on this display";
  EXPECT_EQ(WEXITSTATUS(status), 0) << "an existing GL entry point did not resolve";
}

TEST(PlatformCommandLine, SetAndGet) {
  vxl::SetCommandLine("quarx VM deleteoptions");
  EXPECT_EQ(vxl::CommandLine(), "quarx VM deleteoptions");
  vxl::SetCommandLine("");
  EXPECT_EQ(vxl::CommandLine(), "");
}

TEST(PlatformExecutable, PathOfThisProcess) {
  char real[PATH_MAX];
  ASSERT_NE(realpath("/proc/self/exe", real), nullptr);
  EXPECT_EQ(std::string(vxl::ExecutablePath().c_str()), real);
}

}  // namespace
