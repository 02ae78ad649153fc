// The colour tables of the paletted textures: the argument checks, the
// description a table's internal format loads, the span-record side of a
// table, the context's two table procedures and the parameter queries.
#pragma once

#include <stdint.h>

#include "core/calling.h"
#include "core/gl_defs.h"

struct GlContext;
struct GlColorTable;
struct GlPixelSpanInfo;

#define GL_COLOR_TABLE_FORMAT_EXT 0x80D8
#define GL_COLOR_TABLE_WIDTH_EXT 0x80D9
#define GL_COLOR_TABLE_RED_SIZE_EXT 0x80DA
#define GL_COLOR_TABLE_GREEN_SIZE_EXT 0x80DB
#define GL_COLOR_TABLE_BLUE_SIZE_EXT 0x80DC
#define GL_COLOR_TABLE_ALPHA_SIZE_EXT 0x80DD
#define GL_COLOR_TABLE_LUMINANCE_SIZE_EXT 0x80DE
#define GL_COLOR_TABLE_INTENSITY_SIZE_EXT 0x80DF

// Tables hold at most this many bytes of client data (width times the
// bytes of one group of the table's base format in the client's type).
#define __GL_MAX_COLOR_TABLE_BYTES 32768

inline bool __glIsProxyTableTarget(GLenum target) {
  return target == GL_PROXY_TEXTURE_1D || target == GL_PROXY_TEXTURE_2D;
}

// 0, or the error of the first argument refused: target, internal format,
// width (a power of two or 0), size (GL_TABLE_TOO_LARGE_EXT), format, type.
GLenum __glCheckColorTableArgs(GlContext *gc, GLenum target, GLenum internalFormat,
                               GLsizei width, GLenum format, GLenum type);
// The checks of a definition as glColorTableEXT makes them: a proxy too
// large is answered by an empty description, internal format 0 in
// *internalFormat, unless a later argument is wrong as well. 0 or the error.
GLenum __glCheckColorTableDefinition(GlContext *gc, GLenum target, GLenum *internalFormat,
                                     GLsizei width, GLenum format, GLenum type);
// 0, or the error of the first argument refused: target (no proxies),
// start and count, format, type. The range is the table procedure's.
GLenum __glCheckColorSubTableArgs(GlContext *gc, GLenum target, GLsizei start, GLsizei count,
                                  GLenum format, GLenum type);
// What an internal format makes of a table: its base format, the bits of
// each component (red, green, blue, alpha, luminance, intensity) and the
// components of one entry.
typedef struct GlColorTableFormat {
  GLenum first, last;  // the internal formats of the row
  GLenum baseFormat;
  int32_t sizes[6];
  int32_t components;
} GlColorTableFormat;
// The row of an internal format, or null when tables refuse it.
const GlColorTableFormat *__glColorTableFormat(GLenum internalFormat);
// The table's description for an accepted internal format: target,
// internal format, width, unsigned-byte entries, sizes, base format and
// components. Nothing is stored.
void __glLoadColorTableParams(GlColorTable *table, GLenum target, GLenum internalFormat,
                              GLsizei width);
// Grows the table's storage for a definition (never shrinking it; new
// bytes zeroed) and loads its description; false, with GL_OUT_OF_MEMORY
// recorded and the old definition kept, when the storage cannot grow.
GLbool8 __glDefineColorTable(GlContext *gc, GlColorTable *table, GLenum target,
                             GLenum internalFormat, GLsizei width);
// A table changed: the texture pickers, which read its base format, run
// at the next validation.
void __glMarkColorTableChanged(GlContext *gc);
// Entry `index` of the table as texel bytes R, G, B, A, read by the table's
// base format; writes only the bytes that format gives (none for an empty
// table). The index wraps at the table's width.
void __glColorTableTexel(const GlColorTable *table, uint32_t index, GLubyte *texel);
// The table as the destination block of a span record: its entries,
// dense, in its base format.
void __glInitColorTableStore(GlColorTable *table, GlPixelSpanInfo *info);

// The generic colour-table procedures (procs.colorTableEXT and
// procs.colorSubTableEXT); `packed` says the entries are dense with the
// default unpack modes. Internal format 0 clears a proxy's description.
void __glColorTableEXT(GlContext *gc, GLenum target, GLenum internalFormat, GLsizei width,
                       GLenum format, GLenum type, const void *table, GLbool8 packed);
void __glColorSubTableEXT(GlContext *gc, GLenum target, GLsizei start, GLsizei count,
                          GLenum format, GLenum type, const void *entries, GLbool8 packed);

// The field a parameter query reads, or null for a target or name that is
// refused.
const GLint *__glColorTableModifiers(GlContext *gc, GLenum target, GLenum pname);
// The query: into `ints` or `floats` (whichever is not null), or the error.
void __glGetColorTableParameterv(GlContext *gc, GLenum target, GLenum pname, GLint *ints,
                                 GLfloat *floats);
