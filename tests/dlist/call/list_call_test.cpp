// Calling lists: the errors of the name and call commands and of their
// compiled forms, list names, every name type of glCallLists with the list
// base, batches, the nesting limit and the op of an oversized name array.
#include <gtest/gtest.h>

#include <math.h>
#include <string.h>

#include <algorithm>
#include <functional>
#include <set>

#include "core/gl_api.h"
#include "dlist/dl_call.h"
#include "dlist/dl_list_ops.h"
#include "tests/dlist/fixture/dlist_fixture.h"

namespace dlist_test {
namespace {

const GLint kNames[2] = {1, 2};

struct ErrorCase {
  const char *what;
  std::function<void()> call;
  bool inBegin;
  GLenum immediate;  // the error of the call outside a list
  GLenum compiled;   // recorded while compiling (commands that run at once)
  GLenum listRun;    // recorded each time the compiled list runs
  bool recorded;     // the list holds an op
};

const ErrorCase kErrorCases[] = {
    {"glCallList(0)", [] { glCallList(0); }, false, GL_INVALID_VALUE, GL_NO_ERROR, GL_INVALID_ENUM,
     true},
    {"glCallLists n -1", [] { glCallLists(-1, GL_INT, kNames); }, false, GL_INVALID_VALUE,
     GL_NO_ERROR, GL_INVALID_VALUE, true},
    {"glCallLists n 0 type 0x1234", [] { glCallLists(0, 0x1234, kNames); }, false,
     GL_INVALID_ENUM, GL_NO_ERROR, GL_NO_ERROR, true},
    {"glCallLists n 2 type 0x1234", [] { glCallLists(2, 0x1234, kNames); }, false,
     GL_INVALID_ENUM, GL_NO_ERROR, GL_INVALID_ENUM, true},
    {"glCallLists n -1 type 0x1234", [] { glCallLists(-1, 0x1234, kNames); }, false,
     GL_INVALID_VALUE, GL_NO_ERROR, GL_INVALID_VALUE, true},
    {"glCallLists without names", [] { glCallLists(2, GL_INT, nullptr); }, false, GL_NO_ERROR,
     GL_NO_ERROR, GL_NO_ERROR, false},
    {"glCallLists n 0 without names", [] { glCallLists(0, GL_INT, nullptr); }, false, GL_NO_ERROR,
     GL_NO_ERROR, GL_NO_ERROR, true},
    {"glCallList inside glBegin", [] { glCallList(77); }, true, GL_NO_ERROR, GL_NO_ERROR,
     GL_NO_ERROR, true},
    {"glListBase inside glBegin", [] { glListBase(3); }, true, GL_INVALID_OPERATION, GL_NO_ERROR,
     GL_NO_ERROR, true},
    {"glDeleteLists range -1", [] { glDeleteLists(1, -1); }, false, GL_INVALID_VALUE,
     GL_INVALID_VALUE, GL_NO_ERROR, false},
    {"glDeleteLists inside glBegin", [] { glDeleteLists(1, 1); }, true, GL_INVALID_OPERATION,
     GL_INVALID_OPERATION, GL_NO_ERROR, false},
    {"glGenLists range -1", [] { glGenLists(-1); }, false, GL_INVALID_VALUE, GL_INVALID_VALUE,
     GL_NO_ERROR, false},
    {"glGenLists inside glBegin", [] { glGenLists(1); }, true, GL_INVALID_OPERATION,
     GL_INVALID_OPERATION, GL_NO_ERROR, false},
    {"glIsList inside glBegin", [] { EXPECT_FALSE(glIsList(1)); }, true, GL_INVALID_OPERATION,
     GL_INVALID_OPERATION, GL_NO_ERROR, false},
};

class CallErrors : public DlistTest, public testing::WithParamInterface<ErrorCase> {
 protected:
  // The call with beginMode as the case asks; the error it left.
  GLenum Call(const ErrorCase &c) {
    if (c.inBegin) gc->beginMode = __GL_IN_BEGIN;
    c.call();
    gc->beginMode = __GL_NOT_IN_BEGIN;
    return TakeError();
  }
};

TEST_P(CallErrors, InAndOutOfAList) {
  const ErrorCase &c = GetParam();
  EXPECT_EQ(Call(c), c.immediate) << "immediate";

  glNewList(5, GL_COMPILE);
  EXPECT_EQ(Call(c), c.compiled) << "compiled";
  glEndList();
  GlDlist *list = BoundList(gc, 5);
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(list->code != nullptr, c.recorded);
  for (int run = 0; run < 2; ++run) {
    glCallList(5);
    EXPECT_EQ(TakeError(), c.listRun) << "run " << run;
  }
}

INSTANTIATE_TEST_SUITE_P(Table, CallErrors, testing::ValuesIn(kErrorCases), [](const auto &info) {
  std::string name = info.param.what;
  for (char &ch : name)
    if (!isalnum(static_cast<unsigned char>(ch))) ch = '_';
  return name;
});

TEST_F(DlistTest, GenListsReservesFreshRunsThatIsListSeesBeforeAnyIsCompiled) {
  EXPECT_EQ(glGenLists(0), 0u);
  EXPECT_EQ(TakeError(), GLenum(GL_NO_ERROR));
  MakeRecordingList(2, {2});
  const GLuint first = glGenLists(3);
  ASSERT_NE(first, 0u);
  EXPECT_TRUE(first > 2 || first + 2 < 2) << "list 2 was in use";
  for (GLuint n = first; n < first + 3; ++n) EXPECT_TRUE(glIsList(n)) << n;
  EXPECT_FALSE(glIsList(first + 3));
  EXPECT_FALSE(glIsList(0));
  // A reserved name without a list runs nothing and is no error.
  glCallList(first);
  EXPECT_TRUE(TakeSeen().empty());
  EXPECT_EQ(TakeError(), GLenum(GL_NO_ERROR));

  const GLuint next = glGenLists(2);
  EXPECT_TRUE(next + 1 < first || next > first + 2) << "no name handed out twice";

  glDeleteLists(first, 0);
  EXPECT_TRUE(glIsList(first));
  glDeleteLists(first, 2);
  EXPECT_FALSE(glIsList(first));
  EXPECT_FALSE(glIsList(first + 1));
  EXPECT_TRUE(glIsList(first + 2));
  // A range past the last name stops there.
  MakeRecordingList(0xFFFFFFFFu, {9});
  glDeleteLists(0xFFFFFFF0u, 0x7FFFFFFF);
  EXPECT_EQ(TakeError(), GLenum(GL_NO_ERROR));
  EXPECT_FALSE(glIsList(0xFFFFFFFFu));
  EXPECT_TRUE(glIsList(2));
}

TEST_F(DlistTest, TheOpOfFiveByteNamesHoldsSixteenBytes) {
  const GLubyte names[5] = {1, 2, 3, 4, 5};
  glNewList(5, GL_COMPILE);
  glCallLists(5, GL_UNSIGNED_BYTE, names);
  glEndList();
  std::vector<uintptr_t> words = CodeWords(BoundList(gc, 5));
  ASSERT_EQ(words.size(), 6u) << "the execute word, four data words, the sentinel";
  EXPECT_EQ(words[0], reinterpret_cast<uintptr_t>(&__glle_CallLists));
  const uint32_t *data = BoundList(gc, 5)->code + 1;
  EXPECT_EQ(data[0], 5u);
  EXPECT_EQ(data[1], GLenum(GL_UNSIGNED_BYTE));
  EXPECT_EQ(memcmp(data + 2, names, 5), 0);
  EXPECT_EQ(reinterpret_cast<uintptr_t>(data[4]), reinterpret_cast<uintptr_t>(&__glle_Sentinel))
      << "16 bytes of data, then the sentinel";
}

TEST_F(DlistTest, AListCalledWhileCompilingAndExecutingRunsOnceAndOnlyTheCallIsRecorded) {
  MakeRecordingList(2, {1, 2});
  glNewList(3, GL_COMPILE_AND_EXECUTE);
  glCallList(2);
  EXPECT_EQ(SeenIds(TakeSeen()), (std::vector<uint32_t>{1, 2}));
  glEndList();
  EXPECT_TRUE(TakeSeen().empty());
  std::vector<uintptr_t> words = CodeWords(BoundList(gc, 3));
  ASSERT_EQ(words.size(), 3u);
  EXPECT_EQ(words[0], reinterpret_cast<uintptr_t>(&__glle_CallList));
  EXPECT_EQ(words[1], 2u);
  // The call is by name: running 3 runs whatever 2 holds then.
  MakeRecordingList(2, {7});
  glCallList(3);
  EXPECT_EQ(SeenIds(TakeSeen()), (std::vector<uint32_t>{7}));
}

// ---- glCallLists name types ----------------------------------------------------------------

struct TypeCase {
  const char *what;
  GLenum type;
  std::vector<GLubyte> bytes;
  GLuint base;
  std::vector<uint32_t> names;  // the lists run, in order (0: none)
};

template <typename T>
std::vector<GLubyte> Bytes(std::initializer_list<T> values) {
  std::vector<GLubyte> bytes(values.size() * sizeof(T));
  memcpy(bytes.data(), values.begin(), bytes.size());
  return bytes;
}

const TypeCase kTypeCases[] = {
    {"GL_BYTE", GL_BYTE, Bytes<GLbyte>({1, -1, 3}), 5, {6, 4, 8}},
    {"GL_UNSIGNED_BYTE", GL_UNSIGNED_BYTE, Bytes<GLubyte>({255, 0}), 1, {256, 1}},
    {"GL_SHORT", GL_SHORT, Bytes<GLshort>({-2, 300}), 10, {8, 310}},
    {"GL_UNSIGNED_SHORT", GL_UNSIGNED_SHORT, Bytes<GLushort>({65535, 4}), 0, {65535, 4}},
    {"GL_INT", GL_INT, Bytes<GLint>({7, -1}), 3, {10, 2}},
    {"GL_UNSIGNED_INT", GL_UNSIGNED_INT, Bytes<GLuint>({0x10000, 0xFFFFFFFFu}), 2, {0x10002, 1}},
    {"GL_FLOAT", GL_FLOAT, Bytes<GLfloat>({2.7f, NAN, 1e30f, -1.5f, 65536.0f}), 3,
     {5, 1, 65539}},
    {"GL_2_BYTES", GL_2_BYTES, {0x01, 0x02, 0x00, 0x07}, 0, {0x0102, 7}},
    {"GL_3_BYTES", GL_3_BYTES, {0x01, 0x00, 0x03, 0x00, 0x00, 0x09}, 1, {0x010004, 10}},
    {"GL_4_BYTES", GL_4_BYTES, {0x00, 0x01, 0x00, 0x05, 0x00, 0x00, 0x01, 0x00}, 0,
     {0x10005, 0x100}},
};

class CallListsTypes : public DlistTest, public testing::WithParamInterface<TypeCase> {};

TEST_P(CallListsTypes, RunTheNamedListsWithTheBaseAdded) {
  const TypeCase &c = GetParam();
  for (uint32_t name : c.names) MakeRecordingList(name, {name});
  const GLsizei n = GLsizei(c.bytes.size() / __glCallListsNameSize(c.type));

  glListBase(c.base);
  glCallLists(n, c.type, c.bytes.data());
  EXPECT_EQ(SeenIds(TakeSeen()), c.names) << "immediate";
  EXPECT_EQ(TakeError(), GLenum(GL_NO_ERROR));

  // Compiled, the names are copied and the base is the one of the run.
  glListBase(c.base + 1000);
  glNewList(50000, GL_COMPILE);
  std::vector<GLubyte> copy = c.bytes;
  glCallLists(n, c.type, copy.data());
  glEndList();
  memset(copy.data(), 0, copy.size());
  glListBase(c.base);
  glCallList(50000);
  EXPECT_EQ(SeenIds(TakeSeen()), c.names) << "compiled";
  EXPECT_EQ(gc->dlist.nesting, 0);
}

INSTANTIATE_TEST_SUITE_P(Table, CallListsTypes, testing::ValuesIn(kTypeCases),
                         [](const auto &info) { return std::string(info.param.what); });

TEST_F(DlistTest, ThreeHundredNamesRunInTwoBatchesInOrder) {
  std::vector<GLushort> names(300);
  std::vector<uint32_t> expected;
  for (int i = 0; i < 300; ++i) {
    names[i] = GLushort((i * 7) % 300);
    expected.push_back(1000 + names[i]);
  }
  for (int i = 0; i < 300; ++i) MakeRecordingList(1000 + i, {uint32_t(1000 + i)});
  glListBase(1000);
  glCallLists(300, GL_UNSIGNED_SHORT, names.data());
  EXPECT_EQ(SeenIds(TakeSeen()), expected);

  // 300 byte names wrap at 256; the base reaches past them.
  std::vector<GLubyte> bytes(300);
  expected.clear();
  for (int i = 0; i < 300; ++i) {
    bytes[i] = GLubyte(i);
    expected.push_back(1000 + (i & 255));
  }
  glCallLists(300, GL_UNSIGNED_BYTE, bytes.data());
  EXPECT_EQ(SeenIds(TakeSeen()), expected);
}

TEST_F(DlistTest, ABatchIsLockedBeforeItRunsAndTheNextOneAfter) {
  // The first list deletes a list of its own batch (which still runs: it was
  // locked with the batch) and one of the next batch (which is gone by the
  // time that batch is resolved).
  glNewList(1, GL_COMPILE);
  ASSERT_TRUE(AppendDeleteOp(gc, 1, 100));
  ASSERT_TRUE(AppendDeleteOp(gc, 1, 280));
  glEndList();
  for (GLuint name = 2; name < 300; ++name) MakeRecordingList(name, {name});
  std::vector<GLuint> names(299);
  for (GLuint i = 0; i < 299; ++i) names[i] = i + 1;
  glCallLists(299, GL_UNSIGNED_INT, names.data());
  std::vector<uint32_t> ids = SeenIds(TakeSeen());
  ASSERT_EQ(ids.size(), 2 + 297u) << "list 1's two ops, lists 2 to 299 but 280";
  EXPECT_EQ(std::count(ids.begin(), ids.end(), 100u), 1) << "locked with its batch";
  EXPECT_EQ(std::count(ids.begin(), ids.end(), 280u), 0) << "deleted before its batch";
  EXPECT_FALSE(glIsList(100));
}

// ---- nesting ----------------------------------------------------------------------------------

TEST_F(DlistTest, ASelfCallingListRunsSixtyFourLevelsThenEveryListCallOfThatCallIsSkipped) {
  MakeRecordingList(2, {2});
  glNewList(1, GL_COMPILE);
  glCallList(1);
  ASSERT_TRUE(AppendTestOp(gc, 1));
  glCallList(2);
  const GLuint two = 2;
  glCallLists(1, GL_UNSIGNED_INT, &two);
  glEndList();

  for (int outer = 0; outer < 2; ++outer) {
    SCOPED_TRACE(outer ? "glCallLists" : "glCallList");
    const GLuint one = 1;
    if (outer)
      glCallLists(1, GL_UNSIGNED_INT, &one);
    else
      glCallList(1);
    std::vector<Seen> seen = TakeSeen();
    EXPECT_EQ(SeenIds(seen), std::vector<uint32_t>(64, 1));
    // The other ops of the lists already running go on: each level's op
    // ran, deepest first, with the counter above the limit.
    for (const Seen &s : seen) EXPECT_GE(s.nesting, 64);
    EXPECT_EQ(gc->dlist.nesting, 0);
    // The next outermost call runs normally.
    glCallList(2);
    EXPECT_EQ(SeenIds(TakeSeen()), (std::vector<uint32_t>{2}));
  }
}

TEST_F(DlistTest, SixtyFourNestedListsRunAndTheSixtyFifthIsSkipped) {
  // List k records k, then calls k + 1.
  for (GLuint k = 66; k >= 1; --k) {
    glNewList(k, GL_COMPILE);
    ASSERT_TRUE(AppendTestOp(gc, k));
    glCallList(k + 1);
    glEndList();
  }
  glCallList(1);
  std::vector<Seen> seen = TakeSeen();
  ASSERT_EQ(seen.size(), 64u);
  for (uint32_t k = 1; k <= 64; ++k) {
    EXPECT_EQ(seen[k - 1].id, k);
    EXPECT_EQ(seen[k - 1].nesting, int32_t(k));
  }
}

// ---- oversized name arrays ---------------------------------------------------------------------

TEST_F(DlistTest, CompiledCallListsWhoseNamesNoOpCanHoldRecordsOutOfMemoryAndNoOp) {
  const GLint few[4] = {1, 2, 3, 4};
  MakeRecordingList(1, {1});
  glNewList(5, GL_COMPILE);
  glCallLists(1 << 30, GL_INT, few);  // 2^32 bytes of names
  EXPECT_EQ(TakeError(), GLenum(GL_OUT_OF_MEMORY));
  glCallLists(0x7FFFFFFF, GL_4_BYTES, few);
  EXPECT_EQ(TakeError(), GLenum(GL_OUT_OF_MEMORY));
  EXPECT_EQ(gc->dlist.listRec.first, nullptr);
  EXPECT_EQ(gc->dlist.currentList, 5u) << "the list stays open";
  glCallLists(1, GL_INT, few);
  glEndList();
  std::vector<uintptr_t> words = CodeWords(BoundList(gc, 5));
  ASSERT_EQ(words.size(), 5u) << "only the last call: execute word, n, type, one name";
  glCallList(5);
  EXPECT_EQ(SeenIds(TakeSeen()), (std::vector<uint32_t>{1}));
}

}  // namespace
}  // namespace dlist_test
