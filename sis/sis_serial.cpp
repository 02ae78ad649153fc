// Serials that name a context's register state. Addresses and windows can
// recur; a 64-bit count that only grows cannot.
#include <atomic>

#include "sis/sis_context_ops.h"

namespace {
std::atomic<uint64_t> gLastSerial{0};
}  // namespace

uint64_t __glSiSNextSerial(void) { return gLastSerial.fetch_add(1) + 1; }
