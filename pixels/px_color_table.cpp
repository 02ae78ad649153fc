// The colour-table procedures: a table's description, its storage grown for
// a new definition, and its entries stored from client memory through the
// copy-image chain, without pixel transfer and without the colour-buffer
// scales (entries are plain colours, not frame-buffer values).
#include <string.h>

#include "core/context.h"
#include "core/s_entry.h"
#include "core/s_error.h"
#include "pixels/px_color_table.h"
#include "pixels/px_image_paths.h"
#include "pixels/px_packer.h"
#include "pixels/px_span_procs.h"
#include "pixels/px_texture.h"

namespace {

// A proxy refused as too large describes no table.
void ClearDescription(GlColorTable *t) {
  t->internalFormat = 0;
  t->type = 0;
  t->width = 0;
  t->redSize = t->greenSize = t->blueSize = t->alphaSize = 0;
  t->luminanceSize = t->intensitySize = 0;
}

// Runs the memory chain `info` describes into the table; the caller has
// set up both sides and reserved the storage of rows wider than the span
// buffers (tables may be).
void StoreEntries(GlContext *gc, GlPixelSpanInfo *info) {
  info->applyScale = 0;
  gc->procs.pickCopyImage(gc, info, 0);
}

}  // namespace

void __glMarkColorTableChanged(GlContext *gc) {
  __glDelayValidate(gc, __GL_DIRTY_PIXEL | __GL_DIRTY_GENERIC);
}

void __glLoadColorTableParams(GlColorTable *table, GLenum target, GLenum internalFormat,
                              GLsizei width) {
  const GlColorTableFormat *row = __glColorTableFormat(internalFormat);
  if (row == nullptr) return;
  table->target = target;
  table->internalFormat = internalFormat;
  table->width = width;
  table->type = GL_UNSIGNED_BYTE;
  table->redSize = row->sizes[0];
  table->greenSize = row->sizes[1];
  table->blueSize = row->sizes[2];
  table->alphaSize = row->sizes[3];
  table->luminanceSize = row->sizes[4];
  table->intensitySize = row->sizes[5];
  table->baseFormat = row->baseFormat;
  table->components = row->components;
}

GLbool8 __glDefineColorTable(GlContext *gc, GlColorTable *table, GLenum target,
                             GLenum internalFormat, GLsizei width) {
  const GlColorTableFormat *row = __glColorTableFormat(internalFormat);
  if (row == nullptr || width < 0) return 0;
  const size_t used = size_t(table->components) * size_t(table->width);
  const size_t wanted = size_t(row->components) * size_t(width);
  if (wanted > used) {
    // The entries beyond the old definition start as zeros.
    auto *grown = static_cast<GLubyte *>(gc->imports.realloc(gc, table->table, wanted));
    if (grown == nullptr) {
      __glSetError(GL_OUT_OF_MEMORY);
      return 0;
    }
    memset(grown + used, 0, wanted - used);
    table->table = grown;
  }
  __glLoadColorTableParams(table, target, internalFormat, width);
  return 1;
}

void __glInitColorTableStore(GlColorTable *table, GlPixelSpanInfo *info) {
  info->dstImage = table->table;
  info->dstSkipPixels = 0;
  info->dstSkipLines = 0;
  info->dstSwapBytes = 0;
  info->dstLsbFirst = 1;
  info->dstLineLength = table->width;
  info->dstFormat = table->baseFormat;
  info->dstType = table->type;
  info->dstAlignment = __glBytesPerElement(table->type);
}

void __glColorTableEXT(GlContext *gc, GLenum target, GLenum internalFormat, GLsizei width,
                       GLenum format, GLenum type, const void *table, GLbool8 packed) {
  GlTextureObject *tex = __glLookUpTexture(gc, target);
  if (tex == nullptr) return;
  GlColorTable *t = &tex->colorTable;
  if (internalFormat == 0) {
    ClearDescription(t);
    __glMarkColorTableChanged(gc);
    return;
  }
  if (__glIsProxyTableTarget(target)) {
    __glLoadColorTableParams(t, target, internalFormat, width);
    __glMarkColorTableChanged(gc);
    return;
  }
  GlPixelSpanInfo info;
  memset(&info, 0, sizeof info);
  const bool store = table != nullptr && width > 0;
  // A client layout the unpacker refuses changes nothing.
  if (store) {
    __glInitMemUnpack(gc, &info, width, 1, 0, format, type, table, packed);
    if (!__glInitUnpacker(gc, &info)) return;
  }
  // Everything is had before the old definition goes.
  GlSpanStorage storage;
  if (!__glReserveSpanStorage(gc, &info, &storage, store ? width : 0)) return;
  if (__glDefineColorTable(gc, t, target, internalFormat, width)) {
    __glMarkColorTableChanged(gc);
    if (store) {
      __glInitColorTableStore(t, &info);
      if (__glInitPacker(gc, &info)) StoreEntries(gc, &info);
    }
  }
  __glReleaseSpanStorage(gc, &info);
}

void __glColorSubTableEXT(GlContext *gc, GLenum target, GLsizei start, GLsizei count,
                          GLenum format, GLenum type, const void *entries, GLbool8 packed) {
  GlTextureObject *tex = __glLookUpTexture(gc, target);
  if (tex == nullptr) return;
  GlColorTable *t = &tex->colorTable;
  // In 64 bits: a start near 2^31 must not wrap past the test.
  if (start < 0 || count < 0 || int64_t(start) + count > t->width) {
    __glSetError(GL_INVALID_VALUE);
    return;
  }
  if (entries == nullptr || count == 0) return;
  GlPixelSpanInfo info;
  memset(&info, 0, sizeof info);
  __glInitMemUnpack(gc, &info, count, 1, 0, format, type, entries, packed);
  __glInitColorTableStore(t, &info);
  info.dstSkipPixels = start;
  if (!__glInitUnpacker(gc, &info) || !__glInitPacker(gc, &info)) return;
  GlSpanStorage storage;
  if (!__glReserveSpanStorage(gc, &info, &storage, count)) return;
  StoreEntries(gc, &info);
  __glReleaseSpanStorage(gc, &info);
  __glMarkColorTableChanged(gc);
}
