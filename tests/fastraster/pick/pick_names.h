// Names of what the fast-path picker installs: the chain read back from
// the successor slots as a list of spanlet names (kernels as their table
// and slot), the set-up kind, the render procedure and the extraction
// spanlet.
#pragma once

#include <string>
#include <vector>

#include "core/context.h"

namespace pick_test {

// The chain from fillTriangleSpan to its last spanlet; a procedure no table
// knows is the generated depth test.
std::vector<std::string> ChainNames(GlContext *gc);
// Any procedure the picker installs, by name ("?" when unknown).
std::string ProcName(const void *proc);
template <typename P>
std::string ProcName(P proc) {
  return ProcName(reinterpret_cast<const void *>(proc));
}

}  // namespace pick_test
