// Renders the sample scenes into PNG files, one line per scene with its frame
// time. Until the driver can draw, it reports what the build holds instead.
#include <stdio.h>

#include "platform/kernel.h"

int main(int argc, char **argv) {
  const char *outDir = argc > 1 ? argv[1] : "scenes";
  OSVERSIONINFOA version = {};
  version.dwOSVersionInfoSize = sizeof version;
  if (!GetVersionExA(&version)) {
    fprintf(stderr, "vlx_scenes: the platform layer did not answer the version query\n");
    return 1;
  }
  printf("vlx_scenes: no scenes yet (output folder would be %s)\n", outDir);
  printf("  built: the platform layer (platform %lu, version %lu.%lu.%lu): kernel services,\n"
         "         window manager and GDI, DirectDraw, DCI, display information\n"
         "  built: the OpenGL core's dispatch, Begin/End, errors, name manager and arena\n",
         version.dwPlatformId, version.dwMajorVersion, version.dwMinorVersion,
         version.dwBuildNumber);
  printf("  to come: the rest of the OpenGL core, the vertex pipeline, the rasterizers, the driver and the SiS 6326 back end\n");
  return 0;
}
