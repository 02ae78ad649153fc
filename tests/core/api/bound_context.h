// A zeroed context, bound to the calling thread for the life of the object,
// with the immediate table current (as binding leaves it) and procedure slots
// that count their calls. Its window-system record takes the tables the
// context hands to the operating system.
#pragma once

#include <memory>
#include <string.h>
#include <vector>

#include "core/context.h"
#include "core/current.h"
#include "core/dispatch.h"
#include "wgl/wgl_context.h"

struct ProcCounts {
  int flush = 0, finish = 0, validate = 0, endPrim = 0;
  int beginPrim[10] = {};
  std::vector<GLenum> errorHook;
};

class BoundContext {
 public:
  BoundContext() : gc_(std::make_unique<GlContext>()) {
    GlContext *gc = gc_.get();
    gc->renderMode = GL_RENDER;
    memcpy(&gc->dispatch, &__glImmedState, sizeof gc->dispatch);
    memcpy(&gc->listCompDispatch, &__glListCompState, sizeof gc->listCompDispatch);
    gc->dispatchState = &gc->dispatch;
    gc->procs.flush = [](GlContext *) { counts().flush++; };
    gc->procs.finish = [](GlContext *) { counts().finish++; };
    gc->procs.validate = [](GlContext *) { counts().validate++; };
    gc->procs.endPrim = [](GlContext *) { counts().endPrim++; };
    gc->procs.beginPrim[0] = [](GlContext *) { counts().beginPrim[0]++; };
    gc->procs.beginPrim[1] = [](GlContext *) { counts().beginPrim[1]++; };
    gc->procs.beginPrim[2] = [](GlContext *) { counts().beginPrim[2]++; };
    gc->procs.beginPrim[3] = [](GlContext *) { counts().beginPrim[3]++; };
    gc->procs.beginPrim[4] = [](GlContext *) { counts().beginPrim[4]++; };
    gc->procs.beginPrim[5] = [](GlContext *) { counts().beginPrim[5]++; };
    gc->procs.beginPrim[6] = [](GlContext *) { counts().beginPrim[6]++; };
    gc->procs.beginPrim[7] = [](GlContext *) { counts().beginPrim[7]++; };
    gc->procs.beginPrim[8] = [](GlContext *) { counts().beginPrim[8]++; };
    gc->procs.beginPrim[9] = [](GlContext *) { counts().beginPrim[9]++; };
    // Lists open and close, and compile to nothing: no arena, no list.
    gc->dlist.optimizer = [](GlContext *, GlDlistRecord *) {};
    gc->dlist.compiler = [](GlContext *, GlDlistRecord *) -> GlDlist * { return nullptr; };
    gc->dlist.appendOp = [](GlContext *, GlDlistOp *) {};
    gc->dlist.beginList = [](GlContext *) {};
    wgl_.setProcTable = &TakeTable;
    gc->imports.other = &wgl_;
    counts() = ProcCounts();
    handed().clear();
    __glSetTLSCXValue(gc);
  }
  ~BoundContext() { __glSetTLSCXValue(&__wglPlaceholderContext); }
  BoundContext(const BoundContext &) = delete;
  BoundContext &operator=(const BoundContext &) = delete;

  GlContext *gc() const { return gc_.get(); }
  WglContext &wgl() { return wgl_; }

  static ProcCounts &counts() {
    static ProcCounts c;
    return c;
  }
  // Tables handed to the operating system, in order.
  static std::vector<const GlDispatchState *> &handed() {
    static std::vector<const GlDispatchState *> h;
    return h;
  }

 private:
  static void GLENTRY TakeTable(const GlDispatchState *table) { handed().push_back(table); }

  std::unique_ptr<GlContext> gc_;
  WglContext wgl_{};
};

inline bool SameTable(const GlDispatchState &a, const GlDispatchState &b) {
  return memcmp(&a, &b, sizeof a) == 0;
}
