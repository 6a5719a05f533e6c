// Placeholder so the skeleton links; the frame loop lands in the next commit.
#include "runtime/core/frame.h"
#include <ctime>
namespace vxl {
double Timer() { return 0; }
void Sleep(int ms) { timespec t{ms / 1000, (ms % 1000) * 1000000L}; nanosleep(&t, nullptr); }
}
