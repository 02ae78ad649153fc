// Unsigned-byte texels (L, LA, RGB or RGBA) straight into the 16-bit texel
// layouts of texture storage: each field keeps the top bits of its byte.
#include <string.h>

#include "pixels/px_packer.h"

namespace {

// Bytes of one input pixel, and how one texel is made of them.
template <int N, typename Texel>
void PackTexels(const GlPixelSpanInfo *info, const void *in, void *out, Texel texel) {
  const uint8_t *s = static_cast<const uint8_t *>(in);
  uint8_t *d = static_cast<uint8_t *>(out);
  for (int32_t i = 0; i < info->spanWidth; i++, s += N, d += 2) {
    const uint16_t t = uint16_t(texel(s));
    memcpy(d, &t, 2);
  }
}

uint32_t Rgb1555(uint32_t r, uint32_t g, uint32_t b) {
  return (r & 0xF8) << 7 | (g & 0xF8) << 2 | b >> 3;
}
uint32_t Rgb565(uint32_t r, uint32_t g, uint32_t b) {
  return (r & 0xF8) << 8 | (g & 0xFC) << 3 | b >> 3;
}
uint32_t Rgb4444(uint32_t r, uint32_t g, uint32_t b) {
  return (r & 0xF0) << 4 | (g & 0xF0) | b >> 4;
}

}  // namespace

__GL_SPAN_STAGE(__glSpanPackL8ToXRGB1555) {
  PackTexels<1>(info, in, out, [](const uint8_t *p) { return 0x8000 | Rgb1555(p[0], p[0], p[0]); });
}
__GL_SPAN_STAGE(__glSpanPackRGB8ToXRGB1555) {
  PackTexels<3>(info, in, out, [](const uint8_t *p) { return 0x8000 | Rgb1555(p[0], p[1], p[2]); });
}
__GL_SPAN_STAGE(__glSpanPackRGBA8ToXRGB1555) {
  PackTexels<4>(info, in, out, [](const uint8_t *p) { return 0x8000 | Rgb1555(p[0], p[1], p[2]); });
}
__GL_SPAN_STAGE(__glSpanPackL8ToRGB565) {
  PackTexels<1>(info, in, out, [](const uint8_t *p) { return Rgb565(p[0], p[0], p[0]); });
}
__GL_SPAN_STAGE(__glSpanPackRGB8ToRGB565) {
  PackTexels<3>(info, in, out, [](const uint8_t *p) { return Rgb565(p[0], p[1], p[2]); });
}
__GL_SPAN_STAGE(__glSpanPackRGBA8ToRGB565) {
  PackTexels<4>(info, in, out, [](const uint8_t *p) { return Rgb565(p[0], p[1], p[2]); });
}
__GL_SPAN_STAGE(__glSpanPackLA8ToARGB1555) {
  PackTexels<2>(info, in, out,
                [](const uint8_t *p) { return (p[1] & 0x80u) << 8 | Rgb1555(p[0], p[0], p[0]); });
}
__GL_SPAN_STAGE(__glSpanPackRGBA8ToARGB1555) {
  PackTexels<4>(info, in, out,
                [](const uint8_t *p) { return (p[3] & 0x80u) << 8 | Rgb1555(p[0], p[1], p[2]); });
}
__GL_SPAN_STAGE(__glSpanPackLA8ToARGB4) {
  PackTexels<2>(info, in, out,
                [](const uint8_t *p) { return (p[1] & 0xF0u) << 8 | Rgb4444(p[0], p[0], p[0]); });
}
__GL_SPAN_STAGE(__glSpanPackRGBA8ToARGB4) {
  PackTexels<4>(info, in, out,
                [](const uint8_t *p) { return (p[3] & 0xF0u) << 8 | Rgb4444(p[0], p[1], p[2]); });
}
