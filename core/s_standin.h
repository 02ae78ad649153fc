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

// A folder's stand-ins are one list per header, LIST(X), with one line
// X(type, name, (parameters), result) per stand-in, result left empty for
// void. The header declares them with LIST(GL_STANDIN_DECLARE) and its
// source defines them with LIST(GL_STANDIN_DEFINE), so the change that
// builds a real procedure deletes one line.
#define GL_STANDIN_DECLARE(type, name, params, result) type name params;
#define GL_STANDIN_DEFINE(type, name, params, result) \
  type name params GL_STANDIN_BODY(name, result)
