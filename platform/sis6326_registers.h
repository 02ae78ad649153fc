// The SiS 6326 register window as the driver programs it: every offset the
// 3D engine, the command queue and the 2D engine use, in one table. Offsets
// are bytes from the start of the memory-mapped window.
#pragma once

#include <stdint.h>

// Register groups. The 3D groups follow the driver's dirty bits, so a group
// number tells which upload a write belongs to.
enum SiS6326Group : uint32_t {
  SIS6326_GROUP_NONE = 0,         // not a register of the map
  SIS6326_GROUP_MODE = 0x1,       // 0x8A00
  SIS6326_GROUP_Z = 0x2,          // 0x8A04, 0x8A08
  SIS6326_GROUP_ALPHA = 0x4,      // 0x8A0C, 0x8A10
  SIS6326_GROUP_COLOUR = 0x8,     // 0x8A14, 0x8A18
  SIS6326_GROUP_LINE_PATTERN = 0x10,
  SIS6326_GROUP_FOG = 0x20,
  SIS6326_GROUP_BLEND = 0x40,
  SIS6326_GROUP_CLIP = 0x100,     // 0x8A30, 0x8A34
  SIS6326_GROUP_TEXTURE = 0x200,  // 0x8A38-0x8A90
  SIS6326_GROUP_QUEUE = 0x1000,   // the queue status (read only)
  SIS6326_GROUP_2D_PACKET = 0x2000,
  SIS6326_GROUP_2D_COMMAND = 0x4000,
  SIS6326_GROUP_VERTEX = 0x8000,
  SIS6326_GROUP_PRIMITIVE = 0x10000,
  SIS6326_GROUP_FIRE = 0x20000,
};

struct SiS6326Register {
  uint32_t offset;
  uint32_t size;     // bytes the entry covers
  uint32_t element;  // bytes of one store: 4, 2 or 1
  const char *name;
  uint32_t group;
};

#define SIS6326_2D_PACKET 0x8280u
#define SIS6326_QUEUE_STATUS 0x82A8u
#define SIS6326_2D_COMMAND 0x82AAu
#define SIS6326_VERTEX_BLOCKS 0x8800u
#define SIS6326_VERTEX_BLOCK_SIZE 0x20u
#define SIS6326_PRIMITIVE_COMMAND 0x89F8u
#define SIS6326_3D_FIRST 0x8A00u
#define SIS6326_3D_END 0x8A94u  // one past the last 3D register
#define SIS6326_FIRE 0x8AFFu
#define SIS6326_QUEUE_SLOTS 0x1000u
#define SIS6326_QUEUE_STATUS_MASK 0x1FFFu

inline constexpr SiS6326Register kSiS6326Registers[] = {
    {0x8280, 20, 4, "2D packet", SIS6326_GROUP_2D_PACKET},
    {0x82A8, 2, 2, "queue status", SIS6326_GROUP_QUEUE},
    {0x82AA, 2, 2, "2D command", SIS6326_GROUP_2D_COMMAND},
    {0x8800, 32, 4, "vertex block 1", SIS6326_GROUP_VERTEX},
    {0x8820, 32, 4, "vertex block 2", SIS6326_GROUP_VERTEX},
    {0x8840, 32, 4, "vertex block 3", SIS6326_GROUP_VERTEX},
    {0x89F8, 4, 4, "primitive command", SIS6326_GROUP_PRIMITIVE},
    {0x8A00, 4, 4, "mode", SIS6326_GROUP_MODE},
    {0x8A04, 4, 4, "Z pitch and format", SIS6326_GROUP_Z},
    {0x8A08, 4, 4, "Z address", SIS6326_GROUP_Z},
    {0x8A0C, 4, 4, "alpha test", SIS6326_GROUP_ALPHA},
    {0x8A10, 4, 4, "second alpha word", SIS6326_GROUP_ALPHA},
    {0x8A14, 4, 4, "colour pitch and format", SIS6326_GROUP_COLOUR},
    {0x8A18, 4, 4, "colour address", SIS6326_GROUP_COLOUR},
    {0x8A1C, 4, 4, "line pattern", SIS6326_GROUP_LINE_PATTERN},
    {0x8A20, 4, 4, "fog", SIS6326_GROUP_FOG},
    {0x8A28, 4, 4, "blend", SIS6326_GROUP_BLEND},
    {0x8A30, 4, 4, "clip rows", SIS6326_GROUP_CLIP},
    {0x8A34, 4, 4, "clip columns", SIS6326_GROUP_CLIP},
    {0x8A38, 4, 4, "texture set-up", SIS6326_GROUP_TEXTURE},
    {0x8A3C, 4, 4, "texture environment", SIS6326_GROUP_TEXTURE},
    {0x8A40, 4, 4, "transparent colour", SIS6326_GROUP_TEXTURE},
    {0x8A44, 40, 4, "level address", SIS6326_GROUP_TEXTURE},
    {0x8A6C, 20, 4, "level pitches", SIS6326_GROUP_TEXTURE},
    {0x8A80, 4, 4, "level layout", SIS6326_GROUP_TEXTURE},
    {0x8A90, 4, 4, "texture word 0x8A90", SIS6326_GROUP_TEXTURE},
    {0x8AFF, 1, 1, "fire", SIS6326_GROUP_FIRE},
};

// The entry whose range holds `offset`, or null.
constexpr const SiS6326Register *SiS6326FindRegister(uint32_t offset) {
  for (const SiS6326Register &r : kSiS6326Registers)
    if (offset >= r.offset && offset - r.offset < r.size) return &r;
  return nullptr;
}

// A store the map accepts: inside an entry, of its element size, aligned to it.
constexpr bool SiS6326IsRegisterStore(uint32_t offset, uint32_t bytes) {
  const SiS6326Register *r = SiS6326FindRegister(offset);
  return r != nullptr && r->element == bytes && (offset - r->offset) % bytes == 0;
}

static_assert(SiS6326FindRegister(0x8A24) == nullptr && SiS6326FindRegister(0x8A2C) == nullptr,
              "the holes between the 3D registers are not registers");
static_assert(SiS6326FindRegister(0x8A64)->group == SIS6326_GROUP_TEXTURE &&
                  SiS6326FindRegister(0x885C)->group == SIS6326_GROUP_VERTEX &&
                  SiS6326FindRegister(0x8860) == nullptr,
              "level addresses and vertex blocks end where the driver stops");
