// The list of rendering-context records. The sentinel heads it and answers
// the handle 0; its gc is the placeholder context while the process is
// attached.
#include "wgl/wgl_context_list.h"

#include "wgl/wgl_record_list.h"
#include "wgl/wgl_scoped_lock.h"

WglContext glrcListEnd;

void __wglAddContext(WglContext *record) { __wglListAddHead(&glrcListEnd, record); }

void __wglRemoveContext(WglContext *record) { __wglListRemove(record); }

WglContext *__wglFindWGLContext(uint32_t handle) {
  WglGlobalHold hold;
  WglContext *found = &glrcListEnd;
  while (found && found->handle != handle) found = found->next;
  return found;
}

WglContext *__wglFindWGLGLcontext(GlContext *gc) {
  WglGlobalHold hold;
  WglContext *found = &glrcListEnd;
  while (found && found->gc != gc) found = found->next;
  return found;
}

WglContext *__wglFindWGLWindow(HWND hwnd, WglContext *previous) {
  // Unbound records have no window: a search for none would find any of them.
  if (hwnd == nullptr) return nullptr;
  WglGlobalHold hold;
  WglContext *found = (previous ? previous : &glrcListEnd)->next;
  while (found && found->hwnd != hwnd) found = found->next;
  return found;
}
