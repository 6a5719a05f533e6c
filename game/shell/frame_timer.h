// TFrameTimer: makes every animation of the game independent of the frame rate.
// Each screen loop ticks it once per frame and multiplies its per-frame steps by
// speedFactor (1.0 at 60 frames per second).
#pragma once

namespace quarx {

struct TFrameTimer {
  double speedFactor = 1.0;
  double frameTime = 1000.0 / 60.0;
  double lastTick = 0.0;  // 0 = no tick since the last reset
};

// The one process-wide timer.
TFrameTimer& FrameTimer();
void ResetFrameTimer(TFrameTimer& timer);
// Returns the new speedFactor. `now` comes from the runtime clock; two ticks in
// the same millisecond sleep 1 ms and count as one, so the factor is never 0.
double TickFrameTimer(TFrameTimer& timer);
double TickFrameTimerAt(TFrameTimer& timer, double now);

}  // namespace quarx
