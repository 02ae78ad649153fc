#include "geometry/s_varray_tables.h"

#include "core/gl_api.h"
#include "geometry/s_varray_copy.h"

namespace {

template <typename F>
GlArrayImmediateProc Entry(F *f) {
  return reinterpret_cast<GlArrayImmediateProc>(reinterpret_cast<void (*)(void)>(f));
}

#define FORM(entry, ...) {Entry(entry), varray::__VA_ARGS__}
#define NONE {nullptr, nullptr}
#define NONE5 {NONE, NONE, NONE, NONE, NONE}

}  // namespace

const uint8_t __glVarrayStrides[__GL_VARRAY_TYPES][5] = {
    {0, 1, 2, 3, 4},  {0, 1, 2, 3, 4},     {0, 2, 4, 6, 8},  {0, 2, 4, 6, 8},
    {0, 4, 8, 12, 16}, {0, 4, 8, 12, 16},  {0, 4, 8, 12, 16}, {0, 0, 0, 0, 0},
    {0, 0, 0, 0, 0},  {0, 0, 0, 0, 0},     {0, 8, 16, 24, 32},
};

const uint8_t type_flag_table[__GL_VARRAY_TYPES] = {1, 2, 3, 4, 5, 6, 7, 0, 0, 0, 11};

// clang-format off
#define VERTEX_ROW(t, T) \
  {NONE, NONE, FORM(glVertex2##t##v, CopyVertex<2, T>), FORM(glVertex3##t##v, CopyVertex<3, T>), \
   FORM(glVertex4##t##v, CopyVertex<4, T>)}
const GlArrayForms vertex_funcs = {
    NONE5, NONE5, VERTEX_ROW(s, GLshort), NONE5, VERTEX_ROW(i, GLint), NONE5,
    VERTEX_ROW(f, GLfloat), NONE5, NONE5, NONE5, VERTEX_ROW(d, GLdouble)};

#define NORMAL_ROW(t, T) {NONE, NONE, NONE, FORM(glNormal3##t##v, CopyNormal<T>), NONE}
const GlArrayForms normal_funcs = {
    NORMAL_ROW(b, GLbyte), NONE5, NORMAL_ROW(s, GLshort), NONE5, NORMAL_ROW(i, GLint), NONE5,
    NORMAL_ROW(f, GLfloat), NONE5, NONE5, NONE5, NORMAL_ROW(d, GLdouble)};

#define COLOR_ROW(t, T) \
  {NONE, NONE, NONE, FORM(glColor3##t##v, CopyColor<3, T>), FORM(glColor4##t##v, CopyColor<4, T>)}
const GlArrayForms color_funcs = {
    COLOR_ROW(b, GLbyte), COLOR_ROW(ub, GLubyte), COLOR_ROW(s, GLshort), COLOR_ROW(us, GLushort),
    COLOR_ROW(i, GLint), COLOR_ROW(ui, GLuint), COLOR_ROW(f, GLfloat), NONE5, NONE5, NONE5,
    COLOR_ROW(d, GLdouble)};

#define INDEX_ROW(t, T) {NONE, FORM(glIndex##t##v, CopyIndex<T>), NONE, NONE, NONE}
const GlArrayForms index_funcs = {
    NONE5, INDEX_ROW(ub, GLubyte), INDEX_ROW(s, GLshort), NONE5, INDEX_ROW(i, GLint), NONE5,
    INDEX_ROW(f, GLfloat), NONE5, NONE5, NONE5, INDEX_ROW(d, GLdouble)};

#define TEXCOORD_ROW(t, T) \
  {NONE, FORM(glTexCoord1##t##v, CopyTexCoord<1, T>), FORM(glTexCoord2##t##v, CopyTexCoord<2, T>), \
   FORM(glTexCoord3##t##v, CopyTexCoord<3, T>), FORM(glTexCoord4##t##v, CopyTexCoord<4, T>)}
const GlArrayForms tex_coord_funcs = {
    NONE5, NONE5, TEXCOORD_ROW(s, GLshort), NONE5, TEXCOORD_ROW(i, GLint), NONE5,
    TEXCOORD_ROW(f, GLfloat), NONE5, NONE5, NONE5, TEXCOORD_ROW(d, GLdouble)};
// clang-format on

const GlArrayForm __glEdgeFlagForm = {Entry(glEdgeFlagv), CopyEdgeFlag};

// clang-format off
const GlInterleavedFormat interleavedFormats[__GL_INTERLEAVED_FORMATS] = {
  // t  c  i  n  tsz csz vsz colour type         c   i   n   v  stride
    {0, 0, 0, 0, 0,  0,  2,  0,                  0,  0,  0,  0,  8},   // GL_V2F
    {0, 0, 0, 0, 0,  0,  3,  0,                  0,  0,  0,  0,  12},  // GL_V3F
    {0, 1, 0, 0, 0,  4,  2,  GL_UNSIGNED_BYTE,   0,  0,  0,  4,  12},  // GL_C4UB_V2F
    {0, 1, 0, 0, 0,  4,  3,  GL_UNSIGNED_BYTE,   0,  0,  0,  4,  16},  // GL_C4UB_V3F
    {0, 1, 0, 0, 0,  3,  3,  GL_FLOAT,           0,  0,  0,  12, 24},  // GL_C3F_V3F
    {0, 0, 0, 1, 0,  0,  3,  0,                  0,  0,  0,  12, 24},  // GL_N3F_V3F
    {0, 1, 0, 1, 0,  4,  3,  GL_FLOAT,           0,  0,  16, 28, 40},  // GL_C4F_N3F_V3F
    {1, 0, 0, 0, 2,  0,  3,  0,                  0,  0,  0,  8,  20},  // GL_T2F_V3F
    {1, 0, 0, 0, 4,  0,  4,  0,                  0,  0,  0,  16, 32},  // GL_T4F_V4F
    {1, 1, 0, 0, 2,  4,  3,  GL_UNSIGNED_BYTE,   8,  0,  0,  12, 24},  // GL_T2F_C4UB_V3F
    {1, 1, 0, 0, 2,  3,  3,  GL_FLOAT,           8,  0,  0,  20, 32},  // GL_T2F_C3F_V3F
    {1, 0, 0, 1, 2,  0,  3,  0,                  0,  0,  8,  20, 32},  // GL_T2F_N3F_V3F
    {1, 1, 0, 1, 2,  4,  3,  GL_FLOAT,           8,  0,  24, 36, 48},  // GL_T2F_C4F_N3F_V3F
    {1, 1, 0, 1, 4,  4,  4,  GL_FLOAT,           16, 0,  32, 44, 60},  // GL_T4F_C4F_N3F_V4F
    {0, 0, 1, 0, 0,  0,  2,  0,                  0,  0,  0,  4,  12},  // GL_IUI_V2F_VLX
    {0, 0, 1, 0, 0,  0,  3,  0,                  0,  0,  0,  4,  16},  // GL_IUI_V3F_VLX
    {0, 0, 1, 1, 0,  0,  2,  0,                  0,  0,  4,  16, 24},  // GL_IUI_N3F_V2F_VLX
    {0, 0, 1, 1, 0,  0,  3,  0,                  0,  0,  4,  16, 28},  // GL_IUI_N3F_V3F_VLX
    {1, 0, 1, 0, 2,  0,  2,  0,                  0,  8,  0,  12, 20},  // GL_T2F_IUI_V2F_VLX
    {1, 0, 1, 0, 2,  0,  3,  0,                  0,  8,  0,  12, 24},  // GL_T2F_IUI_V3F_VLX
    {1, 0, 1, 1, 2,  0,  2,  0,                  0,  8,  12, 24, 32},  // GL_T2F_IUI_N3F_V2F_VLX
    {1, 0, 1, 1, 2,  0,  3,  0,                  0,  8,  12, 24, 36},  // GL_T2F_IUI_N3F_V3F_VLX
};
// clang-format on
