// The one vertex conversion of the hardware primitives: a window-space
// vertex becomes the words of a chip vertex block (fog, z, x, y, colour,
// then s, t, q for textured primitives), written after a queue wait that
// covers them.
#pragma once

#include <stdint.h>

#include "geometry/s_vertex.h"
#include "sis/sis_context.h"

namespace sis {

// Word offsets inside a vertex block, and the words a block takes.
inline constexpr uint32_t kBlockFog = 0x0, kBlockZ = 0x4, kBlockX = 0x8, kBlockY = 0xC;
inline constexpr uint32_t kBlockColor = 0x10, kBlockS = 0x14, kBlockT = 0x18, kBlockQ = 0x1C;
inline constexpr uint32_t kBlockWords = 5, kTexturedBlockWords = 8;
// What the chip takes as z for depth 1.0 and beyond: just below it.
inline constexpr uint32_t kFarZWord = 0x3F7FFFEF;

// A vertex in the chip's frame: the window position less the window bias
// and the sampling offsets, z at depth scale 1, and the fog word.
struct ChipVertex {
  float x, y;
  uint32_t zWord;
  uint32_t fogWord;
};

// What y loses besides the bias: half a pixel for triangles, nothing for
// lines and points (x always loses half a pixel).
inline constexpr float kLineYOffset = 0.0f, kTriangleYOffset = 0.5f;

// False when the window x, y or z is NaN or infinite: such a primitive
// sends nothing, as the generic rasterizers draw nothing for it.
bool WindowFinite(const GlVertex *v);
// False when an s or t word, or a q word the chip interpolates (triangles
// under the perspective mode bit), is NaN or infinite (a texture q of 0,
// say): the chip's behaviour is undefined for such words, so the textured
// primitive sends nothing.
bool TextureFinite(const GlSiSTail *sis, float s, float t, float q, bool interpolatesQ);
ChipVertex ToChip(GlContext *gc, const GlVertex *v, float yOffset);
// A, R, G, B bytes of a colour at the context's colour scale, truncated;
// none gives 0.
uint32_t ColorWord(const GlColor *color);
// The float's bits, for the chips that order vertices by them.
int32_t FloatBits(float f);

// Stores the first five words of block `block` (0-2).
void PutBlock(const GlSiSTail *sis, int block, const ChipVertex &v, uint32_t color);
// Stores s, t and q of block `block`.
void PutTexture(const GlSiSTail *sis, int block, float s, float t, float q);
// Stores the primitive command word.
void PutCommand(const GlSiSTail *sis, uint32_t command);

// Chip codes that take vertices ordered top-first (and a triangle's side).
bool TakesOrderedVertices(const GlSiSTail *sis);

}  // namespace sis
