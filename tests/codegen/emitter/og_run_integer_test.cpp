// Generated integer arithmetic run from executable memory: the ALU family
// in all its operand forms, imul, idiv, the shifts, byte registers,
// extensions, lea, inc and dec. Each result is compared with the same
// operation done by compiled code, and every run checks that the routine
// kept ebx, esi, edi, ebp and esp.
#include "tests/codegen/emitter/og_run_support.h"

namespace {

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

}  // namespace
