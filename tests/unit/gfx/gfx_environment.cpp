// Starts the runtime once for the graphics test binary: a real SDL window with
// a GL context (Xvfb + llvmpipe), before any test runs. Another environment of
// this folder may have started it already; then this one does nothing.
#include <gtest/gtest.h>

#include "runtime/core/frame.h"

namespace {

class SpriteRuntimeEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    if (vxl::Renderer()) return;
    vxl::Settings().hideMouse = 0;  // never grab the test machine's pointer
    vxl::Startup("Quarx");
  }
};
const auto* const g_env = ::testing::AddGlobalTestEnvironment(new SpriteRuntimeEnvironment);

}  // namespace
