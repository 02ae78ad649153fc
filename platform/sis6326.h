// The SiS 6326 chip stand-in: the register window and free-slot counter of
// the display-information block ("dd326_32.dll"), the VGA sequencer ports
// and the PCI BIOS look-up, and a decoder that turns what the driver sends
// into a typed log for tests.
//
// The driver stores to the register window through SiS6326Store*, and reads
// the queue status through SiS6326Load16, in place of plain memory accesses:
// that is how the stand-in sees every store in order, a store of an unchanged
// value included. A plain store into the window still lands in memory; the
// decoder finds it at the next fire, status read or log read and logs it
// flagged SIS6326_FLAG_DIRECT (its order and repeats are lost).
//
// The queue wait keeps the protocol of the chip's drivers: the counter at
// display-information word 17 holds the free slots; while it is below n the
// driver recomputes it from the queue status, (status AND 0x1FFF) - reserve.
// The store of the new count, done with interrupts masked on the original
// platform, is SiS6326TakeQueueSlots here: an atomic store that also tells the
// stand-in that n slots were taken. The chip executes what is queued (frees
// its slots) when the fire byte is written and whenever the status is read.
#pragma once

#include "platform/sis6326_registers.h"
#include "platform/win_types.h"

#define SIS6326_PCI_VENDOR 0x1039u
#define SIS6326_PCI_DEVICE 0x6326u
#define SIS6326_SEQUENCER_INDEX_PORT 0x3C4u  // the sequencer pair at I/O base + 0x44
#define SIS6326_SEQUENCER_DATA_PORT 0x3C5u

// ---- The driver's side ------------------------------------------------------------
// A store into the register window; `address` is the window's base plus the
// register offset. A store outside the window is logged and dropped.
PLATFORM_API void SiS6326Store32(volatile void *address, DWORD value);
PLATFORM_API void SiS6326Store16(volatile void *address, WORD value);
PLATFORM_API void SiS6326Store8(volatile void *address, BYTE value);
// A 16-bit read of the window; reading the queue status lets the chip run
// what is queued first. Outside the window: 0xFFFF.
PLATFORM_API WORD SiS6326Load16(const volatile void *address);
// Stores freeSlots - n into the shared counter and takes n slots (n >= 0).
PLATFORM_API void SiS6326TakeQueueSlots(volatile short *counter, short freeSlots, short n);

// I/O ports: the VGA sequencer pair. Other ports read 0xFF and ignore stores.
PLATFORM_API BYTE SiS6326PortIn(WORD port);
PLATFORM_API void SiS6326PortOut(WORD port, BYTE value);

// The PCI BIOS services: find the index-th device with the given ids, giving
// its bus, device and function word; read a byte of its configuration space.
// Results are the PCI BIOS codes below.
#define PCIBIOS_SUCCESSFUL 0x00u
#define PCIBIOS_DEVICE_NOT_FOUND 0x86u
#define PCIBIOS_BAD_VENDOR_ID 0x83u
#define PCIBIOS_BAD_REGISTER_NUMBER 0x87u
PLATFORM_API BYTE PciBiosFindDevice(WORD deviceId, WORD vendorId, WORD index,
                                    WORD *busDeviceFunction);
PLATFORM_API BYTE PciBiosReadConfigByte(WORD busDeviceFunction, WORD offset, BYTE *value);

// ---- The decoded log (tests) -----------------------------------------------------------
enum SiS6326EventKind : uint32_t {
  SIS6326_EVENT_WAIT = 1,       // value: slots taken
  SIS6326_EVENT_REGISTER,       // a 3D register: offset, value, group
  SIS6326_EVENT_PRIMITIVE,      // value: command; blocks, written, vertex, state
  SIS6326_EVENT_FILL_2D,        // value: 2D command; vertex[0][0..4]: the packet
  SIS6326_EVENT_FIRE,           // value: the byte stored (0xFF runs the queue)
  SIS6326_EVENT_SEQUENCER,      // index, value: a sequencer register stored
  SIS6326_EVENT_STRAY,          // a store the map does not accept: offset, value, size in index
  SIS6326_EVENT_PORT,           // a store to a port the chip does not decode: offset = port
};

enum SiS6326EventFlag : uint32_t {
  SIS6326_FLAG_UNCOVERED = 0x1,  // a store here had no queue slot taken for it
  SIS6326_FLAG_DIRECT = 0x2,     // a plain store found in the window
  SIS6326_FLAG_MALFORMED = 0x4,  // vertex words unlike the command; a fire other than 0xFF
  SIS6326_FLAG_OUTSIDE = 0x8,    // stray: the address lies outside the window
};

#define SIS6326_STATE_WORDS ((SIS6326_3D_END - SIS6326_3D_FIRST) / 4)

typedef struct SiS6326Event {
  uint32_t kind;
  uint32_t flags;
  uint32_t offset;
  uint32_t value;
  uint32_t group;
  uint32_t index;             // sequencer index; primitive: blocks its command uses
  uint32_t written[3];        // primitive: bit i set when word i of the block was stored
  uint32_t vertex[3][8];      // primitive: the vertex blocks; 2D fill: the packet
  uint32_t state[SIS6326_STATE_WORDS];  // primitive: registers 0x8A00-0x8A90 in force
} SiS6326Event;

// Events held now.
PLATFORM_API size_t PlatformSiS6326LogCount(void);
// Moves up to `capacity` of the oldest events out of the log; gives how many.
PLATFORM_API size_t PlatformSiS6326TakeLog(SiS6326Event *events, size_t capacity);
// Events dropped because the log was full since the last reset.
PLATFORM_API size_t PlatformSiS6326LogDropped(void);

// Turns the log on (the default) or off; the drawing model runs either way.
// Off, a long run keeps no events (a full log holds about 70 MB).
PLATFORM_API void PlatformSiS6326SetLogging(BOOL on);

// ---- The drawing model (tests) ---------------------------------------------------------------
// The model executes the decoded events into video memory at each fire, by
// the rules of platform/sis6326_model_rules.md. Positions count every event
// the decoder made since the last reset, from 0 (also those the log dropped
// or did not keep), so they match the log's indices when it is taken whole.
typedef struct SiS6326Violation {
  char rule[4];       // the rule broken, "M2", "A5", "B6", ...
  uint32_t position;  // of the event it concerns
  char what[116];     // what was met
} SiS6326Violation;

// Copies up to `capacity` of the violations recorded since the last clear,
// oldest first; gives how many are held.
PLATFORM_API size_t PlatformSiS6326Violations(SiS6326Violation *violations, size_t capacity);
PLATFORM_API void PlatformSiS6326ClearViolations(void);
// Reports work still queued (written, not fired) as a violation, as at the
// end of a test; the work is dropped.
PLATFORM_API void PlatformSiS6326CheckUnfired(void);

// What the model drew since the last reset: one entry per primitive or fill
// it executed, drawn or refused.
typedef struct SiS6326Drawn {
  uint32_t position;
  uint32_t kind;     // SIS6326_EVENT_PRIMITIVE or SIS6326_EVENT_FILL_2D
  uint32_t command;  // the primitive command or the 2D command
  uint32_t covered;  // pixels covered inside the clip rectangle (a fill: pixels filled)
  uint32_t written;  // pixels that passed every test and were stored
  uint32_t refused;  // nonzero when a violation kept it from drawing
} SiS6326Drawn;

PLATFORM_API size_t PlatformSiS6326Drawn(SiS6326Drawn *drawn, size_t capacity);
// For the triangle executed from the event at `position`: the distance of
// the centre of pixel (column, row) of its colour buffer to the nearest of
// its edges, in pixels. FALSE when no triangle was executed from there.
PLATFORM_API BOOL PlatformSiS6326EdgeDistance(uint32_t position, int column, int row,
                                              double *distance);

// For a textured point or triangle executed from the event at `position`:
// what the model evaluated at the centre of pixel (column, row) of its
// colour buffer. FALSE when no textured primitive was executed from there
// or it does not cover that pixel. Positions and lambda compare with the
// decisions they drive: a nearest tap changes at integer u or v, filters
// 2 and 3 change level at lambda 0.5 and k + 0.50005, the others at whole
// lambdas, magnification ends where rho passes the switch-over value.
typedef struct SiS6326TextureSample {
  float s, t;          // the texture coordinates
  float rho, lambda;   // the level of detail; lambda 0 when magnified
  float switchOver;    // the value c rho was compared with
  uint32_t filter;     // the minification filter code, 0-5
  uint32_t magnified;  // nonzero: level 0 by the magnification filter
  uint32_t linear;     // nonzero: each level's taps filtered linearly
  uint32_t levels;     // 1, or 2 when two levels are blended
  uint32_t level[2];
  float blend;         // the weight of level[1] when two are blended
  float u[2], v[2];    // the sample positions in texels of each level, before wrap
} SiS6326TextureSample;

PLATFORM_API BOOL PlatformSiS6326TextureSample(uint32_t position, int column, int row,
                                               SiS6326TextureSample *sample);

// ---- Controls (tests) ----------------------------------------------------------------------
// Power-on state: registers zero, queue empty, counter full, log empty and
// on, the model's queue, violations and record empty, the default chip
// (device 0x6326, revision 0xD2, sequencer zero), owner word 0.
PLATFORM_API void PlatformSiS6326Reset(void);
// The PCI device id and revision the identification reads; device 0: no
// SiS device on the bus.
PLATFORM_API void PlatformSiS6326SetChip(WORD deviceId, BYTE revision);
PLATFORM_API void PlatformSiS6326SetSequencer(BYTE index, BYTE value);
PLATFORM_API BYTE PlatformSiS6326Sequencer(BYTE index);
// Slots of the queue holding stores the chip has not executed yet.
PLATFORM_API DWORD PlatformSiS6326QueuePending(void);
// Display-information word 27, as another process would set it.
PLATFORM_API void PlatformSiS6326SetEngineOwner(DWORD processId);
PLATFORM_API DWORD PlatformSiS6326EngineOwner(void);

// Failure on demand (PlatformArmFault): "SiS6326QueueStatus" makes a status
// read report a full queue without running it (a busy chip);
// "PciBiosFindDevice" and "PciBiosReadConfigByte" fail with
// PCIBIOS_DEVICE_NOT_FOUND and PCIBIOS_BAD_REGISTER_NUMBER (or the fault's
// error); "SiS6326PortIn" reads 0xFF as from an absent device.
