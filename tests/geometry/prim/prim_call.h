// One hand-off (or validation) that primitive assembly made, as the
// recording procedures of the fixture saw it and as the model predicts it.
// Vertices are named by the index at which they were given.
#pragma once

#include <stdint.h>

#include <string>
#include <vector>

struct PrimCall {
  int during = 0;        // the vertex being given; the count for glEnd
  std::string kind;      // the procedure: "renderTriangle", "__glClipLine", "validate2", ...
  std::vector<int> ids;  // its vertex arguments in order
  uint32_t orCodes = 0;  // for the clippers that take it
  bool hasOr = false;
  std::string edges;   // boundary bit of each argument during the call, "" when not shown
  int provoking = -1;  // for triangles and quads, else -1
  uint32_t needs = 0;  // for validations
  int stipple = -1;    // lineStippleStarted seen, -1 for validations
  int lockDepth = 0;   // renderLockCount seen
  int lockCalls = 0;   // lock procedure calls made so far
};

// What the caller sees: the procedure, its vertices and codes, and the
// edges; with `full` also when it came, the stipple, the provoking vertex
// and the lock.
std::string Describe(const PrimCall &call, bool full = true);
std::vector<std::string> Describe(const std::vector<PrimCall> &calls, bool full = true);
