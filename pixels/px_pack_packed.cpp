// Floats to packed layouts: each field is the truncated single-precision
// product of the value and the field's largest value, masked to its bits.
// The product stays single precision: in extended precision the 5- and
// 10-bit fields of unpacked values would come back one too small.
#include "core/gl_convert.h"
#include "pixels/px_packed_layouts.h"
#include "pixels/px_packer.h"

namespace {

template <GlPackedLayoutIndex L>
void PackPacked(const GlPixelSpanInfo *info, const void *in, void *out) {
  constexpr GlPackedLayout layout = kPackedLayouts[L];
  const GLfloat *s = static_cast<const GLfloat *>(in);
  uint8_t *d = static_cast<uint8_t *>(out);
  for (int32_t i = 0; i < info->spanWidth; i++, d += layout.elementBytes) {
    uint32_t element = layout.setBits;
    for (int c = 0; c < layout.components; c++) {
      const GlPackedField f = layout.field[c];
      const uint32_t max = __glPackedFieldMax(f);
      const GLfloat product = GLfloat(max) * *s++;
      element |= (uint32_t(__glTruncateToInt64(product)) & max) << f.shift;
    }
    __glStorePackedElement<layout.elementBytes>(d, element);
  }
}

}  // namespace

__GL_SPAN_STAGE(__glSpanPack332Ubyte) { PackPacked<kLayout332>(info, in, out); }
__GL_SPAN_STAGE(__glSpanPack4444Ushort) { PackPacked<kLayout4444>(info, in, out); }
__GL_SPAN_STAGE(__glSpanPackARGB4444Ushort) { PackPacked<kLayoutARGB4444>(info, in, out); }
__GL_SPAN_STAGE(__glSpanPack5551Ushort) { PackPacked<kLayout5551>(info, in, out); }
__GL_SPAN_STAGE(__glSpanPack8888Uint) { PackPacked<kLayout8888>(info, in, out); }
__GL_SPAN_STAGE(__glSpanPack_10_10_10_2_Uint) { PackPacked<kLayout1010102>(info, in, out); }
__GL_SPAN_STAGE(__glSpanPack565Ushort) { PackPacked<kLayout565>(info, in, out); }
__GL_SPAN_STAGE(__glSpanPackX555Ushort) { PackPacked<kLayoutX555>(info, in, out); }
__GL_SPAN_STAGE(__glSpanPack1555Ushort) { PackPacked<kLayout1555>(info, in, out); }
