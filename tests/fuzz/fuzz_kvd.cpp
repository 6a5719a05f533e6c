// Fuzz target: arbitrary bytes as a .kvd model (binary or text variant).
//
// Besides not crashing or reading out of bounds, a model the reader accepts
// must be consistent: every vertex colour index points into the colour table
// whenever the binary format gave one, normals from the table are unit
// vectors, and the normal processing the game selects runs over it cleanly.
#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "runtime/gfx/kvd.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  vxl::KvdModel model;
  double version = 0;
  const vxl::KvdStatus status = vxl::ParseKvd(data, size, &model, &version);
  if (status != vxl::kKvdOk) {
    if (!model.frames.empty() || !model.colours.empty()) std::abort();
    return 0;
  }
  size_t total = 0;
  for (const auto& frame : model.frames) {
    total += frame.size();
    for (const vxl::KvdVertex& v : frame) {
      if (!model.polygonRuns && !model.colours.empty() && v.colourIndex >= model.colours.size()) {
        std::abort();
      }
      if (!model.polygonRuns) {
        const float len = v.nx * v.nx + v.ny * v.ny + v.nz * v.nz;
        if (std::fabs(len - 1.f) > 1e-3f) std::abort();
      }
    }
  }
  if (total > vxl::kKvdMaxVertices) std::abort();
  vxl::ComputeKvdNormals(&model, 2);
  return 0;
}
