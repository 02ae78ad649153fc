// PLACEHOLDER (seam)
#include "sis/sis_hw.h"
uint32_t T05_GetChipVer(uint32_t) { return 0; }
int Init6326HW3D(GlContext *) { return 1; }
namespace sis {
uint8_t GetSRReg(uint8_t) { return 0; }
uint32_t IsBlockWrite(void) { return 0; }
}  // namespace sis
