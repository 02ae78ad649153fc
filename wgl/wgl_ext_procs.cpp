// The extension entries handed out by name. Each is the API entry that jumps
// through its slot of the calling thread's current dispatch table.
#include <string.h>

#include "core/gl_api.h"
#include "wgl/wgl_attach.h"
#include "wgl/wgl_entries.h"
#include "wgl/wgl_message.h"

#define WGL_EXT_PROC(Name) {"gl" #Name, reinterpret_cast<VlxDriverProc>(&gl##Name)}

const WglExtProc __wglExtProcs[WGL_EXT_PROC_COUNT] = {
    WGL_EXT_PROC(ArrayElementEXT),
    WGL_EXT_PROC(DrawArraysEXT),
    WGL_EXT_PROC(VertexPointerEXT),
    WGL_EXT_PROC(NormalPointerEXT),
    WGL_EXT_PROC(ColorPointerEXT),
    WGL_EXT_PROC(IndexPointerEXT),
    WGL_EXT_PROC(TexCoordPointerEXT),
    WGL_EXT_PROC(EdgeFlagPointerEXT),
    WGL_EXT_PROC(GetPointervEXT),
    WGL_EXT_PROC(ColorSubTableEXT),
    WGL_EXT_PROC(ColorTableEXT),
    WGL_EXT_PROC(CopyColorTableEXT),
    WGL_EXT_PROC(GetColorTableEXT),
    WGL_EXT_PROC(GetColorTableParameterfvEXT),
    WGL_EXT_PROC(GetColorTableParameterivEXT),
    WGL_EXT_PROC(LockArraysVLX),
    WGL_EXT_PROC(UnlockArraysVLX),
    WGL_EXT_PROC(CullParameterdvVLX),
    WGL_EXT_PROC(CullParameterfvVLX),
    WGL_EXT_PROC(IndexFuncVLX),
    WGL_EXT_PROC(IndexMaterialVLX),
    WGL_EXT_PROC(AddSwapHintRectWIN),
};

#undef WGL_EXT_PROC

extern "C" VlxDriverProc GLENTRY DrvGetProcAddress(LPCSTR name) {
  if (__wglGetCurrentGC() == __wglInvalidGC) {
    __wglSetSystemError("wglGetProcAddress", ERROR_INVALID_HANDLE);
    return nullptr;
  }
  if (name == nullptr) return nullptr;
  for (const WglExtProc &row : __wglExtProcs) {
    if (strcmp(row.name, name) == 0) return row.proc;
  }
  return nullptr;
}
