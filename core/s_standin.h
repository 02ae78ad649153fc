// Stand-ins: procedures other subsystems will provide, present now so that
// the pickers can install them by name. Each one records its name when
// called (tests hook the record) and does nothing else. A subsystem that
// builds the real procedure deletes its stand-in.
#pragma once

struct GlContext;

// Called by every stand-in with its own name.
void __glStandInCalled(const char *name);
// Tests point this at a recorder; null by default.
extern void (*__glStandInHook)(const char *name);

// Defines stand-in `name` returning `result` (a value of the slot's type).
#define GL_STANDIN_BODY(name, result) \
  {                                   \
    __glStandInCalled(#name);         \
    return result;                    \
  }
#define GL_STANDIN_VOID_BODY(name) \
  { __glStandInCalled(#name); }
