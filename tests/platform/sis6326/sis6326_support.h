// Test support for the SiS 6326 stand-in: the chip as the driver reaches it,
// the driver's queue wait, and the decoded log in a form tables compare.
#pragma once

#include <gtest/gtest.h>

#include <vector>

#include "platform/control.h"
#include "platform/dd326.h"
#include "platform/sis6326.h"

namespace sistest {

struct Chip {
  LPDD326DISPINFO info;
  uint8_t *mmio;
  volatile short *counter;
  short reserve;

  void Store32(uint32_t offset, uint32_t value) const { SiS6326Store32(mmio + offset, value); }
  void Store16(uint32_t offset, uint16_t value) const { SiS6326Store16(mmio + offset, value); }
  void Fire() const { SiS6326Store8(mmio + SIS6326_FIRE, 0xFF); }
  short Counter() const { return __atomic_load_n(counter, __ATOMIC_SEQ_CST); }
  // The status as plain memory shows it, without letting the chip run.
  uint16_t StatusInMemory() const {
    return uint16_t(mmio[SIS6326_QUEUE_STATUS] | mmio[SIS6326_QUEUE_STATUS + 1] << 8);
  }

  // The chip drivers' queue wait: recompute from the status while short of
  // n, then take n slots. Gives how many status reads it made.
  int Wait(short n) const {
    int reads = 0;
    short slots = Counter();
    while (slots < n) {
      slots = short((SiS6326Load16(mmio + SIS6326_QUEUE_STATUS) & SIS6326_QUEUE_STATUS_MASK) -
                    reserve);
      ++reads;
    }
    SiS6326TakeQueueSlots(counter, slots, n);
    return reads;
  }
};

// A chip at power-on, reached through the display-information block.
inline Chip PowerOn() {
  PlatformSiS6326Reset();
  LPDD326DISPINFO info = ddGetDispInfo();
  Chip c{info, nullptr, nullptr, 0};
  if (info == nullptr) return c;
  c.mmio = reinterpret_cast<uint8_t *>(uintptr_t(info->registerWindow));
  c.counter = reinterpret_cast<volatile short *>(uintptr_t(info->freeSlotCounter));
  c.reserve = short(info->queueReserve & 0xFFFF);
  return c;
}

inline std::vector<SiS6326Event> TakeLog() {
  std::vector<SiS6326Event> log(PlatformSiS6326LogCount());
  log.resize(PlatformSiS6326TakeLog(log.data(), log.size()));
  return log;
}

// What a table compares of one event.
struct Brief {
  uint32_t kind, offset, value, flags;
  bool operator==(const Brief &) const = default;
};

inline std::vector<Brief> Briefs(const std::vector<SiS6326Event> &log) {
  std::vector<Brief> out;
  for (const SiS6326Event &e : log) out.push_back({e.kind, e.offset, e.value, e.flags});
  return out;
}

inline void PrintTo(const Brief &b, std::ostream *os) {
  *os << "{kind " << b.kind << std::hex << ", 0x" << b.offset << ", 0x" << b.value << ", flags 0x"
      << b.flags << "}";
}

class ChipTest : public ::testing::Test {
 protected:
  void SetUp() override {
    chip = PowerOn();
    ASSERT_NE(chip.info, nullptr);
  }
  void TearDown() override {
    PlatformClearFaults();
    PlatformSetProcessId(0);
    PlatformSiS6326Reset();
  }
  Chip chip;
};

}  // namespace sistest
