// Generated control flow run from executable memory: every conditional
// jump in its four reaches, test, loops, string moves, calls and jump
// tables. Each result is compared with what compiled code computes, and
// every run checks that the routine kept ebx, esi, edi, ebp and esp.
#include <random>
#include <string>
#include <vector>

#include "tests/codegen/emitter/og_run_support.h"

namespace {

// ---- Conditional jumps ----------------------------------------------------------

struct Condition {
  const char *name;
  OgCode *(*jump)(GlContext *, OgCode *);
  bool (*holds)(int32_t a, int32_t b);  // after cmp a, b
};

bool Overflows(int32_t a, int32_t b) {
  const int64_t d = int64_t(a) - int64_t(b);
  return d < INT32_MIN || d > INT32_MAX;
}
int32_t Difference(int32_t a, int32_t b) { return int32_t(uint32_t(a) - uint32_t(b)); }

const Condition kConditions[] = {
    {"ja", ja, [](int32_t a, int32_t b) { return uint32_t(a) > uint32_t(b); }},
    {"jae", jae, [](int32_t a, int32_t b) { return uint32_t(a) >= uint32_t(b); }},
    {"jb", jb, [](int32_t a, int32_t b) { return uint32_t(a) < uint32_t(b); }},
    {"jbe", jbe, [](int32_t a, int32_t b) { return uint32_t(a) <= uint32_t(b); }},
    {"jge", jge, [](int32_t a, int32_t b) { return a >= b; }},
    {"jl", jl, [](int32_t a, int32_t b) { return a < b; }},
    {"jle", jle, [](int32_t a, int32_t b) { return a <= b; }},
    {"jg", jg, [](int32_t a, int32_t b) { return a > b; }},
    {"je", je, [](int32_t a, int32_t b) { return a == b; }},
    {"jne", jne, [](int32_t a, int32_t b) { return a != b; }},
    {"jo", jo, Overflows},
    {"jno", jno, [](int32_t a, int32_t b) { return !Overflows(a, b); }},
    {"js", js, [](int32_t a, int32_t b) { return Difference(a, b) < 0; }},
    {"jns", jns, [](int32_t a, int32_t b) { return Difference(a, b) >= 0; }},
};

enum Reach { kNearForward, kFarForward, kBackward, kFarBackward };

// cmp a, b; jcc taken; return 0; taken: return 1. The far backward reach
// puts 150 bytes between the jump and its target.
void EmitCompare(Gen &g, const Condition &c, Reach reach) {
  GlContext *gc = g.gc;
  OgCode *taken = reach == kNearForward ? near_label(gc) : label(gc);
  if (reach == kBackward || reach == kFarBackward) {
    OgCode *start = label(gc);
    g.E(jmp(gc, start));
    g.Place(taken);
    g.E(mov(gc, eax, g.V(1)));
    g.E(ret(gc));
    if (reach == kFarBackward)
      for (int i = 0; i < 150; i++) g.E(nop(gc));
    g.Place(start);
  }
  g.E(mov(gc, eax, g.Arg(1)));
  g.E(cmp(gc, eax, g.Arg(2)));
  g.E(c.jump(gc, taken));
  g.E(xor_(gc, eax, eax));
  g.E(ret(gc));
  if (reach == kNearForward || reach == kFarForward) {
    g.Place(taken);
    g.E(mov(gc, eax, g.V(1)));
    g.E(ret(gc));
  }
}

TEST_F(RunTest, ConditionalJumpsFollowTheFlagsOfCmp) {
  for (const Condition &c : kConditions) {
    for (Reach reach : {kNearForward, kFarForward, kBackward, kFarBackward}) {
      SCOPED_TRACE(std::string(c.name) + " reach " + std::to_string(reach));
      Gen g = Start();
      EmitCompare(g, c, reach);
      const void *routine = Done(g);
      for (int32_t a : kEdges)
        for (int32_t b : kEdges)
          ASSERT_EQ(RunChecked(routine, {uint32_t(a), uint32_t(b)}), c.holds(a, b) ? 1u : 0u)
              << a << " vs " << b;
    }
  }
}

// test sets ZF from the AND of its operands, in each of its forms.
TEST_F(RunTest, TestSetsZeroFromTheAnd) {
  enum Form { kRegReg, kRegImm, kMemReg, kMemImm };
  for (Form form : {kRegReg, kRegImm, kMemReg, kMemImm}) {
    for (int32_t mask : {0, 1, 0x80, -1, 0x0F0F0F0F}) {
      Gen g = Start();
      GlContext *gc = g.gc;
      OgCode *zero = near_label(gc);
      g.E(mov(gc, eax, g.Arg(1)));
      g.E(mov(gc, ecx, g.V(mask)));
      switch (form) {
        case kRegReg: g.E(test(gc, eax, ecx)); break;
        case kRegImm: g.E(test(gc, eax, g.V(mask))); break;
        case kMemReg: g.E(test(gc, g.Arg(1), ecx)); break;
        case kMemImm: g.E(test(gc, g.Arg(1), g.V(mask))); break;
      }
      g.E(je(gc, zero));
      g.E(mov(gc, eax, g.V(7)));
      g.E(ret(gc));
      g.Place(zero);
      g.E(mov(gc, eax, g.V(3)));
      g.E(ret(gc));
      const void *routine = Done(g);
      for (int32_t a : kEdges)
        EXPECT_EQ(RunChecked(routine, {uint32_t(a)}), (a & mask) == 0 ? 3u : 7u)
            << "form " << form << " mask " << mask << " a " << a;
    }
  }
}

// ---- Loops, string moves, calls -------------------------------------------------------

// sum(p, n): a counted loop with a forward exit and a backward jump; the
// padding moves the loop's end out of short reach.
TEST_F(RunTest, LoopsSumAnArray) {
  std::mt19937 random(7);
  std::vector<int32_t> values(300);
  for (int32_t &v : values) v = int32_t(random());
  for (int padding : {0, 130}) {
    for (bool nearExit : {true, false}) {
      if (padding && nearExit) continue;
      Gen g = Start();
      OgCode *done = nearExit ? near_label(gc) : label(gc);
      OgCode *loop = label(gc);
      g.E(push(gc, esi));
      g.E(push(gc, ebx));
      g.E(mov(gc, esi, mem2(gc, g.V(12), esp)));
      g.E(mov(gc, ecx, mem2(gc, g.V(16), esp)));
      g.E(xor_(gc, eax, eax));
      g.E(test(gc, ecx, ecx));
      g.E(je(gc, done));
      g.E(xor_(gc, ebx, ebx));
      loop->data.label.where = g.cb;
      g.E(add(gc, eax, mem(gc, nullptr, esi, ebx, 4)));
      for (int i = 0; i < padding; i++) g.E(nop(gc));
      g.E(inc(gc, ebx));
      g.E(cmp(gc, ebx, ecx));
      g.E(jl(gc, loop));
      g.Place(done);
      g.E(pop(gc, ebx));
      g.E(pop(gc, esi));
      g.E(ret(gc));
      const void *routine = Done(g);
      for (uint32_t n : {0u, 1u, 2u, 17u, 300u}) {
        uint32_t want = 0;
        for (uint32_t i = 0; i < n; i++) want += uint32_t(values[i]);
        EXPECT_EQ(RunChecked(routine, {uint32_t(uintptr_t(values.data())), n}), want)
            << "n " << n << " padding " << padding;
      }
    }
  }
}

TEST_F(RunTest, RepMovsdCopiesWords) {
  Gen g = Start();
  g.E(push(gc, esi));
  g.E(push(gc, edi));
  g.E(mov(gc, edi, mem2(gc, g.V(12), esp)));
  g.E(mov(gc, esi, mem2(gc, g.V(16), esp)));
  g.E(mov(gc, ecx, mem2(gc, g.V(20), esp)));
  g.E(rep(gc));
  g.E(movsd(gc));
  g.E(mov(gc, eax, edi));
  g.E(pop(gc, edi));
  g.E(pop(gc, esi));
  g.E(ret(gc));
  const void *routine = Done(g);
  for (uint32_t n : {0u, 1u, 5u, 64u}) {
    std::vector<uint32_t> from(n + 2), to(n + 2, 0xDEADBEEFu);
    for (uint32_t i = 0; i < n + 2; i++) from[i] = i * 2654435761u;
    const uint32_t end = RunChecked(routine, {uint32_t(uintptr_t(to.data())),
                                              uint32_t(uintptr_t(from.data())), n});
    EXPECT_EQ(end, uint32_t(uintptr_t(to.data() + n)));
    for (uint32_t i = 0; i < n; i++) EXPECT_EQ(to[i], from[i]);
    EXPECT_EQ(to[n], 0xDEADBEEFu);
  }
}

extern "C" int32_t OgTriple(int32_t x) { return 3 * x; }

// Calls of a compiled procedure by absolute label, through a register and
// through memory; a subroutine inside the code; a stdcall-style return.
TEST_F(RunTest, CallsReachCompiledAndGeneratedProcedures) {
  static void *pointer = reinterpret_cast<void *>(OgTriple);
  enum How { kLabel, kRegister, kMemory, kInside };
  for (How how : {kLabel, kRegister, kMemory, kInside}) {
    Gen g = Start();
    OgCode *proc = label(gc);
    OgCode *inside = label(gc);
    if (how == kLabel) {
      proc->data.label.where = reinterpret_cast<uint8_t *>(OgTriple);
      proc->data.label.name = "OgTriple";
    }
    g.E(push(gc, g.Arg(1)));
    switch (how) {
      case kLabel: g.E(call(gc, proc)); break;
      case kRegister:
        g.E(mov(gc, eax, g.V(int32_t(uintptr_t(pointer)))));
        g.E(call(gc, eax));
        break;
      case kMemory: g.E(call(gc, mem2(gc, g.V(int32_t(uintptr_t(&pointer))), nullptr))); break;
      case kInside: g.E(call(gc, inside)); break;
    }
    g.E(add(gc, esp, g.V(4)));
    g.E(inc(gc, eax));
    g.E(ret(gc));
    g.Place(inside);  // triples its argument too
    g.E(mov(gc, eax, g.Arg(1)));
    g.E(imul(gc, eax, g.V(3)));
    g.E(ret(gc));
    const void *routine = Done(g);
    for (int32_t x : {0, 1, -5, 1000})
      EXPECT_EQ(int32_t(RunChecked(routine, {uint32_t(x)})), 3 * x + 1) << "how " << how;
  }

  Gen g = Start();  // callee pops its two arguments
  g.E(mov(gc, eax, g.Arg(1)));
  g.E(sub(gc, eax, g.Arg(2)));
  g.E(retn(gc, g.V(8)));
  const void *routine = Done(g);
  const uint32_t args[] = {50, 8};
  OgCallResult r = {};
  OgCallChecked(routine, args, 2, &r);
  EXPECT_EQ(r.eax, 42u);
  EXPECT_EQ(r.espDelta, 8);
  EXPECT_EQ(r.ebx, kSentinelEbx);
}

// A jump table filled from the places of labels, taken with jmpi.
TEST_F(RunTest, JumpTablesReachPlacedLabels) {
  static uint32_t table[4];
  Gen g = Start();
  OgCode *cases[4];
  g.E(mov(gc, ecx, g.Arg(1)));
  g.E(jmpi(gc, mem(gc, g.V(int32_t(uintptr_t(table))), nullptr, ecx, 4)));
  for (int i = 0; i < 4; i++) {
    cases[i] = label(gc);
    g.Place(cases[i]);
    g.E(mov(gc, eax, g.V(100 + i * i)));
    g.E(ret(gc));
  }
  for (int i = 0; i < 4; i++) table[i] = uint32_t(uintptr_t(cases[i]->data.label.where));
  const void *routine = Done(g);
  for (uint32_t i = 0; i < 4; i++) EXPECT_EQ(RunChecked(routine, {i}), 100 + i * i);

  g = Start();  // the same through a register
  g.E(mov(gc, ecx, g.Arg(1)));
  g.E(mov(gc, edx, mem(gc, g.V(int32_t(uintptr_t(table))), nullptr, ecx, 4)));
  g.E(jmpi(gc, edx));
  Done(g);
  // The table still points at the routine above, which this one replaced:
  // rebuild the cases after the jump.
  for (int i = 0; i < 4; i++) {
    cases[i] = label(gc);
    g.Place(cases[i]);
    g.E(mov(gc, eax, g.V(7 * i)));
    g.E(ret(gc));
    table[i] = uint32_t(uintptr_t(cases[i]->data.label.where));
  }
  routine = Done(g);
  for (uint32_t i = 0; i < 4; i++) EXPECT_EQ(RunChecked(routine, {i}), 7 * i);
}

}  // namespace
