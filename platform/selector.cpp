// The selector query: descriptors for the flat selectors and the screen's.
#include "platform/selector.h"

#include "platform/fault.h"
#include "platform/kernel.h"
#include "platform/screen.h"

namespace {

const HANDLE kCurrentThread = reinterpret_cast<HANDLE>(intptr_t(-2));

// A present, ring-3, 32-bit descriptor; limits above 1 MiB count pages.
LDT_ENTRY Descriptor(uint32_t base, uint32_t limit, bool code) {
  bool pages = limit > 0xFFFFF;
  if (pages) limit >>= 12;
  LDT_ENTRY e;
  e.LimitLow = WORD(limit & 0xFFFF);
  e.BaseLow = WORD(base & 0xFFFF);
  e.HighWord.BaseMid = BYTE((base >> 16) & 0xFF);
  e.HighWord.Flags1 = BYTE(0x80 | 0x60 | 0x10 | (code ? 0x0A : 0x02));  // readable code or writable data
  e.HighWord.Flags2 = BYTE(((limit >> 16) & 0x0F) | 0x40 | (pages ? 0x80 : 0));
  e.HighWord.BaseHi = BYTE(base >> 24);
  return e;
}

}  // namespace

PLATFORM_API HANDLE WINAPI GetCurrentThread(void) { return kCurrentThread; }

PLATFORM_API BOOL WINAPI GetThreadSelectorEntry(HANDLE thread, DWORD selector, LPLDT_ENTRY entry) {
  if (platform::FailWithLastError("GetThreadSelectorEntry", nullptr, ERROR_INVALID_PARAMETER))
    return FALSE;
  if (thread != kCurrentThread) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  if (entry == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  DWORD index = selector & ~3u;  // the privilege bits do not name a different descriptor
  if (index == (PLATFORM_FLAT_CODE_SELECTOR & ~3u)) {
    *entry = Descriptor(0, 0xFFFFFFFF, true);
  } else if (index == (PLATFORM_FLAT_DATA_SELECTOR & ~3u)) {
    *entry = Descriptor(0, 0xFFFFFFFF, false);
  } else if (index == (platform::ScreenSelector() & ~3u)) {
    uint32_t size = platform::VideoMemorySize();
    *entry = Descriptor(reinterpret_cast<uintptr_t>(platform::VideoMemoryBase()), size ? size - 1 : 0,
                        false);
  } else {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  return TRUE;
}
