// Op codes, by the name of their execute routine: GL_DLOP_Color3bv == 5.
// Codes below 1000 index listExecTable, 1000-9999 genericDlOps
// (code - 1000), from 10000 on machineDlOps.
#pragma once

#include "dlist/dl_optable.h"

#define GL_DLOP_PASTE2(a, b) a##b
#define GL_DLOP_PASTE(a, b) GL_DLOP_PASTE2(a, b)
// The op-code name of a row of the op table.
#define GL_DLOP_ROW_NAME(kind, ...) GL_DLOP_NAME_##kind(__VA_ARGS__)

enum GlDlistOpcode {
#define GL_DLOP_ENUM(code, kind, ...) \
  GL_DLOP_PASTE(GL_DLOP_, GL_DLOP_ROW_NAME(kind, __VA_ARGS__)) = code,
  GL_DLIST_OPS(GL_DLOP_ENUM)
#undef GL_DLOP_ENUM
  GL_DLOP_FirstGeneric = 1000,
  GL_DLOP_FirstMachine = 10000,
};

#define GL_DLIST_EXEC_TABLE_SIZE 210
#define GL_DLIST_GENERIC_OPS 16
