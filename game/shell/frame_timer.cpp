// The frame timer's reset and tick rules.
#include "game/shell/frame_timer.h"

#include "runtime/core/frame.h"

namespace quarx {

TFrameTimer& FrameTimer() {
  static TFrameTimer timer;
  return timer;
}

void ResetFrameTimer(TFrameTimer& timer) {
  timer = TFrameTimer{};
}

double TickFrameTimerAt(TFrameTimer& timer, double now) {
  if (timer.lastTick != 0.0) {
    double elapsed = now - timer.lastTick;
    if (elapsed == 0.0) {
      vxl::Sleep(1);
      now += 1.0;
      elapsed = 1.0;
    }
    timer.speedFactor = elapsed / timer.frameTime;
  } else {
    timer.speedFactor = 1.0;
  }
  timer.lastTick = now;
  return timer.speedFactor;
}

double TickFrameTimer(TFrameTimer& timer) {
  return TickFrameTimerAt(timer, vxl::Timer());
}

}  // namespace quarx
