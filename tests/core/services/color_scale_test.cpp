// __glScaleColorf: each component times its own scale, no clamp, in place
// or into another record.
#include <gtest/gtest.h>

#include "geometry/s_color.h"
#include "tests/core/services/service_context.h"

namespace {

TEST(ScaleColor, EachComponentTakesItsOwnScaleWithoutClamping) {
  struct Case {
    const char *what;
    GLfloat red, green, blue, alpha;  // the context's scales
    GlColor in, out;
  } cases[] = {
      {"full intensity", 255, 255, 255, 255, {1, 1, 1, 1}, {255, 255, 255, 255}},
      {"above one stays above the scale", 255, 255, 255, 255, {2, 2, 2, 2}, {510, 510, 510, 510}},
      {"negative stays negative", 255, 255, 255, 255, {-0.5f, 0, 0.5f, 1},
       {-127.5f, 0, 127.5f, 255}},
      // Green is stored after blue: distinct scales catch a swapped pair.
      {"components pair with their scales", 31, 63, 15, 1, {1, 1, 1, 1}, {31, 63, 15, 1}},
      {"and scale independently", 2, 3, 5, 7, {0.5f, 2, 4, 8}, {1, 6, 20, 56}},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    ServiceContext ctx;
    GlConstants &k = ctx.gc()->constants;
    k.redScale = c.red, k.greenScale = c.green, k.blueScale = c.blue, k.alphaScale = c.alpha;
    GlColor out{};
    __glScaleColorf(ctx.gc(), &out, &c.in);
    EXPECT_EQ(out.r, c.out.r);
    EXPECT_EQ(out.g, c.out.g);
    EXPECT_EQ(out.b, c.out.b);
    EXPECT_EQ(out.a, c.out.a);
    GlColor same = c.in;
    __glScaleColorf(ctx.gc(), &same, &same);
    EXPECT_EQ(same.r, c.out.r);
    EXPECT_EQ(same.g, c.out.g);
    EXPECT_EQ(same.b, c.out.b);
    EXPECT_EQ(same.a, c.out.a);
  }
}

}  // namespace
