// The list ops of glColorTableEXT and glColorSubTableEXT: the arguments
// checked against the context at compile time (each error compiled with
// its own code), the entries packed into the op, defined through the
// context's table procedures when the list runs.
#include "core/context.h"
#include "core/current.h"
#include "core/gl_entries.h"
#include "core/s_entry.h"
#include "dlist/dl_error_ops.h"
#include "dlist/dl_image.h"
#include "dlist/dl_opcodes.h"
#include "dlist/dl_ops.h"
#include "pixels/px_color_table.h"

namespace {

constexpr uint32_t kTableHead = 24;

// The begin-mode step of the colour-table commands: refused inside
// glBegin/glEnd, the procedures picked first when validation is pending
// (the table chains read the picked span procedures).
GlContext *TableContext() {
  GlContext *gc = __glContextOutsideBegin();
  if (gc != nullptr) __glValidateIfPending(gc);
  return gc;
}

}  // namespace

void GLENTRY __gllc_ColorTableEXT(GLenum target, GLenum internalformat, GLsizei width,
                                  GLenum format, GLenum type, const GLvoid *table) {
  GlContext *gc = TableContext();
  if (gc == nullptr) return;
  // A proxy too large is recorded with internal format 0: its run clears
  // the proxy's description.
  const GLenum error =
      __glCheckColorTableDefinition(gc, target, &internalformat, width, format, type);
  if (error != 0) {
    __gllc_Error(gc, error);
    return;
  }
  // A proxy reads no entries: its op keeps none.
  const DlImage image = {__glIsProxyTableTarget(target) ? 0 : width, 1, format, type, table};
  __glDlistRecordImage(gc, GL_DLOP_ColorTableEXT, __glle_ColorTableEXT, kTableHead, image,
                       DlImageHead(target, internalformat, width, format, type));
}

void GLENTRY __gllc_ColorSubTableEXT(GLenum target, GLsizei start, GLsizei count, GLenum format,
                                     GLenum type, const GLvoid *entries) {
  GlContext *gc = TableContext();
  if (gc == nullptr) return;
  const GLenum error = __glCheckColorSubTableArgs(gc, target, start, count, format, type);
  if (error != 0) {
    __gllc_Error(gc, error);
    return;
  }
  __glDlistRecordImage(gc, GL_DLOP_ColorSubTableEXT, __glle_ColorSubTableEXT, kTableHead,
                       {count, 1, format, type, entries},
                       DlImageHead(target, start, count, format, type));
}

// Run as the immediate commands run: the same begin-mode step, and the
// pickers told that a table changed.
const GLubyte *__glle_ColorTableEXT(const GLubyte *data) {
  auto w = [data](int i) { return DlWord(data + 4 * i); };
  if (GlContext *gc = TableContext()) {
    gc->procs.colorTableEXT(gc, w(0), w(1), GLsizei(w(2)), w(3), w(4), data + kTableHead, 1);
    __glMarkColorTableChanged(gc);
  }
  return __glDlistPastImage(data, kTableHead);
}

const GLubyte *__glle_ColorSubTableEXT(const GLubyte *data) {
  auto w = [data](int i) { return DlWord(data + 4 * i); };
  if (GlContext *gc = TableContext()) {
    gc->procs.colorSubTableEXT(gc, w(0), GLsizei(w(1)), GLsizei(w(2)), w(3), w(4),
                               data + kTableHead, 1);
    __glMarkColorTableChanged(gc);
  }
  return __glDlistPastImage(data, kTableHead);
}
