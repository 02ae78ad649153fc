// What the tests of the hand-written routines share: which instruction set
// a routine needs and whether the processor has it, and a call through the
// code generator's checking thunk (tests/codegen/emitter/og_call.cpp) that also
// checks what a routine must leave as it found it.
#pragma once

#include <gtest/gtest.h>
#include <stdint.h>
#include <string.h>

#include <initializer_list>

// The portable forms are compiled C++; they are run beside the others as
// the baseline.
enum class Isa { Portable, X87, K3D };

const char *IsaName(Isa isa);
// 3DNow! as cpuid reports it (qemu's Phenom has it; current processors not).
bool ProcessorHasK3D();

#define SKIP_UNLESS_PROCESSOR_RUNS(isa)           \
  if ((isa) == Isa::K3D && !ProcessorHasK3D()) {  \
    GTEST_SKIP() << "the processor lacks 3DNow!"; \
  }

// Calls `routine` as a cdecl caller would, with sentinels in ebx, esi, edi
// and ebp, and expects them, esp and the x87 control word unchanged after
// it and every x87 register empty (a 3DNow! routine ends with femms, an x87
// one pops what it pushed). Returns eax. The calling thread runs with the
// platform's control word.
uint32_t CallChecked(const void *routine, std::initializer_list<uint32_t> args);

template <typename T>
uint32_t Word(T *p) {
  return uint32_t(reinterpret_cast<uintptr_t>(p));
}

uint16_t X87ControlWord();

inline uint32_t Bits(float f) {
  uint32_t u;
  memcpy(&u, &f, 4);
  return u;
}
inline float FloatOf(uint32_t u) {
  float f;
  memcpy(&f, &u, 4);
  return f;
}
// The distance between adjacent floats at the magnitude of |f| (the
// smallest normal's step below it, the smallest step at 0).
double UlpOf(double f);
