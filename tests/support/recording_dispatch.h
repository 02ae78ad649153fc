// A dispatch table whose every entry, with its slot's own signature, records
// the call (slot, count, argument words) in one shared record.
#pragma once

#include <stdint.h>

#include "core/dispatch.h"

struct RecordedCall {
  int slot = -1;
  int calls = 0;
  int count = 0;
  uint64_t bits[16] = {};
  unsigned sizes[16] = {};
};

RecordedCall &TheRecordedCall();
extern const GlDispatchState kRecordingDispatch;
