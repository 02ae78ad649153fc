// Renders the sample scenes into PNG files, one line per scene with its frame
// time. Until the driver can draw, it reports what the build holds instead:
// it makes a context with the core's creator, binds it to a 640 x 480 window
// and shows the context's strings and the transform it builds.
#include <stdio.h>
#include <stdlib.h>

#include "core/context.h"
#include "core/gl_api.h"
#include "core/s_context.h"
#include "platform/kernel.h"
#include "wgl/wgl_current.h"

namespace {

void *Malloc(GlContext *, size_t size) { return size ? calloc(1, size) : nullptr; }
void *Calloc(GlContext *, size_t count, size_t size) { return count && size ? calloc(count, size) : nullptr; }
void *Realloc(GlContext *, void *block, size_t size) { return realloc(block, size); }
void Free(GlContext *, void *block) { free(block); }
void Report(GlContext *, const char *text) { fprintf(stderr, "vlx_scenes: %s\n", text); }
GlDrawable *NoDrawable(GlContext *) { return nullptr; }
int WindowSize(GlContext *, int32_t *x, int32_t *y, uint32_t *width, uint32_t *height) {
  *x = 0, *y = 0, *width = 640, *height = 480;
  return 1;
}

const GlImports kImports = {Malloc, Calloc, Realloc, Free, Report, Report, NoDrawable, WindowSize, nullptr};

// Builds a perspective view and shows where the origin of the scene lands.
void ShowTransform(GlContext *gc) {
  glMatrixMode(GL_PROJECTION);
  glFrustum(-1, 1, -0.75, 0.75, 1, 10);
  glMatrixMode(GL_MODELVIEW);
  glTranslatef(0, 0, -5);
  glRotatef(30, 0, 1, 0);
  const GLfloat *m = gc->transform.modelView->mvp.matrix;
  GLfloat w = m[15];
  printf("  the scene origin lands at clip (%.3f, %.3f, %.3f, %.3f), window z %.4f\n", m[12], m[13],
         m[14], w, m[14] / w * gc->state.viewport.zScale + gc->state.viewport.zCenter);
}

}  // namespace

int main(int argc, char **argv) {
  const char *outDir = argc > 1 ? argv[1] : "scenes";
  OSVERSIONINFOA version = {};
  version.dwOSVersionInfoSize = sizeof version;
  if (!GetVersionExA(&version)) {
    fprintf(stderr, "vlx_scenes: the platform layer did not answer the version query\n");
    return 1;
  }
  printf("vlx_scenes: no scenes yet (output folder would be %s)\n", outDir);
  printf("  built: the platform layer (platform %lu, version %lu.%lu.%lu), the loader\n",
         version.dwPlatformId, version.dwMajorVersion, version.dwMinorVersion,
         version.dwBuildNumber);

  GlModes modes = {};
  modes.rgbMode = 1, modes.doubleBufferMode = 1;
  modes.redBits = 5, modes.greenBits = 6, modes.blueBits = 5;
  modes.redMask = 0xF800, modes.greenMask = 0x07E0, modes.blueMask = 0x001F;
  modes.colorBits = modes.indexBits = 16;
  GlContext *gc = __glCoreCreateContext(&kImports, &modes);
  if (gc == nullptr || !gc->exports.makeCurrent(gc)) {
    fprintf(stderr, "vlx_scenes: the core could not make and bind a context\n");
    return 1;
  }
  printf("  context: vendor \"%s\", renderer \"%s\", version \"%s\"\n", gc->constants.vendor,
         gc->constants.renderer, gc->constants.version);
  printf("  viewport %d x %d, draw buffer 0x%X\n", gc->state.viewport.width,
         gc->state.viewport.height, gc->state.raster.drawBuffer);
  ShowTransform(gc);
  gc->exports.loseCurrent(gc);
  gc->exports.destroyContext(gc);
  printf("  to come: the vertex pipeline, the rasterizers, the driver and the SiS 6326 back end\n");
  return 0;
}
