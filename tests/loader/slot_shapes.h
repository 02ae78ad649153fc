// What each dispatch slot takes and gives, from its signature: the size of
// each argument and the result a recording entry answers (marked with the
// slot number). Shared by the fake driver's recording entries and the tests
// that check what they saw.
#pragma once

#include <stdint.h>
#include <string.h>

#include <type_traits>
#include <vector>

#include "core/dispatch.h"

template <typename R>
R SlotResult(int slot) {
  if constexpr (std::is_pointer_v<R>)
    return reinterpret_cast<R>(uintptr_t(0x5E000000u + slot));
  else if constexpr (sizeof(R) == 1)
    return R(0x80u | (slot & 0x7F));
  else
    return R(0x5E000000u + slot);
}

template <typename F>
struct SlotShape;
template <typename R, typename... A>
struct SlotShape<R(A...)> {
  static std::vector<unsigned> Sizes() { return {unsigned(sizeof(A))...}; }
  static unsigned ResultBytes() {
    if constexpr (std::is_void_v<R>)
      return 0;
    else
      return sizeof(R);
  }
  // The result's bits as EAX carries them (the low ResultBytes() bytes).
  static uint32_t Result(int slot) {
    if constexpr (std::is_void_v<R>) {
      return 0;
    } else {
      R r = SlotResult<R>(slot);
      uint32_t bits = 0;
      memcpy(&bits, &r, sizeof r);
      return bits;
    }
  }
};
