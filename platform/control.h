// Controls of the platform stand-in that the original platform does not have:
// failure on demand, the captured debugger output, registry contents, the
// process identity, built-in modules, thread attachment and heap accounting.
// Tests, the loader and the sample programs use them; the driver does not.
#pragma once

#include "platform/win_types.h"

// ---- Failure on demand ----------------------------------------------------------
// A fault makes calls of one platform function fail as the platform reports
// failure. `call` is the function's name ("GlobalAlloc", "LoadLibraryA", ...);
// `key`, when given, restricts the fault to calls about one thing (a module,
// procedure, file, environment or registry name; for DirectDraw the object's
// kind, see platform/ddraw.h), compared without case. The first `skip`
// matching calls go through, then `count` fail (0: every one after). `error`
// replaces the call's own last-error or result code when non-zero.
typedef struct PlatformFault {
  const char *call;
  const char *key;
  unsigned skip;
  unsigned count;
  DWORD error;
} PlatformFault;

PLATFORM_API void PlatformArmFault(PlatformFault fault);
PLATFORM_API void PlatformClearFaults(void);
// Failures injected for `call` (all calls when null) since the last clear.
PLATFORM_API unsigned PlatformFaultsFired(const char *call);

// Counting faults: from PlatformCountCalls on, every call that can fail on
// demand (platform entries and allocations alike, on any thread) is counted,
// and the `failAt`-th one (from 1) fails as an armed fault of its own would;
// 0 only counts. PlatformStopCounting (or PlatformClearFaults) ends it; the
// count stays readable.
PLATFORM_API void PlatformCountCalls(unsigned failAt);
PLATFORM_API void PlatformStopCounting(void);
PLATFORM_API unsigned PlatformCountedCalls(void);
// The call made to fail, "Name" or "Name(key)"; empty until it happened.
// Copies up to size - 1 bytes and a terminating zero; gives the full length.
PLATFORM_API size_t PlatformCountedFault(char *buffer, size_t size);

// ---- Debugger output --------------------------------------------------------------
// What was written with OutputDebugStringA since the last clear, up to the
// last 1 MiB. The text is also echoed to standard error while the environment
// variable VLX_DEBUG_ECHO is set.
// Copies up to size - 1 bytes and a terminating zero; gives the full length.
PLATFORM_API size_t PlatformDebugOutput(char *buffer, size_t size);
PLATFORM_API void PlatformClearDebugOutput(void);

// ---- Registry contents ------------------------------------------------------------
// Creates the key path (and its parents) when missing and sets one value.
PLATFORM_API BOOL PlatformRegistrySetValue(HKEY root, const char *path, const char *name,
                                           DWORD type, const void *data, DWORD size);
// The access rights a key grants; opening it asking for more is refused.
PLATFORM_API BOOL PlatformRegistrySetKeyAccess(HKEY root, const char *path, REGSAM granted);
// Removes every key and value.
PLATFORM_API void PlatformRegistryReset(void);

// ---- Process identity ----------------------------------------------------------------
// GetCurrentProcessId answers `id` from now on (0 restores the real one), so a
// test can act as another process.
PLATFORM_API void PlatformSetProcessId(DWORD id);
// The platform GetVersionExA reports: VER_PLATFORM_WIN32_WINDOWS (4.0.950) or
// VER_PLATFORM_WIN32_NT (4.0.1381, the default).
PLATFORM_API void PlatformSetPlatformId(DWORD platformId);

// ---- Built-in modules ------------------------------------------------------------------
typedef struct PlatformExport {
  const char *name;
  void *proc;
} PlatformExport;

// Registers (or replaces) a module that LoadLibraryA can find. The tables
// must outlive the registration.
PLATFORM_API BOOL PlatformRegisterModule(const char *name, const PlatformExport *exports,
                                         unsigned count);
PLATFORM_API BOOL PlatformUnregisterModule(const char *name);
// How many times the module is loaded now (LoadLibraryA minus FreeLibrary).
PLATFORM_API unsigned PlatformModuleLoadCount(const char *name);

// ---- Threads ----------------------------------------------------------------------------
// Attaches the calling thread to the platform: its x87 control word becomes
// the platform's default 0x027F. Gives TRUE the first time on a thread. The
// thread that loads the platform library is attached at load. As on the
// original platform, x87 arithmetic then rounds to double precision, the C
// library's x87 maths (exp, pow) included.
PLATFORM_API BOOL PlatformAttachThread(void);
#define PLATFORM_X87_CONTROL_WORD 0x027Fu

// Called on each attached thread as it ends, in registration order. Removing a
// handler waits for threads that are running it; a handler must not add or
// remove handlers.
typedef void (*PlatformThreadExitProc)(void *data);
PLATFORM_API BOOL PlatformAddThreadExitHandler(PlatformThreadExitProc proc, void *data);
PLATFORM_API BOOL PlatformRemoveThreadExitHandler(PlatformThreadExitProc proc, void *data);

// ---- Heap accounting ----------------------------------------------------------------------
typedef struct PlatformHeapStats {
  unsigned liveBlocks;  // global-heap blocks not yet freed
  size_t liveBytes;
  unsigned liveVirtual;  // VirtualAlloc allocations not yet released
} PlatformHeapStats;

PLATFORM_API PlatformHeapStats PlatformGetHeapStats(void);

// ---- Video memory and surfaces --------------------------------------------------------
// The capacity of local video memory (default 8 MiB, at most 64 MiB), whose
// offset 0 is the screen. FALSE when the screen or a surface would not fit.
PLATFORM_API BOOL PlatformSetVideoMemorySize(DWORD bytes);
// The capacity of non-local (AGP) video memory, where textures go when local
// memory is full (default 0: none, at most 64 MiB).
PLATFORM_API BOOL PlatformSetNonLocalVideoMemorySize(DWORD bytes);
// Bytes of video memory held by surfaces, their spare bytes included.
PLATFORM_API DWORD PlatformVideoMemoryUsed(BOOL nonLocal);
// Bytes of padding after every row of texture surfaces created from now on
// (default 0: a level's rows are packed, pitch = width x bytes per pixel). A
// multiple of 4 up to 4096; FALSE otherwise.
PLATFORM_API BOOL PlatformSetTexturePitchPadding(DWORD bytes);
// Makes every video-memory surface and every primary lost without a mode
// change, as when another program takes the display; Restore brings them back.
PLATFORM_API void PlatformLoseSurfaces(void);
// Surface locks as they happen, while recording: one line a successful Lock
// or Unlock, "lock KIND" or "unlock KIND" with the surface's kind
// ("primary", "offscreen", "zbuffer", "texture"). Turning recording on
// clears the record; the size with the final zero is returned, the text
// cut to fit the buffer.
PLATFORM_API void PlatformRecordSurfaceLocks(BOOL on);
PLATFORM_API size_t PlatformSurfaceLockRecord(char *buffer, size_t size);
