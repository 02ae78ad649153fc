// A dispatch table whose every entry, with its slot's own signature, appends
// the call (slot and argument words) to one log: for comparing streams of
// calls, where the recording dispatch keeps only the last one.
#pragma once

#include <stdint.h>

#include <vector>

#include "core/dispatch.h"

struct LoggedCall {
  int slot = -1;
  int calls = 0;  // unused: the recorder's shape
  int count = 0;
  uint64_t bits[16] = {};
  unsigned sizes[16] = {};
};

std::vector<LoggedCall> &TheCallLog();
extern const GlDispatchState kLoggingDispatch;
