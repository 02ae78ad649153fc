#include "platform/fault.h"

#include <atomic>
#include <mutex>
#include <string>
#include <vector>

#include "platform/control.h"
#include "platform/kernel.h"

namespace platform {
namespace {

struct ArmedFault {
  std::string call;
  std::string key;  // empty: any call
  unsigned skip;
  unsigned count;  // 0: unlimited
  DWORD error;
  unsigned fired = 0;
};

struct FaultTable {
  std::mutex lock;
  std::vector<ArmedFault> armed;
  bool counting = false;
  unsigned counted = 0;
  unsigned failAt = 0;  // 0: count only
  std::string failedCall;
};

FaultTable &Table() {
  static FaultTable *table = new FaultTable;  // never destroyed: calls may come late at exit
  return *table;
}

// Lets every call skip the lock while nothing is armed or counted.
std::atomic<bool> anyArmed{false};

void UpdateArmed(const FaultTable &t) {
  anyArmed.store(t.counting || !t.armed.empty(), std::memory_order_release);
}

}  // namespace

bool SameName(const char *a, const char *b) {
  for (;; ++a, ++b) {
    unsigned char ca = static_cast<unsigned char>(*a), cb = static_cast<unsigned char>(*b);
    if (ca >= 'A' && ca <= 'Z') ca += 'a' - 'A';
    if (cb >= 'A' && cb <= 'Z') cb += 'a' - 'A';
    if (ca != cb) return false;
    if (ca == 0) return true;
  }
}

bool ShouldFail(const char *call, const char *key, DWORD usual, DWORD *error) {
  if (!anyArmed.load(std::memory_order_acquire)) return false;
  FaultTable &t = Table();
  std::lock_guard<std::mutex> hold(t.lock);
  if (t.counting && ++t.counted == t.failAt) {
    t.failedCall = call;
    if (key) t.failedCall += std::string("(") + key + ")";
    if (error) *error = usual;
    return true;
  }
  for (ArmedFault &f : t.armed) {
    if (f.call != call) continue;
    if (!f.key.empty() && (key == nullptr || !SameName(f.key.c_str(), key))) continue;
    if (f.skip > 0) {
      --f.skip;
      continue;
    }
    if (f.count != 0 && f.fired >= f.count) continue;
    ++f.fired;
    if (error) *error = f.error ? f.error : usual;
    return true;
  }
  return false;
}

}  // namespace platform

using namespace platform;

PLATFORM_API void PlatformArmFault(PlatformFault fault) {
  if (fault.call == nullptr) return;
  FaultTable &t = Table();
  std::lock_guard<std::mutex> hold(t.lock);
  t.armed.push_back({fault.call, fault.key ? fault.key : "", fault.skip, fault.count, fault.error});
  UpdateArmed(t);
}

PLATFORM_API void PlatformClearFaults(void) {
  FaultTable &t = Table();
  std::lock_guard<std::mutex> hold(t.lock);
  t.armed.clear();
  t.counting = false;
  UpdateArmed(t);
}

PLATFORM_API unsigned PlatformFaultsFired(const char *call) {
  FaultTable &t = Table();
  std::lock_guard<std::mutex> hold(t.lock);
  unsigned total = 0;
  for (const ArmedFault &f : t.armed)
    if (call == nullptr || f.call == call) total += f.fired;
  return total;
}

PLATFORM_API void PlatformCountCalls(unsigned failAt) {
  FaultTable &t = Table();
  std::lock_guard<std::mutex> hold(t.lock);
  t.counting = true;
  t.counted = 0;
  t.failAt = failAt;
  t.failedCall.clear();
  UpdateArmed(t);
}

PLATFORM_API void PlatformStopCounting(void) {
  FaultTable &t = Table();
  std::lock_guard<std::mutex> hold(t.lock);
  t.counting = false;
  UpdateArmed(t);
}

PLATFORM_API unsigned PlatformCountedCalls(void) {
  FaultTable &t = Table();
  std::lock_guard<std::mutex> hold(t.lock);
  return t.counted;
}

PLATFORM_API size_t PlatformCountedFault(char *buffer, size_t size) {
  FaultTable &t = Table();
  std::lock_guard<std::mutex> hold(t.lock);
  if (buffer != nullptr && size > 0) {
    const size_t n = t.failedCall.size() < size - 1 ? t.failedCall.size() : size - 1;
    t.failedCall.copy(buffer, n);
    buffer[n] = 0;
  }
  return t.failedCall.size();
}
