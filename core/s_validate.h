// Validation: picking the procedures for the state in force.
#pragma once

struct GlContext;

// The core's `validate`: runs procs.pickAllProcs, then hands the calling
// thread's current table to the operating system again, since pickers may
// have replaced entries in place.
void __glGenericValidate(GlContext *gc);
// The all-pickers pass.
void __glGenericPickAllProcs(GlContext *gc);
