// Context copy through a back end's contexts, read back through the state
// queries: the destination, bound before and not current, takes the masked
// groups of the source and keeps everything else; its viewport and scissor
// are applied at its next binding, none of its drawable procedures at the
// copy. A context never bound is refused either way.
//
// A back end runs these by instantiating the suite with a LifeTest that
// provides `GlContext *CreateContext(const GlModes &modes)`. Include it from
// one source file per test program: it defines the tests.
#pragma once

#include <gtest/gtest.h>

#include <string.h>

#include "core/context.h"
#include "core/gl_api.h"
#include "core/gl_get_enums.h"
#include "tests/core/attrib/attrib_groups.h"
#include "tests/core/context/life_fixture.h"
#include "tests/support/counting_imports.h"

namespace copy_scenarios {

template <class BackEnd>
class CopyScenarios : public BackEnd {
 protected:
  // A context bound once, given random state, and released.
  GlContext *Prepared(uint32_t seed, attrib_test::Snapshot *snapshot) {
    GlContext *gc = this->CreateContext(TestModes());
    if (gc == nullptr || !life_test::Bind(gc)) return nullptr;
    attrib_test::Rng rng(seed);
    attrib_test::ChangeServer(gc, rng);
    *snapshot = attrib_test::TakeServer(gc);
    EXPECT_TRUE(life_test::Release(gc));
    return gc;
  }
};

TYPED_TEST_SUITE_P(CopyScenarios);

inline int gDrawableCalls;

TYPED_TEST_P(CopyScenarios, TheMaskedGroupsArriveAndNothingElse) {
  life_test::TestWindow window(64, 48);
  this->UseWindow(&window);
  std::vector<GLbitfield> masks = {0, GL_ENABLE_BIT, GL_ALL_ATTRIB_BITS,
                                   GL_FOG_BIT | GL_TEXTURE_BIT | GL_PIXEL_MODE_BIT,
                                   GL_VIEWPORT_BIT | GL_SCISSOR_BIT | GL_EVAL_BIT};
  for (const attrib_test::StateGroup &g : attrib_test::ServerGroups()) masks.push_back(g.bit);
  uint32_t seed = 1;
  for (GLbitfield mask : masks) {
    SCOPED_TRACE(testing::Message() << "mask 0x" << std::hex << mask);
    attrib_test::Snapshot source, destination;
    GlContext *src = this->Prepared(seed++, &source);
    GlContext *dst = this->Prepared(seed++, &destination);
    ASSERT_NE(src, nullptr);
    ASSERT_NE(dst, nullptr);

    const GlProcs procs = dst->procs;
    dst->procs.applyViewport = [](GlContext *) -> GLbool8 { return GLbool8(++gDrawableCalls); };
    dst->procs.applyScissor = [](GlContext *) -> GLbool8 { return GLbool8(++gDrawableCalls); };
    dst->procs.computeClipBox = [](GlContext *) { ++gDrawableCalls; };
    gDrawableCalls = 0;
    EXPECT_TRUE(dst->exports.copyContext(dst, src, mask));
    EXPECT_EQ(gDrawableCalls, 0) << "the destination has no drawable at the copy";
    dst->procs = procs;

    ASSERT_TRUE(life_test::Bind(dst));
    attrib_test::ExpectRestored(attrib_test::ServerGroups(), mask, attrib_test::TakeServer(dst),
                                source, destination, "copy");
    // The binding applied the copied viewport and scissor: setting them
    // again changes nothing that was derived from them.
    int32_t clipBox[4];
    memcpy(clipBox, dst->transform.clipBox, sizeof clipBox);
    const uint32_t inside = dst->transform.viewportInside;
    GLint v[4], s[4];
    glGetIntegerv(GL_VIEWPORT, v);
    glGetIntegerv(GL_SCISSOR_BOX, s);
    glViewport(v[0], v[1], v[2], v[3]);
    glScissor(s[0], s[1], s[2], s[3]);
    dst->procs.computeClipBox(dst);
    EXPECT_EQ(memcmp(clipBox, dst->transform.clipBox, sizeof clipBox), 0);
    EXPECT_EQ(dst->transform.viewportInside, inside);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    EXPECT_TRUE(life_test::Release(dst));
    src->exports.destroyContext(src);
    this->Destroy(dst);
  }
  this->UseWindow(nullptr);
}

TYPED_TEST_P(CopyScenarios, AContextNeverBoundIsRefused) {
  life_test::TestWindow window(64, 48);
  this->UseWindow(&window);
  attrib_test::Snapshot snapshot, unused;
  GlContext *bound = this->Prepared(5, &snapshot);
  ASSERT_NE(bound, nullptr);
  GlContext *fresh = this->CreateContext(TestModes());
  ASSERT_NE(fresh, nullptr);
  EXPECT_FALSE(bound->exports.copyContext(bound, fresh, GL_ALL_ATTRIB_BITS));
  EXPECT_FALSE(fresh->exports.copyContext(fresh, bound, GL_ALL_ATTRIB_BITS));
  ASSERT_TRUE(life_test::Bind(bound));
  attrib_test::ExpectRestored(attrib_test::ServerGroups(), 0, attrib_test::TakeServer(bound),
                              snapshot, snapshot, "refused copy");
  EXPECT_TRUE(life_test::Release(bound));
  bound->exports.destroyContext(bound);
  this->Destroy(fresh);
  this->UseWindow(nullptr);
}

REGISTER_TYPED_TEST_SUITE_P(CopyScenarios, TheMaskedGroupsArriveAndNothingElse,
                            AContextNeverBoundIsRefused);

}  // namespace copy_scenarios
