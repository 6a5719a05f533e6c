// The one runtime start-up of the graphics test binary: a real SDL window with
// a GL context (Xvfb + llvmpipe in CI), started once before any test runs.
// Other test files of this folder rely on it rather than starting their own.
#include <gtest/gtest.h>

#include "runtime/core/frame.h"

namespace {

class GfxRuntimeEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    if (vxl::Renderer()) return;    // already started by another environment
    vxl::Settings().hideMouse = 0;  // never grab the test machine's pointer
    vxl::Startup("Quarx");
  }
};
const auto* const g_env = ::testing::AddGlobalTestEnvironment(new GfxRuntimeEnvironment);

}  // namespace
