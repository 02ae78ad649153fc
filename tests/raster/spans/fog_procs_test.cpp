// The fog procedures the fog picker installs, against a double-precision
// model of the fog rules: the vertex factor in each mode, the fog of one
// fragment, and the fog of a vertex colour.
#include <gtest/gtest.h>

#include <math.h>

#include "geometry/s_vertex.h"
#include "raster/s_buffers.h"
#include "raster/s_fog.h"
#include "tests/core/services/service_context.h"

namespace {

double Model(GLenum mode, double density, double start, double end, double e) {
  double f;
  switch (mode) {
    case GL_EXP: f = exp(-density * e); break;
    case GL_EXP2: f = exp(-density * density * e * e); break;
    default: f = end == start ? 0.0 : (end - e) / (end - start);
  }
  return f < 0 ? 0 : f > 1 ? 1 : f;
}

struct FogCase {
  const char *name;
  GLenum mode;
  GLfloat density, start, end;
};

const FogCase kCases[] = {
    {"linear", GL_LINEAR, 0, 2.0f, 10.0f},
    {"linear reversed", GL_LINEAR, 0, 10.0f, 2.0f},
    {"linear end == start", GL_LINEAR, 0, 5.0f, 5.0f},
    {"exp", GL_EXP, 0.25f, 0, 0},
    {"exp none", GL_EXP, 0.0f, 0, 0},
    {"exp2", GL_EXP2, 0.3f, 0, 0},
    {"exp2 dense", GL_EXP2, 4.0f, 0, 0},
};
const GLfloat kEyeZ[] = {0.0f, -0.5f, 1.0f, -2.0f, 3.75f, -6.0f, 10.0f, -11.0f, 100.0f};

class FogProcs : public ::testing::Test {
 protected:
  void SetFog(const FogCase &c) {
    GlFogState &fog = gc()->state.fog;
    fog.mode = c.mode;
    fog.density = c.density;
    fog.start = c.start;
    fog.end = c.end;
    fog.oneOverEMinusS = c.end == c.start ? 0.0f : 1.0f / (c.end - c.start);
    fog.color = GlColor{255.0f, 128.0f, 0.0f, 255.0f};  // the context's scale
    fog.scaledColor[0] = 31.0f;                           // the buffer's
    fog.scaledColor[1] = 32.0f;
    fog.scaledColor[2] = 0.0f;
    fog.index = 40.0f;
  }
  GlContext *gc() { return ctx_.gc(); }
  ServiceContext ctx_;
};

TEST_F(FogProcs, VertexFactorFollowsTheModel) {
  for (const FogCase &c : kCases) {
    SetFog(c);
    for (GLfloat z : kEyeZ) {
      SCOPED_TRACE(std::string(c.name) + " z " + std::to_string(z));
      GlVertex v{};
      v.eye.z = z;
      const double expected = Model(c.mode, c.density, c.start, c.end, fabs(z));
      EXPECT_NEAR(__glFogVertex(gc(), &v), expected, 1e-6);
      if (c.mode == GL_LINEAR) {
        EXPECT_NEAR(__glFogVertexLinear(gc(), &v), expected, 1e-6);
      }
    }
  }
}

TEST_F(FogProcs, FragmentBlendsTowardsTheBufferFogColour) {
  for (const FogCase &c : kCases) {
    SetFog(c);
    for (bool rgba : {true, false}) {
      gc()->modes.rgbMode = rgba;
      for (GLfloat z : kEyeZ) {
        SCOPED_TRACE(std::string(c.name) + (rgba ? " rgba" : " index") + " z " +
                     std::to_string(z));
        const double f = Model(c.mode, c.density, c.start, c.end, fabs(z));
        GlFragment frag{};
        frag.color = GlColor{10.0f, 20.0f, 30.0f, 0.25f};
        __glFogFragmentSlow(gc(), &frag, z);
        if (rgba) {
          EXPECT_NEAR(frag.color.r, 10 * f + 31 * (1 - f), 1e-4);
          EXPECT_NEAR(frag.color.g, 20 * f + 32 * (1 - f), 1e-4);
          EXPECT_NEAR(frag.color.b, 30 * f, 1e-4);
        } else {
          EXPECT_NEAR(frag.color.r, 10 + 40 * (1 - f), 1e-4);
          EXPECT_EQ(frag.color.g, 20.0f);
          EXPECT_EQ(frag.color.b, 30.0f);
        }
        EXPECT_EQ(frag.color.a, 0.25f);
      }
    }
  }
}

TEST_F(FogProcs, ColourBlendsTowardsTheVertexFogColour) {
  SetFog(kCases[0]);
  const GLfloat kFactors[] = {0.0f, 0.25f, 0.5f, 1.0f};
  for (bool rgba : {true, false}) {
    gc()->modes.rgbMode = rgba;
    for (GLfloat f : kFactors) {
      SCOPED_TRACE(std::string(rgba ? "rgba " : "index ") + std::to_string(f));
      const GlColor in = {100.0f, 50.0f, 200.0f, 77.0f};
      GlColor out = {-1, -2, -3, -4};
      __glFogColorSlow(gc(), &out, &in, f);
      if (rgba) {
        EXPECT_FLOAT_EQ(out.r, 100 * f + 255 * (1 - f));
        EXPECT_FLOAT_EQ(out.g, 50 * f + 128 * (1 - f));
        EXPECT_FLOAT_EQ(out.b, 200 * f);
        EXPECT_EQ(out.a, 77.0f);
      } else {
        EXPECT_FLOAT_EQ(out.r, 100 + 40 * (1 - f));
        EXPECT_EQ(out.g, -2.0f);  // only the index is written
      }
    }
  }
}

}  // namespace
