// The MMX memory fill: a routine generated once per process that fills runs
// of 32-bit words eight bytes per store, for the buffer clears of MMX
// processors.
#pragma once

#include <stdint.h>

#include "core/calling.h"

struct GlContext;

#define OG_FILL_BUFFER_SIZE 500u

// Emits the fill at `cb`, writing nothing at or beyond `end`, and returns the
// cursor behind it; null when the emitter refused (see gc->ogs.failure).
// The routine is entered by a near call with edi = destination, eax = value
// and ecx = words (at least 1); it returns with edi behind the last word,
// ebx and ecx changed, eax and edx kept, and MMX in use.
uint8_t *__glGenerateMMXFill(GlContext *gc, uint8_t *cb, uint8_t *end);

// Fills `height` rows of `width` 32-bit words with `value`; `skip` bytes lie
// between the end of one row and the start of the next (0: one contiguous
// block). The first call of the process generates the routine with `gc`'s
// emitter; calls on several threads at once are safe. Ends MMX use before
// it returns. False, with nothing written, when the context has no MMX or
// the process could not make the routine (it tries once): the caller then
// stores the words itself.
GLbool8 __glMMXFillRect(GlContext *gc, void *dst, uint32_t width, uint32_t height,
                        uint32_t skip, uint32_t value);
// Gives the routine's memory back; the next fill makes it again. Only when
// no thread can be filling: the driver's process detach at unload.
void __glFreeMMXFill(void);
// One contiguous run of `words` words.
GLbool8 __glMMXFill(GlContext *gc, void *dst, uint32_t value, uint32_t words);

// The thunk into the routine (og_fill_thunk.cpp): keeps the registers compiled
// code expects kept, runs `rows` rows, each `words` words and `skip` bytes
// apart, and ends with EMMS. Rows or words of 0 fill nothing.
extern "C" void __glMMXFillRun(const void *code, void *dst, uint32_t value, uint32_t words,
                               uint32_t rows, uint32_t skip);
