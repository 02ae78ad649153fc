#include "tests/support/call_log.h"

#include "core/gl_slots.h"
#include "tests/support/slot_shapes.h"

std::vector<LoggedCall> &TheCallLog() {
  static std::vector<LoggedCall> log;
  return log;
}

namespace {

// Each call takes a fresh entry.
LoggedCall &NextEntry() {
  TheCallLog().emplace_back();
  return TheCallLog().back();
}

}  // namespace

#define LOG_ENTRY(s, Name, words, list, Ret, params) \
  .Name = &SlotRecorder<LoggedCall, NextEntry, s, GlSig_##Name>::Proc,
const GlDispatchState kLoggingDispatch = {.count = GL_SLOT_CORE_COUNT,
                                          GL_SLOTS(LOG_ENTRY).zero = {0, 0, 0}};
#undef LOG_ENTRY
