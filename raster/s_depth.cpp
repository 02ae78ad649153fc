// The depth buffer object: its three widths, and the record it keeps with
// each drawable depth buffer it is bound to.
#include <string.h>

#include <mutex>

#include "core/context.h"
#include "core/drawable.h"
#include "core/gl_assert.h"
#include "core/s_entry.h"
#include "core/s_nop.h"
#include "raster/s_depth.h"

namespace {

constexpr uint32_t kScale16 = 0xFFFF0000u;
constexpr uint32_t kScaleWide = 0x7FC00000u;  // not 2^31: z stays a positive float
constexpr size_t kRecordBytes = 24;

// A record for a drawable that has no allocator: it comes from the binding
// context's allocator, which does not outlive the context, so the context
// gives back every such record it made when it is destroyed (the drawable
// buffer then makes a new one at its next use).
struct BorrowedRecord {
  GlDepthBufferPrivate rec;  // first: the drawable buffer points here
  GlContext *owner;
  GlDrawableBuffer *home;
  BorrowedRecord *next;
};

std::mutex gBorrowedLock;
BorrowedRecord *gBorrowed = nullptr;

// Unlinks and returns the borrowed record at `rec`; null when `rec` is not
// one. The caller holds gBorrowedLock.
BorrowedRecord *TakeBorrowed(const void *rec) {
  for (BorrowedRecord **link = &gBorrowed; *link; link = &(*link)->next) {
    BorrowedRecord *b = *link;
    if (&b->rec == rec) {
      *link = b->next;
      return b;
    }
  }
  return nullptr;
}

void FreePrivate(GlDrawableBuffer *drawableBuf, GlDrawable *drawable) {
  void *rec = drawableBuf->corePrivate;
  if (rec == nullptr) return;
  {
    std::lock_guard<std::mutex> hold(gBorrowedLock);
    if (BorrowedRecord *b = TakeBorrowed(rec)) {
      b->owner->imports.free(b->owner, b);
      rec = nullptr;
    }
  }
  if (rec && drawable && drawable->free) drawable->free(rec);
  drawableBuf->corePrivate = nullptr;
}

// The depth buffer's free procedure: the records it borrowed go back now.
void FreeBorrowed(GlBuffer *, GlContext *gc) {
  std::lock_guard<std::mutex> hold(gBorrowedLock);
  for (BorrowedRecord **link = &gBorrowed; *link;) {
    BorrowedRecord *b = *link;
    if (b->owner != gc) {
      link = &b->next;
      continue;
    }
    *link = b->next;
    if (b->home->corePrivate == &b->rec) {
      b->home->corePrivate = nullptr;
      b->home->freePrivate = nullptr;
    }
    gc->imports.free(gc, b);
  }
}

// The record of a drawable buffer by its bits per pixel: 16-bit words, 24
// bits of depth in 32-bit words under an epoch byte, or 32-bit words. Every
// width starts with a full clear: new memory may hold any epoch.
void FillRecord(GlDepthBufferPrivate *rec, const GlDrawableBuffer *drawableBuf) {
  memset(rec, 0, sizeof *rec);
  const uint32_t bits = drawableBuf->depth;
  if (bits < 17) {
    rec->shift = 16;
    rec->depthMask = 0xFFFFu;
  } else if (bits > 24) {
    rec->shift = 0;
    rec->depthMask = 0xFFFFFFFFu;
  } else {
    rec->base = 0xFF000000u;
    rec->shift = 7;
    rec->depthMask = 0xFFFFFFu;
    rec->step = __GL_DEPTH_STEP_DOWN;
  }
  rec->fullClear = 1;
}

// A new record hung on the drawable buffer; null when there is no memory
// for it.
GlDepthBufferPrivate *MakeRecord(GlContext *gc, GlDrawableBuffer *drawableBuf) {
  GlDrawable *drawable = gc->drawablePrivate;
  GlDepthBufferPrivate *rec = nullptr;
  if (drawable && drawable->malloc) {
    rec = static_cast<GlDepthBufferPrivate *>(drawable->malloc(kRecordBytes));
  } else {
    auto *b = static_cast<BorrowedRecord *>(gc->imports.malloc(gc, sizeof(BorrowedRecord)));
    if (b) {
      b->owner = gc;
      b->home = drawableBuf;
      std::lock_guard<std::mutex> hold(gBorrowedLock);
      b->next = gBorrowed;
      gBorrowed = b;
      rec = &b->rec;
    }
  }
  if (rec == nullptr) return nullptr;
  FillRecord(rec, drawableBuf);
  drawableBuf->corePrivate = rec;
  drawableBuf->freePrivate = FreePrivate;
  return rec;
}

void MakeCurrent(GlBuffer *buf, GlDrawableBuffer *drawableBuf, GlContext *gc) {
  __glMakeCurrentBuffer(buf, drawableBuf, gc);
  // Without memory now, the buffer asks again when it is next used.
  if (drawableBuf && drawableBuf->corePrivate == nullptr) MakeRecord(gc, drawableBuf);
  __GL_ASSERT(gc->beginMode != __GL_IN_BEGIN, "__gl_beginMode != __GL_IN_BEGIN", "s_depth");
  __glDelayValidate(gc, __GL_DIRTY_DEPTH | __GL_DIRTY_SCISSOR);
}

// The window changed size: the next clear rewrites every word.
GLbool8 Update(GlBuffer *buf, int32_t, int32_t, int32_t, int32_t, uint32_t) {
  GlDepthBuffer *dfb = reinterpret_cast<GlDepthBuffer *>(buf);
  GlContext *gc = buf->gc;
  if (gc == nullptr) return 1;
  __GL_LOCK_DRAWABLE(gc, "s_depth");
  if (GlDepthBufferPrivate *rec = __glDepthPrivate(dfb)) rec->fullClear = 1;
  __GL_UNLOCK_DRAWABLE(gc);
  return 1;
}

void InitCommon(GlDepthBuffer *dfb, GlContext *gc, uint32_t scale) {
  __glInitBuffer(&dfb->buf, gc);
  dfb->buf.resize = Update;
  dfb->buf.makeCurrent = MakeCurrent;
  dfb->buf.free = FreeBorrowed;
  dfb->scale = scale;
  dfb->func = GL_LESS;
  dfb->offsetUnit = 16777216.0f;
  dfb->fix = __glNopProc<decltype(dfb->fix)>();
  dfb->pick = depth::Pick;
  dfb->store = __glStoreProcs[GL_LESS - GL_NEVER + (scale == kScale16 ? 0 : 16)];
  dfb->clear = depth::Clear;
}

}  // namespace

static_assert(offsetof(BorrowedRecord, rec) == 0, "the drawable buffer points at the record");
static_assert(sizeof(GlDepthBufferPrivate) <= kRecordBytes, "the record fits its block");

void __glInitDepth16(GlDepthBuffer *dfb, GlContext *gc) {
  InitCommon(dfb, gc, kScale16);
  dfb->storeAlways = __glStoreProcs[GL_ALWAYS - GL_NEVER];
  dfb->fetch = depth::Fetch16;
}

void __glInitDepth24(GlDepthBuffer *dfb, GlContext *gc) {
  InitCommon(dfb, gc, kScaleWide);
  dfb->storeAlways = __glStoreProcs[GL_ALWAYS - GL_NEVER + 16];
  dfb->fetch = depth::FetchFastClear;
  dfb->fix = depth::Fix_zbuffer;
}

void __glInitDepth32(GlDepthBuffer *dfb, GlContext *gc) {
  InitCommon(dfb, gc, kScaleWide);
  dfb->storeAlways = __glStoreProcs[GL_ALWAYS - GL_NEVER + 16];
  dfb->fetch = depth::Fetch;
}

void __glInitDepth(GlDepthBuffer *dfb, GlContext *gc) {
  const uint32_t bits = gc->modes.depthBits;
  if (bits <= 16)
    __glInitDepth16(dfb, gc);
  else if (bits <= 24)
    __glInitDepth24(dfb, gc);
  else
    __glInitDepth32(dfb, gc);
}

GlDepthBufferPrivate *__glDepthPrivate(GlDepthBuffer *dfb) {
  GlDrawableBuffer *drawableBuf = dfb->buf.drawableBuf;
  if (drawableBuf == nullptr) return nullptr;
  if (drawableBuf->corePrivate)
    return static_cast<GlDepthBufferPrivate *>(drawableBuf->corePrivate);
  if (GlDepthBufferPrivate *rec = MakeRecord(dfb->buf.gc, drawableBuf)) return rec;
  // Without memory for a record the buffer works without clear epochs (no
  // word carries one, and every clear is full) until a record can be made.
  thread_local GlDepthBufferPrivate plain;
  FillRecord(&plain, drawableBuf);
  if (plain.step) {
    plain.base = 0;
    plain.step = 0;
  }
  return &plain;
}
