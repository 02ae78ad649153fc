// Packed layouts to floats: one element per pixel, each field divided by its
// largest value in double precision and stored as a float.
#include "pixels/px_packed_layouts.h"
#include "pixels/px_unpack.h"

namespace {

template <GlPackedLayoutIndex L>
void UnpackPacked(const GlPixelSpanInfo *info, const void *in, void *out) {
  constexpr GlPackedLayout layout = kPackedLayouts[L];
  const uint8_t *s = static_cast<const uint8_t *>(in);
  GLfloat *d = static_cast<GLfloat *>(out);
  for (int32_t i = 0; i < info->spanWidth; i++, s += layout.elementBytes) {
    const uint32_t element = __glLoadPackedElement<layout.elementBytes>(s);
    for (int c = 0; c < layout.components; c++) {
      const GlPackedField f = layout.field[c];
      const uint32_t max = __glPackedFieldMax(f);
      *d++ = GLfloat(double((element >> f.shift) & max) / double(max));
    }
  }
}

}  // namespace

__GL_SPAN_STAGE(__glSpanUnpack332Ubyte) { UnpackPacked<kLayout332>(info, in, out); }
__GL_SPAN_STAGE(__glSpanUnpack4444Ushort) { UnpackPacked<kLayout4444>(info, in, out); }
__GL_SPAN_STAGE(__glSpanUnpackARGB4444Ushort) { UnpackPacked<kLayoutARGB4444>(info, in, out); }
__GL_SPAN_STAGE(__glSpanUnpack5551Ushort) { UnpackPacked<kLayout5551>(info, in, out); }
__GL_SPAN_STAGE(__glSpanUnpack8888Uint) { UnpackPacked<kLayout8888>(info, in, out); }
__GL_SPAN_STAGE(__glSpanUnpack_10_10_10_2_Uint) { UnpackPacked<kLayout1010102>(info, in, out); }
__GL_SPAN_STAGE(__glSpanUnpack565Ushort) { UnpackPacked<kLayout565>(info, in, out); }
__GL_SPAN_STAGE(__glSpanUnpackX555Ushort) { UnpackPacked<kLayoutX555>(info, in, out); }
__GL_SPAN_STAGE(__glSpanUnpack1555Ushort) { UnpackPacked<kLayout1555>(info, in, out); }
