// Messages, the error log and the layer's one registry setting. Messages go
// to the debugger output and, when the log is on, to "OGLError.txt".
#pragma once

#include <stdint.h>

#include "platform/win_types.h"

namespace wgl {
extern int32_t errorLog;  // decided once at process attachment
extern HANDLE msgFile;    // invalid until the first message with the log on
// The log file's handle as written last: any thread may be opening it.
inline HANDLE logHandle() { return __atomic_load_n(&msgFile, __ATOMIC_ACQUIRE); }
}  // namespace wgl

void __wglMessage(const char *text);
void __wglMessageArg(const char *text, uint32_t value);
void __wglMessageArg2(const char *text, uint32_t a, uint32_t b);
void __wglMessageArg3(const char *text, uint32_t a, uint32_t b, uint32_t c);
void __wglMessageFloat(const char *text, float value);
void __wglError(const char *text);
// "System Error: (%d):%s" as a message, then the last-error value code |
// 0xC0070000.
void __wglSetSystemError(const char *name, DWORD code);
void __wglOpenErrorFile(void);
void __wglInitErrorLog(void);
// A 32-bit value under "Software\\Velmora\\OpenGL" of HKEY_LOCAL_MACHINE; 0
// when anything fails.
uint32_t __wglQueryRegistry(const char *name);
// Closes the log file (process detach), so that a later attach starts anew.
void __wglCloseErrorFile(void);

// The system error codes the driver entries report.
#define WGL_ERROR_DEVICE_REFUSED 0xC0000000u
