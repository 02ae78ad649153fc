// Debugger output: kept in one process-wide buffer that tests read back, as a
// debugger attached to the process would show it. Only the newest text is
// kept, so a long run that reports often does not grow without bound.
#include <stdio.h>

#include <cstring>
#include <mutex>
#include <string>

#include "platform/control.h"
#include "platform/internal.h"
#include "platform/kernel.h"

namespace {

constexpr size_t kKept = 1 << 20;

struct DebugSink {
  std::mutex lock;
  std::string text;
};

DebugSink &Sink() {
  static DebugSink *sink = new DebugSink;  // never destroyed: output may come late at exit
  return *sink;
}

}  // namespace

// Cannot fail, so there is no fault to check. The echo setting is read on
// every call, so a test can turn it on and off.
PLATFORM_API void WINAPI OutputDebugStringA(LPCSTR text) {
  if (text == nullptr) return;
  bool echo = platform::EnvironmentHas("VLX_DEBUG_ECHO");
  DebugSink &s = Sink();
  std::lock_guard<std::mutex> hold(s.lock);
  s.text += text;
  if (s.text.size() > kKept) s.text.erase(0, s.text.size() - kKept);
  if (echo) {
    fputs(text, stderr);
    fflush(stderr);
  }
}

PLATFORM_API size_t PlatformDebugOutput(char *buffer, size_t size) {
  DebugSink &s = Sink();
  std::lock_guard<std::mutex> hold(s.lock);
  if (buffer != nullptr && size > 0) {
    size_t n = s.text.size() < size - 1 ? s.text.size() : size - 1;
    std::memcpy(buffer, s.text.data(), n);
    buffer[n] = 0;
  }
  return s.text.size();
}

PLATFORM_API void PlatformClearDebugOutput(void) {
  DebugSink &s = Sink();
  std::lock_guard<std::mutex> hold(s.lock);
  s.text.clear();
}
