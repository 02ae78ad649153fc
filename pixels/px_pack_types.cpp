// Floats to client component types. Unsigned types round, trunc(max x v +
// 0.5); signed ones take the floor of half the scaled value; the products
// are single precision, the multipliers the context's constants. Colour
// indices and stencil values are truncated and masked non-negative for the
// signed types; non-component words keep their low bits. Every conversion
// has a defined result, out-of-range and NaN values included: the element
// gets the low bits of the (64-bit) integer.
#include <string.h>

#include "core/context.h"
#include "core/gl_convert.h"
#include "pixels/px_packer.h"

namespace {

template <typename T, typename Convert>
void Pack(const void *in, void *out, int32_t count, Convert convert) {
  const GLfloat *s = static_cast<const GLfloat *>(in);
  uint8_t *d = static_cast<uint8_t *>(out);
  for (int32_t i = 0; i < count; i++, d += sizeof(T)) {
    const T v = T(convert(s[i]));
    memcpy(d, &v, sizeof v);
  }
}

int32_t Components(const GlPixelSpanInfo *info) { return info->dstSpanComponents * info->spanWidth; }

template <typename T>
void PackUnsigned(const GlPixelSpanInfo *info, const void *in, void *out, GLfloat max,
                  GLfloat half) {
  Pack<T>(in, out, Components(info),
          [max, half](GLfloat v) { return __glTruncateToInt64(max * v + half); });
}

template <typename T>
void PackSigned(const GlPixelSpanInfo *info, const void *in, void *out, GLfloat max, GLfloat half) {
  Pack<T>(in, out, Components(info),
          [max, half](GLfloat v) { return __glFloorToInt64(max * v * half); });
}

// One value per pixel (indices) or every component (non-component words),
// truncated and masked.
template <typename T>
void PackIntegers(const void *in, void *out, int32_t count, int64_t mask) {
  Pack<T>(in, out, count, [mask](GLfloat v) { return __glTruncateToInt64(v) & mask; });
}

}  // namespace

__GL_SPAN_STAGE(__glSpanPackUbyte) {
  PackUnsigned<uint8_t>(info, in, out, gc->constants.uByteMax, gc->constants.half);
}
__GL_SPAN_STAGE(__glSpanPackByte) {
  PackSigned<int8_t>(info, in, out, gc->constants.uByteMax, gc->constants.half);
}
__GL_SPAN_STAGE(__glSpanPackUshort) {
  PackUnsigned<uint16_t>(info, in, out, gc->constants.uShortMax, gc->constants.half);
}
__GL_SPAN_STAGE(__glSpanPackShort) {
  PackSigned<int16_t>(info, in, out, gc->constants.uShortMax, gc->constants.half);
}
__GL_SPAN_STAGE(__glSpanPackUint) {
  PackUnsigned<uint32_t>(info, in, out, gc->constants.uIntMax, gc->constants.half);
}
__GL_SPAN_STAGE(__glSpanPackInt) {
  PackSigned<int32_t>(info, in, out, gc->constants.uIntMax, gc->constants.half);
}

__GL_SPAN_STAGE(__glSpanPackUbyteI) { PackIntegers<uint8_t>(in, out, info->spanWidth, 0xFF); }
__GL_SPAN_STAGE(__glSpanPackByteI) { PackIntegers<int8_t>(in, out, info->spanWidth, 0x7F); }
__GL_SPAN_STAGE(__glSpanPackUshortI) { PackIntegers<uint16_t>(in, out, info->spanWidth, 0xFFFF); }
__GL_SPAN_STAGE(__glSpanPackShortI) { PackIntegers<int16_t>(in, out, info->spanWidth, 0x7FFF); }
__GL_SPAN_STAGE(__glSpanPackUintI) { PackIntegers<uint32_t>(in, out, info->spanWidth, 0xFFFFFFFF); }
__GL_SPAN_STAGE(__glSpanPackIntI) { PackIntegers<int32_t>(in, out, info->spanWidth, 0x7FFFFFFF); }

__GL_SPAN_STAGE(__glSpanPackNonCompUbyte) { PackIntegers<uint8_t>(in, out, Components(info), -1); }
__GL_SPAN_STAGE(__glSpanPackNonCompByte) { PackIntegers<int8_t>(in, out, Components(info), -1); }
__GL_SPAN_STAGE(__glSpanPackNonCompUshort) {
  PackIntegers<uint16_t>(in, out, Components(info), -1);
}
__GL_SPAN_STAGE(__glSpanPackNonCompShort) { PackIntegers<int16_t>(in, out, Components(info), -1); }
__GL_SPAN_STAGE(__glSpanPackNonCompUint) { PackIntegers<uint32_t>(in, out, Components(info), -1); }
__GL_SPAN_STAGE(__glSpanPackNonCompInt) { PackIntegers<int32_t>(in, out, Components(info), -1); }
