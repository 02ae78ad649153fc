// Stand-ins for the list optimizer, the list compiler and the execution
// tables, which arrive with list compilation. The creators store their
// addresses in every context, so they exist from the start.
#include "dlist/dl_stubs.h"

#include "core/s_nop.h"

void __glGenericDlistOptimizer(GlContext *, GlDlistRecord *) {}

GlDlist *__glGenericDlistCompiler(GlContext *, GlDlistRecord *) { return nullptr; }

const GlDlistExecProc __glListExecTable[] = {__glNop0};
const GlDlistExecProc __gl_GenericDlOps[] = {__glNop0};
