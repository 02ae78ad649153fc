// A zeroed context bound to a drawable whose lock, buffer locks and device
// lock only write their names into one log, for the tests of the buffer
// locks and the lock choice.
#pragma once

#include <string>
#include <vector>

#include "core/context.h"
#include "tests/core/services/service_context.h"
#include "wgl/wgl_drawable.h"

namespace raster_buffers_test {

// Bits naming the drawable's buffers in the tests' tables.
enum BufferBits : unsigned {
  kF = 1,   // front
  kB = 2,   // back
  kD = 4,   // depth
  kS = 8,   // stencil
  kA = 16,  // accumulation
  kAll = 31,
};

class LockContext {
 public:
  explicit LockContext(bool doubleBuffered = true);
  LockContext(const LockContext &) = delete;
  LockContext &operator=(const LockContext &) = delete;

  GlContext *gc() const { return ctx_.gc(); }
  GlDrawable *drawable() { return &drawable_; }
  // Which drawable buffers have a lock and which an unlock procedure.
  void SetProcedures(unsigned locks, unsigned unlocks);
  // Whether the device has lock procedures.
  void SetDevice(bool present);
  // The log since the last call, emptied.
  std::vector<std::string> Take();

 private:
  ServiceContext ctx_;
  GlDrawable drawable_{};
};

}  // namespace raster_buffers_test
