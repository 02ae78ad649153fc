// Placeholder bodies until this file is written.
#include "wgl/wgl_message.h"

namespace wgl {
int32_t errorLog;
HANDLE msgFile;
}  // namespace wgl
void __wglOpenErrorFile(void) {}
void __wglInitErrorLog(void) {}
uint32_t __wglQueryRegistry(const char *) { return 0; }
void __wglCloseErrorFile(void) {}
