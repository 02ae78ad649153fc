// The layer's messages: each is formatted into 256 bytes (longer text is cut
// to fit) and written without its terminating zero, to the debugger output
// and, when the error log is on, to "OGLError.txt".
#include "wgl/wgl_message.h"

#include <stdarg.h>
#include <stdio.h>
#include <string.h>

#include "platform/kernel.h"

namespace {

constexpr size_t kMessageBytes = 256;

struct MessageText {
  char text[kMessageBytes];
};

__attribute__((format(printf, 1, 2))) MessageText Format(const char *format, ...) {
  MessageText m;
  va_list args;
  va_start(args, format);
  int n = vsnprintf(m.text, sizeof m.text, format, args);
  va_end(args);
  if (n < 0) m.text[0] = 0;
  return m;
}

// Callers may pass no text; it reads as empty rather than crashing.
const char *Text(const char *text) { return text ? text : ""; }

bool LogOpen() { return wgl::logHandle() != INVALID_HANDLE_VALUE; }

void WriteLog(const MessageText &m) {
  DWORD written = 0;
  // Failures are ignored: the debugger output still has the text.
  WriteFile(wgl::logHandle(), m.text, static_cast<DWORD>(strlen(m.text)), &written, nullptr);
}

// To the debugger output, and to the log as well when it is open.
void WriteBoth(const MessageText &m) {
  __wglOpenErrorFile();
  OutputDebugStringA(m.text);
  if (LogOpen()) WriteLog(m);
}

}  // namespace

void __wglMessage(const char *text) {
  MessageText m = Format("WGL Message:%s\n", Text(text));
  __wglOpenErrorFile();
  // The plain message goes to one place only: the log when there is one.
  if (LogOpen())
    WriteLog(m);
  else
    OutputDebugStringA(m.text);
}

void __wglMessageArg(const char *text, uint32_t value) {
  WriteBoth(Format("WGL Message:%s: %d (0x%08x)\n", Text(text), static_cast<int>(value), value));
}

void __wglMessageArg2(const char *text, uint32_t a, uint32_t b) {
  WriteBoth(Format("WGL Message:%s: 0x%08x 0x%08x\n", Text(text), a, b));
}

void __wglMessageArg3(const char *text, uint32_t a, uint32_t b, uint32_t c) {
  WriteBoth(Format("WGL Message:%s: 0x%08x 0x%08x 0x%08x\n", Text(text), a, b, c));
}

void __wglMessageFloat(const char *text, float value) {
  uint32_t bits;
  memcpy(&bits, &value, sizeof bits);
  WriteBoth(Format("WGL Message:%s: %f (%08x)\n", Text(text), static_cast<double>(value), bits));
}

void __wglError(const char *text) { WriteBoth(Format("OGL ERR:%s\n", Text(text))); }

void __wglSetSystemError(const char *name, DWORD code) {
  MessageText m = Format("System Error: (%d):%s", static_cast<int>(code), Text(name));
  __wglMessage(m.text);
  SetLastError(code | 0xC0070000u);
}
