// Where generated array code comes in: the element-compile wrapper and the
// triangle-strip drawing wrapper, installed only on processors without
// 3DNow!, in GL_RENDER, when the generator exists and its switch is not set.
#pragma once

struct GlContext;

// At a context reset (`atReset`) only the drawing wrapper may be installed;
// from the enables picker both may be. Nothing here takes them out again.
void __glVarrayInstallGenerated(GlContext *gc, bool atReset);
