// Renders the sample scenes into PNG files in the output folder (first
// argument, "scenes" by default), printing one line per scene with the time
// it took to draw. The frames are drawn in software by the core device into
// a window in memory and read back from its 5-6-5 back buffer. Exit status 0
// when every picture was written, 1 otherwise.
#include <errno.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <time.h>

#include <string>
#include <vector>

#include "core/gl_api.h"
#include "tools/png_write.h"
#include "tools/scene_list.h"
#include "tools/scene_window.h"

namespace {

constexpr int32_t kWidth = 640, kHeight = 480;

double NowMs() {
  timespec t;
  clock_gettime(CLOCK_MONOTONIC, &t);
  return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

// Draws one scene in a fresh context and writes its picture; false (with a
// message) when it could not.
bool RenderScene(const SceneEntry &scene, const std::string &outDir) {
  SceneWindow window;
  if (!SceneWindowOpen(&window, kWidth, kHeight)) {
    fprintf(stderr, "vlx_scenes: %s: the core could not make and bind a context\n", scene.name);
    return false;
  }
  const double start = NowMs();
  scene.draw(kWidth, kHeight);
  glFinish();
  const double ms = NowMs() - start;
  const GLenum error = glGetError();
  std::vector<uint8_t> rgb(size_t(kWidth) * kHeight * 3);
  SceneWindowReadRgb(&window, rgb.data());
  SceneWindowClose(&window);

  const std::string path = outDir + "/" + scene.name + ".png";
  if (!PngWriteRgb(path.c_str(), kWidth, kHeight, rgb.data())) {
    fprintf(stderr, "vlx_scenes: %s: cannot write %s\n", scene.name, path.c_str());
    return false;
  }
  printf("  %-12s %8.1f ms  %s\n", scene.name, ms, path.c_str());
  if (error != GL_NO_ERROR) {
    fprintf(stderr, "vlx_scenes: %s: drawing raised GL error 0x%X\n", scene.name, error);
    return false;
  }
  return true;
}

}  // namespace

int main(int argc, char **argv) {
  const std::string outDir = argc > 1 ? argv[1] : "scenes";
  if (mkdir(outDir.c_str(), 0777) != 0 && errno != EEXIST) {
    fprintf(stderr, "vlx_scenes: cannot make the output folder %s\n", outDir.c_str());
    return 1;
  }
  printf("vlx_scenes: %d x %d, software rendering into memory\n", kWidth, kHeight);
  bool all = true;
  for (const SceneEntry &scene : kScenes) all = RenderScene(scene, outDir) && all;
  if (!all) {
    fprintf(stderr, "vlx_scenes: not every scene was written\n");
    return 1;
  }
  return 0;
}
