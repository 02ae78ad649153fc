// The scenes' reference: the core draws one view into a window in plain
// memory, with no loader, driver library or window system in between. It
// links the driver's static code, so it runs in a process of its own: the
// tests go through the loader, which loads the driver library, and one
// process must not hold two copies of the driver.
//   scene_reference VIEW WIDTH HEIGHT DEPTH_BITS STENCIL_BITS TOP_DOWN
// Writes WIDTH x HEIGHT 5-6-5 pixels (16-bit words), top row first, to its
// standard output.
#include <stdio.h>
#include <stdlib.h>

#include <vector>

#include "tools/scene_list.h"
#include "tools/scene_window.h"

int main(int argc, char **argv) {
  if (argc != 7) {
    fprintf(stderr, "usage: scene_reference VIEW WIDTH HEIGHT DEPTH_BITS STENCIL_BITS TOP_DOWN\n");
    return 2;
  }
  const SceneViewEntry *entry = SceneFindViewEntry(argv[1]);
  const SceneView view = entry ? entry->draw : nullptr;
  const int width = atoi(argv[2]), height = atoi(argv[3]);
  const int depthBits = atoi(argv[4]), stencilBits = atoi(argv[5]);
  if (!view || width <= 0 || height <= 0 || width > 4096 || height > 4096 || depthBits <= 0 ||
      stencilBits < 0) {
    fprintf(stderr, "scene_reference: bad arguments\n");
    return 2;
  }
  static SceneWindow window;
  if (!SceneWindowOpenFormat(&window, width, height, uint32_t(depthBits), uint32_t(stencilBits),
                             atoi(argv[6]) != 0)) {
    fprintf(stderr, "scene_reference: no window\n");
    return 3;
  }
  view(width, height);
  std::vector<uint16_t> pixels(size_t(width) * size_t(height));
  if (entry->front)
    SceneWindowReadFront565(&window, pixels.data());
  else
    SceneWindowRead565(&window, pixels.data());
  SceneWindowClose(&window);
  const bool written =
      fwrite(pixels.data(), sizeof pixels[0], pixels.size(), stdout) == pixels.size();
  return written && fflush(stdout) == 0 ? 0 : 4;
}
