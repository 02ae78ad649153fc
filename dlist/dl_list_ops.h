// The execute routines of the ops that call lists.
#pragma once

#include "core/gl_defs.h"

// Runs the list bound to the name when the op runs (the binding of that
// moment); the outermost call resets the nesting, not this op.
const GLubyte *__glle_CallList(const GLubyte *data);
// n, type and the names; the list base is added when the op runs.
const GLubyte *__glle_CallLists(const GLubyte *data);
