// Matrix fragments of the compiled vertex routine: a point times a 4x4
// matrix shaped by the matrix type and the vertex size, the normal times
// the inverse transpose, and the hook that starts the `has` word.
#include "codegen/og.h"
#include "codegen/og_gen.h"
#include "codegen/og_geom.h"
#include "core/context.h"

namespace {

struct Gen : OgGen {
  OgCode *M(int k) { return At(ecx, 4 * k); }  // matrix element k (column order)
  OgCode *Src(int c) { return At(edx, 4 * c); }
};

OgCode *St(int i) {
  OgCode *const regs[] = {st0, st1, st2, st3, st4, st5, st6, st7};
  return regs[i];
}

// rows dot products, interleaved: every row's accumulator lives on the x87
// stack (row r at st(r)) while each source component is loaded once per row
// and multiplied in. `sourceCount` source components are read; with
// `unitW` the translation column is added as it is (w = 1).
void DotProducts(Gen &g, int rows, int sourceCount, bool unitW) {
  GlContext *gc = g.gc;
  for (int r = rows - 1; r >= 0; r--) {
    g.E(fld(gc, g.Src(0)));
    g.E(fmul(gc, g.M(r)));
  }
  for (int c = 1; c < sourceCount; c++) {
    for (int r = 0; r < rows; r++) {
      g.E(fld(gc, g.Src(c)));
      g.E(fmul(gc, g.M(4 * c + r)));
      g.E(faddp(gc, St(r + 1), st0));
    }
  }
  if (unitW) {
    for (int r = 0; r < rows; r++) {
      g.E(fld(gc, g.M(12 + r)));
      g.E(faddp(gc, St(r + 1), st0));
    }
  }
}

}  // namespace

uint8_t *doMatrix(GlContext *gc, uint8_t *cb, OgCode *dstX, OgCode *dstY, OgCode *dstZ,
                  uint32_t type, const GlMatrix *matrix, uint32_t n, OgMatrixHook hook,
                  uint32_t hookArg) {
  Gen g{{gc, cb}};
  g.E(mov(gc, ecx, value(gc, int32_t(uintptr_t(matrix->matrix)))));
  auto storeX = [&] {
    g.E(fstp(gc, dstX));
    if (hook) g.cb = hook(gc, g.cb, hookArg);
  };
  if (type >= 3) {
    // Diagonal: each coordinate scaled by its own element and translated.
    const int coords = n == 2 ? 2 : 3;
    for (int r = coords - 1; r >= 0; r--) {
      g.E(fld(gc, g.Src(r)));
      g.E(fmul(gc, g.M(5 * r)));
      if (n == 4) {
        g.E(fld(gc, g.Src(3)));
        g.E(fmul(gc, g.M(12 + r)));
        g.E(faddp(gc, st1, st0));
      } else {
        g.E(fadd(gc, g.M(12 + r)));
      }
    }
    storeX();
    g.E(fstp(gc, dstY));
    if (coords == 3) g.E(fstp(gc, dstZ));
    if (n == 4) g.E(fld(gc, g.Src(3)));
    return g.cb;
  }
  // Types 0 and 1 compute w'; type 2 has (0, 0, 0, 1) for its last row, so
  // w' is w when there is one and is left out (it is 1) when there is none.
  const bool general = type < 2;
  const int rows = general ? 4 : 3;
  // The source's z is 0.0 when n = 2: its products are left out.
  DotProducts(g, rows, n == 2 ? 2 : int(n), n < 4);
  storeX();
  g.E(fstp(gc, dstY));
  g.E(fstp(gc, dstZ));
  if (!general && n == 4) g.E(fld(gc, g.Src(3)));
  return g.cb;
}

uint8_t *doNormalMatrix(GlContext *gc, uint8_t *cb, OgCode *dstX, OgCode *dstY, OgCode *dstZ,
                        const GlMatrix *matrix) {
  Gen g{{gc, cb}};
  g.E(mov(gc, ecx, value(gc, int32_t(uintptr_t(matrix->matrix)))));
  // x' = n . (m0, m4, m8) and so on: the same rows as a point, no translation.
  DotProducts(g, 3, 3, false);
  g.E(fstp(gc, dstX));
  g.E(fstp(gc, dstY));
  g.E(fstp(gc, dstZ));
  return g.cb;
}

uint8_t *set_esi(GlContext *gc, uint8_t *cb, uint32_t bits) {
  cb = emit_code(gc, cb, push(gc, esi));
  const uint32_t has = gc->vertexArray.sizeBits | (bits & 0x9u);
  return emit_code(gc, cb, mov(gc, esi, value(gc, int32_t(has))));
}
