// Labels: the sizes of jumps to placed labels, forward references chained
// and patched by resolve, and resolve's checks.
#include <string.h>

#include <string>
#include <vector>

#include "tests/codegen/emitter/og_support.h"

namespace {

class LabelTest : public OgTest {
 protected:
  // Where a jump of `length` bytes at `at` lands.
  static const uint8_t *Target(const uint8_t *at, size_t length) {
    int32_t rel;
    if (length == 2) {
      rel = int8_t(at[1]);
    } else {
      memcpy(&rel, at + length - 4, 4);
    }
    return at + length + rel;
  }
};

struct Margin {
  const char *what;
  bool conditional;
  int32_t distance;  // label's place minus the jump's address
  size_t length;
  const char *first;  // the first byte(s)
};

const Margin kMargins[] = {
    {"conditional, 126 back", true, -126, 2, "7c"},
    {"conditional, 127 back", true, -127, 6, "0f 8c"},
    {"conditional, 128 back", true, -128, 6, "0f 8c"},
    {"conditional, to itself", true, 0, 2, "7c"},
    {"conditional, 126 ahead", true, 126, 2, "7c"},
    {"conditional, 127 ahead", true, 127, 6, "0f 8c"},
    {"conditional, 70000 back", true, -70000, 6, "0f 8c"},
    {"jmp, 126 back", false, -126, 2, "eb"},
    {"jmp, 127 back", false, -127, 5, "e9"},
    {"jmp, 128 back", false, -128, 5, "e9"},
    {"jmp, 126 ahead", false, 126, 2, "eb"},
    {"jmp, 127 ahead", false, 127, 5, "e9"},
    {"jmp, 70000 ahead", false, 70000, 5, "e9"},
};

TEST_F(LabelTest, JumpsToPlacedLabelsTakeTheShortFormWithinTheMargins) {
  for (const Margin &m : kMargins) {
    SCOPED_TRACE(m.what);
    Begin();
    uint8_t *at = code + 32768;
    cb = at;
    OgCode *l = label(gc);
    l->data.label.where = at + m.distance;
    Emit(m.conditional ? jl(gc, l) : jmp(gc, l));
    ASSERT_EQ(size_t(cb - at), m.length);
    const std::vector<uint8_t> first = ParseHex(m.first);
    EXPECT_EQ(HexOf(at, first.size()), HexOf(first.data(), first.size()));
    EXPECT_EQ(Target(at, m.length), at + m.distance);
    EXPECT_EQ(l->data.label.refs, nullptr) << "a placed label gathers no references";
  }
}

struct Forward {
  const char *what;
  OgCode *(*jump)(GlContext *gc, OgCode *target);
  bool nearLabel;
  size_t length;
  const char *first;
};

const Forward kForwards[] = {
    {"jne to a near label", jne, true, 2, "75"},
    {"jne to a label", jne, false, 6, "0f 85"},
    {"ja to a near label", ja, true, 2, "77"},
    {"jns to a label", jns, false, 6, "0f 89"},
    {"jmp to a near label", jmp, true, 5, "e9"},
    {"jmp to a label", jmp, false, 5, "e9"},
    {"call to a near label", call, true, 5, "e8"},
    {"call to a label", call, false, 5, "e8"},
};

TEST_F(LabelTest, ForwardReferencesArePatchedWhenTheLabelIsPlaced) {
  for (const Forward &f : kForwards) {
    for (uint32_t gap : {0u, 1u, 100u, 127u}) {
      SCOPED_TRACE(std::string(f.what) + ", gap " + std::to_string(gap));
      Begin();
      OgCode *l = f.nearLabel ? near_label(gc) : label(gc);
      Emit(f.jump(gc, l));
      ASSERT_EQ(size_t(cb - code), f.length);
      const std::vector<uint8_t> first = ParseHex(f.first);
      EXPECT_EQ(HexOf(code, first.size()), HexOf(first.data(), first.size()));
      ASSERT_NE(l->data.label.refs, nullptr);
      EXPECT_EQ(l->data.label.refs->data.label.far, f.length == 2 ? 0u : 1u);
      for (uint32_t i = 0; i < gap; i++) Emit(nop(gc));
      resolve(gc, l, cb);
      EXPECT_EQ(l->data.label.where, cb) << "resolve places the label";
      EXPECT_EQ(l->data.label.refs, nullptr) << "and empties its chain";
      EXPECT_EQ(Target(code, f.length), cb);
      EXPECT_EQ(Failure(), "");
    }
  }
}

TEST_F(LabelTest, ManyReferencesOfEveryKindReachOnePlace) {
  OgCode *l = near_label(gc);
  OgCode *far = label(gc);
  std::vector<std::pair<uint8_t *, size_t>> jumps;
  OgCode *(*const kinds[])(GlContext *, OgCode *) = {je, jmp, jg, call, jb};
  for (int round = 0; round < 4; round++) {
    for (auto kind : kinds) {
      uint8_t *at = cb;
      Emit(kind(gc, l));
      jumps.push_back({at, size_t(cb - at)});
    }
  }
  uint8_t *farJump = cb;
  Emit(jae(gc, far));
  resolve(gc, l, cb);
  Emit(nop(gc));
  resolve(gc, far, cb);
  for (const auto &j : jumps) EXPECT_EQ(Target(j.first, j.second), l->data.label.where);
  EXPECT_EQ(Target(farJump, 6), far->data.label.where);
  EXPECT_EQ(Failure(), "");

  // Jumps after the label was placed go straight back to it.
  uint8_t *back = cb;
  Emit(je(gc, l));
  EXPECT_EQ(size_t(cb - back), 2u);
  EXPECT_EQ(Target(back, 2), l->data.label.where);
}

TEST_F(LabelTest, AShortReferenceBeyond127BytesIsRefused) {
  for (uint32_t gap : {127u, 128u, 300u}) {
    SCOPED_TRACE(gap);
    Begin();
    OgCode *l = near_label(gc);
    Emit(jne(gc, l));
    for (uint32_t i = 0; i < gap; i++) Emit(nop(gc));
    resolve(gc, l, cb);
    if (gap <= 127) {
      EXPECT_EQ(Failure(), "");
      EXPECT_EQ(code[1], gap);
    } else {
      EXPECT_EQ(Failure(), "abs((cb - ref->data.label.where) - 1) <= 127");
      EXPECT_EQ(code[1], 0) << "the hole is left as it was written";
    }
  }
}

TEST_F(LabelTest, ResolveChecksWhatItPatches) {
  resolve(gc, value(gc, 3), cb);
  EXPECT_EQ(Failure(), "label->what == LABEL");

  Begin();
  OgCode *l = label(gc);
  l->data.label.refs = value(gc, 0);  // a broken chain
  resolve(gc, l, cb);
  EXPECT_EQ(Failure(), "ref->what == LABEL");

  // A hole left in an earlier buffer is not written through.
  Begin();
  l = label(gc);
  Emit(jmp(gc, l));
  og_buffer(gc, code + 100, code + 200);
  memset(code, 0x5A, 5);
  resolve(gc, l, code + 150);
  EXPECT_EQ(Failure(), "ref->data.label.where lies in the buffer");
  EXPECT_EQ(HexOf(code, 5), "5a 5a 5a 5a 5a");
}

// objdump reads a routine with forward and backward references, and calls
// of absolute targets, as jumps to the intended offsets.
TEST_F(LabelTest, ObjdumpSeesTheTargets) {
  if (!HaveObjdump()) GTEST_SKIP() << "objdump is not installed";
  OgCode *top = near_label(gc);
  OgCode *out = near_label(gc);
  OgCode *far = label(gc);
  OgCode *proc = named_label(gc, "procedure", code + 0x400);  // stands for a procedure elsewhere
  resolve(gc, top, cb);             // 0x0
  Emit(jne(gc, out));               // 0x0
  Emit(jmp(gc, far));               // 0x2
  Emit(call(gc, proc));             // 0x7
  Emit(jg(gc, top));                // 0xc
  resolve(gc, out, cb);             // 0xe
  Emit(jb(gc, far));                // 0xe
  for (int i = 0; i < 200; i++) Emit(nop(gc));
  resolve(gc, far, cb);             // 0xdc
  Emit(jmp(gc, top));               // 0xdc
  Emit(ret(gc));
  ASSERT_EQ(Failure(), "");

  std::vector<std::vector<std::string>> texts;
  ASSERT_TRUE(Disassemble({std::vector<uint8_t>(code, cb)}, &texts));
  const std::vector<std::string> &t = texts[0];
  ASSERT_EQ(t.size(), 207u);
  EXPECT_EQ(t[0], "jne 0xe");
  EXPECT_EQ(t[1], "jmp 0xdc");
  EXPECT_EQ(t[2], "call 0x400");
  EXPECT_EQ(t[3], "jg 0x0");
  EXPECT_EQ(t[4], "jb 0xdc");
  EXPECT_EQ(t[205], "jmp 0x0");
  EXPECT_EQ(t[206], "ret");
}

// A named label is placed at its address from the start: a call reaches a
// compiled procedure anywhere in the address space, and resolve is never
// needed.
TEST_F(LabelTest, NamedLabelCallsAnAbsoluteAddress) {
  const void *target = reinterpret_cast<const void *>(&memcpy);
  OgCode *proc = named_label(gc, "memcpy", target);
  EXPECT_EQ(proc->data.label.where, target);
  EXPECT_STREQ(proc->data.label.name, "memcpy");
  Emit(nop(gc));
  Emit(call(gc, proc));
  ASSERT_EQ(Failure(), "");
  ASSERT_EQ(cb - code, 6);
  EXPECT_EQ(code[1], 0xE8);
  EXPECT_EQ(Target(code + 1, 5), target);
}

}  // namespace
