// Byte order and layout: byte swapping, dropping source pixels by the run
// array, copying misaligned rows into the aligned span buffer, and the plain
// copy. They move whole elements of client memory: components x width of
// them, where components counts elements in memory (1 for a packed type),
// never the float components the conversion stages work on.
#include <string.h>

#include "core/context.h"
#include "pixels/px_packer.h"
#include "pixels/px_unpack.h"

namespace {

// The elements one side's rows hold per span.
int32_t SourceElements(const GlPixelSpanInfo *info) { return info->srcComponents * info->spanWidth; }
int32_t DestinationElements(const GlPixelSpanInfo *info) {
  return info->dstComponents * info->spanWidth;
}

// One element of E bytes, its bytes reversed; byte by byte, so that neither
// side needs alignment.
template <int E>
void SwapElement(const uint8_t *in, uint8_t *out) {
  for (int b = 0; b < E; b++) out[b] = in[E - 1 - b];
}

template <int E>
void SwapElements(const void *in, void *out, int32_t count) {
  const uint8_t *s = static_cast<const uint8_t *>(in);
  uint8_t *d = static_cast<uint8_t *>(out);
  for (int32_t i = 0; i < count; i++, s += E, d += E) SwapElement<E>(s, d);
}

void CopyBytes(const void *in, void *out, int32_t count) {
  const uint8_t *s = static_cast<const uint8_t *>(in);
  uint8_t *d = static_cast<uint8_t *>(out);
  for (int32_t i = 0; i < count; i++) d[i] = s[i];
}

// Walks the width source groups and moves the sampled ones: each is
// followed by (run - 1) skipped groups. Each group is moved as
// Move(source, destination) says.
template <typename Move>
void SkipGroups(const GlPixelSpanInfo *info, const void *in, void *out, int32_t groupBytes,
                Move move) {
  const uint8_t *s = static_cast<const uint8_t *>(in);
  uint8_t *d = static_cast<uint8_t *>(out);
  const int16_t *run = info->pixelArray;
  const int32_t step = info->srcGroupIncrement;
  for (int32_t source = 0, i = 0; source < info->width; i++, d += groupBytes) {
    move(s, d);
    const int32_t advance = run[i] > 0 ? run[i] : 1;
    source += advance;
    s += step * advance;
  }
}

template <int E>
void SwapAndSkip(const GlPixelSpanInfo *info, const void *in, void *out) {
  const int32_t n = info->srcComponents;
  SkipGroups(info, in, out, n * E, [n](const uint8_t *s, uint8_t *d) { SwapElements<E>(s, d, n); });
}

template <int E>
void Skip(const GlPixelSpanInfo *info, const void *in, void *out) {
  const int32_t n = info->srcComponents;
  SkipGroups(info, in, out, n * E, [n](const uint8_t *s, uint8_t *d) {
    for (int32_t k = 0; k < n; k++) memcpy(d + k * E, s + k * E, E);
  });
}

template <int E>
void SlowSkip(const GlPixelSpanInfo *info, const void *in, void *out) {
  const int32_t bytes = info->srcComponents * E;
  SkipGroups(info, in, out, bytes,
             [bytes](const uint8_t *s, uint8_t *d) { CopyBytes(s, d, bytes); });
}

}  // namespace

__GL_SPAN_STAGE(__glSpanSwapBytes2) { SwapElements<2>(in, out, SourceElements(info)); }
__GL_SPAN_STAGE(__glSpanSwapBytes4) { SwapElements<4>(in, out, SourceElements(info)); }
__GL_SPAN_STAGE(__glSpanSwapBytes2Dst) { SwapElements<2>(in, out, DestinationElements(info)); }
__GL_SPAN_STAGE(__glSpanSwapBytes4Dst) { SwapElements<4>(in, out, DestinationElements(info)); }

__GL_SPAN_STAGE(__glSpanSwapAndSkipBytes2) { SwapAndSkip<2>(info, in, out); }
__GL_SPAN_STAGE(__glSpanSwapAndSkipBytes4) { SwapAndSkip<4>(info, in, out); }
__GL_SPAN_STAGE(__glSpanSkipPixels1) { Skip<1>(info, in, out); }
__GL_SPAN_STAGE(__glSpanSkipPixels2) { Skip<2>(info, in, out); }
__GL_SPAN_STAGE(__glSpanSkipPixels4) { Skip<4>(info, in, out); }
__GL_SPAN_STAGE(__glSpanSlowSkipPixels2) { SlowSkip<2>(info, in, out); }
__GL_SPAN_STAGE(__glSpanSlowSkipPixels4) { SlowSkip<4>(info, in, out); }

__GL_SPAN_STAGE(__glSpanAlignPixels2) { CopyBytes(in, out, SourceElements(info) * 2); }
__GL_SPAN_STAGE(__glSpanAlignPixels4) { CopyBytes(in, out, SourceElements(info) * 4); }
__GL_SPAN_STAGE(__glSpanAlignPixels2Dst) { CopyBytes(in, out, DestinationElements(info) * 2); }
__GL_SPAN_STAGE(__glSpanAlignPixels4Dst) { CopyBytes(in, out, DestinationElements(info) * 4); }

__GL_SPAN_STAGE(__glSpanCopy) {
  const int32_t bytes = info->srcComponents * info->srcElementSize * info->spanWidth;
  const uint8_t *s = static_cast<const uint8_t *>(in);
  uint8_t *d = static_cast<uint8_t *>(out);
  // Four bytes at a time, then the remaining bytes singly.
  int32_t i = 0;
  for (; i + 4 <= bytes; i += 4) memcpy(d + i, s + i, 4);
  for (; i < bytes; i++) d[i] = s[i];
}
