// The four image pickers: chains between memory images, with the extra
// stages a texture format may ask for, and from the frame buffer into a
// memory image.
#include "pixels/px_image_paths.h"

#include "core/context.h"
#include "core/gl_assert.h"
#include "pixels/px_packer.h"
#include "pixels/px_span_procs.h"
#include "pixels/px_texformat.h"
#include "pixels/px_texture.h"

namespace {

const GlTexFormat *FormatOf(const GlTextureObject *tex) {
  return tex != nullptr ? tex->texFormat : nullptr;
}

void Append(GlPixelSpanInfo *info, GlSpanModifier stage) {
  __GL_ASSERT(info->numSpanMods < __GL_MAX_SPAN_MODIFIERS, "numSpanMods < 13", "px_paths");
  info->spanModifier[info->numSpanMods++] = stage;
}

void PickMemoryChain(GlContext *gc, GlPixelSpanInfo *info, GLbool8 applyModify) {
  GlSpanPickRequest request = __glSpanRequest(__GL_SPAN_PATH_COPY_IMAGE, applyModify != 0);
  PickSpanModifiers(gc, info, &request);
}

// At least one stage moves the rows.
void RunMemoryChain(GlContext *gc, GlPixelSpanInfo *info) {
  if (info->numSpanMods == 0) Append(info, __glSpanCopy);
  // (No loop runs an empty memory chain.)
  __glRunSpanLoop(gc, info, {__glCopyImage1, __glCopyImage1, __glCopyImage2, __glCopyImageSpans});
}

}  // namespace

void __glGenericPickCopyImage(GlContext *gc, GlPixelSpanInfo *info, GLbool8 applyModify) {
  info->numSpanMods = 0;
  PickMemoryChain(gc, info, applyModify);
  RunMemoryChain(gc, info);
}

void __glGenericPickStoreTexture(GlContext *gc, GlTextureObject *tex, GlPixelSpanInfo *info,
                                 GLbool8 applyModify) {
  info->numSpanMods = 0;
  PickMemoryChain(gc, info, applyModify);
  const GlTexFormat *f = FormatOf(tex);
  if (f != nullptr && f->extraStoreStage != nullptr) Append(info, f->extraStoreStage);
  RunMemoryChain(gc, info);
}

void __glGenericPickGetTexture(GlContext *gc, GlTextureObject *tex, GlPixelSpanInfo *info,
                               GLbool8 applyModify) {
  info->numSpanMods = 0;
  const GlTexFormat *f = FormatOf(tex);
  if (f != nullptr && f->extraGetStage != nullptr) Append(info, f->extraGetStage);
  PickMemoryChain(gc, info, applyModify);
  RunMemoryChain(gc, info);
}

void __glGenericPickReadImage(GlContext *gc, GlTextureObject *tex, GlPixelSpanInfo *info) {
  info->numSpanMods = 0;
  GlSpanPickRequest request = __glSpanRequest(__GL_SPAN_PATH_READ_IMAGE);
  PickSpanModifiers(gc, info, &request);
  const GlTexFormat *f = FormatOf(tex);
  if (f != nullptr && f->extraStoreStage != nullptr) Append(info, f->extraStoreStage);
  info->spanReader = request.reader;
  __glRunSpanLoop(gc, info,
                  {__glReadPixels0, __glReadPixels1, __glReadPixels2, __glReadPixelSpans});
}
