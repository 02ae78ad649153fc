/* A fake driver library for the loader's tests: it exports DllMain and the
   Drv... entries (callee-pops, plain names) and records every call, and
   these controls, which tests call directly. C and C++ can include it. */
#pragma once

#include <stdint.h>

#include "platform/gdi.h"
#include "wgl/driver_entry_table.h"

#ifdef __cplusplus
extern "C" {
#endif

#define FAKE_API __attribute__((visibility("default")))

/* One per driver entry, in the entry table's order: FAKE_DllMain,
   FAKE_DrvCreateContext, ... */
#define FAKE_ENTRY_ID(name, result, params) FAKE_##name,
enum FakeEntry { DRIVER_ENTRIES(FAKE_ENTRY_ID) FAKE_ENTRY_COUNT };
#undef FAKE_ENTRY_ID

/* One call of an entry, in the order the entries were called. */
typedef struct FakeCall {
  int entry;
  DWORD thread;      /* GetCurrentThreadId of the caller */
  uintptr_t args[6]; /* the argument words as passed */
  uintptr_t result;
  char name[48]; /* DrvGetProcAddress: the name asked for */
} FakeCall;

/* Forgets the calls, the overrides and the context numbering. */
FAKE_API void FakeDriverReset(void);
/* Copies up to `max` calls; gives how many there are. */
FAKE_API unsigned FakeDriverCalls(FakeCall *out, unsigned max);

/* From now on (until the reset) `entry` sets the last-error value `error`
   when it is not 0 and answers `result`, instead of behaving as below. */
FAKE_API void FakeDriverOverride(int entry, uintptr_t result, DWORD error);
/* The same, after the entry's next `skip` calls, which behave as below. */
FAKE_API void FakeDriverOverrideAfter(int entry, unsigned skip, uintptr_t result, DWORD error);

/* What the entries do when not overridden:
   - DllMain and DrvValidateVersion (version < 2) accept; DllMain and
     DrvSetContext hold one lock throughout, as a driver's global lock;
   - contexts are numbered FAKE_FIRST_CONTEXT + 1, + 2, ... in creation order;
   - DrvSetContext gives context n the table FAKE_TABLE_OF(n) and remembers
     it as the calling thread's; DrvReleaseContext forgets it;
   - FAKE_PIXEL_FORMATS formats (below); DrvSetPixelFormat accepts those;
   - palette calls answer the count, the others TRUE;
   - DrvGetProcAddress hands out the recording entry of an extension slot
     by its name, the recording entry of slot 2 for "glBogusVLX" (a name the
     loader has no thunk for), and null for others. */
#define FAKE_FIRST_CONTEXT 0x1000u
#define FAKE_TABLES 9
#define FAKE_TABLE_RECORDING 0  /* every slot records its call */
#define FAKE_TABLE_UNBALANCED 8 /* every slot pops nothing and answers FAKE_UNBALANCED_RESULT */
#define FAKE_UNBALANCED_RESULT 0x5A5A5A5Au
/* Tables 1 .. 7 record too, but glGetError answers the table's marker. */
#define FAKE_TABLE_OF(n) (1u + ((n) - FAKE_FIRST_CONTEXT - 1u) % 7u)
#define FAKE_MARKER(table) (0x4D00u + (table))
/* 1: RGB 16, double-buffered, depth 16; 2: RGB 16, single-buffered, also
   to bitmaps and with GDI, depth 16; 3: RGBA 32, double-buffered,
   accumulation 64, depth 24, stencil 8; 4: colour index 8, single-buffered,
   depth 16. All draw to windows with OpenGL. */
#define FAKE_PIXEL_FORMATS 4

/* The descriptor of format `number` (1 .. FAKE_PIXEL_FORMATS). */
FAKE_API PIXELFORMATDESCRIPTOR FakeDriverPixelFormat(int number);

/* The marker glGetError should answer on the calling thread: that of the
   table this driver last gave the thread, 0 (the loader's no-op) for none. */
FAKE_API unsigned FakeDriverExpectedMarker(void);
/* Hands the calling thread table `table` through the loader's callback, as
   a driver does when the thread's context changes its table. */
FAKE_API void FakeDriverSwitchTable(unsigned table);
/* While set (not 0), DrvSetContext hands table `table` through the callback
   before it answers (an overridden answer too), and notes what glGetError
   answered just after. */
FAKE_API void FakeDriverSwitchInsideSetContext(unsigned table);
FAKE_API unsigned FakeDriverMarkerSeenInsideSetContext(void);
/* While set (not 0), DrvSetContext waits until DllMain has been called with
   the process detach (which then waits for the lock) before it goes on. */
FAKE_API void FakeDriverHoldSetContextUntilDetach(int hold);

/* The last call a recording entry saw on the calling thread. */
typedef struct FakeGlCall {
  int slot; /* -1: none */
  int calls;
  int count;         /* arguments */
  uint64_t bits[16]; /* each argument's bits */
  unsigned sizes[16];
} FakeGlCall;
FAKE_API FakeGlCall FakeDriverLastGlCall(void);
FAKE_API void FakeDriverForgetGlCall(void);
/* A slot's entry in table `table`. */
FAKE_API const void *FakeDriverEntry(unsigned table, int slot);

#ifdef __cplusplus
}
#endif
