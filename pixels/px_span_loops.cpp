// The row loops: each runs a chain over the whole rectangle, with two span
// buffers and a run array on its stack (or, for rows wider than those, the
// storage the path reserved), passing over source rows that fall on no new
// destination row when the destination is the frame buffer.
#include "core/context.h"
#include "core/s_error.h"
#include "pixels/px_copy_pixels.h"
#include "pixels/px_span_procs.h"

GLbool8 __glAllocSpanStorage(GlContext *gc, GlPixelSpanInfo *info, GlSpanStorage *storage,
                             int32_t pixels, int32_t buffers, int32_t rows) {
  // Four floats a pixel in each buffer, one run entry a pixel, one float a
  // row position.
  const size_t buffer = size_t(pixels) * 16;
  const size_t run = (size_t(pixels) * sizeof(int16_t) + 15) & ~size_t(15);
  uint8_t *block = static_cast<uint8_t *>(gc->imports.malloc(
      gc, size_t(buffers) * buffer + run + size_t(rows) * sizeof(GLfloat)));
  if (block == nullptr) {
    __glSetError(GL_OUT_OF_MEMORY);
    return 0;
  }
  storage->block = block;
  storage->a = block;
  storage->b = block + buffer;
  storage->c = buffers > 2 ? block + 2 * buffer : nullptr;
  storage->pixelArray = reinterpret_cast<int16_t *>(block + size_t(buffers) * buffer);
  storage->rowY = rows > 0 ? reinterpret_cast<GLfloat *>(block + size_t(buffers) * buffer + run)
                           : nullptr;
  info->spanStorage = storage;
  return 1;
}

GLbool8 __glReserveSpanStorage(GlContext *gc, GlPixelSpanInfo *info, GlSpanStorage *storage,
                               int32_t pixels) {
  info->spanStorage = nullptr;
  if (pixels <= __GL_MAX_SPAN_WIDTH) return 1;
  return __glAllocSpanStorage(gc, info, storage, pixels, 2, 0);
}

void __glRunLocked(GlContext *gc, GlPixelSpanInfo *info, uint32_t mask, GlSpanLoop pick) {
  gc->lockBuffers(gc, mask);
  pick(gc, info);
  gc->unlockBuffers(gc, mask);
  __glReleaseSpanStorage(gc, info);
}

void __glReleaseSpanStorage(GlContext *gc, GlPixelSpanInfo *info) {
  if (info->spanStorage == nullptr) return;
  gc->imports.free(gc, info->spanStorage->block);
  info->spanStorage = nullptr;
}

namespace {

// The span buffers and run array one loop works with.
struct Buffers {
  void *a, *b;
};

// Runs body(buffers) with the reserved storage, or with stack buffers when
// the row fits them; a row wider than the stack's without storage is not
// run (the paths reserve storage for every wide row).
template <typename Body>
void WithBuffers(GlContext *gc, GlPixelSpanInfo *info, bool runArray, Body body) {
  if (GlSpanStorage *s = info->spanStorage) {
    info->pixelArray = s->pixelArray;
    if (runArray) __glComputeSpanPixelArray(gc, info);
    body(Buffers{s->a, s->b});
    return;
  }
  if (info->width > __GL_MAX_SPAN_WIDTH) return;
  alignas(16) uint8_t a[__GL_SPAN_BUFFER_BYTES];
  alignas(16) uint8_t b[__GL_SPAN_BUFFER_BYTES];
  int16_t pixelArray[__GL_MAX_SPAN_WIDTH];
  info->pixelArray = pixelArray;
  if (runArray) __glComputeSpanPixelArray(gc, info);
  body(Buffers{a, b});
  info->pixelArray = nullptr;
}

GLfloat ReadRowStep(const GlContext *gc) { return gc->constants.yInverted ? -1.0f : 1.0f; }

void AdvanceSource(GlContext *gc, GlPixelSpanInfo *info, bool fromFrameBuffer) {
  if (fromFrameBuffer)
    info->readY += ReadRowStep(gc);
  else
    info->srcCurrent = static_cast<const uint8_t *>(info->srcCurrent) + info->srcRowIncrement;
}

// Runs row(source) for each source row that reaches a new destination row;
// the others are passed over.
template <typename Row>
void ZoomedRows(GlContext *gc, GlPixelSpanInfo *info, bool fromFrameBuffer, Row row) {
  GLfloat y = info->y;
  int32_t last = int32_t(y);
  const int32_t height = info->height;
  for (int32_t i = 0; i < height; i++) {
    info->y = y;
    y += info->zoomy;
    while (int32_t(y) == last) {
      AdvanceSource(gc, info, fromFrameBuffer);
      if (++i == height) return;  // the clip leaves no such row
      info->y = y;
      y += info->zoomy;
    }
    last = int32_t(y);
    row();
    AdvanceSource(gc, info, fromFrameBuffer);
  }
}

// Stage k of the chain from `in` into `out`; returns out.
void *Stage(GlContext *gc, GlPixelSpanInfo *info, int32_t k, const void *in, void *out) {
  info->spanModifier[k](gc, info, in, out);
  return out;
}

// Stages first .. last - 1 from `in`, ping-ponging between the buffers, the
// first into a; returns the last output (in when there is no stage).
const void *Middle(GlContext *gc, GlPixelSpanInfo *info, int32_t first, int32_t last,
                   const void *in, Buffers bufs) {
  void *next = bufs.a;
  for (int32_t k = first; k < last; k++) {
    in = Stage(gc, info, k, in, next);
    next = next == bufs.a ? bufs.b : bufs.a;
  }
  return in;
}

void DrawRows(GlContext *gc, GlPixelSpanInfo *info) {
  WithBuffers(gc, info, true, [&](Buffers bufs) {
    ZoomedRows(gc, info, false, [&] {
      const void *out = Middle(gc, info, 0, info->numSpanMods, info->srcCurrent, bufs);
      info->spanRender(gc, info, const_cast<void *>(out));
    });
  });
}

void ReadRows(GlContext *gc, GlPixelSpanInfo *info) {
  WithBuffers(gc, info, false, [&](Buffers bufs) {
    info->spanWidth = info->width;
    const int32_t n = info->numSpanMods;
    for (int32_t i = 0; i < info->height; i++) {
      if (n == 0) {
        info->spanReader(gc, info, info->dstCurrent);
      } else {
        // The reader fills b, so that the stages ping-pong from a.
        info->spanReader(gc, info, bufs.b);
        const void *in = Middle(gc, info, 0, n - 1, bufs.b, bufs);
        Stage(gc, info, n - 1, in, info->dstCurrent);
      }
      info->dstCurrent = static_cast<uint8_t *>(info->dstCurrent) + info->dstRowIncrement;
      info->readY += ReadRowStep(gc);
    }
  });
}

void CopyRows(GlContext *gc, GlPixelSpanInfo *info) {
  if (info->overlap) {
    __glCopyPixelsOverlapping(gc, info, info->numSpanMods);
    return;
  }
  WithBuffers(gc, info, true, [&](Buffers bufs) {
    ZoomedRows(gc, info, true, [&] {
      info->spanReader(gc, info, bufs.b);
      const void *out = Middle(gc, info, 0, info->numSpanMods, bufs.b, bufs);
      info->spanRender(gc, info, const_cast<void *>(out));
    });
  });
}

void CopyImageRows(GlContext *gc, GlPixelSpanInfo *info) {
  WithBuffers(gc, info, false, [&](Buffers bufs) {
    info->spanWidth = info->width;
    const int32_t n = info->numSpanMods;
    if (n == 0) return;  // the memory pickers always leave a stage
    for (int32_t i = 0; i < info->height; i++) {
      const void *in = Middle(gc, info, 0, n - 1, info->srcCurrent, bufs);
      Stage(gc, info, n - 1, in, info->dstCurrent);
      info->srcCurrent = static_cast<const uint8_t *>(info->srcCurrent) + info->srcRowIncrement;
      info->dstCurrent = static_cast<uint8_t *>(info->dstCurrent) + info->dstRowIncrement;
    }
  });
}

}  // namespace

// One body serves each family: the stage count only decides how many
// buffer swaps a row takes.
void __glDrawPixels0(GlContext *gc, GlPixelSpanInfo *info) { DrawRows(gc, info); }
void __glDrawPixels1(GlContext *gc, GlPixelSpanInfo *info) { DrawRows(gc, info); }
void __glDrawPixels2(GlContext *gc, GlPixelSpanInfo *info) { DrawRows(gc, info); }
void __glDrawPixelSpans(GlContext *gc, GlPixelSpanInfo *info) { DrawRows(gc, info); }
void __glReadPixels0(GlContext *gc, GlPixelSpanInfo *info) { ReadRows(gc, info); }
void __glReadPixels1(GlContext *gc, GlPixelSpanInfo *info) { ReadRows(gc, info); }
void __glReadPixels2(GlContext *gc, GlPixelSpanInfo *info) { ReadRows(gc, info); }
void __glReadPixelSpans(GlContext *gc, GlPixelSpanInfo *info) { ReadRows(gc, info); }
void __glCopyPixels0(GlContext *gc, GlPixelSpanInfo *info) { CopyRows(gc, info); }
void __glCopyPixels1(GlContext *gc, GlPixelSpanInfo *info) { CopyRows(gc, info); }
void __glCopyPixels2(GlContext *gc, GlPixelSpanInfo *info) { CopyRows(gc, info); }
void __glCopyPixelSpans(GlContext *gc, GlPixelSpanInfo *info) { CopyRows(gc, info); }
void __glCopyImage1(GlContext *gc, GlPixelSpanInfo *info) { CopyImageRows(gc, info); }
void __glCopyImage2(GlContext *gc, GlPixelSpanInfo *info) { CopyImageRows(gc, info); }
void __glCopyImageSpans(GlContext *gc, GlPixelSpanInfo *info) { CopyImageRows(gc, info); }
