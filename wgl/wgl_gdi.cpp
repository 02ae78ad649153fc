// GDI's pixel-format calls as the driver reaches them: through the operating
// system's GL library, the module "opengl32.dll". The module is looked up at
// each call, so a library registered later (or again) is the one answering.
#include "wgl/wgl_gdi.h"

#include "platform/kernel.h"

namespace {

typedef int(WINAPI *GetPixelFormatProc)(HDC hdc);
typedef int(WINAPI *DescribePixelFormatProc)(HDC hdc, int pixelFormat, UINT bytes,
                                             PIXELFORMATDESCRIPTOR *descriptor);

// Holds the library loaded while its procedure runs.
struct OpenGlLibrary {
  HMODULE module = LoadLibraryA("opengl32.dll");
  ~OpenGlLibrary() {
    if (module) FreeLibrary(module);
  }
  template <typename Proc>
  Proc Find(const char *name) const {
    if (module == nullptr) return nullptr;
    // Through void *: the export's real type is not FARPROC's.
    return reinterpret_cast<Proc>(reinterpret_cast<void *>(GetProcAddress(module, name)));
  }
};

}  // namespace

int __wglGdiGetPixelFormat(HDC hdc) {
  OpenGlLibrary library;
  GetPixelFormatProc get = library.Find<GetPixelFormatProc>("wglGetPixelFormat");
  return get ? get(hdc) : 0;
}

int __wglGdiDescribePixelFormat(HDC hdc, int pixelFormat, UINT bytes,
                                PIXELFORMATDESCRIPTOR *descriptor) {
  OpenGlLibrary library;
  DescribePixelFormatProc describe =
      library.Find<DescribePixelFormatProc>("wglDescribePixelFormat");
  return describe ? describe(hdc, pixelFormat, bytes, descriptor) : 0;
}
