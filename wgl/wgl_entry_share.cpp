// Sharing display lists and texture objects between contexts, and copying
// attribute groups from one context to another. Both refuse to change a
// context that another thread is drawing with.
#include "core/context.h"
#include "core/current.h"
#include "wgl/wgl_context_list.h"
#include "wgl/wgl_entries.h"
#include "wgl/wgl_message.h"
#include "wgl/wgl_scoped_lock.h"

namespace {

// The record of a created context; the handle 0 names the list's sentinel,
// whose placeholder context has nothing to share or copy.
WglContext *FindCreated(DHGLRC handle) {
  return handle ? __wglFindWGLContext(uint32_t(handle)) : nullptr;
}

bool CurrentElsewhere(const WglContext *record) {
  return record->current && record->ownerThread != int32_t(GetCurrentThreadId());
}

BOOL Fail(const char *name, DWORD code) {
  __wglSetSystemError(name, code);
  return FALSE;
}

}  // namespace

extern "C" BOOL GLENTRY DrvShareLists(DHGLRC first, DHGLRC second) {
  WglGlobalHold hold;
  WglContext *source = FindCreated(first);
  WglContext *target = FindCreated(second);
  if (source == nullptr || target == nullptr) return Fail("DrvShareLists", ERROR_INVALID_HANDLE);
  GlContext *gc = target->gc;
  // The target's own lists go with the share: not while one of them is
  // being compiled, nor while another thread draws with the context.
  if (gc->dlist.currentList || CurrentElsewhere(target))
    return Fail("DrvShareLists", ERROR_INVALID_PARAMETER);
  if (gc->exports.shareContext == nullptr || !gc->exports.shareContext(gc, source->gc))
    return Fail("DrvShareLists", ERROR_INVALID_PARAMETER);
  return TRUE;
}

extern "C" BOOL GLENTRY DrvCopyContext(DHGLRC sourceHandle, DHGLRC destinationHandle,
                                       UINT mask) {
  WglGlobalHold hold;
  WglContext *source = FindCreated(sourceHandle);
  if (source == nullptr) return Fail("DrvCopyContext", ERROR_INVALID_HANDLE);
  WglContext *destination = FindCreated(destinationHandle);
  if (destination == nullptr) return Fail("DrvCopyContext", ERROR_INVALID_HANDLE);
  if (source->gc == nullptr) return Fail("DrvCopyContext", ERROR_INVALID_HANDLE);
  if (mask >= 0x100000) return Fail("DrvCopyContext", ERROR_INVALID_PARAMETER);
  GlContext *dst = destination->gc;
  if (dst == __glGetTLSCXValue()) return Fail("DrvCopyContext", ERROR_ACCESS_DENIED);
  // Another thread drawing with it would see its state change under it.
  if (CurrentElsewhere(destination)) return Fail("DrvCopyContext", ERROR_INVALID_PARAMETER);
  return dst->exports.copyContext ? dst->exports.copyContext(dst, source->gc, mask) : 0;
}
