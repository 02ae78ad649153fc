// The server attribute groups, visited in one fixed order by glPushAttrib,
// glPopAttrib and context copy. Each group copies between two sides: a
// context's state, or a saved record's.
#pragma once

#include <stdint.h>

#include "core/gl_defs.h"
#include "core/s_attrib.h"

struct GlContext;

// Where one side keeps the groups. `gc` is the context the side is, or null
// for a saved record (a record is never bound to texture objects).
typedef struct GlAttribSide {
  GlContext *gc;
  GlState *state;
  GlPixelTransferMode *transferMode;
  GLenum *readBuffer, *readBufferReturn;
  GlTextureTargetState *textureTargets;  // 2
  GlTexCoordGen *texCoordGen;            // 4
  GlTextureEnv *textureEnv;
  // Entries of the light, clip-plane and environment arrays.
  int32_t lights, clipPlanes, textureEnvs;
} GlAttribSide;

GlAttribSide __glAttribContextSide(GlContext *gc);
// A record of `owner`'s stack, with its owned copies as they stand.
GlAttribSide __glAttribRecordSide(GlContext *owner, GlAttribRecord *record);

enum GlAttribUse : uint8_t { __GL_ATTRIB_PUSH, __GL_ATTRIB_POP, __GL_ATTRIB_COPY };

// Copies the groups of mask from src to dst in the fixed order. A pop or a
// copy also takes each group's enables from src and runs its calls on
// dst.gc; the marks it asks for are added to *dirty and *tableDirty. A push
// copies the groups' words alone (the caller saves the enables).
void __glAttribTransfer(const GlAttribSide &dst, const GlAttribSide &src, GLuint mask,
                        GlAttribUse use, uint32_t *dirty, uint32_t *tableDirty);
