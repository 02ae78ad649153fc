// The procedure words and tables a context creator stores in GlDlistState.
// Until list compilation exists they are stand-ins that do nothing; the
// display-list subsystem replaces them under the same names.
#pragma once

#include "dlist/dl_state.h"

void __glGenericDlistOptimizer(GlContext *gc, GlDlistRecord *list);
// Null: nothing is compiled yet.
GlDlist *__glGenericDlistCompiler(GlContext *gc, GlDlistRecord *list);
extern const GlDlistExecProc __glListExecTable[];
extern const GlDlistExecProc __gl_GenericDlOps[];
