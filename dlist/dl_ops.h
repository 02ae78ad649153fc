// The execute routines of the op table's rows whose routines are generated
// (and of the rows written by hand that other files name), declared from
// the table. Each takes the address of its op's data and returns the
// address just past it.
#pragma once

#include "core/gl_defs.h"
#include "dlist/dl_optable.h"

#define GL_DLOP_DECLARE(Name) const GLubyte *__glle_##Name(const GLubyte *data);
#define GL_DLOP_DECLARE_VALUE(Name, ...) GL_DLOP_DECLARE(Name)
#define GL_DLOP_DECLARE_ORDERED(Name, ...) GL_DLOP_DECLARE(Name)
#define GL_DLOP_DECLARE_VECTOR(Name, ...) GL_DLOP_DECLARE(Name##v)
#define GL_DLOP_DECLARE_ARRAY(Name, ...) GL_DLOP_DECLARE(Name)
#define GL_DLOP_DECLARE_RECT(Name) GL_DLOP_DECLARE(Name##v)
#define GL_DLOP_DECLARE_PNAME(Name, ...) GL_DLOP_DECLARE(Name)
#define GL_DLOP_DECLARE_SCALAR(Name, ...)
#define GL_DLOP_DECLARE_CUSTOM(Name) GL_DLOP_DECLARE(Name)
#define GL_DLOP_DECLARE_SHARED(Name, Exec) GL_DLOP_DECLARE(Exec)
#define GL_DLOP_DECLARE_EXPANDED(Name)
#define GL_DLOP_DECLARE_BEGIN(Name)
#define GL_DLOP_DECLARE_MODE(Name, ...) GL_DLOP_DECLARE(Name)
#define GL_DLOP_DECLARE_ERROR(Name) GL_DLOP_DECLARE(Name)
#define GL_DLOP_DECLARE_MATERIAL(Name) GL_DLOP_DECLARE(Name)
#define GL_DLOP_DECLARE_ROW(code, kind, ...) GL_DLOP_DECLARE_##kind(__VA_ARGS__)
GL_DLIST_OPS(GL_DLOP_DECLARE_ROW)
#undef GL_DLOP_DECLARE_ROW

// The array-drawing codes, which are never produced: the data pointer back.
const GLubyte *__glle_DrawArraysEXT(const GLubyte *data);
