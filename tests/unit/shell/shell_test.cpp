// The command-line text and the frame timer.
#include <gtest/gtest.h>

#include <vector>

#include "game/shell/command_line.h"
#include "game/shell/frame_timer.h"
#include "game/shell/game.h"

namespace quarx {
namespace {

TEST(CommandLineTest, QuotesTheExecutableAndArgumentsWithBlanks) {
  const struct {
    std::vector<const char*> argv;
    const char* text;
  } cases[] = {
      {{"/usr/lib/quarx/quarx"}, "\"/usr/lib/quarx/quarx\""},
      {{"/q", "a", "b", "c d"}, "\"/q\" a b \"c d\""},
      {{"/my games/q", "VM"}, "\"/my games/q\" VM"},
      {{"q", ""}, "\"q\" "},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(BuildCommandLine(static_cast<int>(c.argv.size()), c.argv.data()), c.text);
  }
}

TEST(FrameTimerTest, ResetValuesAndTickRules) {
  TFrameTimer t;
  t.speedFactor = 3;
  t.lastTick = 99;
  ResetFrameTimer(t);
  EXPECT_EQ(t.speedFactor, 1.0);
  EXPECT_DOUBLE_EQ(t.frameTime, 1000.0 / 60.0);
  EXPECT_EQ(t.lastTick, 0.0);

  EXPECT_EQ(TickFrameTimerAt(t, 500), 1.0);  // first tick after a reset
  EXPECT_EQ(t.lastTick, 500);
  EXPECT_NEAR(TickFrameTimerAt(t, 500 + 1000.0 / 30.0), 2.0, 1e-9);  // a 30 fps frame
  // Same millisecond: counted as one, never a factor of 0.
  const double now = t.lastTick;
  EXPECT_DOUBLE_EQ(TickFrameTimerAt(t, now), 1.0 / t.frameTime);
  EXPECT_EQ(t.lastTick, now + 1);
}

}  // namespace
}  // namespace quarx

namespace quarx {
namespace {

TEST(GameSpineTest, ReinitialisingKeepsTheChosenLanguageAndTexts) {
  TGame game;
  ASSERT_EQ(InitSetup(game), 1);
  EXPECT_EQ(game.setup.productName, "Quarx");
  ASSERT_EQ(game.firstRun, 1);
  ASSERT_EQ(InitAll(game), 1);
  EXPECT_EQ(game.firstRun, 0);  // the language is chosen once per run
  EXPECT_FALSE(game.initFailurePrefix.empty());
  EXPECT_EQ(game.fade.sprite, -1);
  EXPECT_EQ(game.fade.width, game.screenWidth);
  EXPECT_EQ(game.instructions.screenHeight, game.screenHeight);
  game.initFailurePrefix = "kept ";
  ASSERT_EQ(InitAll(game), 1);
  EXPECT_EQ(game.initFailurePrefix, "kept ");  // no second LoadTexts
  ShutDownAll(game);
  EXPECT_EQ(game.players.Size(0), 0);
}

}  // namespace
}  // namespace quarx
