// Op codes of the ops built so far. Codes below 1000 index listExecTable,
// 1000-9999 genericDlOps (code - 1000), from 10000 on machineDlOps.
#pragma once

enum GlDlistOpcode {
  GL_DLOP_CallList = 0,
  GL_DLOP_CallLists = 1,
  GL_DLOP_ListBase = 2,
  GL_DLOP_InvalidValue = 1010,
  GL_DLOP_InvalidEnum = 1011,
  GL_DLOP_InvalidOperation = 1012,
  GL_DLOP_UnimplementedExtension = 1013,
  GL_DLOP_TableTooLarge = 1015,
  GL_DLOP_FirstGeneric = 1000,
  GL_DLOP_FirstMachine = 10000,
};

#define GL_DLIST_EXEC_TABLE_SIZE 210
#define GL_DLIST_GENERIC_OPS 16
