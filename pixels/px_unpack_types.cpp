// Client component types to floats: normalised colour and depth components
// (unsigned types times 1 / (2^n - 1), signed ones (2c + 1) / (2^n - 1),
// each product formed in extended precision and rounded once to float), and
// colour indices, stencil values and non-component words as the floats of
// the same integers.
#include <string.h>

#include "core/context.h"
#include "pixels/px_unpack.h"

namespace {

// Client memory may be misaligned only where the chain copies it first;
// reading through memcpy keeps every access defined anyway.
template <typename T>
T Load(const uint8_t *p) {
  T v;
  memcpy(&v, p, sizeof v);
  return v;
}

template <typename T, typename Convert>
void Unpack(const void *in, void *out, int32_t count, Convert convert) {
  const uint8_t *s = static_cast<const uint8_t *>(in);
  GLfloat *d = static_cast<GLfloat *>(out);
  for (int32_t i = 0; i < count; i++, s += sizeof(T)) d[i] = convert(Load<T>(s));
}

int32_t Components(const GlPixelSpanInfo *info) { return info->srcSpanComponents * info->spanWidth; }

// u x k for unsigned types, (2c + 1) x k for signed ones.
template <typename T>
void UnpackNormalised(const GlPixelSpanInfo *info, const void *in, void *out, GLfloat k) {
  const long double factor = k;
  Unpack<T>(in, out, Components(info), [factor](T c) {
    if constexpr (T(-1) < T(0))
      return GLfloat((2.0L * c + 1.0L) * factor);
    else
      return GLfloat(c * factor);
  });
}

// One index per pixel, or every component of a non-component span.
template <typename T>
void UnpackIntegers(const void *in, void *out, int32_t count) {
  Unpack<T>(in, out, count, [](T c) { return GLfloat(c); });
}

}  // namespace

__GL_SPAN_STAGE(__glSpanUnpackUbyte) {
  const GLfloat *table = gc->constants.uByteToFloat;
  Unpack<uint8_t>(in, out, Components(info), [table](uint8_t c) { return table[c]; });
}
__GL_SPAN_STAGE(__glSpanUnpackByte) {
  UnpackNormalised<int8_t>(info, in, out, gc->constants.oneOverUByteMax);
}
__GL_SPAN_STAGE(__glSpanUnpackUshort) {
  UnpackNormalised<uint16_t>(info, in, out, gc->constants.oneOverUShortMax);
}
__GL_SPAN_STAGE(__glSpanUnpackShort) {
  UnpackNormalised<int16_t>(info, in, out, gc->constants.oneOverUShortMax);
}
__GL_SPAN_STAGE(__glSpanUnpackUint) {
  UnpackNormalised<uint32_t>(info, in, out, gc->constants.oneOverUIntMax);
}
__GL_SPAN_STAGE(__glSpanUnpackInt) {
  UnpackNormalised<int32_t>(info, in, out, gc->constants.oneOverUIntMax);
}

__GL_SPAN_STAGE(__glSpanUnpackUbyteI) { UnpackIntegers<uint8_t>(in, out, info->spanWidth); }
__GL_SPAN_STAGE(__glSpanUnpackByteI) { UnpackIntegers<int8_t>(in, out, info->spanWidth); }
__GL_SPAN_STAGE(__glSpanUnpackUshortI) { UnpackIntegers<uint16_t>(in, out, info->spanWidth); }
__GL_SPAN_STAGE(__glSpanUnpackShortI) { UnpackIntegers<int16_t>(in, out, info->spanWidth); }
__GL_SPAN_STAGE(__glSpanUnpackUintI) { UnpackIntegers<uint32_t>(in, out, info->spanWidth); }
__GL_SPAN_STAGE(__glSpanUnpackIntI) { UnpackIntegers<int32_t>(in, out, info->spanWidth); }
__GL_SPAN_STAGE(__glSpanUnpackNonCompUint) { UnpackIntegers<uint32_t>(in, out, Components(info)); }
