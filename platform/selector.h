// The selector query of the platform: the descriptor of a segment selector,
// through which a DCI provider that hands out a selector gives the linear
// address of the screen.
#pragma once

#include "platform/win_types.h"

typedef struct LDT_ENTRY {
  WORD LimitLow;
  WORD BaseLow;
  struct {
    BYTE BaseMid;
    BYTE Flags1;  // type (bits 0-4), privilege level (5-6), present (7)
    BYTE Flags2;  // limit bits 16-19 (0-3), 32-bit (6), limit in pages (7)
    BYTE BaseHi;
  } HighWord;
} LDT_ENTRY, *LPLDT_ENTRY;

// The flat selectors of a program's code and data.
#define PLATFORM_FLAT_CODE_SELECTOR 0x1Bu
#define PLATFORM_FLAT_DATA_SELECTOR 0x23u
// The screen's: based at video memory (the primary surface's first pixel),
// covering its capacity. An LDT selector, ring 3.
#define PLATFORM_SCREEN_SELECTOR 0xA7u

// The pseudo-handle for the calling thread, (HANDLE)-2.
PLATFORM_API HANDLE WINAPI GetCurrentThread(void);
// Only the calling thread's pseudo-handle is known (ERROR_INVALID_HANDLE
// otherwise); an unknown selector gives ERROR_INVALID_PARAMETER.
PLATFORM_API BOOL WINAPI GetThreadSelectorEntry(HANDLE thread, DWORD selector, LPLDT_ENTRY entry);

#ifdef __cplusplus
static_assert(sizeof(LDT_ENTRY) == 8, "LDT_ENTRY is 8 bytes");
#endif
