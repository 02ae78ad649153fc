// Where the raster routine's span words lie: the declaration order of a
// compacted record, the words the setup writes, and the data-area
// variables of the texture code.
#include <initializer_list>

#include "codegen/og_ras.h"
#include "codegen/og_ras_setup.h"
#include "codegen/og_ras_walk.h"
#include "fastraster/fr_setup.h"

namespace og_raster {
namespace {

// Value, edge, per pixel and the row pair of an integer block; the setup's
// plane subroutine stores at the distances these keep.
void FixedBlock(Gen &g, size_t block) {
  for (size_t w : {size_t(0), kEdge, kDx, kDy, kDy + 4}) g.Place(block + w);
}

// Value, edge, per pixel, the word behind the chunk step and the row pair
// of a float block; with a level of detail its d/dy too, so that every
// block keeps the same distances.
void FloatBlock(Gen &g, size_t block) {
  for (size_t w : {size_t(0), kEdge, kDx, kFDx16, kFDy, kFDy + 4}) g.Place(block + w);
  if (g.lod) g.Place(block + kFDdy);
}

void AddressBlock(Gen &g, size_t block) {
  for (size_t w : {kEdge, kDx, kDy, kDy + 4}) g.Place(block + w);
  if (g.spanlet) g.Place(block + kDx32);
}

}  // namespace

void DeclareFields(Gen &g) {
  for (size_t id = offsetof(FrSpan, iyTop); id <= offsetof(FrSpan, direction); id += 4) g.Place(id);
  g.Place(offsetof(FrSpan, sizeMeasure));
  if (g.walkColor) {
    FixedBlock(g, offsetof(FrSpan, r));
    if (g.rgba || g.dual) {
      FixedBlock(g, offsetof(FrSpan, g));
      FixedBlock(g, offsetof(FrSpan, b));
    }
    if (g.walkAlpha) FixedBlock(g, offsetof(FrSpan, a));
  }
  if (g.depth) FixedBlock(g, offsetof(FrSpan, z));
  if (g.perspective) {
    for (size_t b : {offsetof(FrSpan, sf), offsetof(FrSpan, tf), offsetof(FrSpan, qf)})
      FloatBlock(g, b);
  } else if (g.texturing) {
    FixedBlock(g, offsetof(FrSpan, s));
    FixedBlock(g, offsetof(FrSpan, t));
  }
}

void DeclareSetupWords(Gen &g) {
  GlContext *gc = g.gc;
  for (size_t id = offsetof(FrSpan, iyTop); id <= offsetof(FrSpan, direction); id += 4) g.Place(id);
  g.Place(offsetof(FrSpan, sizeMeasure));
  const uint32_t setupBits = __glSetupStateBits(gc, g.spanlet);
  if (setupBits & 0x10) AddressBlock(g, offsetof(FrSpan, pixel2));
  AddressBlock(g, offsetof(FrSpan, pixel));
  if (g.stencil) AddressBlock(g, offsetof(FrSpan, sbuf));
  if (setupBits & 0x08) {
    AddressBlock(g, offsetof(FrSpan, zbuf));
    FixedBlock(g, offsetof(FrSpan, z));
  }
  if (og_setup::NeedColor(g.flags, g.env)) {
    const bool alpha = g.rgba && (g.flags & __GL_SHADE_ALPHA);
    if (g.flags & __GL_SHADE_ITERATE_COLOR) {
      FixedBlock(g, offsetof(FrSpan, r));
      if (g.rgba) {
        FixedBlock(g, offsetof(FrSpan, g));
        FixedBlock(g, offsetof(FrSpan, b));
      }
      if (alpha) FixedBlock(g, offsetof(FrSpan, a));
    } else {
      g.Place(offsetof(FrSpan, r));
      if (g.rgba) {
        g.Place(offsetof(FrSpan, g));
        g.Place(offsetof(FrSpan, b));
      }
      if (alpha) g.Place(offsetof(FrSpan, a));
      if (!(g.flags & (__GL_SHADE_TEXTURE | __GL_SHADE_DITHER))) g.Place(offsetof(FrSpan, flatPixel));
    }
  }
  if (!g.texturing) return;
  if (!g.perspective) {
    FixedBlock(g, offsetof(FrSpan, s));
    FixedBlock(g, offsetof(FrSpan, t));
  } else if (g.mmx && g.rgba) {
    for (size_t b : {offsetof(FrSpan, s), offsetof(FrSpan, t), offsetof(FrSpan, q)}) FixedBlock(g, b);
  } else {
    for (size_t b : {offsetof(FrSpan, sf), offsetof(FrSpan, tf), offsetof(FrSpan, qf)})
      FloatBlock(g, b);
    if (g.lod)
      for (size_t w : {offsetof(FrSpan, drhodx), offsetof(FrSpan, drhodxHalf)}) g.Place(w);
  }
  g.Place(offsetof(FrSpan, texImage));
}

void MakeDataVariables(Gen &g) {
  static const uint32_t kOffsets[10] = {0, 8, 16, 20, 24, 28, 32, 36, 40, 44};
  for (int i = 0; i < 10; i++) g.scratch[i] = g.Abs(g.data + kOffsets[i]);
  // 1.5 x 2^(36 + i): added to a double, it leaves x x 2^(16 - i) rounded
  // in the low word.
  double k = 1.5 * 68719476736.0;
  for (int i = 0; i < 16; i++, k *= 2.0) g.rounding[i] = fpk(g.gc, k);
}

}  // namespace og_raster
