// glEnable, glDisable and glIsEnabled over the capability words of the
// state, and the client-array enables of the vertex-array state. A change
// marks the groups whose procedures depend on the capability; a few
// capabilities also act at once.
#include "core/context.h"
#include "core/gl_api.h"
#include "core/gl_entries.h"
#include "core/s_entry.h"
#include "core/s_error.h"
#include "core/s_get.h"

namespace {

// Which word of the enables holds a capability's bit.
enum class Word : uint8_t { kGeneral, kTexture, kLights, kClipPlanes, kEval1, kEval2 };

// What a change does besides marking.
enum class Action : uint8_t {
  kNone,
  kLighting,       // colour material picked again, the current colour applied
  kColorMaterial,  // the same; the colour applied only when turned on
  kScissor,        // the clip box and the scissor applied at once
  kCullFace,       // marks only when the bit changes
};

struct Capability {
  GLenum cap;
  Word word;
  uint32_t bit;
  uint32_t marks;
  Action action;
};

constexpr uint32_t kGeneric = __GL_DIRTY_GENERIC;

const Capability kFixed[] = {
    {GL_ALPHA_TEST, Word::kGeneral, __GL_ALPHA_TEST_ENABLE, kGeneric, Action::kNone},
    {GL_BLEND, Word::kGeneral, __GL_BLEND_ENABLE, kGeneric, Action::kNone},
    {GL_INDEX_LOGIC_OP, Word::kGeneral, __GL_INDEX_LOGIC_OP_ENABLE, kGeneric, Action::kNone},
    {GL_DITHER, Word::kGeneral, __GL_DITHER_ENABLE, kGeneric, Action::kNone},
    {GL_DEPTH_TEST, Word::kGeneral, __GL_DEPTH_TEST_ENABLE, __GL_DIRTY_DEPTH | kGeneric,
     Action::kNone},
    {GL_FOG, Word::kGeneral, __GL_FOG_ENABLE, kGeneric, Action::kNone},
    {GL_LIGHTING, Word::kGeneral, __GL_LIGHTING_ENABLE, __GL_DIRTY_LIGHTING, Action::kLighting},
    {GL_COLOR_MATERIAL, Word::kGeneral, __GL_COLOR_MATERIAL_ENABLE, __GL_DIRTY_LIGHTING,
     Action::kColorMaterial},
    {GL_LINE_STIPPLE, Word::kGeneral, __GL_LINE_STIPPLE_ENABLE, __GL_DIRTY_LINE, Action::kNone},
    {GL_LINE_SMOOTH, Word::kGeneral, __GL_LINE_SMOOTH_ENABLE, kGeneric, Action::kNone},
    {GL_POINT_SMOOTH, Word::kGeneral, __GL_POINT_SMOOTH_ENABLE, kGeneric, Action::kNone},
    {GL_POLYGON_SMOOTH, Word::kGeneral, __GL_POLYGON_SMOOTH_ENABLE, kGeneric, Action::kNone},
    {GL_CULL_FACE, Word::kGeneral, __GL_CULL_FACE_ENABLE, __GL_DIRTY_POLYGON, Action::kCullFace},
    {GL_POLYGON_STIPPLE, Word::kGeneral, __GL_POLYGON_STIPPLE_ENABLE, __GL_DIRTY_POLYGON,
     Action::kNone},
    {GL_SCISSOR_TEST, Word::kGeneral, __GL_SCISSOR_TEST_ENABLE, __GL_DIRTY_SCISSOR | kGeneric,
     Action::kScissor},
    {GL_STENCIL_TEST, Word::kGeneral, __GL_STENCIL_TEST_ENABLE, kGeneric, Action::kNone},
    {GL_NORMALIZE, Word::kGeneral, __GL_NORMALIZE_ENABLE, kGeneric, Action::kNone},
    {GL_AUTO_NORMAL, Word::kGeneral, __GL_AUTO_NORMAL_ENABLE, kGeneric, Action::kNone},
    {GL_POLYGON_OFFSET_POINT, Word::kGeneral, __GL_POLYGON_OFFSET_POINT_ENABLE,
     __GL_DIRTY_POINT | kGeneric, Action::kNone},
    {GL_POLYGON_OFFSET_LINE, Word::kGeneral, __GL_POLYGON_OFFSET_LINE_ENABLE,
     __GL_DIRTY_LINE | kGeneric, Action::kNone},
    {GL_POLYGON_OFFSET_FILL, Word::kGeneral, __GL_POLYGON_OFFSET_FILL_ENABLE,
     __GL_DIRTY_POLYGON | kGeneric, Action::kNone},
    {GL_COLOR_LOGIC_OP, Word::kGeneral, __GL_COLOR_LOGIC_OP_ENABLE, kGeneric, Action::kNone},
    {GL_INDEX_MATERIAL_VLX, Word::kGeneral, __GL_INDEX_MATERIAL_ENABLE, kGeneric, Action::kNone},
    {GL_INDEX_TEST_VLX, Word::kGeneral, __GL_INDEX_TEST_ENABLE, kGeneric, Action::kNone},
    {GL_CULL_VERTEX_VLX, Word::kGeneral, __GL_CULL_VERTEX_ENABLE, kGeneric, Action::kNone},
    {GL_TEXTURE_1D, Word::kTexture, 0x1, kGeneric, Action::kNone},
    {GL_TEXTURE_2D, Word::kTexture, 0x2, kGeneric, Action::kNone},
    {GL_TEXTURE_GEN_S, Word::kTexture, 0x4, kGeneric, Action::kNone},
    {GL_TEXTURE_GEN_T, Word::kTexture, 0x8, kGeneric, Action::kNone},
    {GL_TEXTURE_GEN_R, Word::kTexture, 0x10, kGeneric, Action::kNone},
    {GL_TEXTURE_GEN_Q, Word::kTexture, 0x20, kGeneric, Action::kNone},
};

// The row of a capability, numbered ranges included; false when the
// capability is none of the context's.
bool Find(const GlContext *gc, GLenum cap, Capability *out) {
  for (const Capability &c : kFixed)
    if (c.cap == cap) {
      *out = c;
      return true;
    }
  // Unsigned: values below a range's first wrap past its end.
  struct Range {
    GLenum first;
    GLuint count;
    Word word;
    uint32_t marks;
  };
  const Range ranges[] = {
      {GL_LIGHT0, GLuint(gc->constants.numberOfLights), Word::kLights, __GL_DIRTY_LIGHTING},
      {GL_CLIP_PLANE0, GLuint(gc->constants.numberOfClipPlanes), Word::kClipPlanes, kGeneric},
      {GL_MAP1_COLOR_4, GL_MAP1_VERTEX_4 - GL_MAP1_COLOR_4 + 1, Word::kEval1, kGeneric},
      {GL_MAP2_COLOR_4, GL_MAP2_VERTEX_4 - GL_MAP2_COLOR_4 + 1, Word::kEval2, kGeneric},
  };
  for (const Range &r : ranges) {
    GLuint index = cap - r.first;
    if (index < r.count && index < 32) {
      *out = {cap, r.word, 1u << index, r.marks, Action::kNone};
      return true;
    }
  }
  return false;
}

uint32_t Read(const GlEnableState &e, Word word) {
  switch (word) {
    case Word::kGeneral: return e.general;
    case Word::kTexture: return e.texture;
    case Word::kLights: return e.lights;
    case Word::kClipPlanes: return e.clipPlanes;
    case Word::kEval1: return e.eval1;
    case Word::kEval2: return e.eval2;
  }
  return 0;
}

void Write(GlEnableState &e, Word word, uint32_t value) {
  switch (word) {
    case Word::kGeneral: e.general = value; break;
    case Word::kTexture: e.texture = value; break;
    case Word::kLights: e.lights = value; break;
    case Word::kClipPlanes: e.clipPlanes = value; break;
    case Word::kEval1: e.eval1 = uint16_t(value); break;
    case Word::kEval2: e.eval2 = uint16_t(value); break;
  }
}

struct ClientArray {
  GLenum array;
  uint32_t fields;  // its fields of the format word
  uint32_t bit;
};

const ClientArray kClientArrays[] = {
    {GL_VERTEX_ARRAY, 0xFFu, 0x20u},          {GL_NORMAL_ARRAY, 0xF00u, 0x1u},
    {GL_COLOR_ARRAY, 0xFF000u, 0x2u},         {GL_INDEX_ARRAY, 0xF0000000u, 0x8u},
    {GL_TEXTURE_COORD_ARRAY, 0x7F00000u, 0x4u}, {GL_EDGE_FLAG_ARRAY, 0x8000000u, 0x10u},
};

const ClientArray *FindClientArray(GLenum array) {
  for (const ClientArray &a : kClientArrays)
    if (a.array == array) return &a;
  return nullptr;
}

void SetCapability(GLenum cap, bool on) {
  GlContext *gc = __glContextOutsideBegin();
  if (!gc) return;
  Capability c;
  if (!Find(gc, cap, &c)) {
    // The client arrays go through whatever the dispatch holds for them.
    if (!FindClientArray(cap))
      __glSetError(GL_INVALID_ENUM);
    else if (on)
      glEnableClientState(cap);
    else
      glDisableClientState(cap);
    return;
  }
  GlEnableState &e = gc->state.enables;
  uint32_t was = Read(e, c.word);
  uint32_t now = on ? was | c.bit : was & ~c.bit;
  if (c.action == Action::kCullFace && now == was) return;
  Write(e, c.word, now);
  __glDelayValidate(gc, c.marks);
  GlProcs &procs = gc->procs;
  switch (c.action) {
    case Action::kLighting:
      procs.pickColorMaterialProcs(gc);
      procs.applyColor(gc);
      break;
    case Action::kColorMaterial:
      procs.pickColorMaterialProcs(gc);
      if (on) procs.applyColor(gc);
      break;
    case Action::kScissor:
      procs.computeClipBox(gc);
      procs.applyScissor(gc);
      break;
    default: break;
  }
}

void SetClientArray(GLenum array, bool on) {
  GlContext *gc = __glContextOutsideBegin();
  if (!gc) return;
  const ClientArray *a = FindClientArray(array);
  if (!a) {
    __glSetError(GL_INVALID_ENUM);
    return;
  }
  GlVertexArrayMachine &va = gc->vertexArray;
  if (on) {
    va.enableFields |= a->fields;
    va.enables |= a->bit;
  } else {
    va.enableFields &= ~a->fields;
    va.enables &= ~a->bit;
  }
  __glDelayValidate(gc, __GL_DIRTY_VERTEX_ARRAY);
}

}  // namespace

void GLENTRY __glim_Enable(GLenum cap) { SetCapability(cap, true); }

void GLENTRY __glim_Disable(GLenum cap) { SetCapability(cap, false); }

bool __glLookUpEnable(const GlContext *gc, GLenum cap, GLboolean *on) {
  Capability c;
  if (Find(gc, cap, &c)) {
    *on = (Read(gc->state.enables, c.word) & c.bit) ? GL_TRUE : GL_FALSE;
    return true;
  }
  if (const ClientArray *a = FindClientArray(cap)) {
    *on = (gc->vertexArray.enableFields & a->fields) ? GL_TRUE : GL_FALSE;
    return true;
  }
  return false;
}

GLboolean GLENTRY __glim_IsEnabled(GLenum cap) {
  GlContext *gc = __glContextOutsideBegin();
  if (!gc) return GL_FALSE;
  GLboolean on;
  if (__glLookUpEnable(gc, cap, &on)) return on;
  __glSetError(GL_INVALID_ENUM);
  return GL_FALSE;
}

void GLENTRY __glim_EnableClientState(GLenum array) { SetClientArray(array, true); }

void GLENTRY __glim_DisableClientState(GLenum array) { SetClientArray(array, false); }
