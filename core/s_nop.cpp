#include "core/s_nop.h"

void __glNop0(void) {}
void __glNop1(GlContext *) {}
void __glNop2(GlContext *, uint32_t) {}
void __glNop3(GlContext *, uint32_t, uint32_t) {}
void __glNop4(GlContext *, uint32_t, uint32_t, uint32_t) {}
void GLFASTCALL __glNopFast4(GlContext *, uint32_t, uint32_t, uint32_t) {}
void __glNop5(GlContext *, uint32_t, uint32_t, uint32_t, uint32_t) {}
void __glNop6(GlContext *, uint32_t, uint32_t, uint32_t, uint32_t, uint32_t) {}

void GLENTRY __glAPINop1(uint32_t) {}

typedef uint32_t W;
W GLENTRY __glnop_Nop0(void) { return 0; }
W GLENTRY __glnop_Nop1(W) { return 0; }
W GLENTRY __glnop_Nop2(W, W) { return 0; }
W GLENTRY __glnop_Nop3(W, W, W) { return 0; }
W GLENTRY __glnop_Nop4(W, W, W, W) { return 0; }
W GLENTRY __glnop_Nop5(W, W, W, W, W) { return 0; }
W GLENTRY __glnop_Nop6(W, W, W, W, W, W) { return 0; }
W GLENTRY __glnop_Nop7(W, W, W, W, W, W, W) { return 0; }
W GLENTRY __glnop_Nop8(W, W, W, W, W, W, W, W) { return 0; }
W GLENTRY __glnop_Nop9(W, W, W, W, W, W, W, W, W) { return 0; }
W GLENTRY __glnop_Nop10(W, W, W, W, W, W, W, W, W, W) { return 0; }
W GLENTRY __glnop_Nop12(W, W, W, W, W, W, W, W, W, W, W, W) { return 0; }
W GLENTRY __glnop_Nop14(W, W, W, W, W, W, W, W, W, W, W, W, W, W) { return 0; }
