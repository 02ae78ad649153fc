// Stage tests with pixel-transfer state: maps set through the map entry,
// and the pixel picker run as validation runs it, so that the modify flags
// and the default colour follow the state.
#pragma once

#include <vector>

#include "core/gl_entries.h"
#include "core/s_pick.h"
#include "pixels/px_enums.h"
#include "pixels/px_modify.h"
#include "tests/pixels/unpack/stage_fixture.h"

namespace span_stage_test {

class ModifyTest : public StageTest {
 protected:
  void SetUp() override {
    StageTest::SetUp();
    gc->constants.maxPixelMapTable = 65536;
  }
  GlPixelTransferMode &transfer() { return gc->pixel.transferMode; }
  void SetMap(GLenum map, const std::vector<GLfloat> &values) {
    __glim_PixelMapfv(map, GLsizei(values.size()), values.data());
    ASSERT_EQ(gc->error, GLenum(GL_NO_ERROR));
  }
  // What validation derives from the transfer state.
  void Validate() { __glGenericPickPixelProcs(gc); }
  // The colour-buffer scale of each component.
  float Scale(int c) const {
    const float s[4] = {buffer.redScale, buffer.greenScale, buffer.blueScale, buffer.alphaScale};
    return s[c];
  }
};

// A colour map of `size` entries with distinct values in [0, 1].
inline std::vector<GLfloat> Ramp(int size, int salt) {
  std::vector<GLfloat> v(size);
  for (int i = 0; i < size; i++) v[i] = GLfloat((i * 7 + salt) % (size + 3)) / GLfloat(size + 2);
  return v;
}

}  // namespace span_stage_test
