// The execute routines of the op codes, as the list compiler looks them
// up: 0-209 by the listable commands, 1000-1015 the generic ops. Codes that
// are never produced point where the op table says (the vector routine of
// a scalar pname command, the array-drawing routine) or, for glBegin's own
// slot, are null.
#pragma once

#include "dlist/dl_opcodes.h"
#include "dlist/dl_state.h"

extern const GlDlistExecProc (&__glListExecTable)[GL_DLIST_EXEC_TABLE_SIZE];
extern const GlDlistExecProc (&__gl_GenericDlOps)[GL_DLIST_GENERIC_OPS];

// The op code that records a call on a compiled dispatch slot (3 for
// glBegin, whose ops go by mode), or -1 for a slot that is not compiled or
// compiled into the vertex calls it makes.
int __glDlistOpOfSlot(int slot);
