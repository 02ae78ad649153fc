// Kernel services of the platform: thread-local slots, critical sections, the
// global heap, executable memory, modules, files, debugger output, last-error
// values, ids, the version query and the environment.
#pragma once

#include "platform/win_types.h"

// ---- Thread-local slots -------------------------------------------------------
#define TLS_MINIMUM_AVAILABLE 64
#define TLS_OUT_OF_INDEXES ((DWORD)0xFFFFFFFF)

PLATFORM_API DWORD WINAPI TlsAlloc(void);
PLATFORM_API BOOL WINAPI TlsFree(DWORD index);
PLATFORM_API LPVOID WINAPI TlsGetValue(DWORD index);
PLATFORM_API BOOL WINAPI TlsSetValue(DWORD index, LPVOID value);

// ---- Critical sections ----------------------------------------------------------
// Re-entrant. RecursionCount and OwningThread (the owner's thread id, 0 when
// free) are written only by the owner, so the owner may read them at any time.
typedef struct CRITICAL_SECTION {
  void *DebugInfo;  // the stand-in's lock object
  LONG LockCount;   // -1 when free, 0 while held
  LONG RecursionCount;
  HANDLE OwningThread;
  HANDLE LockSemaphore;
  ULONG_PTR SpinCount;
} CRITICAL_SECTION, *LPCRITICAL_SECTION;

PLATFORM_API void WINAPI InitializeCriticalSection(LPCRITICAL_SECTION cs);
PLATFORM_API BOOL WINAPI InitializeCriticalSectionAndSpinCount(LPCRITICAL_SECTION cs, DWORD spinCount);
PLATFORM_API void WINAPI EnterCriticalSection(LPCRITICAL_SECTION cs);
PLATFORM_API BOOL WINAPI TryEnterCriticalSection(LPCRITICAL_SECTION cs);
PLATFORM_API void WINAPI LeaveCriticalSection(LPCRITICAL_SECTION cs);
PLATFORM_API void WINAPI DeleteCriticalSection(LPCRITICAL_SECTION cs);

// ---- Global heap ---------------------------------------------------------------
// Only fixed blocks exist: the handle is the block's address.
typedef HANDLE HGLOBAL;
#define GMEM_FIXED 0x0000u
#define GMEM_MOVEABLE 0x0002u
#define GMEM_ZEROINIT 0x0040u
#define GPTR (GMEM_FIXED | GMEM_ZEROINIT)

PLATFORM_API HGLOBAL WINAPI GlobalAlloc(UINT flags, size_t bytes);
PLATFORM_API HGLOBAL WINAPI GlobalFree(HGLOBAL block);  // null on success
PLATFORM_API size_t WINAPI GlobalSize(HGLOBAL block);   // 0 for a bad block

// ---- Virtual memory (executable memory for generated code) ----------------------
#define MEM_COMMIT 0x1000u
#define MEM_RESERVE 0x2000u
#define MEM_RELEASE 0x8000u
#define PAGE_NOACCESS 0x01u
#define PAGE_READONLY 0x02u
#define PAGE_READWRITE 0x04u
#define PAGE_EXECUTE_READ 0x20u
#define PAGE_EXECUTE_READWRITE 0x40u

// Committed memory is zero-filled and page aligned. The address must be null.
PLATFORM_API LPVOID WINAPI VirtualAlloc(LPVOID address, size_t size, DWORD type, DWORD protect);
// Releases a whole allocation: size 0 and MEM_RELEASE.
PLATFORM_API BOOL WINAPI VirtualFree(LPVOID address, size_t size, DWORD type);
PLATFORM_API BOOL WINAPI VirtualProtect(LPVOID address, size_t size, DWORD protect, DWORD *oldProtect);

// ---- Modules --------------------------------------------------------------------
// Modules are the built-in ones registered with PlatformRegisterModule. Names
// match without regard to case, and ".dll" is implied when no extension is given.
PLATFORM_API HMODULE WINAPI LoadLibraryA(LPCSTR name);
PLATFORM_API FARPROC WINAPI GetProcAddress(HMODULE module, LPCSTR name);
PLATFORM_API BOOL WINAPI FreeLibrary(HMODULE module);

// ---- Files ----------------------------------------------------------------------
#define GENERIC_READ 0x80000000u
#define GENERIC_WRITE 0x40000000u
#define FILE_SHARE_READ 0x1u
#define FILE_SHARE_WRITE 0x2u
#define CREATE_NEW 1u
#define CREATE_ALWAYS 2u
#define OPEN_EXISTING 3u
#define OPEN_ALWAYS 4u
#define TRUNCATE_EXISTING 5u
#define FILE_ATTRIBUTE_NORMAL 0x80u

typedef struct SECURITY_ATTRIBUTES {
  DWORD nLength;
  LPVOID lpSecurityDescriptor;
  BOOL bInheritHandle;
} SECURITY_ATTRIBUTES, *LPSECURITY_ATTRIBUTES;

PLATFORM_API HANDLE WINAPI CreateFileA(LPCSTR name, DWORD access, DWORD shareMode,
                                       LPSECURITY_ATTRIBUTES security, DWORD disposition,
                                       DWORD flagsAndAttributes, HANDLE templateFile);
PLATFORM_API BOOL WINAPI WriteFile(HANDLE file, LPCVOID data, DWORD bytes, LPDWORD written,
                                   LPVOID overlapped);
PLATFORM_API BOOL WINAPI ReadFile(HANDLE file, LPVOID data, DWORD bytes, LPDWORD read,
                                  LPVOID overlapped);
PLATFORM_API BOOL WINAPI CloseHandle(HANDLE object);

// ---- Debugger output, errors, ids -------------------------------------------------
PLATFORM_API void WINAPI OutputDebugStringA(LPCSTR text);
PLATFORM_API DWORD WINAPI GetLastError(void);
PLATFORM_API void WINAPI SetLastError(DWORD error);
PLATFORM_API DWORD WINAPI GetCurrentThreadId(void);
PLATFORM_API DWORD WINAPI GetCurrentProcessId(void);

// ---- Version --------------------------------------------------------------------
#define VER_PLATFORM_WIN32s 0u
#define VER_PLATFORM_WIN32_WINDOWS 1u
#define VER_PLATFORM_WIN32_NT 2u

typedef struct OSVERSIONINFOA {
  DWORD dwOSVersionInfoSize;  // must be 148
  DWORD dwMajorVersion;
  DWORD dwMinorVersion;
  DWORD dwBuildNumber;
  DWORD dwPlatformId;
  CHAR szCSDVersion[128];
} OSVERSIONINFOA, *LPOSVERSIONINFOA;

PLATFORM_API BOOL WINAPI GetVersionExA(LPOSVERSIONINFOA info);

// ---- Environment ------------------------------------------------------------------
// The process environment, shared with the C library's getenv.
PLATFORM_API DWORD WINAPI GetEnvironmentVariableA(LPCSTR name, LPSTR buffer, DWORD size);
PLATFORM_API BOOL WINAPI SetEnvironmentVariableA(LPCSTR name, LPCSTR value);

#ifdef __cplusplus
static_assert(sizeof(CRITICAL_SECTION) == 24, "CRITICAL_SECTION is 24 bytes");
static_assert(sizeof(OSVERSIONINFOA) == 148, "OSVERSIONINFOA is 148 bytes");
static_assert(sizeof(SECURITY_ATTRIBUTES) == 12, "SECURITY_ATTRIBUTES is 12 bytes");
#endif
