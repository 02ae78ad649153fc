// Hardware points of size 1: one vertex block after the command. Points
// are not fired here; the outermost device unlock fires them.
#include "core/context.h"
#include "sis/sis_hw.h"
#include "sis/sis_primitives.h"
#include "sis/sis_vertex.h"

namespace {

constexpr uint32_t kPointCommand = 0x100, kTexturedPointCommand = 0x200;

}  // namespace

void __glSiSRenderAliasedPoint1_NoTex(GlContext *gc, GlVertex *v) {
  const GlSiSTail *sis = __glSiSTail(gc);
  if (!sis::Sends(sis) || !sis::WindowFinite(v)) return;
  const sis::ChipVertex p = sis::ToChip(gc, v, sis::kLineYOffset);
  mWait3DCmdQueue(1 + int(sis::kBlockWords));
  sis::PutCommand(sis, kPointCommand);
  sis::PutBlock(sis, 0, p, sis::ColorWord(v->color));
}

void __glSiSRenderAliasedPoint1(GlContext *gc, GlVertex *v) {
  GlSiSTail *sis = __glSiSTail(gc);
  if (!sis::Sends(sis) || !sis::WindowFinite(v)) return;
  const sis::ChipVertex p = sis::ToChip(gc, v, sis::kLineYOffset);
  const GLfloat q = v->texture.w;
  sis->texS[0] = v->texture.x / q;
  sis->texT[0] = v->texture.y / q;
  if (!sis::TextureFinite(sis, sis->texS[0], sis->texT[0], q, false)) return;
  mWait3DCmdQueue(1 + int(sis::kTexturedBlockWords));
  sis::PutCommand(sis, kTexturedPointCommand);
  sis::PutBlock(sis, 0, p, sis::ColorWord(v->color));
  sis::PutTexture(sis, 0, sis->texS[0], sis->texT[0], q);
}
