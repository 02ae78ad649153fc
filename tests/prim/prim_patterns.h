// Clip-code and edge-flag patterns for the vertices of a test run, and the
// names of the modes.
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
std::string PatternName(CodePattern pattern);
