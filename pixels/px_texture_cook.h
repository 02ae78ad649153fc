// Cooked copies: a texture level converted into the draw buffer's pixel
// format, which the generated span code copies to the screen as it stands.
#pragma once

#include "core/gl_defs.h"

struct GlContext;
struct GlTextureLevel;

// Gives level 0 of the current texture a cooked copy when it has none and
// one can be made: only for the luminance, luminance-alpha, intensity, RGB
// and RGBA byte formats and a draw buffer of 1, 2 or 4 bytes per pixel, so
// that every pixel of it is written. A copy that cannot be allocated is
// simply absent.
void __glCookTexture(GlContext *gc);
// Converts the texels of the rectangle into the level's cooked copy. The
// offsets count from the interior, as those of the sub-image commands do
// (-border is the first texel). Nothing happens without a cooked copy.
void __glCookSubTexture(GlContext *gc, GlTextureLevel *level, GLint xoffset, GLint yoffset,
                        GLint width, GLint height);
// Whether the level's format and the draw buffer allow a cooked copy.
bool __glCanCookTexture(const GlContext *gc, const GlTextureLevel *level);
