// Renders the sample scenes through the whole road (the loader, the driver
// library and its device, windows on a 16-bit screen, SwapBuffers) and writes
// what the screen shows as one PNG per scene, printing a line per scene with
// its frame time, who drew it and what the chip drew (primitives, 2D fills
// and pixels written, from the chip model's record).
//   vlx_scenes [--size WIDTHxHEIGHT] [FOLDER]
// FOLDER is "scenes" by default, the size 640x480 (sides 16 to 4096).
// Exit status 0 when every picture was written, 1 when one was not, 2 for
// bad arguments.
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <errno.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>

#include <string>
#include <vector>

#if __has_include(<stb/stb_image_write.h>)
#include <stb/stb_image_write.h>
#else
#include <stb_image_write.h>
#endif

#include "platform/sis6326.h"
#include "tools/scene_road.h"

namespace {

// Below 16 pixels the windows of a scene of several would be empty.
constexpr int32_t kMinSide = 16, kMaxSide = 4096;

struct Options {
  std::string outDir = "scenes";
  int32_t width = 640, height = 480;
};

// "WIDTHxHEIGHT", each side from kMinSide to kMaxSide.
bool ParseSize(const char *text, int32_t *width, int32_t *height) {
  char *end = nullptr;
  errno = 0;
  const long w = strtol(text, &end, 10);
  if (errno || end == text || *end != 'x') return false;
  const char *rest = end + 1;
  const long h = strtol(rest, &end, 10);
  if (errno || end == rest || *end != '\0') return false;
  if (w < kMinSide || w > kMaxSide || h < kMinSide || h > kMaxSide) return false;
  *width = int32_t(w), *height = int32_t(h);
  return true;
}

bool ParseArguments(int argc, char **argv, Options *options) {
  bool haveFolder = false;
  for (int i = 1; i < argc; i++) {
    const char *arg = argv[i];
    if (strcmp(arg, "--size") == 0) {
      if (i + 1 >= argc || !ParseSize(argv[++i], &options->width, &options->height))
        return false;
    } else if (strncmp(arg, "--size=", 7) == 0) {
      if (!ParseSize(arg + 7, &options->width, &options->height)) return false;
    } else if (arg[0] == '-' || haveFolder) {
      return false;
    } else {
      options->outDir = arg;
      haveFolder = true;
    }
  }
  return true;
}

// The screen's pixels as 8-bit RGB rows.
std::vector<uint8_t> RgbFromArgb(const std::vector<uint32_t> &argb) {
  std::vector<uint8_t> rgb(argb.size() * 3);
  for (size_t i = 0; i < argb.size(); i++) {
    rgb[3 * i] = uint8_t(argb[i] >> 16);
    rgb[3 * i + 1] = uint8_t(argb[i] >> 8);
    rgb[3 * i + 2] = uint8_t(argb[i]);
  }
  return rgb;
}

bool RenderScene(const SceneEntry &scene, const Options &options) {
  std::vector<uint32_t> argb(size_t(options.width) * size_t(options.height));
  SceneFrame frame;
  char why[256] = "";
  if (!SceneRoadRender(scene, options.width, options.height, argb.data(), &frame, why,
                       sizeof why)) {
    fprintf(stderr, "vlx_scenes: %s: %s\n", scene.name, why);
    return false;
  }
  const std::string path = options.outDir + "/" + scene.name + ".png";
  const std::vector<uint8_t> rgb = RgbFromArgb(argb);
  if (!stbi_write_png(path.c_str(), options.width, options.height, 3, rgb.data(),
                      options.width * 3)) {
    fprintf(stderr, "vlx_scenes: %s: cannot write %s\n", scene.name, path.c_str());
    return false;
  }
  printf("  %-12s %8.1f ms  %d window%s  %s %s  chip: %u primitives, %u fills, %u pixels  %s\n",
         scene.name, frame.milliseconds, int(scene.windowCount),
         scene.windowCount == 1 ? " " : "s", frame.vendor, frame.renderer,
         unsigned(frame.primitives), unsigned(frame.fills), unsigned(frame.pixelsWritten),
         path.c_str());
  return true;
}

}  // namespace

int main(int argc, char **argv) {
  Options options;
  if (!ParseArguments(argc, argv, &options)) {
    fprintf(stderr, "usage: vlx_scenes [--size WIDTHxHEIGHT] [FOLDER]  (sides %d to %d)\n",
            int(kMinSide), int(kMaxSide));
    return 2;
  }
  if (!SceneRoadSetDisplay(options.width, options.height)) {
    fprintf(stderr, "vlx_scenes: the display cannot hold %d x %d at 16 bits per pixel\n",
            int(options.width), int(options.height));
    return 1;
  }
  if (mkdir(options.outDir.c_str(), 0777) != 0 && errno != EEXIST) {
    fprintf(stderr, "vlx_scenes: cannot make the output folder %s\n", options.outDir.c_str());
    return 1;
  }
  // Nobody reads the chip stand-in's event log here, and a long run would fill
  // it; its drawing model runs either way.
  PlatformSiS6326SetLogging(FALSE);
  printf("vlx_scenes: %d x %d, 16-bit display, through the loader and the driver library\n",
         int(options.width), int(options.height));
  bool all = true;
  for (const SceneEntry &scene : kScenes) all = RenderScene(scene, options) && all;
  if (!all) {
    fprintf(stderr, "vlx_scenes: not every scene was written\n");
    return 1;
  }
  return 0;
}
