// Steps of the soft reset, each in its own file.
#pragma once

struct GlContext;

// The strings and the constants derived from the visual and the processor.
void __glResetConstants(GlContext *gc);
// The initial GL state, group by group.
void __glResetStateGroups(GlContext *gc);
