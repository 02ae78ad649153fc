// Kernel tables built at compile time: a family gives its membership rule
// `Member(slot)` and a template `At<Slot>` that yields its kernel for a
// member slot and null for an empty one (the kernel of an empty slot is
// never instantiated), and the builder lays the slots out in order. Every filled slot is its own instantiation, with all
// of its choices fixed inside, so no pixel loop tests state.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include <array>
#include <initializer_list>
#include <utility>

#include "core/procs.h"

template <size_t N>
using FrKernelTable = std::array<FrSpanletProc, N>;

template <class Family, size_t... Slot>
constexpr FrKernelTable<sizeof...(Slot)> FrBuildKernelTableOf(std::index_sequence<Slot...>) {
  return {{Family::template At<unsigned(Slot)>()...}};
}

// Bit s set when slot s holds a kernel (tables of up to 128 slots).
struct FrSlotSet {
  uint64_t low, high;
  constexpr bool operator==(const FrSlotSet &o) const { return low == o.low && high == o.high; }
};

// Taken from the rule rather than from the table's pointers: a sanitizing
// build cannot compare a function's address with null at compile time.
template <class Family, size_t N>
constexpr FrSlotSet FrFilledSlots() {
  static_assert(N <= 128);
  FrSlotSet set{0, 0};
  for (size_t s = 0; s < N; s++)
    if (Family::Member(unsigned(s))) (s < 64 ? set.low : set.high) |= uint64_t(1) << (s & 63);
  return set;
}

// A slot set from a list of ranges [first, last] of filled slots.
constexpr FrSlotSet FrSlotRanges(std::initializer_list<std::pair<uint32_t, uint32_t>> ranges) {
  FrSlotSet set{0, 0};
  for (const auto &r : ranges)
    for (uint32_t s = r.first; s <= r.second; s++)
      (s < 64 ? set.low : set.high) |= uint64_t(1) << (s & 63);
  return set;
}

// The family's table of N slots; it must fill exactly the slots in Members.
template <class Family, size_t N, FrSlotSet Members>
constexpr FrKernelTable<N> FrBuildKernelTable() {
  static_assert(FrFilledSlots<Family, N>() == Members, "the table fills exactly its member slots");
  return FrBuildKernelTableOf<Family>(std::make_index_sequence<N>());
}
