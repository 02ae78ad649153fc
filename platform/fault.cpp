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
};

FaultTable &Table() {
  static FaultTable *table = new FaultTable;  // never destroyed: calls may come late at exit
  return *table;
}

// Lets every call skip the lock while nothing is armed.
std::atomic<bool> anyArmed{false};

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
  anyArmed.store(true, std::memory_order_release);
}

PLATFORM_API void PlatformClearFaults(void) {
  FaultTable &t = Table();
  std::lock_guard<std::mutex> hold(t.lock);
  t.armed.clear();
  anyArmed.store(false, std::memory_order_release);
}

PLATFORM_API unsigned PlatformFaultsFired(const char *call) {
  FaultTable &t = Table();
  std::lock_guard<std::mutex> hold(t.lock);
  unsigned total = 0;
  for (const ArmedFault &f : t.armed)
    if (call == nullptr || f.call == call) total += f.fired;
  return total;
}
