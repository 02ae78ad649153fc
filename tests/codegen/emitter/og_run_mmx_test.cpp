// Generated MMX code run from executable memory, compared lane by lane
// with models of each instruction in compiled code.
#include <string.h>

#include <random>
#include <string>
#include <vector>

#include "tests/codegen/emitter/og_run_support.h"

namespace {

// ---- MMX ----------------------------------------------------------------------------

typedef uint64_t Q;

template <typename T, int N>
struct Lanes {
  T v[N];
};

template <typename T>
Q Map(Q a, Q b, T (*f)(T, T)) {
  constexpr int n = 8 / sizeof(T);
  T x[n], y[n], r[n];
  memcpy(x, &a, 8);
  memcpy(y, &b, 8);
  for (int i = 0; i < n; i++) r[i] = f(x[i], y[i]);
  Q out;
  memcpy(&out, r, 8);
  return out;
}

template <typename T>
T Saturate(int64_t v) {
  const int64_t lo = int64_t(std::numeric_limits<T>::min());
  const int64_t hi = int64_t(std::numeric_limits<T>::max());
  return T(v < lo ? lo : v > hi ? hi : v);
}

// Packs the lanes of a, then of b, each saturated to the narrower type.
template <typename From, typename To>
Q Pack(Q a, Q b) {
  constexpr int n = 8 / sizeof(From);
  From x[2 * n];
  memcpy(x, &a, 8);
  memcpy(x + n, &b, 8);
  To r[2 * n];
  for (int i = 0; i < 2 * n; i++) r[i] = Saturate<To>(x[i]);
  Q out;
  memcpy(&out, r, 8);
  return out;
}

// Interleaves the low (high = false) or high halves of a and b.
template <typename T>
Q Unpack(Q a, Q b, bool high) {
  constexpr int n = 8 / sizeof(T);
  T x[n], y[n], r[n];
  memcpy(x, &a, 8);
  memcpy(y, &b, 8);
  const int from = high ? n / 2 : 0;
  for (int i = 0; i < n / 2; i++) {
    r[2 * i] = x[from + i];
    r[2 * i + 1] = y[from + i];
  }
  Q out;
  memcpy(&out, r, 8);
  return out;
}

Q MaddWd(Q a, Q b) {
  int16_t x[4], y[4];
  memcpy(x, &a, 8);
  memcpy(y, &b, 8);
  const uint32_t r[2] = {uint32_t(x[0] * y[0]) + uint32_t(x[1] * y[1]),
                         uint32_t(x[2] * y[2]) + uint32_t(x[3] * y[3])};
  Q out;
  memcpy(&out, r, 8);
  return out;
}

// Shifts every lane by the 64-bit count; counts past the lane empty it (or
// fill it with the sign).
template <typename T>
Q ShiftLanes(Q a, Q count, int kind) {  // 0 left, 1 logical right, 2 arithmetic right
  constexpr int bits = 8 * sizeof(T);
  constexpr int n = 8 / sizeof(T);
  T x[n];
  memcpy(x, &a, 8);
  for (int i = 0; i < n; i++) {
    if (count >= uint64_t(bits)) {
      x[i] = kind == 2 ? T(std::make_signed_t<T>(x[i]) < 0 ? ~T(0) : 0) : 0;
    } else if (kind == 0) {
      x[i] = T(x[i] << count);
    } else if (kind == 1) {
      x[i] = T(x[i] >> count);
    } else {
      x[i] = T(std::make_signed_t<T>(x[i]) >> count);
    }
  }
  Q out;
  memcpy(&out, x, 8);
  return out;
}

struct MmxOp {
  const char *name;
  OgCode *(*op)(GlContext *, OgCode *, OgCode *);
  Q (*model)(Q a, Q b);
  bool shift;  // b is a count
};

#define LANE(T, expr) [](Q a, Q b) { return Map<T>(a, b, [](T x, T y) { return T(expr); }); }

const MmxOp kMmxOps[] = {
    {"packssdw", packssdw, [](Q a, Q b) { return Pack<int32_t, int16_t>(a, b); }, false},
    {"packsswb", packsswb, [](Q a, Q b) { return Pack<int16_t, int8_t>(a, b); }, false},
    {"packuswb", packuswb, [](Q a, Q b) { return Pack<int16_t, uint8_t>(a, b); }, false},
    {"punpckhbw", punpckhbw, [](Q a, Q b) { return Unpack<uint8_t>(a, b, true); }, false},
    {"punpckhwd", punpckhwd, [](Q a, Q b) { return Unpack<uint16_t>(a, b, true); }, false},
    {"punpckhdq", punpckhdq, [](Q a, Q b) { return Unpack<uint32_t>(a, b, true); }, false},
    {"punpcklbw", punpcklbw, [](Q a, Q b) { return Unpack<uint8_t>(a, b, false); }, false},
    {"punpcklwd", punpcklwd, [](Q a, Q b) { return Unpack<uint16_t>(a, b, false); }, false},
    {"punpckldq", punpckldq, [](Q a, Q b) { return Unpack<uint32_t>(a, b, false); }, false},
    {"paddb", paddb, LANE(uint8_t, x + y), false},
    {"paddw", paddw, LANE(uint16_t, x + y), false},
    {"paddd", paddd, LANE(uint32_t, x + y), false},
    {"paddsb", paddsb, LANE(int8_t, Saturate<int8_t>(int(x) + y)), false},
    {"paddsw", paddsw, LANE(int16_t, Saturate<int16_t>(int(x) + y)), false},
    {"paddusb", paddusb, LANE(uint8_t, Saturate<uint8_t>(int(x) + y)), false},
    {"paddusw", paddusw, LANE(uint16_t, Saturate<uint16_t>(int(x) + y)), false},
    {"psubb", psubb, LANE(uint8_t, x - y), false},
    {"psubw", psubw, LANE(uint16_t, x - y), false},
    {"psubd", psubd, LANE(uint32_t, x - y), false},
    {"psubsb", psubsb, LANE(int8_t, Saturate<int8_t>(int(x) - y)), false},
    {"psubsw", psubsw, LANE(int16_t, Saturate<int16_t>(int(x) - y)), false},
    {"psubusb", psubusb, LANE(uint8_t, Saturate<uint8_t>(int(x) - y)), false},
    {"psubusw", psubusw, LANE(uint16_t, Saturate<uint16_t>(int(x) - y)), false},
    {"pand", pand, [](Q a, Q b) { return a & b; }, false},
    {"pandn", pandn, [](Q a, Q b) { return ~a & b; }, false},
    {"por", por, [](Q a, Q b) { return a | b; }, false},
    {"pxor", pxor, [](Q a, Q b) { return a ^ b; }, false},
    {"pcmpeqb", pcmpeqb, LANE(uint8_t, x == y ? 0xFF : 0), false},
    {"pcmpeqw", pcmpeqw, LANE(uint16_t, x == y ? 0xFFFF : 0), false},
    {"pcmpeqd", pcmpeqd, LANE(uint32_t, x == y ? 0xFFFFFFFFu : 0), false},
    {"pcmpgtb", pcmpgtb, LANE(int8_t, x > y ? -1 : 0), false},
    {"pcmpgtw", pcmpgtw, LANE(int16_t, x > y ? -1 : 0), false},
    {"pcmpgtd", pcmpgtd, LANE(int32_t, x > y ? -1 : 0), false},
    {"pmaddwd", pmaddwd, MaddWd, false},
    {"pmulhw", pmulhw, LANE(int16_t, (int32_t(x) * y) >> 16), false},
    {"pmullw", pmullw, LANE(uint16_t, uint32_t(x) * y), false},
    {"psllw", psllw, [](Q a, Q b) { return ShiftLanes<uint16_t>(a, b, 0); }, true},
    {"pslld", pslld, [](Q a, Q b) { return ShiftLanes<uint32_t>(a, b, 0); }, true},
    {"psllq", psllq, [](Q a, Q b) { return ShiftLanes<uint64_t>(a, b, 0); }, true},
    {"psrlw", psrlw, [](Q a, Q b) { return ShiftLanes<uint16_t>(a, b, 1); }, true},
    {"psrld", psrld, [](Q a, Q b) { return ShiftLanes<uint32_t>(a, b, 1); }, true},
    {"psrlq", psrlq, [](Q a, Q b) { return ShiftLanes<uint64_t>(a, b, 1); }, true},
    {"psraw", psraw, [](Q a, Q b) { return ShiftLanes<uint16_t>(a, b, 2); }, true},
    {"psrad", psrad, [](Q a, Q b) { return ShiftLanes<uint32_t>(a, b, 2); }, true},
};

#undef LANE

enum MmxSource { kRegister, kMemory, kImmediate };

// out = a OP b, with a in mm0..mm7 by turns and b from a register, memory or
// (shifts) an immediate count.
void EmitMmx(Gen &g, const MmxOp &m, MmxSource source, int reg, int32_t count) {
  GlContext *gc = g.gc;
  OgCode *const regs[] = {mm0, mm1, mm2, mm3, mm4, mm5, mm6, mm7};
  OgCode *x = regs[reg], *y = regs[(reg + 3) % 8];
  g.E(mov(gc, eax, g.Arg(1)));
  g.E(mov(gc, ecx, g.Arg(2)));
  g.E(mov(gc, edx, g.Arg(3)));
  g.E(movq(gc, x, mem2(gc, nullptr, eax)));
  switch (source) {
    case kRegister:
      g.E(movq(gc, y, mem2(gc, nullptr, ecx)));
      g.E(m.op(gc, x, y));
      break;
    case kMemory: g.E(m.op(gc, x, mem2(gc, nullptr, ecx))); break;
    case kImmediate: g.E(m.op(gc, x, g.V(count))); break;
  }
  g.E(movq(gc, mem2(gc, nullptr, edx), x));
  g.E(emms(gc));
  g.E(ret(gc));
}

TEST_F(RunFpTest, MmxInstructionsMatchLaneModels) {
  std::mt19937 random(11);
  std::vector<Q> values = {0, ~Q(0), 0x7FFF80007FFF8000ull, 0x807F00FF7F800001ull,
                           0x8000000080000000ull, 0x000000007FFFFFFFull};
  for (int i = 0; i < 24; i++) values.push_back((Q(random()) << 32) | random());
  const Q counts[] = {0, 1, 3, 7, 8, 15, 16, 17, 31, 32, 33, 63, 64, 200, 0x100000001ull};

  for (const MmxOp &m : kMmxOps) {
    for (MmxSource source : {kRegister, kMemory, kImmediate}) {
      if (source == kImmediate && !m.shift) continue;
      for (int reg = 0; reg < 8; reg++) {
        SCOPED_TRACE(std::string(m.name) + " source " + std::to_string(source) + " reg " +
                     std::to_string(reg));
        const std::vector<Q> seconds = m.shift ? std::vector<Q>(std::begin(counts), std::end(counts))
                                               : values;
        for (Q b : seconds) {
          if (source == kImmediate && b > 255) continue;
          Gen g = Start();
          EmitMmx(g, m, source, reg, int32_t(b));
          const void *routine = Done(g);
          for (Q a : values) {
            Q out = 0;
            RunChecked(routine, {uint32_t(uintptr_t(&a)), uint32_t(uintptr_t(&b)),
                                 uint32_t(uintptr_t(&out))});
            ASSERT_EQ(out, m.model(a, b)) << std::hex << a << " " << b;
          }
          if (!m.shift && source != kImmediate && reg > 0) break;  // one value set per register
        }
      }
    }
  }
}

// movd in both directions and to and from memory; constants of the MMX pool.
TEST_F(RunFpTest, MovdAndMmxConstants) {
  Gen g = Start();
  g.E(movd(gc, mm1, g.Arg(1)));
  g.E(mov(gc, ecx, g.Arg(2)));
  g.E(movd(gc, mm2, ecx));
  g.E(punpckldq(gc, mm1, mm2));                // b:a
  g.E(paddw(gc, mm1, mxk4(gc, 1, 2, 3, -1)));  // word-wise
  g.E(movd(gc, eax, mm1));
  g.E(psrlq(gc, mm1, g.V(32)));
  g.E(movd(gc, g.Arg(2), mm1));
  g.E(mov(gc, edx, g.Arg(2)));
  g.E(emms(gc));
  g.E(ret(gc));
  const void *routine = Done(g);
  for (uint32_t a : {0u, 0x00010002u, 0xFFFFFFFFu})
    for (uint32_t b : {0u, 0x12345678u, 0x0000FFFFu}) {
      OgCallResult r = {};
      const uint32_t args[] = {a, b};
      OgCallChecked(routine, args, 2, &r);
      const Q want = Map<uint16_t>((Q(b) << 32) | a, 0xFFFF000300020001ull,
                                   [](uint16_t x, uint16_t y) { return uint16_t(x + y); });
      EXPECT_EQ(r.eax, uint32_t(want));
      EXPECT_EQ(r.edx, uint32_t(want >> 32));
      EXPECT_EQ(r.fpuEnvironment[4], 0xFFFF) << "emms leaves the x87 registers free";
    }
}

}  // namespace
