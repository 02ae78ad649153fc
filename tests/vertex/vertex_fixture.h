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
#include "tests/context/life_fixture.h"

namespace vertex_test {

// Calls made since the log was last taken, in order.
std::vector<std::string> &Calls();
std::vector<std::string> TakeCalls();
// Copies of the vertices procs.primVertex received, in order.
std::vector<GlVertex> &Handed();

class VertexTest : public life_test::LifeTest {
 protected:
  void SetUp() override;
  void TearDown() override;
  // Replaces the bound context by a new one of these modes, bound.
  void Use(const GlModes &modes);
  // What a drawing command does first: validation when it is pending.
  void Validate();
  // Validate(); then the x87 and 3DNow! frustum checks give way to the
  // portable reference (their own tests hold them to it), and
  // procs.primVertex keeps a copy of every vertex.
  void Ready();

  std::unique_ptr<life_test::TestWindow> window;
  GlContext *gc = nullptr;

 private:
  void Drop();
};

}  // namespace vertex_test
