// glFeedbackBuffer and glPassThrough.
#include "core/context.h"
#include "core/gl_entries.h"
#include "core/s_entry.h"
#include "core/s_error.h"
#include "geometry/s_feedback.h"

void GLENTRY __glim_FeedbackBuffer(GLsizei size, GLenum type, GLfloat *buffer) {
  GlContext *gc = __glContextOutsideBegin();
  if (!gc) return;
  if (type < GL_2D || type > GL_4D_COLOR_TEXTURE) {
    __glSetError(GL_INVALID_ENUM);
    return;
  }
  if (size < 0) {
    __glSetError(GL_INVALID_VALUE);
    return;
  }
  if (gc->renderMode == GL_FEEDBACK) {
    __glSetError(GL_INVALID_OPERATION);
    return;
  }
  GlFeedbackState &f = gc->feedback;
  f.buffer = buffer;
  f.cursor = buffer;
  f.size = size;
  f.overflow = 0;
  f.type = type;
}

void GLENTRY __glim_PassThrough(GLfloat token) {
  GlContext *gc = __glContextOutsideBegin();
  if (!gc || gc->renderMode != GL_FEEDBACK) return;
  __glFeedbackTag(gc, GL_PASS_THROUGH_TOKEN);
  __glFeedbackTag(gc, token);
}
