// Internal consistency checks. They guard the driver's own invariants, never
// application input: a failure names the broken condition, the source file
// and the line, and ends the process.
#pragma once

[[noreturn]] void __glAssertFailed(const char *condition, const char *source, int line);

// `text` is the condition as the message names it; `source` the file's short
// name ("s_prim", "s_names", ...).
#define __GL_ASSERT(cond, text, source) \
  ((cond) ? (void)0 : __glAssertFailed(text, source, __LINE__))
