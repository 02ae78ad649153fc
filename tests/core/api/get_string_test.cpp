// glGetString through the API entry, as an application calls it.
#include <gtest/gtest.h>

#include "core/context.h"
#include "core/gl_api.h"
#include "tests/core/api/bound_context.h"

namespace {

struct StringCase {
  GLenum name;
  const char *expected;  // null: no string
  GLenum error;
};

const StringCase kCases[] = {
    {GL_VENDOR, "vendor", GL_NO_ERROR},
    {GL_RENDERER, "renderer", GL_NO_ERROR},
    {GL_VERSION, "version", GL_NO_ERROR},
    {GL_EXTENSIONS, "extensions", GL_NO_ERROR},
    {GL_VENDOR - 1, nullptr, GL_INVALID_ENUM},
    {GL_EXTENSIONS + 1, nullptr, GL_INVALID_ENUM},
    {0, nullptr, GL_INVALID_ENUM},
};

class GetString : public testing::TestWithParam<StringCase> {
 protected:
  void SetUp() override {
    GlConstants &c = bound_.gc()->constants;
    c.vendor = "vendor";
    c.renderer = "renderer";
    c.version = "version";
    c.extensions = "extensions";
  }
  BoundContext bound_;
};

TEST_P(GetString, GivesTheContextsStringOrRecordsTheError) {
  const StringCase &c = GetParam();
  const GLubyte *s = glGetString(c.name);
  if (c.expected) {
    ASSERT_NE(s, nullptr);
    EXPECT_STREQ(reinterpret_cast<const char *>(s), c.expected);
  } else {
    EXPECT_EQ(s, nullptr);
  }
  EXPECT_EQ(bound_.gc()->error, c.error);
}

TEST_P(GetString, InsideBeginGivesNothingAndRecordsInvalidOperation) {
  bound_.gc()->beginMode = __GL_IN_BEGIN;
  EXPECT_EQ(glGetString(GetParam().name), nullptr);
  EXPECT_EQ(bound_.gc()->error, GLenum(GL_INVALID_OPERATION));
}

INSTANTIATE_TEST_SUITE_P(Names, GetString, testing::ValuesIn(kCases));

}  // namespace
