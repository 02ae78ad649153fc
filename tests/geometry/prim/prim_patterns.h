// Clip-code and edge-flag patterns for the vertices of a test run, and the
// modes with their names.
#pragma once

#include <stdint.h>

#include <string>
#include <vector>

#include "core/gl_defs.h"

enum class CodePattern { Clean, Sparse, Dense, AllLeft, CullOnly };
enum class FlagPattern { AllOn, Alternating, Scattered };

std::vector<uint32_t> MakeCodes(CodePattern pattern, int count);
std::vector<bool> MakeFlags(FlagPattern pattern, int count);
std::string ModeName(GLenum mode);

// GL_POINTS to GL_POLYGON.
extern const GLenum kAllModes[10];
// Names a test whose parameter is a mode.
struct ModeParamName {
  template <typename Info>
  std::string operator()(const Info &info) const {
    return ModeName(info.param);
  }
};
std::string PatternName(CodePattern pattern);
