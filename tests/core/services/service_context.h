// A zeroed context on the counting allocator with the limits the services
// read, for tests that need no binding. Blocks come from the counting
// allocator: tests compare Live() with its value before the services ran.
#pragma once

#include <stdlib.h>

#include "core/context.h"
#include "tests/support/counting_imports.h"

class ServiceContext {
 public:
  ServiceContext() : gc_(static_cast<GlContext *>(calloc(1, sizeof(GlContext)))) {
    gc_->imports = CountingImports::imports;
    gc_->renderMode = GL_RENDER;
    GlConstants &k = gc_->constants;
    k.half = 0.5f;
    k.one = 1.0f;
    k.numberOfLights = 8;
    k.numberOfClipPlanes = 6;
    k.numberOfTextures = 1;
    k.numberOfTextureEnvs = 1;
    k.maxMipMapLevel = 11;
    k.maxAttribStackDepth = 16;
    k.maxClientAttribStackDepth = 16;
    k.redScale = k.greenScale = k.blueScale = k.alphaScale = 255.0f;
  }
  ~ServiceContext() {
    CountingImports::failAllocation(0);
    free(gc_);
  }
  ServiceContext(const ServiceContext &) = delete;
  ServiceContext &operator=(const ServiceContext &) = delete;

  GlContext *gc() const { return gc_; }
  static int Live() { return CountingImports::live(); }

 private:
  GlContext *gc_;
};
