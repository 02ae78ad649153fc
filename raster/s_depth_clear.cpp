// The depth buffer's clears and the 24-bit buffer's clear epochs.
//
// A 24-bit buffer keeps depth in 32-bit words whose top byte is the epoch
// the word was written in. A fast clear starts a new epoch, which makes
// every older word read as the clear depth, and rewrites one band of rows,
// so that over 128 epochs each row is rewritten once before its old epoch
// could come round again. Epochs run down from 0x7F to 0x00, then up from
// 0x80 to 0xFF: in each run the new epoch's words all lie on one side of
// every older word. Older words stand for the clear's depth, the far end of
// the comparison (1.0 for GL_LESS and GL_LEQUAL) or its near end (0.0 for
// GL_GREATER and GL_GEQUAL); the run stores reversed depth (scale - z) when
// its side is the other one, and compares with the mirrored function.
#include <string.h>

#include "core/context.h"
#include "core/drawable.h"
#include "core/s_entry.h"
#include "raster/s_clear.h"
#include "raster/s_depth.h"

namespace {

constexpr uint32_t kDown = __GL_DEPTH_STEP_DOWN;
constexpr uint32_t kUp = __GL_DEPTH_STEP_UP;

bool LessFamily(GLenum f) { return f == GL_LESS || f == GL_LEQUAL; }
bool GreaterFamily(GLenum f) { return f == GL_GREATER || f == GL_GEQUAL; }

GLenum Mirror(GLenum f) {
  switch (f) {
    case GL_LESS:
      return GL_GREATER;
    case GL_LEQUAL:
      return GL_GEQUAL;
    case GL_GREATER:
      return GL_LESS;
    case GL_GEQUAL:
      return GL_LEQUAL;
    default:
      return f;
  }
}

// Whether a run stores reversed depth for function f: older words lie above
// a descending run's values and below an ascending run's, and must stand
// for the far end under GL_LESS and GL_LEQUAL, the near end under GL_GREATER
// and GL_GEQUAL.
uint8_t RunReverses(uint32_t step, GLenum f) {
  return step == kUp ? LessFamily(f) : GreaterFamily(f);
}

// The buffer's comparison for the function in force and the record's
// direction. `ask`: the store installed must follow it, so validation is
// requested when it changed.
void FollowFunction(GlContext *gc, GlDepthBuffer *dfb, const GlDepthBufferPrivate *rec, bool ask) {
  const GLenum f = gc->state.depth.testFunc;
  const GLenum func = rec && rec->reverse ? Mirror(f) : f;
  if (func == dfb->func) return;
  dfb->func = func;
  if (ask && gc->beginMode != __GL_IN_BEGIN) __glDelayValidate(gc, __GL_DIRTY_DEPTH);
}

// Turns the run round when its epochs are used up. True when it did.
bool TurnRun(GlContext *gc, GlDepthBufferPrivate *rec) {
  const GLenum f = gc->state.depth.testFunc;
  if (rec->step == kDown && rec->base == 0xFF000000u) {
    rec->base = 0x80000000u;
    rec->step = kUp;
  } else if (rec->step == kUp && rec->base == 0) {
    rec->base = 0x7F000000u;
    rec->step = kDown;
  } else {
    return false;
  }
  rec->reverse = RunReverses(rec->step, f);
  return true;
}

// A new epoch (every other word is now older) may choose its direction
// afresh for the function in force.
void NewEpoch(GlContext *gc, GlDepthBuffer *dfb, GlDepthBufferPrivate *rec) {
  TurnRun(gc, rec);
  rec->reverse = RunReverses(rec->step, gc->state.depth.testFunc);
  FollowFunction(gc, dfb, rec, true);
}

// Whether an epoch clear gives the clear depth: older words stand for the
// far end of the function's family.
uint8_t FastClearFits(const GlContext *gc, const GlDepthBufferPrivate *rec) {
  const GLenum f = gc->state.depth.testFunc;
  const GLdouble clear = gc->state.depth.clear;
  return rec->step != 0 && ((LessFamily(f) && clear == 1.0) || (GreaterFamily(f) && clear == 0.0));
}

struct Box {
  int32_t x0, y0, x1, y1;
  int32_t width() const { return x1 - x0; }
  int32_t height() const { return y1 - y0; }
};

Box ClipBox(const GlContext *gc) {
  const int32_t *b = gc->transform.clipBox;
  return Box{b[0], b[1], b[2], b[3]};
}

bool CoversWindow(const GlContext *gc, const Box &box) {
  const int32_t x = gc->constants.viewportXAdjust, y = gc->constants.viewportYAdjust;
  return box.x0 <= x && box.y0 <= y && box.x1 >= x + gc->constants.width &&
         box.y1 >= y + gc->constants.height;
}

// Rows [first, last) of the box; the caller holds the depth buffer's lock.
void FillRows(GlDepthBuffer *dfb, const Box &box, int32_t first, int32_t last, uint32_t value) {
  __glDepthFillRect(dfb, box.x0, first, box.x1, last, value);
}

}  // namespace

uint32_t __glDepthClearValue(GlDepthBuffer *dfb) {
  GlContext *gc = dfb->buf.gc;
  __glValidateZCount(gc);
  const GlDepthBufferPrivate *rec = __glDepthPrivate(dfb);
  // The setter keeps the clear depth in [0, 1].
  const long double z = (long double)gc->state.depth.clear * (long double)dfb->scale;
  return __glDepthStoredValue(rec, dfb->scale, uint32_t(z));
}

void __glDepthFillRect(GlDepthBuffer *dfb, int32_t x0, int32_t y0, int32_t x1, int32_t y1,
                       uint32_t value) {
  if (x0 >= x1 || y0 >= y1) return;
  GlContext *gc = dfb->buf.gc;
  GlDrawableBuffer *drawableBuf = dfb->buf.drawableBuf;
  const int32_t unit = int32_t(drawableBuf->elementSize);
  const int32_t skip = __glRowBytes(drawableBuf) - (x1 - x0) * unit;
  void *dst = __glPixelAddress(gc, drawableBuf, x0, y0);
  if (unit == 2)
    __glI386MemClear2(gc, dst, x1 - x0, y1 - y0, skip, uint16_t(value));
  else
    __glI386MemClear4(gc, dst, x1 - x0, y1 - y0, skip, value);
}

void __glValidateZCount(GlContext *gc) {
  if (!gc->modes.haveDepthBuffer) return;
  GlDepthBuffer *dfb = &gc->depthBuffer;
  GlDepthBufferPrivate *rec = __glDepthPrivate(dfb);
  bool turned = false;
  if (rec && rec->step != kDown && rec->step != kUp)
    rec->reverse = 0;  // no epochs
  else if (rec)
    turned = TurnRun(gc, rec);
  // The depth picker installs the store for the function it finds here; a
  // run turned elsewhere needs the store picked again.
  FollowFunction(gc, dfb, rec, turned);
}

void depth::Pick(GlContext *gc, GlDepthBuffer *dfb, int32_t index) {
  __GL_LOCK_DRAWABLE(gc, "s_depth");
  if (GlDepthBufferPrivate *rec = __glDepthPrivate(dfb)) rec->fastClear = FastClearFits(gc, rec);
  __GL_UNLOCK_DRAWABLE(gc);
  dfb->store = __glStoreProcs[index & 31];
}

namespace {

// The clear of a non-empty box, with the depth buffer locked.
void ClearLocked(GlContext *gc, GlDepthBuffer *dfb, GlDepthBufferPrivate *rec, const Box &box) {
  // glClearDepth picks nothing again, so the choice made at the last pick
  // may be for another clear depth.
  rec->fastClear = FastClearFits(gc, rec);
  if (rec->step == 0 || !CoversWindow(gc, box)) {
    // A box of the window: its words join the current epoch, the rest of
    // the window keeps its own.
    FillRows(dfb, box, box.y0, box.y1, __glDepthClearValue(dfb));
    if (rec->step == 0) rec->fullClear = 0;
  } else if (rec->fullClear || !rec->fastClear) {
    rec->base = ~rec->depthMask;
    NewEpoch(gc, dfb, rec);
    rec->fullClear = 0;
    FillRows(dfb, box, box.y0, box.y1, __glDepthClearValue(dfb));
  } else {
    rec->base += rec->step;
    NewEpoch(gc, dfb, rec);
    const uint32_t value = __glDepthClearValue(dfb);
    // Band e of 128: every row lies in exactly one.
    const int64_t e = (rec->base >> 24) & 127, h = box.height();
    FillRows(dfb, box, box.y0 + int32_t(h * e / 128), box.y0 + int32_t(h * (e + 1) / 128), value);
  }
}

}  // namespace

void depth::Clear(GlDepthBuffer *dfb) {
  GlContext *gc = dfb->buf.gc;
  if (gc == nullptr || !gc->state.depth.writeEnable) return;
  __GL_LOCK_DRAWABLE(gc, "s_depth");
  GlDepthBufferPrivate *rec = __glDepthPrivate(dfb);
  const Box box = ClipBox(gc);
  if (rec && box.width() > 0 && box.height() > 0) {
    // A surface has its pixels only while locked: the lock comes before the
    // test of its base.
    __glLockBuffersIfInstalled(gc, __GL_DEPTH_BUFFER_MASK);
    if (dfb->buf.drawableBuf->base) ClearLocked(gc, dfb, rec, box);
    __glUnlockBuffersIfInstalled(gc, __GL_DEPTH_BUFFER_MASK);
  }
  __GL_UNLOCK_DRAWABLE(gc);
}

void depth::Fix_zbuffer(GlContext *gc, GlDepthBuffer *dfb, uint32_t high) {
  // The lock may deliver a resize, which changes the clip box.
  __GL_LOCK_DRAWABLE(gc, "s_depth");
  GlDepthBufferPrivate *rec = __glDepthPrivate(dfb);
  const Box box = ClipBox(gc);
  if (!rec || rec->step == 0 || box.width() <= 0 || box.height() <= 0) {
    __GL_UNLOCK_DRAWABLE(gc);
    return;
  }
  __glLockBuffersIfInstalled(gc, __GL_DEPTH_BUFFER_MASK);
  const uint32_t top = high & ~rec->depthMask;
  for (int32_t y = box.y0; y < box.y1; y++) {
    uint8_t *p = __glPixelAddress(gc, dfb->buf.drawableBuf, box.x0, y);
    for (int32_t x = box.x0; x < box.x1; x++, p += 4) {
      uint32_t word;
      memcpy(&word, p, 4);
      uint32_t depth = __glDepthCompareValue(rec, dfb->scale, word) - rec->base;
      if (rec->reverse) depth = (dfb->scale >> rec->shift) - depth;
      word = (depth & rec->depthMask) | top;
      memcpy(p, &word, 4);
    }
  }
  rec->fullClear = 1;
  __glUnlockBuffersIfInstalled(gc, __GL_DEPTH_BUFFER_MASK);
  __GL_UNLOCK_DRAWABLE(gc);
}
