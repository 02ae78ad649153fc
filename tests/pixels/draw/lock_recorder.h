// A recording buffer lock for the pixel paths' tests: while one lives, the
// context's lock and unlock record each mask (unlocks with the top bit set)
// and the nesting depth, then call the real procedures.
#pragma once

#include <stdint.h>

#include <vector>

#include "core/context.h"

namespace draw_test {

class LockRecorder {
 public:
  static constexpr uint32_t kUnlock = 0x80000000u;
  explicit LockRecorder(GlContext *gc) : gc_(gc) {
    State() = {gc->lockBuffers, gc->unlockBuffers, {}, 0};
    gc->lockBuffers = Lock;
    gc->unlockBuffers = Unlock;
  }
  ~LockRecorder() {
    gc_->lockBuffers = State().lock;
    gc_->unlockBuffers = State().unlock;
  }
  LockRecorder(const LockRecorder &) = delete;
  LockRecorder &operator=(const LockRecorder &) = delete;

  static std::vector<uint32_t> &Masks() { return State().masks; }
  static int Depth() { return State().depth; }

 private:
  struct Recorded {
    void (*lock)(GlContext *, uint32_t);
    void (*unlock)(GlContext *, uint32_t);
    std::vector<uint32_t> masks;
    int depth;
  };
  static Recorded &State() {
    static Recorded state;
    return state;
  }
  static void Lock(GlContext *gc, uint32_t mask) {
    State().masks.push_back(mask);
    State().depth++;
    State().lock(gc, mask);
  }
  static void Unlock(GlContext *gc, uint32_t mask) {
    State().masks.push_back(mask | kUnlock);
    State().depth--;
    State().unlock(gc, mask);
  }
  GlContext *gc_;
};

}  // namespace draw_test
