// Generated integer code run from executable memory: every conditional
// jump in its three reaches, the ALU family in all its operand forms, byte
// registers, extensions, loops, string moves, calls and jump tables. Each
// result is compared with the same operation done by compiled code, and
// every run checks that the routine kept ebx, esi, edi, ebp and esp.
#include <string.h>

#include <random>
#include <string>
#include <vector>

#include "tests/codegen/og_run_support.h"
#include "tests/codegen/og_support.h"

namespace {

class RunTest : public OgTest {
 protected:
  Gen Start() {
    Begin();
    return Gen{gc, code};
  }
  // The routine is complete: no check may have failed.
  const void *Done(const Gen &g) {
    EXPECT_EQ(Failure(), "");
    return code;
  }
};

const int32_t kEdges[] = {0,          1,           -1,          2,   100, -100,
                          0x7FFFFFFF, INT32_MIN,   INT32_MIN + 1, 0x7F, 0x80, 0xFF,
                          0x12345678, -0x12345678};

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

// ---- The ALU family, imul and shifts -----------------------------------------------

struct Binary {
  const char *name;
  OgCode *(*op)(GlContext *, OgCode *, OgCode *);
  uint32_t (*model)(uint32_t a, uint32_t b, uint32_t carry);
  bool usesCarry;
  bool hasMemoryDestination;  // imul has only register destinations
};

const Binary kBinaries[] = {
    {"add", add, [](uint32_t a, uint32_t b, uint32_t) { return a + b; }, false, true},
    {"sub", sub, [](uint32_t a, uint32_t b, uint32_t) { return a - b; }, false, true},
    {"and", and_, [](uint32_t a, uint32_t b, uint32_t) { return a & b; }, false, true},
    {"or", or_, [](uint32_t a, uint32_t b, uint32_t) { return a | b; }, false, true},
    {"xor", xor_, [](uint32_t a, uint32_t b, uint32_t) { return a ^ b; }, false, true},
    {"adc", adc, [](uint32_t a, uint32_t b, uint32_t c) { return a + b + c; }, true, true},
    {"sbb", sbb, [](uint32_t a, uint32_t b, uint32_t c) { return a - b - c; }, true, true},
    {"imul", imul, [](uint32_t a, uint32_t b, uint32_t) { return uint32_t(int64_t(int32_t(a)) * int32_t(b)); },
     false, false},
};

enum AluForm { kRR, kRM, kMR, kRI, kMI };

// eax = a OP b with the operands in the given form; a carry of c first when
// the instruction uses one (cmp 0, c sets CF exactly when c is not 0).
void EmitBinary(Gen &g, const Binary &b, AluForm form, int32_t immediate) {
  GlContext *gc = g.gc;
  if (b.usesCarry) {
    g.E(mov(gc, edx, g.V(0)));
    g.E(cmp(gc, edx, g.Arg(3)));
  }
  g.E(mov(gc, eax, g.Arg(1)));
  g.E(mov(gc, ecx, g.Arg(2)));
  switch (form) {
    case kRR: g.E(b.op(gc, eax, ecx)); break;
    case kRM: g.E(b.op(gc, eax, g.Arg(2))); break;
    case kMR: g.E(b.op(gc, g.Arg(1), ecx)); g.E(mov(gc, eax, g.Arg(1))); break;
    case kRI: g.E(b.op(gc, eax, g.V(immediate))); break;
    case kMI: g.E(b.op(gc, g.Arg(1), g.V(immediate))); g.E(mov(gc, eax, g.Arg(1))); break;
  }
  g.E(ret(gc));
}

TEST_F(RunTest, ArithmeticMatchesCompiledCodeInEveryForm) {
  for (const Binary &b : kBinaries) {
    for (AluForm form : {kRR, kRM, kMR, kRI, kMI}) {
      if (!b.hasMemoryDestination && (form == kMR || form == kMI)) continue;
      const bool immediate = form == kRI || form == kMI;
      for (int32_t y : kEdges) {
        Gen g = Start();
        EmitBinary(g, b, form, y);
        const void *routine = Done(g);
        for (int32_t x : kEdges) {
          for (uint32_t carry : {0u, 1u}) {
            if (!b.usesCarry && carry) continue;
            const uint32_t want = b.model(uint32_t(x), uint32_t(y), carry);
            EXPECT_EQ(RunChecked(routine, {uint32_t(x), uint32_t(y), carry}), want)
                << b.name << " form " << form << " " << x << ", " << y << " carry " << carry;
          }
        }
        if (!immediate) break;  // one routine serves every y
      }
    }
  }
}

struct Shift {
  const char *name;
  OgCode *(*op)(GlContext *, OgCode *, OgCode *);
  uint32_t (*model)(uint32_t a, int n);
};

const Shift kShifts[] = {
    {"rol", rol, [](uint32_t a, int n) { return (a << n) | (a >> ((32 - n) & 31)); }},
    {"shl", shl, [](uint32_t a, int n) { return a << n; }},
    {"shr", shr, [](uint32_t a, int n) { return a >> n; }},
    {"sar", sar, [](uint32_t a, int n) { return uint32_t(int32_t(a) >> n); }},
};

TEST_F(RunTest, ShiftsMatchCompiledCode) {
  for (const Shift &s : kShifts) {
    for (int n = 1; n < 32; n++) {
      Gen g = Start();
      g.E(mov(gc, edx, g.Arg(1)));
      g.E(s.op(gc, edx, g.V(n)));
      g.E(mov(gc, eax, edx));
      g.E(ret(gc));
      const void *routine = Done(g);
      for (int32_t a : kEdges)
        EXPECT_EQ(RunChecked(routine, {uint32_t(a)}), s.model(uint32_t(a), n))
            << s.name << " " << n << " of " << a;
    }
  }
}

TEST_F(RunTest, DivisionGivesQuotientAndRemainder) {
  for (bool memory : {false, true}) {
    Gen g = Start();
    g.E(mov(gc, eax, g.Arg(1)));
    g.E(mov(gc, edx, eax));
    g.E(sar(gc, edx, g.V(31)));
    if (memory) {
      g.E(idiv(gc, g.Arg(2)));
    } else {
      g.E(mov(gc, ecx, g.Arg(2)));
      g.E(idiv(gc, ecx));
    }
    g.E(ret(gc));
    const void *routine = Done(g);
    for (int32_t a : {0, 1, 7, -7, 100, -100, 0x7FFFFFFF, INT32_MIN + 1})
      for (int32_t d : {1, -1, 3, -3, 10, 0x10000}) {
        uint32_t args[] = {uint32_t(a), uint32_t(d)};
        OgCallResult r = {};
        OgCallChecked(routine, args, 2, &r);
        EXPECT_EQ(int32_t(r.eax), a / d) << a << " / " << d;
        EXPECT_EQ(int32_t(r.edx), a % d) << a << " % " << d;
        EXPECT_EQ(r.espDelta, 0);
      }
  }
}

// ---- Byte registers, extensions, lea, inc and dec ------------------------------------

struct Unary {
  const char *name;
  void (*emit)(Gen &g);
  uint32_t (*model)(uint32_t a, uint32_t b);
};

uint32_t WithByte(uint32_t word, int which, uint32_t byte) {
  const uint32_t shift = 8 * which;
  return (word & ~(0xFFu << shift)) | ((byte & 0xFF) << shift);
}
uint32_t ByteOf(uint32_t word, int which) { return (word >> (8 * which)) & 0xFF; }

const Unary kUnaries[] = {
    {"add cl, dl",
     [](Gen &g) {
       g.E(mov(g.gc, ecx, g.Arg(1)));
       g.E(mov(g.gc, edx, g.Arg(2)));
       g.E(add(g.gc, cl, dl));
       g.E(mov(g.gc, eax, ecx));
     },
     [](uint32_t a, uint32_t b) { return WithByte(a, 0, ByteOf(a, 0) + ByteOf(b, 0)); }},
    {"sub ch, dh",
     [](Gen &g) {
       g.E(mov(g.gc, ecx, g.Arg(1)));
       g.E(mov(g.gc, edx, g.Arg(2)));
       g.E(sub(g.gc, ch, dh));
       g.E(mov(g.gc, eax, ecx));
     },
     [](uint32_t a, uint32_t b) { return WithByte(a, 1, ByteOf(a, 1) - ByteOf(b, 1)); }},
    {"xor ah, 0x5a",
     [](Gen &g) {
       g.E(mov(g.gc, eax, g.Arg(1)));
       g.E(xor_(g.gc, ah, g.V(0x5A)));
     },
     [](uint32_t a, uint32_t) { return a ^ 0x5A00u; }},
    {"and bl from memory",
     [](Gen &g) {
       g.E(push(g.gc, ebx));
       g.E(mov(g.gc, ebx, g.V(-1)));
       g.E(and_(g.gc, bl, mem2(g.gc, g.V(12), esp)));  // the second argument's low byte
       g.E(mov(g.gc, eax, ebx));
       g.E(pop(g.gc, ebx));
     },
     [](uint32_t, uint32_t b) { return 0xFFFFFF00u | ByteOf(b, 0); }},
    {"or byte in memory",
     [](Gen &g) {
       g.E(mov(g.gc, edx, g.Arg(2)));
       g.E(or_(g.gc, mem2(g.gc, g.V(5), esp), dl));  // the first argument's second byte
       g.E(mov(g.gc, eax, g.Arg(1)));
     },
     [](uint32_t a, uint32_t b) { return a | (ByteOf(b, 0) << 8); }},
    {"mov dh, byte from memory; mov al, 7",
     [](Gen &g) {
       g.E(mov(g.gc, edx, g.V(0)));
       g.E(mov(g.gc, dh, mem2(g.gc, g.V(7), esp)));  // the first argument's top byte
       g.E(mov(g.gc, eax, edx));
       g.E(mov(g.gc, al, g.V(7)));
     },
     [](uint32_t a, uint32_t) { return (ByteOf(a, 3) << 8) | 7u; }},
    {"mov byte to memory",
     [](Gen &g) {
       g.E(mov(g.gc, ecx, g.Arg(2)));
       g.E(mov(g.gc, mem2(g.gc, g.V(6), esp), cl));
       g.E(mov(g.gc, eax, g.Arg(1)));
     },
     [](uint32_t a, uint32_t b) { return WithByte(a, 2, ByteOf(b, 0)); }},
    {"cmp byte and adc",
     [](Gen &g) {
       g.E(mov(g.gc, ecx, g.Arg(1)));
       g.E(mov(g.gc, eax, g.V(0)));
       g.E(cmp(g.gc, cl, g.V(100)));  // CF when the low byte is below 100
       g.E(adc(g.gc, eax, g.V(0)));
     },
     [](uint32_t a, uint32_t) { return ByteOf(a, 0) < 100 ? 1u : 0u; }},
    {"movsx from a register",
     [](Gen &g) {
       g.E(mov(g.gc, ecx, g.Arg(1)));
       g.E(movsx(g.gc, eax, cl));
     },
     [](uint32_t a, uint32_t) { return uint32_t(int32_t(int8_t(a))); }},
    {"movzx from a high register",
     [](Gen &g) {
       g.E(mov(g.gc, edx, g.Arg(1)));
       g.E(movzx(g.gc, eax, dh));
     },
     [](uint32_t a, uint32_t) { return ByteOf(a, 1); }},
    {"movsx from memory",
     [](Gen &g) { g.E(movsx(g.gc, eax, mem2(g.gc, g.V(6), esp))); },
     [](uint32_t a, uint32_t) { return uint32_t(int32_t(int8_t(a >> 16))); }},
    {"movzx from memory",
     [](Gen &g) { g.E(movzx(g.gc, eax, mem2(g.gc, g.V(7), esp))); },
     [](uint32_t a, uint32_t) { return a >> 24; }},
    {"movsxw", [](Gen &g) { g.E(movsxw(g.gc, eax, mem2(g.gc, g.V(6), esp))); },
     [](uint32_t a, uint32_t) { return uint32_t(int32_t(int16_t(a >> 16))); }},
    {"movzxw", [](Gen &g) { g.E(movzxw(g.gc, eax, g.Arg(1))); },
     [](uint32_t a, uint32_t) { return a & 0xFFFF; }},
    {"lea with base, index, scale, displacement",
     [](Gen &g) {
       g.E(mov(g.gc, ecx, g.Arg(1)));
       g.E(mov(g.gc, edx, g.Arg(2)));
       g.E(lea(g.gc, eax, mem(g.gc, g.V(-1000), ecx, edx, 8)));
     },
     [](uint32_t a, uint32_t b) { return a + 8 * b - 1000; }},
    {"lea with an index only",
     [](Gen &g) {
       g.E(mov(g.gc, edx, g.Arg(2)));
       g.E(lea(g.gc, eax, mem(g.gc, g.V(12345), nullptr, edx, 4)));
     },
     [](uint32_t, uint32_t b) { return 4 * b + 12345; }},
    {"lea through ebp and esp",
     [](Gen &g) {
       g.E(push(g.gc, ebp));
       g.E(mov(g.gc, ebp, esp));
       g.E(lea(g.gc, eax, mem2(g.gc, nullptr, ebp)));
       g.E(sub(g.gc, eax, esp));  // 0
       g.E(add(g.gc, eax, mem2(g.gc, g.V(8), ebp)));
       g.E(lea(g.gc, ecx, mem(g.gc, nullptr, esp, ebp, 2)));
       g.E(sub(g.gc, ecx, ebp));
       g.E(sub(g.gc, ecx, ebp));
       g.E(sub(g.gc, ecx, esp));  // 0
       g.E(add(g.gc, eax, ecx));
       g.E(pop(g.gc, ebp));
     },
     [](uint32_t a, uint32_t) { return a; }},
    {"inc and dec of registers and memory",
     [](Gen &g) {
       g.E(mov(g.gc, eax, g.Arg(1)));
       g.E(inc(g.gc, eax));
       g.E(inc(g.gc, eax));
       g.E(dec(g.gc, g.Arg(2)));
       g.E(add(g.gc, eax, g.Arg(2)));
       g.E(mov(g.gc, ecx, g.V(0)));
       g.E(dec(g.gc, cl));  // 0xFF
       g.E(inc(g.gc, ch));  // 0x100
       g.E(add(g.gc, eax, ecx));
     },
     [](uint32_t a, uint32_t b) { return a + 2 + b - 1 + 0x1FF; }},
    {"push and pop through memory",
     [](Gen &g) {
       g.E(push(g.gc, g.Arg(1)));  // esp moved: the second argument is 12 up
       g.E(push(g.gc, g.V(0x1111)));
       g.E(pop(g.gc, ecx));
       g.E(pop(g.gc, mem2(g.gc, g.V(8), esp)));  // the first argument into the second's slot
       g.E(mov(g.gc, eax, g.Arg(2)));
       g.E(add(g.gc, eax, ecx));
     },
     [](uint32_t a, uint32_t) { return a + 0x1111; }},
};

TEST_F(RunTest, ByteRegistersExtensionsAndAddressesMatchCompiledCode) {
  for (const Unary &u : kUnaries) {
    SCOPED_TRACE(u.name);
    Gen g = Start();
    u.emit(g);
    g.E(ret(gc));
    const void *routine = Done(g);
    for (int32_t a : kEdges)
      for (int32_t b : {0, 1, 0x7F, 0x80, 0xFF, 0x1234, -1})
        EXPECT_EQ(RunChecked(routine, {uint32_t(a), uint32_t(b)}), u.model(uint32_t(a), uint32_t(b)))
            << a << ", " << b;
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
      loop->spec.label.where = g.cb;
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
      proc->spec.label.where = reinterpret_cast<uint8_t *>(OgTriple);
      proc->spec.label.name = "OgTriple";
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
  for (int i = 0; i < 4; i++) table[i] = uint32_t(uintptr_t(cases[i]->spec.label.where));
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
    table[i] = uint32_t(uintptr_t(cases[i]->spec.label.where));
  }
  routine = Done(g);
  for (uint32_t i = 0; i < 4; i++) EXPECT_EQ(RunChecked(routine, {i}), 7 * i);
}

}  // namespace
