#include "tests/support/recording_dispatch.h"

#include "core/gl_slots.h"
#include "tests/support/slot_shapes.h"

RecordedCall &TheRecordedCall() {
  static RecordedCall record;
  return record;
}

#define RECORD_ENTRY(s, Name, words, list, Ret, params) \
  .Name = &SlotRecorder<RecordedCall, TheRecordedCall, s, GlSig_##Name>::Proc,
const GlDispatchState kRecordingDispatch = {.count = GL_SLOT_CORE_COUNT,
                                            GL_SLOTS(RECORD_ENTRY).zero = {0, 0, 0}};
#undef RECORD_ENTRY
