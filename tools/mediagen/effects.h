// The four sound effects: the pops of a cell taking its first, second and third ball (rising in
// pitch, so a filling board is heard) and the explosion of a full cell.
#pragma once

#include <vector>

namespace mediagen {

std::vector<float> MakePop(int balls);  // balls 1..3
std::vector<float> MakeExplosion();

}  // namespace mediagen
