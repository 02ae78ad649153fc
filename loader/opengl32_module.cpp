// The built-in module "opengl32.dll": GDI's pixel-format calls and
// SwapBuffers forward to it by these names on the platform, and a driver
// reaches the loader the same way, without linking it.
#include "platform/control.h"
#include "platform/vlxdesktop.h"

namespace {

const PlatformExport kOpenGlExports[] = {
    {"wglSwapBuffers", reinterpret_cast<void *>(&wglSwapBuffers)},
    {"wglChoosePixelFormat", reinterpret_cast<void *>(&ChoosePixelFormat)},
    {"wglDescribePixelFormat", reinterpret_cast<void *>(&DescribePixelFormat)},
    {"wglGetPixelFormat", reinterpret_cast<void *>(&GetPixelFormat)},
    {"wglSetPixelFormat", reinterpret_cast<void *>(&SetPixelFormat)},
};

__attribute__((constructor)) void RegisterOpenGlModule() {
  PlatformRegisterModule("opengl32.dll", kOpenGlExports,
                         sizeof kOpenGlExports / sizeof kOpenGlExports[0]);
}

__attribute__((destructor)) void UnregisterOpenGlModule() {
  PlatformUnregisterModule("opengl32.dll");
}

}  // namespace
