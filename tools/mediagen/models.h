// The two 3D models of the manifest: the title ring (textured with 3DTitleTexture.png) and the
// sky sphere, both built here as triangle lists and written in the binary .kvd format.
#pragma once

#include "tools/kvd/kvd_writer.h"

namespace mediagen {

kvd::Model BuildTitleModel();  // a torus around the z axis, outer radius 1
kvd::Model BuildSkySphere();   // a unit sphere seen from inside

}  // namespace mediagen
