// A context for the lighting tests: on the counting allocator, with eight
// lights, the transform state, the table cache and the initial lighting
// state of a reset context (colours scaled), bound to nothing. Destroying
// it runs the real context destruction and expects every block back, the
// tables the light and material caches held included.
#pragma once

#include <stdint.h>

#include <vector>

#include "core/context.h"

struct LightSetup {
  bool colorIndex = false;
  uint32_t indexBits = 8;
  GlCpuFlags cpu = 0;
  // The context's colour scales: distinct values catch swapped components.
  GLfloat red = 255.0f, green = 255.0f, blue = 255.0f, alpha = 255.0f;
};

class LightContext {
 public:
  explicit LightContext(const LightSetup &setup = LightSetup());
  ~LightContext();
  LightContext(const LightContext &) = delete;
  LightContext &operator=(const LightContext &) = delete;

  GlContext *gc() const { return gc_; }
  GlLight &light(int i) const { return gc_->state.light.source[i]; }
  GlLightCache &cache(int i) const { return gc_->light.lightCaches[i]; }
  GlMaterial &material(int face) const {
    return face == __GL_FRONTFACE ? gc_->state.light.front : gc_->state.light.back;
  }
  GlMaterialCache &materialCache(int face) const { return gc_->light.materialCache[face]; }

  void setEnable(uint32_t bit, bool on);
  void setLights(uint32_t mask) { gc_->state.enables.lights = mask; }
  // A new modelview top: its inverse transpose is stale until validation.
  void setModelView(const GLfloat m[16]);

  // What validation does when lighting state changed.
  void validate();
  // Indices of the lights in the enabled list, in list order.
  std::vector<int> enabledList() const;
  // The references each held table has, checked against its holders: the
  // cache itself, every light cache (enabled or not) and both material caches.
  void expectTableReferencesBalanced() const;
  // Two contexts alive at once allocate in turns: their owner checks the
  // blocks of both instead.
  void skipBlockCheck() { checkBlocks_ = false; }

 private:
  GlContext *gc_;
  int liveBefore_;
  bool checkBlocks_ = true;
};

// Whether |got - want| is within a relative tolerance (absolute near 0).
bool Near(double got, double want, double tolerance = 2e-5);
