// A small window with a full core context for comparing what a display list
// draws and defines with what the same calls do immediately: 2D projection
// in window units, the unpack modes set by table, client memory of a fixed
// pattern, and the results read back as bytes.
#pragma once

#include <gtest/gtest.h>

#include <stdint.h>

#include <vector>

#include "core/context.h"
#include "tools/scene_window.h"

namespace list_images {

constexpr int32_t kWidth = 32, kHeight = 24;

struct UnpackModes {
  const char *name;
  GLint alignment, rowLength, skipRows, skipPixels;
  GLboolean swapBytes, lsbFirst;
};
extern const UnpackModes kDefaultModes;
void SetUnpackModes(const UnpackModes &m);

// Client memory: bytes of a fixed pattern with no zero, enough for every
// image of the tests under any of their modes.
std::vector<uint8_t> ClientPattern();

class ListWindowTest : public testing::Test {
 public:
  void SetUp() override { Open(); }
  void TearDown() override { SceneWindowClose(&window); }
  // A fresh window and context: a run starts from the default state; 0
  // stencil bits for a window without a stencil buffer.
  void Reopen(uint32_t stencilBits = 8);
  // The back buffer's pixels as bytes, top row first.
  std::vector<uint8_t> Frame() const;
  GLenum TakeError();
  // The ops of the list being compiled: how many, their codes.
  int OpsSoFar() const;
  std::vector<int> OpCodesSoFar() const;

  SceneWindow window{};
  GlContext *gc = nullptr;

 private:
  void Open(uint32_t stencilBits = 8);
};

}  // namespace list_images
