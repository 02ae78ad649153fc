// The calling conventions of the driver, declared once.
//   GLENTRY   : every dispatch entry, API entry stub, extension stub and exported
//               driver entry is callee-pops.
//   GLFASTCALL: procedure slots that generated code fills or calls take the first
//               argument in ECX, the second in EDX, the rest on the stack, and
//               pop them.
// Every other procedure slot is plain cdecl with the context first.
#pragma once

#define GLENTRY __attribute__((stdcall))
#define GLFASTCALL __attribute__((fastcall))

// A procedure that answers a BOOL byte: callers test its low byte only.
typedef unsigned char GLbool8;

static_assert(sizeof(void *) == 4, "the driver is a 32-bit x86 library");
