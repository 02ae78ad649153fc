#pragma once

#include "core/gl_defs.h"

// What glArrayElement(i) does: the immediate calls of element i of every
// enabled array, vertex last, through the dispatch in force.
void __glSendArrayElement(GLint i);
