// Error ops: an error found while compiling is recorded as an op that raises
// it each time the list runs (and at once in GL_COMPILE_AND_EXECUTE).
#include <gtest/gtest.h>

#include "core/gl_api.h"
#include "dlist/dl_error_ops.h"
#include "dlist/dl_op.h"
#include "tests/dlist/fixture/dlist_fixture.h"

namespace dlist_test {
namespace {

struct ErrorOpCase {
  GLenum code;  // handed to __gllc_Error
  GlDlistExecProc execute;  // the word the list holds; null: no op
};

const ErrorOpCase kErrorOpCases[] = {
    {GL_INVALID_ENUM, __glle_InvalidEnum},
    {GL_INVALID_VALUE, __glle_InvalidValue},
    {GL_INVALID_OPERATION, __glle_InvalidOperation},
    {GL_TABLE_TOO_LARGE_EXT, __glle_TableTooLarge},
    {GL_STACK_OVERFLOW, nullptr},
    {GL_OUT_OF_MEMORY, nullptr},
};

class ErrorOps : public DlistTest, public testing::WithParamInterface<ErrorOpCase> {};

TEST_P(ErrorOps, RaiseTheirErrorWhenTheListRunsAndAtOnceWhenExecuting) {
  const ErrorOpCase &c = GetParam();
  const GLenum raised = c.execute ? c.code : GLenum(GL_NO_ERROR);
  glNewList(5, GL_COMPILE);
  __gllc_Error(gc, c.code);
  EXPECT_EQ(TakeError(), GLenum(GL_NO_ERROR)) << "not while compiling";
  glEndList();
  std::vector<uintptr_t> words = CodeWords(BoundList(gc, 5));
  if (c.execute) {
    ASSERT_EQ(words.size(), 2u) << "no data";
    EXPECT_EQ(words[0], reinterpret_cast<uintptr_t>(c.execute));
  } else {
    EXPECT_TRUE(words.empty()) << "nothing recorded";
  }
  for (int run = 0; run < 2; ++run) {
    glCallList(5);
    EXPECT_EQ(TakeError(), raised);
  }

  glNewList(6, GL_COMPILE_AND_EXECUTE);
  __gllc_Error(gc, c.code);
  EXPECT_EQ(TakeError(), raised);
  glEndList();
}

INSTANTIATE_TEST_SUITE_P(Table, ErrorOps, testing::ValuesIn(kErrorOpCases),
                         [](const auto &info) { return std::to_string(info.param.code); });

TEST_F(DlistTest, TheUnimplementedExtensionOpRaisesInvalidOperation) {
  glNewList(5, GL_COMPILE);
  __glDlistAppendEmptyOp(gc, 1013, __glle_UnimplementedExtension);
  glEndList();
  std::vector<uintptr_t> words = CodeWords(BoundList(gc, 5));
  ASSERT_EQ(words.size(), 2u);
  EXPECT_EQ(words[0], reinterpret_cast<uintptr_t>(&__glle_UnimplementedExtension))
      << "taken from the generic op table";
  glCallList(5);
  EXPECT_EQ(TakeError(), GLenum(GL_INVALID_OPERATION));
}

}  // namespace
}  // namespace dlist_test
