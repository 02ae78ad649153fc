// Turns the chain of ops of a finished list into a compiled list.
#pragma once

#include "dlist/dl_dlist.h"
#include "dlist/dl_state.h"

// The list of the chain in `list`, or null: when memory runs out the
// arena is emptied, no list stays open and GL_OUT_OF_MEMORY is recorded.
GlDlist *__glGenericDlistCompiler(GlContext *gc, GlDlistRecord *list);
// The execute routine of an op code: below 1000 from listExecTable, up to
// 9999 from genericDlOps, from 10000 on from machineDlOps.
GlDlistExecProc __glDlistExecProc(const GlDlistState *dl, int16_t opcode);
