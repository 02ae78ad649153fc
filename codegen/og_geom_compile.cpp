// The compiled vertex routine: fills (or completes) a run of batch records
// from the arrays for the state in force: conversion, the cull-vertex test,
// the transform, clip codes, 1/w, lighting and window coordinates. Vertices
// with a code keep no window coordinates; the clippers recompute them.
// Registers: edi the record, edx and esi its coordinates and normal (esi
// holds the `has` word from the transform to the store), ebp the variables;
// eax, ebx and ecx are scratch.
#include <stddef.h>
#include <string.h>

#include <initializer_list>

#include "codegen/og.h"
#include "codegen/og_dump.h"
#include "codegen/og_gen.h"
#include "codegen/og_geom.h"
#include "core/context.h"
#include "core/gl_assert.h"
#include "geometry/s_clipcheck_frustum.h"
#include "geometry/s_prim.h"
#include "raster/s_shader.h"

namespace {

// Words of the routine in the setup data area, addressed from ebp (the
// busiest first, within a byte's displacement). The clip block and the probe
// block are four adjacent words each (x, y, z, w): __glOgClipCodes reads them.
enum Var : int32_t {
  kLightR, kLightG, kLightB, kLightDot, kClipX, kClipY, kClipZ, kClipW, kInvW,
  kEyeX, kEyeY, kEyeZ, kEyeW, kPlane, kTemp, kTempHigh, kColR, kColG, kColB, kColA,
  kCurVertex, kCurNormal, kCurTexture, kCurColor, kFacing, kConstZCode, kCount,
  kSavedEdx, kZScratch, kDst, kSavedCw, kModCw, kProbeX, kProbeY, kProbeZ, kProbeW, kVarCount
};

// Above the five pushes: the return address, `first` and `count`.
constexpr int32_t kArgFirst = 24, kArgCount = 28;
constexpr int32_t kOneBits = 0x3F800000;
constexpr int32_t kVertexBytes = int32_t(sizeof(GlVertex));

// What the state fixes for one routine.
struct Plan {
  bool vcache;
  uint32_t n;
  bool windowZ;
  bool wOne, zConst;
  uint32_t mvpType;
  uint32_t needs;     // what_needs
  bool lit;           // lighting generated
  bool normal, color, texture;     // the record gets these in array mode
  bool normalArray, colorArray, textureArray;
  uint32_t planes;
};

struct Gen : OgGen {
  uint8_t *data;  // the variables, 8-aligned
  OgCode *Var(Var v) { return At(ebp, 4 * v); }
  OgCode *Rec(size_t offset) { return At(edi, int32_t(offset)); }
};

bool InUse(const GlVertexArrayMachine &va, uint32_t fields) {
  return (va.enableFields & va.neededFields & fields) != 0;
}

Plan MakePlan(GlContext *gc, uint32_t n, uint32_t flags) {
  const GlVertexArrayMachine &va = gc->vertexArray;
  const GlTransform *mv = gc->transform.modelView;
  Plan p = {};
  p.vcache = flags & 0x8000u;
  p.n = n;
  p.windowZ = !(flags & 0x10000u);
  p.mvpType = mv->mvp.matrixType;
  p.wOne = p.mvpType >= __GL_MT_IS2D && n < 4;
  p.zConst = p.mvpType >= __GL_MT_IS2D && n < 3;
  p.needs = what_needs(gc);
  // With colour material each vertex's colour changes the material, which
  // the generated lighting reads as fixed: the C path lights those.
  p.lit = (p.needs & __GL_HAS_FRONT_COLOR) &&
          !(gc->state.enables.general & __GL_COLOR_MATERIAL_ENABLE);
  p.planes = gc->state.enables.clipPlanes;
  if (!p.vcache) {
    p.normal = va.neededFields & __GL_VARRAY_NORMAL_FIELDS;
    p.color = va.neededFields & (__GL_VARRAY_COLOR_FIELDS | __GL_VARRAY_INDEX_FIELDS);
    p.texture = va.neededFields & __GL_VARRAY_TEXCOORD_FIELDS;
    p.normalArray = p.normal && InUse(va, __GL_VARRAY_NORMAL_FIELDS);
    p.colorArray = p.color && InUse(va, __GL_VARRAY_COLOR_FIELDS);
    p.textureArray = p.texture && InUse(va, __GL_VARRAY_TEXCOORD_FIELDS);
  }
  return p;
}

// eax = the array element at the cursor variable, which moves on by the stride.
void NextElement(Gen &g, Var cursor, int32_t stride) {
  g.E(mov(g.gc, eax, g.Var(cursor)));
  g.E(add(g.gc, g.Var(cursor), g.V(stride)));
}

void CopyWords(Gen &g, const void *from, size_t to, int words) {
  for (int i = 0; i < words; i++) {
    g.E(mov(g.gc, ebx, g.Abs(static_cast<const uint8_t *>(from) + 4 * i)));
    g.E(mov(g.gc, g.Rec(to + 4 * size_t(i)), ebx));
  }
}

// Every attribute the state needs goes into the record, converted; the
// rest of the routine reads the record only. Later stages (texture
// generation, fog, lighting in C) find object coordinates and normal there.
void Attributes(Gen &g, const Plan &p) {
  GlContext *gc = g.gc;
  const GlVertexArrayMachine &va = gc->vertexArray;
  const GlCurrentState &cur = gc->state.current;
  const GlArrayRecord &vx = va.arrays[__GL_VARRAY_VERTEX];
  NextElement(g, kCurVertex, vx.stride);
  g.cb = CopyCoord(gc, g.cb, vx.type, uint32_t(vx.size), g.Rec(0), g.Rec(4), g.Rec(8), g.Rec(12));
  if (p.normal) {
    if (p.normalArray) {
      const GlArrayRecord &a = va.arrays[__GL_VARRAY_NORMAL];
      NextElement(g, kCurNormal, a.stride);
      g.cb = CopyNormal(gc, g.cb, a.type, g.Var(kTemp));
    } else {
      CopyWords(g, cur.normal, offsetof(GlVertex, normal), 3);
    }
  }
  if (p.texture) {
    if (p.textureArray) {
      const GlArrayRecord &a = va.arrays[__GL_VARRAY_TEXCOORD];
      const size_t t = offsetof(GlVertex, texture);
      NextElement(g, kCurTexture, a.stride);
      g.cb = CopyCoord(gc, g.cb, a.type, uint32_t(a.size), g.Rec(t), g.Rec(t + 4), g.Rec(t + 8),
                       g.Rec(t + 12));
    } else {
      CopyWords(g, &cur.texture, offsetof(GlVertex, texture), 4);
    }
  }
  if (p.color) {
    const size_t c = offsetof(GlVertex, colors);
    if (p.colorArray) {
      const GlArrayRecord &a = va.arrays[__GL_VARRAY_COLOR];
      NextElement(g, kCurColor, a.stride);
      g.cb = CopyColor(gc, g.cb, a.type, uint32_t(a.size), g.Var(kTemp), g.Var(kColR),
                       g.Var(kColG), g.Var(kColB), g.Var(kColA));
    } else if (gc->modes.colorIndexMode) {
      CopyWords(g, &cur.index, c, 1);
    } else {
      const bool alpha = gc->polygon.shader.modeFlags & __GL_SHADE_ALPHA;
      CopyWords(g, &cur.color, c, alpha ? 4 : 3);
    }
  }
}

// The cull-vertex test on the record (object coordinates at edx, normal at
// esi): a culled vertex gets its code and goes to `next`.
void CullTest(Gen &g, const Plan &p, OgCode *next) {
  GlContext *gc = g.gc;
  const GlVertexArrayMachine &va = gc->vertexArray;
  const GlCoord &e = gc->transform.cullPoint;
  OgCode *kept = label(gc);
  OgCode *n[3] = {g.At(esi, 0), g.At(esi, 4), g.At(esi, 8)};
  OgCode *o[3] = {g.At(edx, 0), g.At(edx, 4), g.At(edx, 8)};
  const GLfloat *ev[3] = {&e.x, &e.y, &e.z};
  // The C test's order: y, z, then x.
  const int order[3] = {1, 2, 0};
  for (int k = 0; k < 3; k++) {
    const int c = order[k];
    g.E(fld(gc, g.Abs(ev[c])));
    if (va.flags & __GL_VARRAY_CULL_POSITION) g.E(fsub(gc, o[c]));
    g.E(fmul(gc, n[c]));
    if (k) g.E(faddp(gc, st1, st0));
  }
  g.E(fstp(gc, g.Var(kFacing)));
  // Index 1 (back) when the bits less one have the sign set: +0.0 and below.
  g.E(mov(gc, eax, g.Var(kFacing)));
  g.E(dec(gc, eax));
  g.E(shr(gc, eax, g.V(31)));
  g.E(mov(gc, ecx, g.V(int32_t(uintptr_t(&va.frontCullBits)))));
  g.E(mov(gc, eax, mem(gc, nullptr, ecx, eax, 4)));
  g.E(test(gc, eax, eax));
  g.E(je(gc, kept));
  if (p.vcache) {
    g.E(or_(gc, g.Rec(offsetof(GlVertex, has)), eax));
  } else {
    g.E(or_(gc, eax, g.V(int32_t(va.sizeBits))));
    g.E(mov(gc, g.Rec(offsetof(GlVertex, has)), eax));
  }
  g.E(jmp(gc, next));
  g.Place(kept);
}

uint8_t *SetEsiHook(GlContext *gc, uint8_t *cb, uint32_t bits) { return set_esi(gc, cb, bits); }

// esi |= the exact codes of the clip block, through the C check.
void SlowCodes(Gen &g, Var block) {
  GlContext *gc = g.gc;
  g.E(mov(gc, g.Var(kSavedEdx), edx));
  g.E(lea(gc, ecx, g.Var(block)));
  g.E(call(gc, named_label(gc, "__glOgClipCodes", reinterpret_cast<const void *>(&__glOgClipCodes))));
  g.E(or_(gc, esi, eax));
  g.E(mov(gc, edx, g.Var(kSavedEdx)));
}

// Frustum codes into esi. The quick test passes a vertex only when w is a
// positive number and every |c| lies within it; all else takes the C check,
// which codes NaNs and w <= 0 as the C path does.
void FrustumCodes(Gen &g, const Plan &p) {
  GlContext *gc = g.gc;
  OgCode *slow = label(gc), *done = label(gc);
  if (p.wOne) {
    g.E(mov(gc, eax, g.V(kOneBits)));
  } else {
    g.E(mov(gc, eax, g.Var(kClipW)));
    g.E(test(gc, eax, eax));
    g.E(jle(gc, slow));
    g.E(cmp(gc, eax, g.V(0x7F800000)));
    g.E(ja(gc, slow));
  }
  OgCode *xyInside = label(gc);
  if (p.zConst) {
    g.E(mov(gc, ebx, g.Var(kClipX)));
    g.E(or_(gc, ebx, g.Var(kClipY)));
    g.E(and_(gc, ebx, g.V(0x7FFFFFFF)));
    g.E(cmp(gc, ebx, g.V(kOneBits)));
    g.E(jb(gc, xyInside));
  }
  for (Var c : {kClipX, kClipY}) {
    g.E(mov(gc, ebx, g.Var(c)));
    g.E(and_(gc, ebx, g.V(0x7FFFFFFF)));
    g.E(cmp(gc, ebx, eax));
    g.E(ja(gc, slow));
  }
  g.Place(xyInside);
  if (p.zConst) {
    g.E(or_(gc, esi, g.Var(kConstZCode)));
  } else {
    g.E(mov(gc, ebx, g.Var(kClipZ)));
    g.E(and_(gc, ebx, g.V(0x7FFFFFFF)));
    g.E(cmp(gc, ebx, eax));
    g.E(ja(gc, slow));
  }
  g.E(jmp(gc, done));
  g.Place(slow);
  if (p.wOne) g.E(mov(gc, g.Var(kClipW), g.V(kOneBits)));
  SlowCodes(g, kClipX);
  g.Place(done);
}

// User clip planes: eye coordinates through the whole modelview (its type
// is no part of the key), then d = eye . plane for each enabled plane; a d
// that is negative or a NaN gives the plane's code.
void PlaneCodes(Gen &g, const Plan &p) {
  GlContext *gc = g.gc;
  const GlTransform *mv = gc->transform.modelView;
  g.cb = doMatrix(gc, g.cb, g.Var(kEyeX), g.Var(kEyeY), g.Var(kEyeZ), __GL_MT_GENERAL, &mv->matrix,
                  p.n, nullptr, 0);
  g.E(fstp(gc, g.Var(kEyeW)));
  // The planes through ecx: eight of them lie within a byte's displacement.
  const GlCoord *planes = gc->state.transform.eyeClipPlanes;
  g.E(mov(gc, ecx, g.V(int32_t(uintptr_t(planes)))));
  const Var eye[4] = {kEyeX, kEyeY, kEyeZ, kEyeW};
  for (uint32_t i = 0; i < 32 && i < uint32_t(gc->constants.numberOfClipPlanes); i++) {
    if (!(p.planes & (1u << i))) continue;
    OgCode *inside = near_label(gc), *outside = near_label(gc);
    for (int c = 0; c < 4; c++) {
      g.E(fld(gc, g.Var(eye[c])));
      g.E(fmul(gc, g.At(ecx, int32_t(16 * i) + 4 * c)));
      if (c) g.E(faddp(gc, st1, st0));
    }
    g.E(fstp(gc, g.Var(kPlane)));
    g.E(mov(gc, eax, g.Var(kPlane)));
    g.E(cmp(gc, eax, g.V(int32_t(0x80000000u))));
    g.E(je(gc, inside));
    g.E(cmp(gc, eax, g.V(0x7F800000)));
    g.E(jbe(gc, inside));
    g.Place(outside);
    g.E(or_(gc, esi, g.V(int32_t(__GL_CLIP_USER0 << i))));
    g.Place(inside);
  }
}

void WindowCoords(Gen &g, const Plan &p) {
  GlContext *gc = g.gc;
  const GlViewport &vp = gc->state.viewport;
  struct Axis {
    Var clip;
    const GLfloat *scale, *centre;
    size_t out;
  };
  const Axis axes[3] = {
      {kClipX, &vp.xScale, &vp.xCenter, offsetof(GlVertex, window)},
      {kClipY, &vp.yScale, &vp.yCenter, offsetof(GlVertex, window) + 4},
      {kClipZ, &vp.zScale, &vp.zCenter, offsetof(GlVertex, window) + 8},
  };
  for (int a = 0; a < (p.windowZ ? 3 : 2); a++) {
    g.E(fld(gc, g.Var(axes[a].clip)));
    if (!p.wOne) g.E(fmul(gc, g.Var(kInvW)));
    g.E(fmul(gc, g.Abs(axes[a].scale)));
    g.E(fadd(gc, g.Abs(axes[a].centre)));
    g.E(fstp(gc, g.Rec(axes[a].out)));
  }
}

void Prologue(Gen &g, const Plan &p) {
  GlContext *gc = g.gc;
  const GlVertexArrayMachine &va = gc->vertexArray;
  for (OgCode *r : {esi, edi, ebx, ecx, ebp}) g.E(push(gc, r));
  g.E(mov(gc, ebp, g.V(int32_t(uintptr_t(g.data)))));
  g.E(mov(gc, g.Var(kDst), edx));
  if (!p.wOne) {
    // Single precision while the routine divides.
    g.E(fstcw(gc, g.Var(kSavedCw)));
    g.E(mov(gc, eax, g.Var(kSavedCw)));
    g.E(and_(gc, eax, g.V(~0x300)));
    g.E(mov(gc, g.Var(kModCw), eax));
    g.E(fldcw(gc, g.Var(kModCw)));
  }
  const GlMatrix &mvp = gc->transform.modelView->mvp;
  if (p.zConst) {
    // Every vertex's clip z is the composite's z translation: its code once.
    g.E(mov(gc, eax, g.Abs(&mvp.matrix[14])));
    g.E(mov(gc, g.Var(kClipZ), eax));
    g.E(mov(gc, g.Var(kProbeZ), eax));
    g.E(mov(gc, g.Var(kProbeX), g.V(0)));
    g.E(mov(gc, g.Var(kProbeY), g.V(0)));
    g.E(mov(gc, g.Var(kProbeW), g.V(kOneBits)));
    g.E(xor_(gc, esi, esi));
    SlowCodes(g, kProbeX);
    g.E(mov(gc, g.Var(kConstZCode), esi));
  }
  if (p.wOne) {
    g.E(mov(gc, g.Var(kClipW), g.V(kOneBits)));
    g.E(mov(gc, g.Var(kInvW), g.V(kOneBits)));
  }
  // edi = the batch record `dst`, counted from the cursor.
  g.E(mov(gc, eax, edx));
  g.cb = scaleby(gc, g.cb, edi, eax, sizeof(GlVertex));
  g.E(add(gc, edi, g.Abs(&va.cursor)));
  if (!p.vcache) {
    struct Cursor {
      bool used;
      int array;
      Var var;
    };
    const Cursor cursors[4] = {{true, __GL_VARRAY_VERTEX, kCurVertex},
                               {p.normalArray, __GL_VARRAY_NORMAL, kCurNormal},
                               {p.textureArray, __GL_VARRAY_TEXCOORD, kCurTexture},
                               {p.colorArray, __GL_VARRAY_COLOR, kCurColor}};
    for (const Cursor &c : cursors) {
      if (!c.used) continue;
      const GlArrayRecord &a = va.arrays[c.array];
      g.E(mov(gc, eax, g.At(esp, kArgFirst)));
      g.cb = scaleby(gc, g.cb, ebx, eax, uint32_t(a.stride));
      g.E(add(gc, ebx, g.Abs(&a.pointer)));
      g.E(mov(gc, g.Var(c.var), ebx));
    }
  }
  g.E(mov(gc, eax, g.At(esp, kArgCount)));
  g.E(mov(gc, g.Var(kCount), eax));
}

void Vertex(Gen &g, const Plan &p, OgCode *next) {
  GlContext *gc = g.gc;
  const GlVertexArrayMachine &va = gc->vertexArray;
  const size_t hasAt = offsetof(GlVertex, has);
  if (!p.vcache) Attributes(g, p);
  g.E(mov(gc, edx, edi));
  g.E(lea(gc, esi, g.Rec(offsetof(GlVertex, normal))));
  if (va.flags & __GL_VARRAY_CULL_VERTEX) CullTest(g, p, next);

  // The transform; esi takes the `has` word right after x' is stored.
  const GlMatrix &mvp = gc->transform.modelView->mvp;
  OgCode *z = p.zConst ? g.Var(kZScratch) : g.Var(kClipZ);
  g.cb = doMatrix(gc, g.cb, g.Var(kClipX), g.Var(kClipY), z, p.mvpType, &mvp, p.n, SetEsiHook,
                  p.lit ? __GL_HAS_FRONT_COLOR : 0);
  if (!p.wOne) {
    g.E(fst(gc, g.Var(kClipW)));
    g.E(fdivr(gc, fpk(gc, 1.0)));
    g.E(fstp(gc, g.Var(kInvW)));
  }
  FrustumCodes(g, p);
  if (p.planes) PlaneCodes(g, p);
  g.E(mov(gc, eax, g.Var(kInvW)));
  g.E(mov(gc, g.Rec(offsetof(GlVertex, window) + 12), eax));
  if (p.vcache) {
    // A cached record carries its own size class, which may be below the
    // batch's: only the new bits go in.
    g.E(and_(gc, esi, g.V(int32_t(~__GL_HAS_SIZE_MASK))));
    g.E(or_(gc, g.Rec(hasAt), esi));
  } else {
    g.E(mov(gc, g.Rec(hasAt), esi));
  }
  g.E(pop(gc, esi));
  if (p.lit)
    g.cb = do_light(gc, g.cb, nullptr, nullptr, nullptr, g.Var(kLightR), g.Var(kLightG),
                    g.Var(kLightB), g.Var(kLightDot));
  g.E(test(gc, g.Rec(hasAt), g.V(int32_t(__GL_PRIM_CLIP_MASK))));
  g.E(jne(gc, next));
  WindowCoords(g, p);
}

void Emit(Gen &g, const Plan &p) {
  GlContext *gc = g.gc;
  OgCode *loop = label(gc), *next = label(gc), *exit = label(gc);
  Prologue(g, p);
  g.E(test(gc, eax, eax));
  g.E(jle(gc, exit));
  g.Place(loop);
  Vertex(g, p, next);
  g.Place(next);
  g.E(add(gc, edi, g.V(kVertexBytes)));
  g.E(sub(gc, g.Var(kCount), g.V(1)));
  g.E(jne(gc, loop));
  g.Place(exit);
  if (!p.wOne) g.E(fldcw(gc, g.Var(kSavedCw)));
  for (OgCode *r : {ebp, ecx, ebx, edi, esi}) g.E(pop(gc, r));
  g.E(retn(gc, g.V(8)));
}

// Window z is left out when nothing reads it: no depth test, or one that
// neither writes nor compares.
uint32_t DepthAdjusted(const GlContext *gc, uint32_t flags) {
  const GlDepthState &d = gc->state.depth;
  const bool wanted = (gc->polygon.shader.modeFlags & __GL_SHADE_DEPTH_TEST) &&
                      (d.writeEnable || d.testFunc != GL_ALWAYS);
  return wanted ? flags : flags | 0x10000u;
}

}  // namespace

uint32_t GLFASTCALL __glOgClipCodes(const GLfloat *clip) {
  const GlCoord c = {clip[0], clip[1], clip[2], clip[3]};
  return clipcheck::FrustumCodes(c);
}

void *__glGenerateCompileVcache(GlContext *gc, uint32_t n, uint32_t flags) {
  flags = DepthAdjusted(gc, flags);
  uint32_t hit = 0;
  GlWorkRecord *cell = gimme_space(&hit, gc, flags, n, make_key);
  if (hit) return cell->buffer;
  const Plan plan = MakePlan(gc, n, flags);
  og_warmup(gc);
  og_buffer(gc, cell->buffer, cell->buffer + cell->size);
  uint8_t *data = reinterpret_cast<uint8_t *>((uintptr_t(gc->triSetupData) + 7) & ~uintptr_t(7));
  Gen g{{gc, cell->buffer}, data};
  Emit(g, plan);
  if (gc->ogs.failure) {
    // Nothing may find the partial routine.
    cell->keyLength = 0;
    return nullptr;
  }
  og_dump(gc, "compileVertexes", cell->buffer, uint32_t(g.cb - cell->buffer));
  return cell->buffer;
}
