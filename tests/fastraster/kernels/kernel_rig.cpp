#include "tests/fastraster/kernels/kernel_rig.h"

#include "fastraster/fr_genpix.h"

#include <string.h>

namespace {

KernelRig *current;

void GLFASTCALL Extract(uint32_t mask, FrSpan *span) {
  KernelRig *rig = current;
  rig->extractCalls++;
  rig->extractMask = mask;
  uint8_t *out = reinterpret_cast<uint8_t *>(span->texels);
  for (int i = 0; i < 32; i++) {
    if (!(mask & (0x80000000u >> i))) continue;
    if (rig->texelBytes == 1) *out++ = rig->texelOf[i][3];
    else for (int k = 0; k < rig->texelBytes; k++) *out++ = rig->texelOf[i][k];
  }
}

void GLFASTCALL After(uint32_t mask, FrSpan *span) {
  current->afterCalls++;
  current->afterMask = mask;
  current->afterSpan = span;
}

}  // namespace

KernelRig::KernelRig() : gc(new GlContext()) {
  current = this;
  gc->procs.extractTexels = Extract;
  gc->procs.afterColors = After;
  span.gc = gc.get();
  span.direction = 1;
}

const KernelClass kKernelClasses[4] = {
    {&kref::kClasses[0], &__fr_rgb_genclr_a, &__fr_rgb_combine_a, &__fr_rgb_pix_a},
    {&kref::kClasses[1], &__fr_rgb_genclr_5, &__fr_rgb_combine_5, &__fr_rgb_pix_5},
    {&kref::kClasses[2], &__fr_rgb_genclr_4, &__fr_rgb_combine_4, &__fr_rgb_pix_4},
    {&kref::kClasses[3], &__fr_rgb_genclr_2, &__fr_rgb_combine_2, &__fr_rgb_pix_2},
};

KernelRig::~KernelRig() {
  if (current == this) current = nullptr;
}

void KernelRig::Load(const kref::GenInput &in) {
  current = this;  // the fixtures report to the rig that ran last
  span.r = in.r, span.g = in.g, span.b = in.b, span.a = in.a;
  span.drdx = in.drdx, span.dgdx = in.dgdx, span.dbdx = in.dbdx, span.dadx = in.dadx;
  memcpy(gc->frEnvColor, in.env, 4);
  memcpy(texelOf, in.texel, sizeof texelOf);
}

void KernelRandom::Iterator(int32_t top, bool atEdges, int32_t *start, int32_t *step) {
  int32_t from = int32_t(Below(uint32_t(top) + 1)), to = int32_t(Below(uint32_t(top) + 1));
  if (atEdges) {
    switch (Below(4)) {
      case 0: from = 0, to = top; break;
      case 1: from = top, to = 0; break;
      case 2: from = to = top; break;
      default: from = to = 0; break;
    }
  }
  *start = from;
  *step = (to - from) / 31;
}

void KernelRandom::Gen(const kref::Class &c, bool iterated, kref::GenInput *in) {
  const bool edges = Below(4) == 0;
  int32_t *value[4] = {&in->r, &in->g, &in->b, &in->a};
  int32_t *step[4] = {&in->drdx, &in->dgdx, &in->dbdx, &in->dadx};
  for (int k = 0; k < 4; k++) {
    const int32_t top = (k < 3 ? (1 << c.bits[k]) - 1 : 255) << 16;
    Iterator(top, edges, value[k], step[k]);
    // A flat kernel must not step: give it steps that would show.
    if (!iterated) *step[k] = int32_t(Word());
  }
  for (int k = 0; k < 4; k++) in->env[k] = uint8_t(Word());
  for (auto &t : in->texel)
    for (auto &b : t) b = uint8_t(Word());
  if (edges)
    for (auto &t : in->texel)
      for (auto &b : t) b = Below(2) ? 255 : 0;
}

void KernelRandom::Colors(const kref::Class &c, uint8_t colors[32][4]) {
  const bool edges = Below(4) == 0;
  for (int i = 0; i < 32; i++) {
    for (int k = 0; k < 3; k++) {
      const uint32_t ceil = uint32_t(kref::Ceiling(c, k));
      colors[i][k] = uint8_t(edges ? (Below(2) ? ceil : 0) : Below(ceil + 1));
    }
    colors[i][3] = uint8_t(edges ? (Below(2) ? 255 : 0) : Word());
  }
}

uint32_t KernelMask(KernelRandom &r, int which) {
  switch (which) {
    case 0: return 0;
    case 1: return 0x80000000u;
    case 2: return 0x00000001u;
    case 3: return 0xFFFFFFFFu;
    case 4: return 0x80000001u;
    default: return r.Word() & r.Word();
  }
}
