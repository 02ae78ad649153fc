// Small fixtures for the texture and pixel picker tests: a zeroed RGBA
// context with one texture environment, texture objects whose levels a
// test defines, and a recorder of stand-in calls.
#pragma once

#include <string>
#include <vector>

#include "core/context.h"
#include "core/s_standin.h"
#include "pixels/px_texture.h"
#include "tests/core/services/service_context.h"

// A zeroed context (ServiceContext) made RGBA, with one environment in
// GL_MODULATE and the texture defaults of the reset.
class PickerContext {
 public:
  PickerContext() {
    GlContext *g = ctx_.gc();
    g->modes.rgbMode = 1;
    env_.mode = GL_MODULATE;
    g->texture.env = &env_;
    __glInitTextureState(g);
  }
  ~PickerContext() { ctx_.gc()->texture.env = nullptr; }
  GlContext *gc() const { return ctx_.gc(); }
  void SetColorIndex() {
    gc()->modes.rgbMode = 0;
    gc()->modes.colorIndexMode = 1;
  }
  GlTextureEnv &env() { return env_; }

 private:
  ServiceContext ctx_;
  GlTextureEnv env_ = {};
};

// A texture object with the context's eleven levels, all empty until a test
// defines them.
class TestTexture {
 public:
  static constexpr int kLevels = 11;
  explicit TestTexture(int32_t dim = 2) {
    for (int i = 0; i < kLevels; ++i) {
      levels_[i].requestedFormat = 1;
      pointers_[i] = &levels_[i];
    }
    tex_.levels = pointers_;
    tex_.dim = dim;
    tex_.minFilter = GL_NEAREST;
    tex_.magFilter = GL_NEAREST;
    tex_.wrapS = tex_.wrapT = GL_REPEAT;
    tex_.colorTable.internalFormat = GL_RGBA;
  }
  TestTexture(const TestTexture &) = delete;
  TestTexture &operator=(const TestTexture &) = delete;

  GlTextureObject *get() { return &tex_; }
  GlTextureLevel &level(int i) { return levels_[i]; }

  // Level i with interior size w x h (h 1 for a 1D level), the border and
  // the format; the requested format is the base format.
  void Define(int i, int32_t w, int32_t h, int32_t border, GLenum format) {
    GlTextureLevel &l = levels_[i];
    l = GlTextureLevel{};
    l.width2 = w;
    l.height2 = h;
    l.depth2 = 1;
    l.border = border;
    l.width = w + 2 * border;
    l.height = h + 2 * border;
    l.depth = 1 + 2 * border;
    l.area = l.width * l.height;
    l.width2f = GLfloat(w);
    l.height2f = GLfloat(h);
    l.depth2f = 1.0f;
    l.requestedFormat = format;
    l.baseFormat = format;
  }
  // Level 0 of w x h and every smaller level down to 1 x 1.
  void DefineChain(int32_t w, int32_t h, int32_t border, GLenum format) {
    for (int i = 0; i < kLevels; ++i) {
      Define(i, w, h, border, format);
      if (w == 1 && h == 1) break;
      w = w > 1 ? w / 2 : 1;
      h = h > 1 ? h / 2 : 1;
    }
  }

 private:
  GlTextureObject tex_ = {};
  GlTextureLevel levels_[kLevels] = {};
  GlTextureLevel *pointers_[kLevels] = {};
};

// Records the names of the stand-ins called while it lives.
class StandInRecorder {
 public:
  StandInRecorder() {
    calls().clear();
    __glStandInHook = [](const char *name) { calls().push_back(name); };
  }
  ~StandInRecorder() { __glStandInHook = nullptr; }
  static std::vector<std::string> &calls() {
    static std::vector<std::string> names;
    return names;
  }
};
