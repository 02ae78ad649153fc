// Basic types, calling convention and error codes of the platform the driver
// was written for, declared here from their documented values so the driver
// keeps its own names and numbers on Linux.
#pragma once

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
#define PLATFORM_EXTERN_C extern "C"
#else
#define PLATFORM_EXTERN_C
#endif

// Platform entry points are callee-pops, as on the original platform.
#define WINAPI __attribute__((stdcall))
#define PLATFORM_API PLATFORM_EXTERN_C __attribute__((visibility("default")))

typedef int BOOL;
typedef unsigned char BYTE;
typedef unsigned short WORD;
typedef unsigned long DWORD;  // 32 bits under -m32
typedef long LONG;
typedef unsigned long ULONG;
typedef unsigned int UINT;
typedef uintptr_t ULONG_PTR;
typedef uintptr_t WPARAM;
typedef intptr_t LPARAM;
typedef intptr_t LRESULT;
typedef char CHAR;
typedef void *HANDLE;
typedef void *LPVOID;
typedef const void *LPCVOID;
typedef const char *LPCSTR;
typedef char *LPSTR;
typedef DWORD *LPDWORD;
typedef BYTE *LPBYTE;
typedef struct PlatformModule *HMODULE;
typedef HMODULE HINSTANCE;
typedef struct PlatformRegistryKey *HKEY;
typedef HKEY *PHKEY;
typedef DWORD REGSAM;
typedef int (WINAPI *FARPROC)(void);

#define TRUE 1
#define FALSE 0

#define INVALID_HANDLE_VALUE ((HANDLE)(intptr_t)-1)

// Error codes (GetLastError and the registry's LONG results).
#define ERROR_SUCCESS 0L
#define ERROR_FILE_NOT_FOUND 2L
#define ERROR_PATH_NOT_FOUND 3L
#define ERROR_ACCESS_DENIED 5L
#define ERROR_INVALID_HANDLE 6L
#define ERROR_NOT_ENOUGH_MEMORY 8L
#define ERROR_OUTOFMEMORY 14L
#define ERROR_SHARING_VIOLATION 32L
#define ERROR_FILE_EXISTS 80L
#define ERROR_INVALID_PARAMETER 87L
#define ERROR_INSUFFICIENT_BUFFER 122L
#define ERROR_MOD_NOT_FOUND 126L
#define ERROR_PROC_NOT_FOUND 127L
#define ERROR_ALREADY_EXISTS 183L
#define ERROR_ENVVAR_NOT_FOUND 203L
#define ERROR_MORE_DATA 234L
#define ERROR_NO_MORE_ITEMS 259L
#define ERROR_INVALID_ADDRESS 487L

#ifdef __cplusplus
static_assert(sizeof(void *) == 4, "the driver is a 32-bit x86 library");
static_assert(sizeof(DWORD) == 4 && sizeof(LONG) == 4, "platform words are 32 bits");
#endif
