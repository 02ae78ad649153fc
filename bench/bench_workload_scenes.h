// The fixed workloads of bench_workloads: what each frame draws at 640 x 480
// and what a frame counts, in triangles or pixels.
#pragma once

#include <stdint.h>

namespace bench {

constexpr int kSceneWidth = 640, kSceneHeight = 480;

enum class Unit { kTriangle, kPixel };

struct Workload {
  const char *name;
  Unit unit;
  double perFrame;  // triangles or pixels a frame
  double target;    // cycles per unit
  void (*setUp)();  // once, in a fresh context, before the warm-up frame
  void (*frame)();  // one frame, ending in glFinish
};

extern const Workload kWorkloads[];
extern const int kWorkloadCount;

}  // namespace bench
