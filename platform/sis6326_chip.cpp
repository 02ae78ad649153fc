// The SiS 6326 stand-in's register window and command queue: stores through
// the stand-in, the free-slot counter, and the chip running what is queued.
#include <cstring>

#include "platform/control.h"
#include "platform/fault.h"
#include "platform/sis6326_internal.h"

namespace platform {
namespace {

struct Chip {
  uint8_t *window;  // the driver's view
  uint8_t *own;     // the same memory, written by the stand-in's stores
  uint8_t shadow[DD326_REGISTER_WINDOW_SIZE];  // the window as the stand-in's stores left it
  alignas(4) short counter;                    // display-information word 17 points here
  short knownCounter;  // the counter as the stand-in last saw or stored it
  uint32_t credit;     // slots taken by queue waits and not yet used by a store
  uint32_t pending;    // stores queued and not yet executed
};

static_assert(DD326_QUEUE_STATUS == SIS6326_QUEUE_STATUS, "one queue status");

void StoreBytes(uint8_t *at, uint32_t value, uint32_t bytes) {
  for (uint32_t i = 0; i < bytes; ++i) at[i] = uint8_t(value >> (8 * i));
}

uint32_t LoadBytes(const uint8_t *at, uint32_t bytes) {
  uint32_t value = 0;
  for (uint32_t i = 0; i < bytes; ++i) value |= uint32_t(at[i]) << (8 * i);
  return value;
}

void ShowQueueStatus(Chip &c) {
  uint32_t used = c.pending < SIS6326_QUEUE_SLOTS ? c.pending : SIS6326_QUEUE_SLOTS;
  uint32_t status = SIS6326_QUEUE_SLOTS - used;
  StoreBytes(c.own + SIS6326_QUEUE_STATUS, status, 2);
  StoreBytes(c.shadow + SIS6326_QUEUE_STATUS, status, 2);
}

void PowerOn(Chip &c) {
  std::memset(c.own, 0, DD326_REGISTER_WINDOW_SIZE);
  std::memset(c.shadow, 0, sizeof c.shadow);
  c.credit = 0;
  c.pending = 0;
  ShowQueueStatus(c);
  c.knownCounter = short(SIS6326_QUEUE_SLOTS - DD326_QUEUE_RESERVE);
  __atomic_store_n(&c.counter, c.knownCounter, __ATOMIC_SEQ_CST);
}

Chip &TheChip() {
  static Chip *chip = [] {
    Chip *c = new Chip;  // never destroyed: the driver may store to it up to the end
    c->window = ChipMapWindow(&c->own);
    PowerOn(*c);
    return c;
  }();
  return *chip;
}

// The chip runs everything queued.
void Execute(Chip &c) {
  c.pending = 0;
  ShowQueueStatus(c);
}

// A counter lowered behind the stand-in's back still took slots.
void ObserveCounter(Chip &c) {
  short now = __atomic_load_n(&c.counter, __ATOMIC_SEQ_CST);
  if (now < c.knownCounter) {
    uint32_t slots = uint32_t(c.knownCounter - now);
    DecodeWait(slots, SIS6326_FLAG_DIRECT);
    c.credit += slots;
  }
  c.knownCounter = now;
}

// The offset of [address, address + bytes) in the window, or false.
bool WindowOffset(const Chip &c, const volatile void *address, uint32_t bytes, uint32_t *offset) {
  uintptr_t a = reinterpret_cast<uintptr_t>(address), base = reinterpret_cast<uintptr_t>(c.window);
  *offset = uint32_t(a - base);
  return a >= base && a - base <= DD326_REGISTER_WINDOW_SIZE - bytes;
}

void Store(volatile void *address, uint32_t value, uint32_t bytes) {
  std::lock_guard<std::mutex> hold(ChipLock());
  Chip &c = TheChip();
  uint32_t offset;
  if (!WindowOffset(c, address, bytes, &offset)) {
    DecodeStore(c.shadow, offset, bytes, value, SIS6326_FLAG_OUTSIDE);
    return;
  }
  ObserveCounter(c);
  bool fire = offset == SIS6326_FIRE && bytes == 1;
  if (fire) ChipFindDirectStores();  // plain stores made before this one
  uint32_t flags = 0;
  if (c.credit > 0)
    --c.credit;
  else
    flags |= SIS6326_FLAG_UNCOVERED;
  StoreBytes(c.own + offset, value, bytes);
  StoreBytes(c.shadow + offset, value, bytes);
  if (c.pending < SIS6326_QUEUE_SLOTS) ++c.pending;
  ShowQueueStatus(c);  // also undoes a store to the read-only status
  DecodeStore(c.shadow, offset, bytes, value, flags);
  if (fire && value == 0xFF) Execute(c);
}

}  // namespace

std::mutex &ChipLock() {
  static std::mutex *lock = new std::mutex;
  return *lock;
}

uint8_t *ChipWindow() { return TheChip().window; }

volatile short *ChipFreeSlotCounter() { return &TheChip().counter; }

void ChipFindDirectStores() {
  Chip &c = TheChip();
  // Only the pages written since the last look can differ from the shadow.
  const uint32_t pages = ChipTakeWrittenPages();
  if (pages == 0) return;
  for (uint32_t i = 0; i < DD326_REGISTER_WINDOW_SIZE; ++i) {
    if (!(pages & (1u << (i / kChipPageSize)))) {
      i |= kChipPageSize - 1;  // the next page
      continue;
    }
    if (c.window[i] == c.shadow[i]) continue;
    // The whole register (or aligned word, outside the map) the byte belongs to.
    const SiS6326Register *r = SiS6326FindRegister(i);
    uint32_t start = r ? r->offset + (i - r->offset) / r->element * r->element : i & ~3u;
    uint32_t bytes = r ? r->element : 4;
    // A word outside the map stops short of the fire byte that may follow it.
    while (!r && SiS6326FindRegister(start + bytes - 1) != nullptr) --bytes;
    std::memcpy(c.shadow + start, c.window + start, bytes);
    uint32_t value = LoadBytes(c.window + start, bytes);
    DecodeStore(c.shadow, start, bytes, value, SIS6326_FLAG_DIRECT);
    if (start == SIS6326_FIRE && value == 0xFF) Execute(c);
    i = start + bytes - 1;
  }
  ShowQueueStatus(c);
}

}  // namespace platform

using platform::TheChip;

PLATFORM_API void SiS6326Store32(volatile void *address, DWORD value) {
  platform::Store(address, value, 4);
}

PLATFORM_API void SiS6326Store16(volatile void *address, WORD value) {
  platform::Store(address, value, 2);
}

PLATFORM_API void SiS6326Store8(volatile void *address, BYTE value) {
  platform::Store(address, value, 1);
}

PLATFORM_API WORD SiS6326Load16(const volatile void *address) {
  std::lock_guard<std::mutex> hold(platform::ChipLock());
  platform::Chip &c = TheChip();
  uint32_t offset;
  if (!platform::WindowOffset(c, address, 2, &offset)) return 0xFFFF;
  platform::ObserveCounter(c);
  if (offset == SIS6326_QUEUE_STATUS) {
    platform::ChipFindDirectStores();
    if (platform::ShouldFail("SiS6326QueueStatus", nullptr, 0, nullptr)) return 0;  // busy: full
    platform::Execute(c);
  }
  return WORD(platform::LoadBytes(c.window + offset, 2));
}

PLATFORM_API void SiS6326TakeQueueSlots(volatile short *counter, short freeSlots, short n) {
  if (counter == nullptr) return;
  std::lock_guard<std::mutex> hold(platform::ChipLock());
  platform::Chip &c = TheChip();
  short now = short(freeSlots - n);
  if (counter != &c.counter) {  // not the chip's: only the store
    __atomic_store_n(counter, now, __ATOMIC_SEQ_CST);
    return;
  }
  platform::ObserveCounter(c);
  __atomic_store_n(&c.counter, now, __ATOMIC_SEQ_CST);
  c.knownCounter = now;
  if (n <= 0) return;
  platform::DecodeWait(uint32_t(n), 0);
  c.credit += uint32_t(n);
}

PLATFORM_API DWORD PlatformSiS6326QueuePending(void) {
  std::lock_guard<std::mutex> hold(platform::ChipLock());
  return TheChip().pending;
}

PLATFORM_API void PlatformSiS6326Reset(void) {
  std::lock_guard<std::mutex> hold(platform::ChipLock());
  platform::PowerOn(TheChip());
  platform::DecoderReset();
  platform::PortsReset();
  platform::DisplayInformationBlock().engineOwner = 0;
}
