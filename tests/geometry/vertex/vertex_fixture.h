// A context of the core back end bound to a test window, for the vertex
// record's tests: validated as a drawing command would validate it, with
// one log that recording procedures write into, and the vertices the save
// procedure hands on kept as copies.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "core/context.h"
#include "core/gl_api.h"
#include "tests/core/context/life_fixture.h"

namespace vertex_test {

// Calls made since the log was last taken, in order.
std::vector<std::string> &Calls();
std::vector<std::string> TakeCalls();
// Copies of the vertices procs.primVertex received, in order.
std::vector<GlVertex> &Handed();

class VertexTest : public life_test::BoundContextTest {
 protected:
  void TearDown() override;
  void Bound() override { Ready(); }
  // What a drawing command does first: validation when it is pending.
  void Validate() { ValidatePending(); }
  // Validate(); then the x87 and 3DNow! frustum checks give way to the
  // portable reference (their own tests hold them to it), and
  // procs.primVertex keeps a copy of every vertex.
  void Ready();
};

}  // namespace vertex_test
