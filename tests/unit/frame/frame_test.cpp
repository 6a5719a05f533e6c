// The frame loop with a real window: clocks, call by name, pause and resume,
// typed characters, the quit event and the error end.
#include "runtime/core/frame.h"

#include <SDL/SDL.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "runtime/core/error.h"
#include "runtime/input/input.h"

namespace vxl {
namespace {

int g_pauseCalls = 0;
int g_resumeCalls = 0;
void OnPause() {
  ++g_pauseCalls;
}
void OnResume() {
  ++g_resumeCalls;
}
const NamedRoutine kRoutines[] = {
    {OnPause, "VXL_ON_PAUSE"}, {OnResume, "VXL_ON_RESUME"}, {nullptr, nullptr}};

class RuntimeEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    Settings().hideMouse = 0;  // never grab the test machine's pointer
    SetNamedRoutines(kRoutines);
    Startup("Quarx");
  }
};
const auto* const g_env = ::testing::AddGlobalTestEnvironment(new RuntimeEnvironment);

void PushActivation(int gain) {
  SDL_Event e{};
  e.type = SDL_ACTIVEEVENT;
  e.active.gain = static_cast<Uint8>(gain);
  e.active.state = SDL_APPINPUTFOCUS;
  SDL_PushEvent(&e);
}

void PushKey(SDLKey key, Uint16 unicode) {
  SDL_Event e{};
  e.type = SDL_KEYDOWN;
  e.key.state = SDL_PRESSED;
  e.key.keysym.sym = key;
  e.key.keysym.unicode = unicode;
  SDL_PushEvent(&e);
}

TEST(FrameTest, WindowAndRendererFacts) {
  const RendererInfo* r = Renderer();
  ASSERT_NE(r, nullptr);
  EXPECT_EQ(r->width, 640);
  EXPECT_EQ(r->height, 480);
  EXPECT_GT(r->maxTextureSize, 0);
  SDL_Surface* s = SDL_GetVideoSurface();
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(s->w, 640);
  EXPECT_EQ(s->h, 480);
}

TEST(FrameTest, FrameRateSetsTheLimiterPeriod) {
  // The limiter never lets a frame go early: ten frames at 60 fps take at least
  // nine periods (the first may be due already).
  SetFrameRate(60);
  ShowScreen();
  const double start = Timer();
  for (int i = 0; i < 10; ++i) ShowScreen();
  EXPECT_GE(Timer() - start, 9 * 1000.0 / 60.0 - 1);
  EXPECT_GE(FrameTime(), 1.0);
  SetFrameRate(-1);
  ShowScreen();
  ShowScreen();
  EXPECT_GE(FrameTime(), 1.0);
}

TEST(FrameTest, CallByNameReportsMissingRoutines) {
  testing::internal::CaptureStdout();
  EXPECT_EQ(CallByName("NO_SUCH_ROUTINE"), 0);
  EXPECT_EQ(CallByName("VXL_ON_QUIT"), 0);  // absent from this table: silent
  EXPECT_EQ(CallByName("VXL_WIN32_MSG"), 0);
  EXPECT_EQ(CallByName("vxl_on_pause"), 0);  // case-sensitive
  const std::string out = testing::internal::GetCapturedStdout();
  EXPECT_EQ(out,
            "CALLBYNAME \"NO_SUCH_ROUTINE\" *** failed ***\n"
            "CALLBYNAME \"vxl_on_pause\" *** failed ***\n");
  const int before = g_pauseCalls;
  EXPECT_EQ(CallByName("VXL_ON_PAUSE"), 1);
  EXPECT_EQ(g_pauseCalls, before + 1);
}

TEST(FrameTest, ActivationEventsPauseAndResumeOnce) {
  SetAutoPauseFlag(1);
  g_pauseCalls = g_resumeCalls = 0;
  PushActivation(0);
  PushActivation(0);  // a second loss while paused changes nothing
  EXPECT_EQ(PumpEvents(), 0);
  EXPECT_EQ(IsPaused(), 1);
  EXPECT_EQ(g_pauseCalls, 1);
  PushActivation(1);
  PumpEvents();
  EXPECT_EQ(IsPaused(), 0);
  EXPECT_EQ(g_resumeCalls, 1);

  // Without auto-pause a focus loss is not a pause at all.
  SetAutoPauseFlag(0);
  PushActivation(0);
  PumpEvents();
  EXPECT_EQ(IsPaused(), 0);
  EXPECT_EQ(g_pauseCalls, 1);

  // Turning auto-pause off while paused resumes at once.
  SetAutoPauseFlag(1);
  PushActivation(0);
  PumpEvents();
  ASSERT_EQ(IsPaused(), 1);
  SetAutoPauseFlag(0);
  EXPECT_EQ(IsPaused(), 0);
  EXPECT_EQ(g_resumeCalls, 2);
  SetAutoPauseFlag(1);
}

TEST(FrameTest, PausedShowScreenHoldsUntilFocusReturns) {
  SetAutoPauseFlag(1);
  PushActivation(0);
  PumpEvents();
  ASSERT_EQ(IsPaused(), 1);
  // Focus comes back while ShowScreen waits in its pause loop.
  SDL_AddTimer(
      450,
      [](Uint32, void*) -> Uint32 {
        PushActivation(1);
        return 0;
      },
      nullptr);
  testing::internal::CaptureStdout();
  const double start = Timer();
  ShowScreen();
  const std::string out = testing::internal::GetCapturedStdout();
  EXPECT_EQ(IsPaused(), 0);
  EXPECT_GE(Timer() - start, 400);
  EXPECT_NE(out.find("pause loop in showscreen/hibernate\n"), std::string::npos);
  EXPECT_NE(out.find("pause loop ended\n"), std::string::npos);
}

TEST(FrameTest, TypedCharactersAreBufferedInOrder) {
  while (!NextTypedChar().empty()) {
  }
  PushKey(SDLK_a, 'a');
  PushKey(SDLK_b, 'b');
  PushKey(SDLK_RETURN, 13);
  PushKey(SDLK_UP, 0);         // cursor keys carry no character
  PushKey(SDLK_BACKSPACE, 0);  // backspace is always character 8
  PushKey(SDLK_LSHIFT, 0);     // no translation: nothing
  PumpEvents();
  EXPECT_EQ(NextTypedChar(), "a");
  EXPECT_EQ(NextTypedChar(), "b");
  EXPECT_EQ(NextTypedChar(), "\n");
  EXPECT_EQ(NextTypedChar(), "\b");
  EXPECT_TRUE(NextTypedChar().empty());

  for (int i = 0; i < 17; ++i) PushKey(SDLK_x, static_cast<Uint16>('a' + i));
  PumpEvents();
  std::string got;
  for (StringValue c = NextTypedChar(); !c.empty(); c = NextTypedChar()) got += c.c_str();
  EXPECT_EQ(got, "abcdefghijklmnop");  // the seventeenth is lost
}

TEST(FrameTest, KeyTableMapsScanCodes) {
  const struct {
    int scanCode;
    int key;
  } cases[] = {{1, SDLK_ESCAPE},  {56, SDLK_LALT}, {62, SDLK_F4},
               {28, SDLK_RETURN}, {200, SDLK_UP},  {156, SDLK_KP_ENTER},
               {129, 255},        {84, 255},       {257, SDLK_ESCAPE}};
  for (const auto& c : cases) EXPECT_EQ(ScanCodeToKey(c.scanCode), c.key) << c.scanCode;
  EXPECT_EQ(Key(129), 0);
}

TEST(FrameTest, CaptionCarriesTheApplicationName) {
  SetCaptionText("Options");
  char* title = nullptr;
  char* icon = nullptr;
  SDL_WM_GetCaption(&title, &icon);
  EXPECT_STREQ(title, "Quarx - Options");
}

TEST(FrameDeathTest, QuitEventEndsInAnOrderlyWay) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        SetError(kErrNoSuchFile);  // a stale load failure does not make a quit an error
        SDL_Event e{};
        e.type = SDL_QUIT;
        SDL_PushEvent(&e);
        for (;;) ShowScreen();
      },
      ::testing::ExitedWithCode(0), "");
}

TEST(FrameDeathTest, ErrorEndRunsTheShutDownOnce) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        static int runs = 0;
        AddEndHook([] { std::fprintf(stderr, "end hook %d\n", ++runs); });
        RunShutdownOnce();
        RunShutdownOnce();
        SetError(kErrOutOfBounds);
        ErrorEnd();
      },
      ::testing::ExitedWithCode(0), "^end hook 1\n$");
}

TEST(FrameDeathTest, FatalErrorsExitNonZeroAfterTheirLines) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(FatalError(kErrOutOfBounds), ::testing::ExitedWithCode(9), "");
}

}  // namespace
}  // namespace vxl
