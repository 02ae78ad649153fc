// Client images packed with __glFillImageWithModes, checked against a
// reference unpacker written from OpenGL 1.1's client-image layout: a
// context current on the thread (for the errors), the client image placed
// right before an unreadable page so that reading past it faults, and the
// packed output fenced by guard bytes.
#pragma once

#include <gtest/gtest.h>

#include <stdint.h>

#include <vector>

#include "core/current.h"
#include "pixels/px_state.h"
#include "tests/core/services/service_context.h"

namespace fill_image_test {

// One client image: its size, format and type.
struct Shape {
  int width, height, depth;
  GLenum format, type;
};

// The bytes past the client pointer that the image reaches under `m`.
size_t ClientReach(const GlPixelStoreModes &m, const Shape &s);
// The packed image, element by element (bit by bit for bitmaps).
std::vector<uint8_t> ReferencePack(const GlPixelStoreModes &m, const Shape &s,
                                   const uint8_t *client);
// Random bytes from a seed.
std::vector<uint8_t> Noise(size_t bytes, uint32_t seed);

class FillTest : public testing::Test {
 protected:
  void SetUp() override {
    previous_ = __glGetTLSCXValue();
    __glSetTLSCXValue(context_.gc());
  }
  void TearDown() override { __glSetTLSCXValue(previous_); }
  GlContext *gc() const { return context_.gc(); }
  // The recorded error, cleared.
  GLenum TakeError() {
    const GLenum e = gc()->error;
    gc()->error = GL_NO_ERROR;
    return e;
  }

 private:
  ServiceContext context_;
  GlContext *previous_ = nullptr;
};

}  // namespace fill_image_test
