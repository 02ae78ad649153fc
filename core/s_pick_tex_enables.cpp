// The current texture: the bound 2D texture when 2D texturing is on and the
// texture is complete, else the bound 1D texture under the same rule. An
// incomplete 2D texture turns texturing off; it does not fall back to 1D.
#include "core/context.h"
#include "core/s_pick.h"
#include "pixels/px_texture.h"

void __glGenericPickTextureEnables(GlContext *gc) {
  GlTextureMachine *tx = &gc->texture;
  uint32_t enables = gc->state.enables.texture;
  GLenum target = 0;
  if (enables & __GL_TEXTURE_2D_ENABLE)
    target = GL_TEXTURE_2D;
  else if (enables & __GL_TEXTURE_1D_ENABLE)
    target = GL_TEXTURE_1D;

  GlTextureObject *tex = target ? __glLookUpTexture(gc, target) : nullptr;
  if (tex != nullptr && !__glIsTextureConsistent(gc, tex)) tex = nullptr;
  tx->current = tex;
  tx->active = tex != nullptr;
  if (tex != nullptr) __glLoadTextureParams(tex, __glLookUpTextureParams(gc, target));
}
