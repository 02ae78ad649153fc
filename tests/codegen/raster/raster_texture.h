// A 2D texture of one level for the raster generator's tests: the level's
// image and its copy in the frame buffer's format, the environment, and the
// object made current on a context.
#pragma once

#include <stdint.h>

#include <vector>

#include "core/context.h"

namespace raster_test {

struct TestTexture {
  GlTextureObject object{};
  GlTextureLevel level{};
  GlTextureLevel *levels[1] = {&level};
  GlTextureEnv env{};
  std::vector<uint8_t> image, copy;

  // A widthLog2 x heightLog2 texture of base format `format` under `mode`,
  // current on `gc`; texturing's flag is the caller's.
  TestTexture(GlContext *gc, int32_t widthLog2, int32_t heightLog2, GLenum format, GLenum mode) {
    level.widthLog2 = widthLog2;
    level.heightLog2 = heightLog2;
    level.width = level.width2 = 1 << widthLog2;
    level.height = level.height2 = 1 << heightLog2;
    level.baseFormat = format;
    image.assign(size_t(level.width) * size_t(level.height) * 4, 0x5A);
    level.image = image.data();
    object.levels = levels;
    object.baseFormat = format;
    object.minFilter = object.magFilter = GL_NEAREST;
    env.mode = mode;
    gc->texture.current = &object;
    gc->texture.env = &env;
  }
  void WithCopy(bool on) {
    copy.assign(image.size(), 0x33);
    level.auxImage = on ? copy.data() : nullptr;
  }
};

}  // namespace raster_test
