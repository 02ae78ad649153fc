// Attribute stacks and context copy.
#pragma once

#include "core/calling.h"
#include "core/gl_defs.h"
#include "core/s_state.h"
#include "geometry/s_varray.h"
#include "pixels/px_state.h"
#include "pixels/px_texture.h"

struct GlContext;

// One level of the server attribute stack, allocated on the first push that
// reaches it and kept until the context is destroyed. `state` holds the
// enables, saved by every push, and the groups of `mask`; the pixel-mode and
// texture groups, which the context keeps outside GlState, follow it. Its
// pointers to lights, clip planes and texture environments are null unless
// they point at copies the record owns: a push allocates them, the pop moves
// their contents back into the context's own arrays, frees them and clears
// the pointers.
typedef struct GlAttribRecord {
  GLuint mask;  // of the push that filled it; 0 after the pop
  GlState state;
  // The pixel-mode group.
  GlPixelTransferMode transferMode;
  GLenum readBuffer, readBufferReturn;
  // The texture group.
  GlTextureTargetState textureTargets[2];
  GlTexCoordGen texCoordGen[4];
  GlTextureEnv *textureEnv;  // constants.numberOfTextureEnvs of them
} GlAttribRecord;

// One level of the client attribute stack, allocated on first use and kept
// until the context is destroyed. A pop restores the vertex arrays' own
// words, never the batch buffer, which may have moved since the push.
typedef struct GlClientAttribRecord {
  GLuint mask;  // of the push that filled it; 0 after the pop
  GlPixelStoreModes packModes;
  GlPixelStoreModes unpackModes;
  GlVertexArrayMachine vertexArray;
} GlClientAttribRecord;

// Copies the server attribute groups named by mask from src to dst (the
// context's copyContext export): the state the pointers lead to is copied,
// never the pointers. dst is marked for validation; the viewport is applied
// at once only while dst is bound to a drawable, else by its next binding.
// The calling thread's current context, unless it is dst, is left alone.
// False, copying nothing, for a missing context or one never bound (its
// state is not set up yet).
GLbool8 __glCopyContext(GlContext *dst, GlContext *src, GLuint mask);
// Frees the saved server attribute records and the copies they own, and
// empties the stack (the stack array itself stays).
void __glFreeAttributeState(GlContext *gc);
