// What each dispatch slot takes and gives, from its signature: the size of
// each argument and the result a recording entry answers (marked with the
// slot number). Shared by the recording entries of the core tests and of the
// fake driver, and by the tests that check what those entries saw.
#pragma once

#include <stddef.h>
#include <stdint.h>
#include <string.h>

#include <type_traits>
#include <vector>

#include "core/dispatch.h"

// What the recording entry of a slot returns: marked with the slot number.
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
  static bool Returns() { return !std::is_void_v<R>; }
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

// The low `bytes` bytes of EAX: all a result of that size sets.
inline uint32_t ResultInEax(uint32_t eax, unsigned bytes) {
  return bytes >= 4 ? eax : eax & ((1u << (8 * bytes)) - 1);
}

// Distinct argument words for a slot: all of them, and every pair of them, are
// ordinary float and double values, and their low bytes differ, so a dropped,
// swapped or truncated word shows.
inline std::vector<uint32_t> SlotWords(int slot, int count) {
  std::vector<uint32_t> words;
  for (int i = 0; i < count; ++i) words.push_back(0x40000000u + slot * 0x1000u + (i + 1) * 0x11u);
  return words;
}

// The argument values a callee sees when these words are pushed, argument by
// argument (`sizes` as Sizes() gives them).
inline std::vector<uint64_t> ArgumentsSeen(const std::vector<unsigned> &sizes,
                                           const std::vector<uint32_t> &words) {
  std::vector<uint64_t> seen;
  size_t w = 0;
  for (unsigned size : sizes) {
    if (size == 8) {
      seen.push_back(words[w] | uint64_t(words[w + 1]) << 32);
      w += 2;
    } else {
      uint64_t mask = size == 4 ? 0xFFFFFFFFu : (uint64_t(1) << (8 * size)) - 1;
      seen.push_back(words[w] & mask);
      w += 1;
    }
  }
  return seen;
}

// The recording entry of slot S with the slot's own signature F: it writes
// the slot, one more call and each argument's bits and size into the record
// that Where() gives (any record with the fields of `Recorded` in the core
// tests), and answers SlotResult.
template <typename Record, Record &(*Where)(), int S, typename F>
struct SlotRecorder;
template <typename Record, Record &(*Where)(), int S, typename R, typename... A>
struct SlotRecorder<Record, Where, S, R(A...)> {
  template <typename T>
  static void Keep(Record &record, T value) {
    uint64_t bits = 0;
    memcpy(&bits, &value, sizeof value);
    record.bits[record.count] = bits;
    record.sizes[record.count++] = sizeof value;
  }
  static R GLENTRY Proc(A... args) {
    Record &record = Where();
    record.slot = S;
    record.calls++;
    record.count = 0;
    (Keep(record, args), ...);
    if constexpr (!std::is_void_v<R>) return SlotResult<R>(S);
  }
};
