// What the driver wrote to the platform's debugger output since the last
// clear, as one string.
#pragma once

#include <string>

#include "platform/control.h"

inline std::string PlatformDebugText() {
  const size_t length = PlatformDebugOutput(nullptr, 0);
  std::string text(length + 1, '\0');
  PlatformDebugOutput(text.data(), text.size());
  text.resize(length);
  return text;
}
