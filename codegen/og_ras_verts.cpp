// The setup's vertex work: the vertices are adjusted in place (half a
// pixel on x and y, depth and colour scales) and put back exactly before
// the routine returns, since strips and fans share them.
#include "codegen/og_ras_setup.h"

namespace og_setup {
namespace {

OgCode *const kVertexRegs[3] = {eax, ebx, ecx};

constexpr size_t kWindow = offsetof(GlVertex, window);
constexpr size_t kColor = offsetof(GlVertex, color);

// The colour components as the context stores its scales: by name, never as
// four consecutive words (they are stored red, blue, green, alpha).
const GLfloat *Scale(const GlContext *gc, int component) {
  switch (component) {
    case 0: return &gc->constants.redRescale;
    case 1: return &gc->constants.greenRescale;
    case 2: return &gc->constants.blueRescale;
    default: return &gc->constants.alphaRescale;
  }
}

void SaveAndScaleColor(Gen &g, OgCode *colorReg, uint32_t save) {
  for (int i = 0; i < 4; i++) {
    g.E(mov(g.gc, edx, g.At(colorReg, 4 * i)));
    g.E(mov(g.gc, g.D(kSave + save + 4 * i), edx));
    g.E(fld(g.gc, g.At(colorReg, 4 * i)));
    g.E(fmul(g.gc, g.Abs(Scale(g.gc, i))));
    g.E(fstp(g.gc, g.At(colorReg, 4 * i)));
  }
}

void PutColorBack(Gen &g, OgCode *colorReg, uint32_t save) {
  for (int i = 0; i < 4; i++) {
    g.E(mov(g.gc, edx, g.D(kSave + save + 4 * i)));
    g.E(mov(g.gc, g.At(colorReg, 4 * i), edx));
  }
}

// esi: the provoking vertex's colour, or 0 without one (its colour work is
// done); then `each` for every vertex colour other than that one.
template <typename Work>
void ForEachColor(Gen &g, Work each) {
  OgCode *noProvoking = near_label(g.gc);
  g.E(mov(g.gc, esi, g.Abs(&g.gc->vertexBuffer.provoking)));
  g.E(test(g.gc, esi, esi));
  g.E(je(g.gc, noProvoking));
  g.E(mov(g.gc, esi, g.Vtx(esi, kColor)));
  each(esi, kSaveProvoking);
  g.Place(noProvoking);
  for (int v = 0; v < 3; v++) {
    OgCode *shared = near_label(g.gc);
    g.E(mov(g.gc, edi, g.Vtx(kVertexRegs[v], kColor)));
    g.E(cmp(g.gc, edi, esi));
    g.E(je(g.gc, shared));
    each(edi, kSaveColors + 16 * v);
    g.Place(shared);
  }
}

}  // namespace

void AdjustVertices(Gen &g) {
  GlContext *gc = g.gc;
  for (int v = 0; v < 3; v++) g.E(mov(gc, g.D(kSave + kSavePointers + 4 * v), kVertexRegs[v]));
  for (int v = 0; v < 3; v++) {
    OgCode *r = kVertexRegs[v];
    for (int i = 0; i < 3; i++) {
      g.E(mov(gc, edx, g.Vtx(r, kWindow + 4 * i)));
      g.E(mov(gc, g.D(kSave + kSaveWindow + 16 * v + 4 * i), edx));
    }
    for (int i = 0; i < 2; i++) {
      g.E(fld(gc, g.Vtx(r, kWindow + 4 * i)));
      g.E(fadd(gc, fpk(gc, 0.5)));
      g.E(fstp(gc, g.Vtx(r, kWindow + 4 * i)));
    }
    g.E(fld(gc, g.Vtx(r, kWindow + 8)));
    g.E(fmul(gc, g.Abs(&gc->constants.depthMax)));
    g.E(fstp(gc, g.Vtx(r, kWindow + 8)));
  }
  if (g.needColor)
    ForEachColor(g, [&g](OgCode *colorReg, uint32_t save) { SaveAndScaleColor(g, colorReg, save); });
}

// Adjusted window x and y lie in [4096, 8192) for every vertex the
// rasterizer can draw; anything else (NaN, infinities, coordinates beyond
// the range) would send rows and addresses outside the buffers.
void RejectOutOfRange(Gen &g) {
  GlContext *gc = g.gc;
  for (int v = 0; v < 3; v++) {
    for (int i = 0; i < 2; i++) {
      g.E(mov(gc, edx, g.Vtx(kVertexRegs[v], kWindow + 4 * i)));
      g.E(sub(gc, edx, g.V(0x45800000)));
      g.E(cmp(gc, edx, g.V(0x00800000)));
      g.E(jae(gc, g.reject));
    }
  }
}

namespace {

uint32_t PlaneCorner(OgCode *reg) {
  return kPlaneCorners + 8 * (reg == eax ? 0 : reg == ebx ? 1 : 2);
}

// Swaps the registers, and the plane corners that go with them, when
// first's y is less than second's; equal heights keep their order.
void Sort2(Gen &g, OgCode *first, OgCode *second) {
  OgCode *keep = near_label(g.gc);
  g.E(mov(g.gc, edx, g.Vtx(first, kWindow + 4)));
  g.E(cmp(g.gc, edx, g.Vtx(second, kWindow + 4)));
  g.E(jge(g.gc, keep));
  g.E(mov(g.gc, edx, first));
  g.E(mov(g.gc, first, second));
  g.E(mov(g.gc, second, edx));
  for (uint32_t w = 0; w < 8; w += 4) {
    g.E(mov(g.gc, esi, g.D(PlaneCorner(first) + w)));
    g.E(mov(g.gc, edi, g.D(PlaneCorner(second) + w)));
    g.E(mov(g.gc, g.D(PlaneCorner(first) + w), edi));
    g.E(mov(g.gc, g.D(PlaneCorner(second) + w), esi));
  }
  g.Place(keep);
}

}  // namespace

// Snapped to 1/16 pixel (down), then checked for the range, then a top,
// b bottom, c middle. On a top-down drawable window y lies one float step
// (the viewport epsilon) below the grid: y goes to the grid shifted by that
// step, where the generic fill's rows and edges lie, as the pre-built
// set-up does. The drawable is read per triangle, so one routine serves
// both row orders; bottom-up adds and subtracts 0.
void SnapAndSort(Gen &g) {
  GlContext *gc = g.gc;
  // The planes run through the vertices where they are, not where the snap
  // puts them: a vertex the clipper made lies off the 1/16 grid, and moving
  // it while its depth and colour stay would tilt a thin piece's planes.
  for (int v = 0; v < 3; v++)
    for (uint32_t w = 0; w < 8; w += 4) {
      g.E(mov(gc, edx, g.Vtx(kVertexRegs[v], kWindow + w)));
      g.E(mov(gc, g.D(PlaneCorner(kVertexRegs[v]) + w), edx));
    }
  g.E(movzx(gc, edx, g.Abs(&gc->constants.yInverted)));
  for (int v = 0; v < 3; v++) {
    OgCode *r = kVertexRegs[v];
    g.E(and_(gc, g.Vtx(r, kWindow), g.V(-128)));
    g.E(add(gc, g.Vtx(r, kWindow + 4), edx));
    g.E(and_(gc, g.Vtx(r, kWindow + 4), g.V(-128)));
    g.E(sub(gc, g.Vtx(r, kWindow + 4), edx));
  }
  // Snapping keeps a coordinate inside or outside the range, except a
  // top-down y at the range's low end, which it moves below.
  RejectOutOfRange(g);
  Sort2(g, ebx, eax);
  Sort2(g, ecx, eax);
  Sort2(g, ebx, ecx);
}

void RestoreVertices(Gen &g) {
  GlContext *gc = g.gc;
  for (int v = 0; v < 3; v++) g.E(mov(gc, kVertexRegs[v], g.D(kSave + kSavePointers + 4 * v)));
  for (int v = 0; v < 3; v++) {
    for (int i = 0; i < 3; i++) {
      g.E(mov(gc, edx, g.D(kSave + kSaveWindow + 16 * v + 4 * i)));
      g.E(mov(gc, g.Vtx(kVertexRegs[v], kWindow + 4 * i), edx));
    }
  }
  if (g.needColor)
    ForEachColor(g, [&g](OgCode *colorReg, uint32_t save) { PutColorBack(g, colorReg, save); });
}

}  // namespace og_setup
