// The process-wide engine lock (see sis_engine_lock.h).
#include "sis/sis_engine_lock.h"

#include <mutex>

namespace {
std::recursive_mutex gEngine;
}  // namespace

void __glSiSEngineLock(void) { gEngine.lock(); }
void __glSiSEngineUnlock(void) { gEngine.unlock(); }
