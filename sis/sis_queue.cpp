// The command-queue wait shared with the display driver: the free-slot count
// lives in the display-information block; when it runs short it is
// recomputed from the chip's queue status less the driver's reserve.
#include "sis/sis_hw.h"
#include "sis/sis_registers.h"

int mWait3DCmdQueue(int n) {
  LPDD326DISPINFO info = sis::DispInfo();
  if (info == nullptr || info->freeSlotCounter == 0) return 1;  // no chip to wait for
  if (n < 0) n = 0;
  volatile short *counter = reinterpret_cast<volatile short *>(uintptr_t(info->freeSlotCounter));
  const uint8_t *mmio = reinterpret_cast<const uint8_t *>(uintptr_t(info->registerWindow));
  const short reserve = short(info->queueReserve & 0xFFFF);
  short slots = __atomic_load_n(counter, __ATOMIC_SEQ_CST);
  while (slots < n)
    slots = short((SiS6326Load16(mmio + sis::kRegQueueStatus) & sis::kQueueStatusMask) - reserve);
  SiS6326TakeQueueSlots(counter, slots, short(n));
  return 1;
}
