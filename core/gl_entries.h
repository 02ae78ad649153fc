// The immediate-mode (__glim_X) and list-compile (__gllc_X) procedure of every
// slot, declared once from the slot table so that each definition is checked
// against its slot's signature. The list-compile procedure exists only for
// the slots that are compiled into display lists.
#pragma once

#include "core/calling.h"
#include "core/dispatch.h"

#define GL_LIST_COMPILED_COMPILED(x) x
#define GL_LIST_COMPILED_IMMEDIATE(x)

#define GL_ENTRY_DECLARE(s, Name, words, list, Ret, params) \
  Ret GLENTRY __glim_##Name params;                         \
  GL_LIST_COMPILED_##list(Ret GLENTRY __gllc_##Name params;)
GL_SLOTS(GL_ENTRY_DECLARE)
#undef GL_ENTRY_DECLARE

// The immediate procedure of an extension entry that does nothing but report
// GL_INVALID_OPERATION.
void GLENTRY __glim_UnimplementedExtension(void);
