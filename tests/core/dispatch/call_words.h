// Calling an entry the way the operating system's GL library does: push N
// argument words, call, and see what the entry left behind.
#pragma once

#include <stdint.h>

struct CallProbe {
  int32_t espDelta;  // ESP after the call minus before the pushes: 0 when the callee popped them
  uint32_t ebx, esi, ebp;  // as the callee left them (the caller set kEbx, kEsi, kEbp)
};

constexpr uint32_t kEbx = 0x0B0B0B0Bu, kEsi = 0x05050505u, kEbp = 0x0E0E0E0Eu;

// Pushes words[count - 1] .. words[0] (words[0] ends up as the first
// argument), sets EBX, ESI and EBP to the values above, calls `entry` and
// returns EAX.
extern "C" uint32_t CallWithWords(const void *entry, const uint32_t *words, uint32_t count,
                                  CallProbe *probe);
