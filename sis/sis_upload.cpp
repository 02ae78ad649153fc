// PLACEHOLDER (seam)
#include "sis/sis_hw.h"
namespace sis {
void SetGlobalAttribute(GlContext *) {}
void RestoreAllAttribute(GlContext *) {}
void SetScissor(GlContext *, uint32_t, uint32_t, uint32_t, uint32_t) {}
}  // namespace sis
