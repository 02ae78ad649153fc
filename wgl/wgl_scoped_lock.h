// Scoped holds of the layer's locks. A hold lets go when its scope ends, or
// earlier through unlock() where the code must let go before it calls out or
// frees what the lock guards. The order stays the locks' own: the global lock
// is taken before a drawable's mutex, so a drawable hold is declared after
// the global hold and ends first.
#pragma once

#include "wgl/wgl_drawable.h"
#include "wgl/wgl_global_lock.h"

// Holds the global lock.
class WglGlobalHold {
 public:
  WglGlobalHold() { __wglLockMutex(); }
  ~WglGlobalHold() { unlock(); }
  WglGlobalHold(const WglGlobalHold &) = delete;
  WglGlobalHold &operator=(const WglGlobalHold &) = delete;

  void unlock() {
    if (!held_) return;
    held_ = false;
    __wglUnlockMutex();
  }

 private:
  bool held_ = true;
};

// Holds a drawable's mutex (nothing for a null mutex, as the mutex calls).
// Made from the drawable and a file name, it also writes the lock site (the
// caller's line and the file) into the drawable's trace at its current
// depth, and clears it again before letting go.
class WglDrawableHold {
 public:
  explicit WglDrawableHold(WglDrawableMutex *mutex) : mutex_(mutex) {
    __wglLockDrawableMutex(mutex_);
  }
  WglDrawableHold(GlDrawable *drawable, const char *file, int line = __builtin_LINE())
      : mutex_(drawable->mutex), traced_(drawable) {
    __wglLockDrawableMutex(mutex_);
    Site(line, file);
  }
  ~WglDrawableHold() { unlock(); }
  WglDrawableHold(const WglDrawableHold &) = delete;
  WglDrawableHold &operator=(const WglDrawableHold &) = delete;

  // The drawable's record went while held: there is no trace left to clear.
  void forgetTrace() { traced_ = nullptr; }

  void unlock() {
    if (!held_) return;
    held_ = false;
    if (traced_) Site(0, nullptr);
    __wglUnlockDrawableMutex(mutex_);
  }

 private:
  void Site(int line, const char *file) {
    int32_t depth = traced_->lockDepth;
    if (depth >= 0 && depth < GL_LOCK_TRACE_DEPTH) {
      traced_->lockLines[depth] = line;
      traced_->lockFiles[depth] = file;
    }
  }

  WglDrawableMutex *mutex_;
  GlDrawable *traced_ = nullptr;
  bool held_ = true;
};
