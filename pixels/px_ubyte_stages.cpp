// Unsigned-byte shortcuts: the table-driven renderers read bytes, so these
// stages only sample the client's bytes by the run array (1, 3 or 4 bytes a
// pixel) into the span buffer, walking the width source pixels.
#include "pixels/px_unpack.h"

namespace {

template <int N>
void SampleBytes(const GlPixelSpanInfo *info, const void *in, void *out) {
  const uint8_t *s = static_cast<const uint8_t *>(in);
  uint8_t *d = static_cast<uint8_t *>(out);
  const int16_t *run = info->pixelArray;
  for (int32_t source = 0, i = 0; source < info->width; i++, d += N) {
    for (int b = 0; b < N; b++) d[b] = s[b];
    const int32_t advance = run[i] > 0 ? run[i] : 1;
    source += advance;
    s += N * advance;
  }
}

}  // namespace

__GL_SPAN_STAGE(__glSpanUnpackIndexUbyte) { SampleBytes<1>(info, in, out); }
__GL_SPAN_STAGE(__glSpanUnpackRGBubyte) { SampleBytes<3>(info, in, out); }
__GL_SPAN_STAGE(__glSpanUnpackRGBAubyte) { SampleBytes<4>(info, in, out); }
