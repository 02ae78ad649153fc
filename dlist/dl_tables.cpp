#include "dlist/dl_tables.h"

#include "dlist/dl_error_ops.h"
#include "dlist/dl_list_ops.h"

const GlDlistExecProc __glListExecTable[GL_DLIST_EXEC_TABLE_SIZE] = {
    __glle_CallList,   // 0
    __glle_CallLists,  // 1
    __glle_ListBase,   // 2
};

const GlDlistExecProc __gl_GenericDlOps[GL_DLIST_GENERIC_OPS] = {
    nullptr, nullptr, nullptr, nullptr, nullptr,  // 1000-1004: glBegin by mode
    nullptr, nullptr, nullptr, nullptr, nullptr,  // 1005-1009
    __glle_InvalidValue,                          // 1010
    __glle_InvalidEnum,                           // 1011
    __glle_InvalidOperation,                      // 1012
    __glle_UnimplementedExtension,                // 1013
    nullptr,                                      // 1014: the material optimiser's op
    __glle_TableTooLarge,                         // 1015
};
