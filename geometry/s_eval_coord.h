// One evaluation of every enabled map at a parameter, fed into the vertex
// road of the immediate table in force; the record a 2-D evaluation can
// leave for a mesh to replay; and the grid parameter shared by the grid
// points and meshes.
#pragma once

#include <stdint.h>

#include "core/gl_defs.h"
#include "geometry/s_vertex.h"

struct GlContext;

// Bits of GlEvalResult::flags.
#define __GL_EVAL_HAS_COLOR 0x1u
#define __GL_EVAL_HAS_NORMAL 0x2u
#define __GL_EVAL_HAS_TEXTURE 0x4u
#define __GL_EVAL_HAS_VERTEX3 0x8u
#define __GL_EVAL_HAS_VERTEX4 0x10u

typedef struct GlEvalResult {
  uint32_t flags;
  GLfloat color[4];  // RGBA before scaling, or the index in [0]
  GLfloat normal[4];
  GLfloat texture[4];
  GLfloat vertex[4];
} GlEvalResult;

// What evaluation calls and meshes save and restore around their work.
typedef struct GlEvalSavedCurrent {
  GlColor color;
  GLfloat normal[3];
  GlCoord texture;
} GlEvalSavedCurrent;

GlEvalSavedCurrent __glEvalSaveCurrent(const GlContext *gc);
void __glEvalRestoreCurrent(GlContext *gc, const GlEvalSavedCurrent &saved);

// The procs.evalCoord procedures (v unused by the 1-D one): the current
// colour, normal and texture coordinates are what they were afterwards.
void __glDoEvalCoord1(GlContext *gc, GLfloat u, GLfloat v);
void __glDoEvalCoord2(GlContext *gc, GLfloat u, GLfloat v);

// Evaluate and issue the vertex; the evaluated attributes stay current,
// except the colour (or index), which is put back. A 2-D evaluation also
// fills `record` when one is given.
void DoEvalCoord1(GlContext *gc, GLfloat u);
void DoEvalCoord2(GlContext *gc, GlEvalResult *record, GLfloat u, GLfloat v);
// Issues the vertex of a record as DoEvalCoord2 issued it.
void sendChange(GlContext *gc, const GlEvalResult *record);

// The partials of (x, y, z, w) turned into those of the projected point.
void ComputeFirstPartials(const GLfloat *point, GLfloat *du, GLfloat *dv);
// du x dv, normalized.
void ComputeNormal2(GlContext *gc, GLfloat *normal, const GLfloat *du, const GLfloat *dv);

// Grid point i of n segments over [u1, u2]: u2 itself at i = n.
GLfloat __glEvalGridParameter(int64_t i, GLfloat u1, GLfloat u2, int32_t n);
