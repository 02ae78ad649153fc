// One scene through the road in a process of its own, through whichever
// driver library the loader opens (VLX_GL_DRIVER): the tests run it with the
// software-only device's library to compare its frames with the live
// device's, since one process holds one driver at a time.
//   scene_road_frame SCENE WIDTH HEIGHT
// Writes the frame's depth and stencil bits (two 32-bit words), its vendor
// and renderer fields as they are, then WIDTH x HEIGHT 0xAARRGGBB pixels, top
// row first, to its standard output.
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <vector>

#include "tools/scene_road.h"

int main(int argc, char **argv) {
  if (argc != 4) {
    fprintf(stderr, "usage: scene_road_frame SCENE WIDTH HEIGHT\n");
    return 2;
  }
  const SceneEntry *scene = nullptr;
  for (const SceneEntry &s : kScenes)
    if (strcmp(s.name, argv[1]) == 0) scene = &s;
  const int width = atoi(argv[2]), height = atoi(argv[3]);
  if (scene == nullptr || width <= 0 || height <= 0 || width > 4096 || height > 4096) {
    fprintf(stderr, "scene_road_frame: bad arguments\n");
    return 2;
  }
  if (!SceneRoadSetDisplay(width, height)) {
    fprintf(stderr, "scene_road_frame: no display for %dx%d\n", width, height);
    return 3;
  }
  std::vector<uint32_t> argb(size_t(width) * size_t(height));
  SceneFrame frame{};
  char why[256] = "";
  if (!SceneRoadRender(*scene, width, height, argb.data(), &frame, why, sizeof why)) {
    fprintf(stderr, "scene_road_frame: %s\n", why);
    return 3;
  }
  const int32_t bits[2] = {frame.depthBits, frame.stencilBits};
  const bool written = fwrite(bits, sizeof bits, 1, stdout) == 1 &&
                       fwrite(frame.vendor, sizeof frame.vendor, 1, stdout) == 1 &&
                       fwrite(frame.renderer, sizeof frame.renderer, 1, stdout) == 1 &&
                       fwrite(argb.data(), sizeof argb[0], argb.size(), stdout) == argb.size();
  return written && fflush(stdout) == 0 ? 0 : 4;
}
