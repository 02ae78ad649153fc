#include "tests/geometry/prim/prim_patterns.h"

#include <iterator>

#include "geometry/s_vertex.h"

namespace {

// A small fixed generator, so that every run sees the same vertices.
struct Lcg {
  uint32_t state;
  uint32_t next() {
    state = state * 1664525u + 1013904223u;
    return state >> 16;
  }
};

}  // namespace

std::vector<uint32_t> MakeCodes(CodePattern pattern, int count) {
  // Codes from every corner of the mask: frustum planes, a user plane, the
  // top bit, the cull bit; 0 weighs most in the sparse mix.
  static const uint32_t kSparse[] = {0,
                                     0,
                                     0,
                                     0,
                                     __GL_CLIP_LEFT,
                                     __GL_CLIP_RIGHT,
                                     __GL_CLIP_LEFT | __GL_CLIP_TOP,
                                     __GL_HAS_CULLED,
                                     __GL_CLIP_USER0 | __GL_CLIP_NEAR,
                                     0x80000000u};
  static const uint32_t kDense[] = {0,
                                    __GL_CLIP_LEFT,
                                    __GL_CLIP_LEFT,
                                    __GL_CLIP_LEFT | __GL_CLIP_BOTTOM,
                                    __GL_CLIP_LEFT | __GL_HAS_CULLED,
                                    __GL_CLIP_FAR};
  std::vector<uint32_t> codes(count, 0);
  Lcg lcg{pattern == CodePattern::Sparse ? 7u : 11u};
  for (int i = 0; i < count; ++i) {
    switch (pattern) {
      case CodePattern::Clean:
        break;
      case CodePattern::Sparse:
        codes[i] = kSparse[lcg.next() % std::size(kSparse)];
        break;
      case CodePattern::Dense:
        codes[i] = kDense[lcg.next() % std::size(kDense)];
        break;
      case CodePattern::AllLeft:
        codes[i] = __GL_CLIP_LEFT | (i % 3 ? __GL_CLIP_TOP : 0);
        break;
      case CodePattern::CullOnly:
        codes[i] = lcg.next() % 3 ? __GL_HAS_CULLED : 0;
        break;
    }
  }
  return codes;
}

std::vector<bool> MakeFlags(FlagPattern pattern, int count) {
  std::vector<bool> flags(count, true);
  Lcg lcg{3u};
  for (int i = 0; i < count; ++i) {
    if (pattern == FlagPattern::Alternating) flags[i] = i % 2 == 0;
    if (pattern == FlagPattern::Scattered) flags[i] = lcg.next() % 3 != 0;
  }
  return flags;
}

const GLenum kAllModes[10] = {GL_POINTS,     GL_LINES,          GL_LINE_LOOP,    GL_LINE_STRIP,
                              GL_TRIANGLES,  GL_TRIANGLE_STRIP, GL_TRIANGLE_FAN, GL_QUADS,
                              GL_QUAD_STRIP, GL_POLYGON};

std::string ModeName(GLenum mode) {
  static const char *const kNames[] = {"Points",    "Lines",         "LineLoop",    "LineStrip",
                                       "Triangles", "TriangleStrip", "TriangleFan", "Quads",
                                       "QuadStrip", "Polygon"};
  return mode <= GL_POLYGON ? kNames[mode] : "Mode" + std::to_string(mode);
}

std::string PatternName(CodePattern pattern) {
  switch (pattern) {
    case CodePattern::Clean:
      return "Clean";
    case CodePattern::Sparse:
      return "Sparse";
    case CodePattern::Dense:
      return "Dense";
    case CodePattern::AllLeft:
      return "AllLeft";
    case CodePattern::CullOnly:
      return "CullOnly";
  }
  return "?";
}
