// The execute routines of the op codes, as the list compiler looks them up.
// Rows of ops not built yet are null: no compile routine produces them.
#pragma once

#include "dlist/dl_opcodes.h"
#include "dlist/dl_state.h"

extern const GlDlistExecProc __glListExecTable[GL_DLIST_EXEC_TABLE_SIZE];
extern const GlDlistExecProc __gl_GenericDlOps[GL_DLIST_GENERIC_OPS];
