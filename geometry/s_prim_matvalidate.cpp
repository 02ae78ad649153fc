// The material validators: before a material changes inside glBegin/glEnd,
// the buffered vertices a later primitive still uses get the fields smooth
// shading needs computed with the material in force when they were given.
// Each machine state installs the one that names its waiting vertices.
#include "geometry/s_prim_machine.h"

namespace {

void Protect(GlContext *gc, GlVertex *v) {
  __glPrimValidateMissing(gc, v, gc->vertexBuffer.smoothNeeds);
}

}  // namespace

void __glMatValidateVbuf0N(GlContext *gc) {
  for (GlVertex *v = __glPrimSlot(gc, 0); v < gc->vertexBuffer.next; ++v) Protect(gc, v);
}

void __glMatValidateV1(GlContext *gc) { Protect(gc, gc->vertexBuffer.kept[0]); }

void __glMatValidateVbuf0V1(GlContext *gc) {
  Protect(gc, __glPrimSlot(gc, 0));
  Protect(gc, gc->vertexBuffer.kept[0]);
}

void __glMatValidateV1V2(GlContext *gc) {
  Protect(gc, gc->vertexBuffer.kept[0]);
  Protect(gc, gc->vertexBuffer.kept[1]);
}

void __glMatValidateV1V2V3(GlContext *gc) {
  Protect(gc, gc->vertexBuffer.kept[0]);
  Protect(gc, gc->vertexBuffer.kept[1]);
  Protect(gc, gc->vertexBuffer.kept[2]);
}

void __glMatValidateV2V3(GlContext *gc) {
  Protect(gc, gc->vertexBuffer.kept[1]);
  Protect(gc, gc->vertexBuffer.kept[2]);
}
