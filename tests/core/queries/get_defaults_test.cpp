// The state after the first binding against OpenGL 1.1's tables of initial
// values, on the core's device and on the SiS device. The stencil masks are
// the visual's bits.
#include <gtest/gtest.h>
#include <math.h>

#include <memory>
#include <string>
#include <vector>

#include "core/context.h"
#include "core/gl_api.h"
#include "core/gl_get_enums.h"
#include "core/s_context.h"
#include "pixels/px_enums.h"
#include "tests/core/queries/query_model.h"
#include "tests/sis/context/sis_fixture.h"
#include "tests/support/counting_imports.h"

namespace query_test {
namespace {

struct Default {
  GLenum pname;
  std::vector<long double> values;
};

const long double kIdentity[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

std::vector<Default> Defaults(const GlContext *gc, int width, int height) {
  const long double ones = (1 << gc->modes.stencilBits) - 1;
  std::vector<Default> d = {
      {GL_CURRENT_COLOR, {1, 1, 1, 1}},
      {GL_CURRENT_INDEX, {1}},
      {GL_CURRENT_TEXTURE_COORDS, {0, 0, 0, 1}},
      {GL_CURRENT_NORMAL, {0, 0, 1}},
      {GL_CURRENT_RASTER_POSITION, {0, 0, 0, 1}},
      {GL_CURRENT_RASTER_DISTANCE, {0}},
      {GL_CURRENT_RASTER_COLOR, {1, 1, 1, 1}},
      {GL_CURRENT_RASTER_INDEX, {1}},
      {GL_CURRENT_RASTER_TEXTURE_COORDS, {0, 0, 0, 1}},
      {GL_CURRENT_RASTER_POSITION_VALID, {1}},
      {GL_EDGE_FLAG, {1}},
      {GL_MODELVIEW_MATRIX, {std::begin(kIdentity), std::end(kIdentity)}},
      {GL_PROJECTION_MATRIX, {std::begin(kIdentity), std::end(kIdentity)}},
      {GL_TEXTURE_MATRIX, {std::begin(kIdentity), std::end(kIdentity)}},
      {GL_VIEWPORT, {0, 0, (long double)width, (long double)height}},
      {GL_DEPTH_RANGE, {0, 1}},
      {GL_MODELVIEW_STACK_DEPTH, {1}},
      {GL_PROJECTION_STACK_DEPTH, {1}},
      {GL_TEXTURE_STACK_DEPTH, {1}},
      {GL_MATRIX_MODE, {GL_MODELVIEW}},
      {GL_FOG_COLOR, {0, 0, 0, 0}},
      {GL_FOG_INDEX, {0}},
      {GL_FOG_DENSITY, {1}},
      {GL_FOG_START, {0}},
      {GL_FOG_END, {1}},
      {GL_FOG_MODE, {GL_EXP}},
      {GL_SHADE_MODEL, {GL_SMOOTH}},
      {GL_COLOR_MATERIAL_PARAMETER, {GL_AMBIENT_AND_DIFFUSE}},
      {GL_COLOR_MATERIAL_FACE, {GL_FRONT_AND_BACK}},
      {GL_LIGHT_MODEL_AMBIENT, {0.2, 0.2, 0.2, 1.0}},
      {GL_LIGHT_MODEL_LOCAL_VIEWER, {0}},
      {GL_LIGHT_MODEL_TWO_SIDE, {0}},
      {GL_POINT_SIZE, {1}},
      {GL_LINE_WIDTH, {1}},
      {GL_LINE_STIPPLE_PATTERN, {0xFFFF}},
      {GL_LINE_STIPPLE_REPEAT, {1}},
      {GL_CULL_FACE_MODE, {GL_BACK}},
      {GL_FRONT_FACE, {GL_CCW}},
      {GL_POLYGON_MODE, {GL_FILL, GL_FILL}},
      {GL_POLYGON_OFFSET_FACTOR, {0}},
      {GL_POLYGON_OFFSET_UNITS, {0}},
      {GL_SCISSOR_BOX, {0, 0, (long double)width, (long double)height}},
      {GL_ALPHA_TEST_FUNC, {GL_ALWAYS}},
      {GL_ALPHA_TEST_REF, {0}},
      {GL_STENCIL_FUNC, {GL_ALWAYS}},
      {GL_STENCIL_VALUE_MASK, {ones}},
      {GL_STENCIL_REF, {0}},
      {GL_STENCIL_FAIL, {GL_KEEP}},
      {GL_STENCIL_PASS_DEPTH_FAIL, {GL_KEEP}},
      {GL_STENCIL_PASS_DEPTH_PASS, {GL_KEEP}},
      {GL_DEPTH_FUNC, {GL_LESS}},
      {GL_BLEND_SRC, {GL_ONE}},
      {GL_BLEND_DST, {GL_ZERO}},
      {GL_LOGIC_OP_MODE, {GL_COPY}},
      {GL_DRAW_BUFFER, {GL_BACK}},
      {GL_READ_BUFFER, {GL_BACK}},
      {GL_COLOR_WRITEMASK, {1, 1, 1, 1}},
      {GL_DEPTH_WRITEMASK, {1}},
      {GL_STENCIL_WRITEMASK, {ones}},
      {GL_COLOR_CLEAR_VALUE, {0, 0, 0, 0}},
      {GL_INDEX_CLEAR_VALUE, {0}},
      {GL_DEPTH_CLEAR_VALUE, {1}},
      {GL_STENCIL_CLEAR_VALUE, {0}},
      {GL_ACCUM_CLEAR_VALUE, {0, 0, 0, 0}},
      {GL_UNPACK_SWAP_BYTES, {0}},
      {GL_UNPACK_LSB_FIRST, {0}},
      {GL_UNPACK_ROW_LENGTH, {0}},
      {GL_UNPACK_SKIP_ROWS, {0}},
      {GL_UNPACK_SKIP_PIXELS, {0}},
      {GL_UNPACK_ALIGNMENT, {4}},
      {GL_PACK_SWAP_BYTES, {0}},
      {GL_PACK_LSB_FIRST, {0}},
      {GL_PACK_ROW_LENGTH, {0}},
      {GL_PACK_SKIP_ROWS, {0}},
      {GL_PACK_SKIP_PIXELS, {0}},
      {GL_PACK_ALIGNMENT, {4}},
      {GL_MAP_COLOR, {0}},
      {GL_MAP_STENCIL, {0}},
      {GL_INDEX_SHIFT, {0}},
      {GL_INDEX_OFFSET, {0}},
      {GL_RED_SCALE, {1}},
      {GL_GREEN_SCALE, {1}},
      {GL_BLUE_SCALE, {1}},
      {GL_ALPHA_SCALE, {1}},
      {GL_DEPTH_SCALE, {1}},
      {GL_RED_BIAS, {0}},
      {GL_GREEN_BIAS, {0}},
      {GL_BLUE_BIAS, {0}},
      {GL_ALPHA_BIAS, {0}},
      {GL_DEPTH_BIAS, {0}},
      {GL_ZOOM_X, {1}},
      {GL_ZOOM_Y, {1}},
      {GL_MAP1_GRID_DOMAIN, {0, 1}},
      {GL_MAP1_GRID_SEGMENTS, {1}},
      {GL_MAP2_GRID_DOMAIN, {0, 1, 0, 1}},
      {GL_MAP2_GRID_SEGMENTS, {1, 1}},
      {GL_PERSPECTIVE_CORRECTION_HINT, {GL_DONT_CARE}},
      {GL_POINT_SMOOTH_HINT, {GL_DONT_CARE}},
      {GL_LINE_SMOOTH_HINT, {GL_DONT_CARE}},
      {GL_POLYGON_SMOOTH_HINT, {GL_DONT_CARE}},
      {GL_FOG_HINT, {GL_DONT_CARE}},
      {GL_LIST_BASE, {0}},
      {GL_LIST_INDEX, {0}},
      {GL_LIST_MODE, {0}},
      {GL_ATTRIB_STACK_DEPTH, {0}},
      {GL_CLIENT_ATTRIB_STACK_DEPTH, {0}},
      {GL_NAME_STACK_DEPTH, {0}},
      {GL_RENDER_MODE, {GL_RENDER}},
      {GL_SELECTION_BUFFER_SIZE, {0}},
      {GL_FEEDBACK_BUFFER_SIZE, {0}},
      {GL_FEEDBACK_BUFFER_TYPE, {GL_2D}},
      {GL_TEXTURE_BINDING_1D, {0}},
      {GL_TEXTURE_BINDING_2D, {0}},
      {GL_VERTEX_ARRAY_SIZE, {4}},
      {GL_VERTEX_ARRAY_TYPE, {GL_FLOAT}},
      {GL_VERTEX_ARRAY_STRIDE, {0}},
      {GL_NORMAL_ARRAY_TYPE, {GL_FLOAT}},
      {GL_NORMAL_ARRAY_STRIDE, {0}},
      {GL_COLOR_ARRAY_SIZE, {4}},
      {GL_COLOR_ARRAY_TYPE, {GL_FLOAT}},
      {GL_COLOR_ARRAY_STRIDE, {0}},
      {GL_INDEX_ARRAY_TYPE, {GL_FLOAT}},
      {GL_INDEX_ARRAY_STRIDE, {0}},
      {GL_TEXTURE_COORD_ARRAY_SIZE, {4}},
      {GL_TEXTURE_COORD_ARRAY_TYPE, {GL_FLOAT}},
      {GL_TEXTURE_COORD_ARRAY_STRIDE, {0}},
      {GL_EDGE_FLAG_ARRAY_STRIDE, {0}},
      {GL_INDEX_MODE, {0}},
      {GL_RGBA_MODE, {1}},
      {GL_DOUBLEBUFFER, {1}},
      {GL_STEREO, {0}},
      {GL_AUX_BUFFERS, {0}},
  };
  for (GLenum i = 0; i < 10; ++i) d.push_back({GL_PIXEL_MAP_I_TO_I_SIZE + i, {1}});
  const GLenum off[] = {GL_ALPHA_TEST,
                        GL_AUTO_NORMAL,
                        GL_BLEND,
                        GL_COLOR_LOGIC_OP,
                        GL_COLOR_MATERIAL,
                        GL_CULL_FACE,
                        GL_DEPTH_TEST,
                        GL_FOG,
                        GL_INDEX_LOGIC_OP,
                        GL_LIGHTING,
                        GL_LINE_SMOOTH,
                        GL_LINE_STIPPLE,
                        GL_NORMALIZE,
                        GL_POINT_SMOOTH,
                        GL_POLYGON_OFFSET_FILL,
                        GL_POLYGON_OFFSET_LINE,
                        GL_POLYGON_OFFSET_POINT,
                        GL_POLYGON_SMOOTH,
                        GL_POLYGON_STIPPLE,
                        GL_SCISSOR_TEST,
                        GL_STENCIL_TEST,
                        GL_TEXTURE_1D,
                        GL_TEXTURE_2D,
                        GL_TEXTURE_GEN_S,
                        GL_TEXTURE_GEN_T,
                        GL_TEXTURE_GEN_R,
                        GL_TEXTURE_GEN_Q,
                        GL_VERTEX_ARRAY,
                        GL_NORMAL_ARRAY,
                        GL_COLOR_ARRAY,
                        GL_INDEX_ARRAY,
                        GL_TEXTURE_COORD_ARRAY,
                        GL_EDGE_FLAG_ARRAY};
  for (GLenum cap : off) d.push_back({cap, {0}});
  for (GLenum i = 0; i < 8; ++i) d.push_back({GL_LIGHT0 + i, {0}});
  for (GLenum i = 0; i < 6; ++i) d.push_back({GL_CLIP_PLANE0 + i, {0}});
  for (GLenum m = 0; m < 9; ++m) {
    d.push_back({GL_MAP1_COLOR_4 + m, {0}});
    d.push_back({GL_MAP2_COLOR_4 + m, {0}});
  }
  d.push_back({GL_DITHER, {1}});
  return d;
}

enum class Device { kCore, kSiS };

class GetDefaults : public sis_test::SiSLifeTest, public testing::WithParamInterface<Device> {
 protected:
  void SetUp() override {
    SiSLifeTest::SetUp();
    window_ = std::make_unique<life_test::TestWindow>(64, 48);
    UseWindow(window_.get());
    const GlModes modes = TestModes();
    gc_ = GetParam() == Device::kSiS ? CreateSiS(modes) : __glCoreCreateContext(&imports, &modes);
    ASSERT_NE(gc_, nullptr);
    ASSERT_TRUE(life_test::Bind(gc_));
  }
  void TearDown() override {
    if (gc_) {
      EXPECT_TRUE(life_test::Release(gc_));
      gc_->exports.destroyContext(gc_);
    }
    SiSLifeTest::TearDown();
  }

  GlContext *gc_ = nullptr;

 private:
  std::unique_ptr<life_test::TestWindow> window_;
};

TEST_P(GetDefaults, MatchTheInitialStateTables) {
  for (const Default &d : Defaults(gc_, 64, 48)) {
    const std::string what = "pname 0x" + [&] {
      char hex[16];
      snprintf(hex, sizeof hex, "%04X", d.pname);
      return std::string(hex);
    }();
    std::vector<GLfloat> want(d.values.begin(), d.values.end());
    ExpectWritten<GLfloat>(
        want, [&](GLfloat *p) { glGetFloatv(d.pname, p); }, what, 1e-6);
    EXPECT_EQ(gc_->error, GLenum(GL_NO_ERROR)) << what;
  }
}

INSTANTIATE_TEST_SUITE_P(Devices, GetDefaults, testing::Values(Device::kCore, Device::kSiS),
                         [](const testing::TestParamInfo<Device> &i) {
                           return i.param == Device::kSiS ? "SiS" : "Core";
                         });

}  // namespace
}  // namespace query_test
