// Placeholder bodies until this file is written.
#include "wgl/wgl_message.h"

void __wglMessage(const char *) {}
void __wglMessageArg(const char *, uint32_t) {}
void __wglMessageArg2(const char *, uint32_t, uint32_t) {}
void __wglMessageArg3(const char *, uint32_t, uint32_t, uint32_t) {}
void __wglMessageFloat(const char *, float) {}
void __wglError(const char *) {}
void __wglSetSystemError(const char *, DWORD) {}
