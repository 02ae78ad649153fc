// The SiS 6326 stand-in's decoder: what the driver stores becomes a typed
// log of register uploads, primitives with their vertex blocks, 2D fills,
// fires and queue waits.
#include <cstring>
#include <vector>

#include "platform/sis6326_internal.h"
#include "platform/sis6326_model.h"

namespace platform {
namespace {

constexpr size_t kMaxEvents = 1u << 18;  // a runaway program cannot take all memory

struct Decoder {
  std::vector<SiS6326Event> log;
  size_t dropped = 0;
  bool primitiveOpen = false;
  SiS6326Event primitive;  // the primitive taking vertex words
  uint32_t packetFlags = 0;  // flags of the 2D packet stores since the last 2D command
  bool logging = true;
};

Decoder &TheDecoder() {
  static Decoder *decoder = new Decoder;  // never destroyed, like the chip
  return *decoder;
}

// The model sees every event, whatever the tests' log keeps.
void Append(const SiS6326Event &e) {
  Decoder &d = TheDecoder();
  ModelEvent(e);
  if (!d.logging) return;
  if (d.log.size() >= kMaxEvents) {
    ++d.dropped;
    return;
  }
  d.log.push_back(e);
}

SiS6326Event Event(uint32_t kind, uint32_t offset, uint32_t value, uint32_t flags) {
  SiS6326Event e;
  std::memset(&e, 0, sizeof e);
  e.kind = kind;
  e.offset = offset;
  e.value = value;
  e.flags = flags;
  const SiS6326Register *r = SiS6326FindRegister(offset);
  e.group = r ? r->group : SIS6326_GROUP_NONE;
  return e;
}

// The vertex blocks and words per block a primitive command takes; false
// for a command the driver never sends.
bool Shape(uint32_t command, uint32_t *blocks, uint32_t *words) {
  uint32_t low = command & 0xFFFF;
  if ((low & 0x6000) == 0x6000) {  // triangle: 0x500 plain, 0x600 textured
    *blocks = 3;
    *words = (low & 0x700) == 0x600 ? 8 : 5;
    return (low & 0x700) == 0x500 || (low & 0x700) == 0x600;
  }
  if ((low & 0x7F) == 0x01 && (low & 0x300) == 0x300) {  // line
    *blocks = 2;
    *words = 5;
    return true;
  }
  if (low == 0x100 || low == 0x200) {  // point, textured with s, t, q
    *blocks = 1;
    *words = low == 0x100 ? 5 : 8;
    return true;
  }
  return false;
}

void OpenPrimitive(const uint8_t *registers, uint32_t command, uint32_t flags) {
  Decoder &d = TheDecoder();
  d.primitive = Event(SIS6326_EVENT_PRIMITIVE, SIS6326_PRIMITIVE_COMMAND, command, flags);
  uint32_t blocks = 0, words = 0;
  if (Shape(command, &blocks, &words)) d.primitive.index = blocks;
  std::memcpy(d.primitive.state, registers + SIS6326_3D_FIRST, sizeof d.primitive.state);
  d.primitiveOpen = true;
}

void VertexWord(const uint8_t *registers, uint32_t offset, uint32_t value, uint32_t flags) {
  Decoder &d = TheDecoder();
  if (!d.primitiveOpen) OpenPrimitive(registers, 0, SIS6326_FLAG_MALFORMED);  // no command
  uint32_t block = (offset - SIS6326_VERTEX_BLOCKS) / SIS6326_VERTEX_BLOCK_SIZE;
  uint32_t word = (offset - SIS6326_VERTEX_BLOCKS) % SIS6326_VERTEX_BLOCK_SIZE / 4;
  SiS6326Event &p = d.primitive;
  if (p.written[block] & (1u << word)) p.flags |= SIS6326_FLAG_MALFORMED;  // stored twice
  p.written[block] |= 1u << word;
  p.vertex[block][word] = value;
  p.flags |= flags;
  uint32_t blocks = 0, words = 0;
  bool complete = Shape(p.value, &blocks, &words);
  for (uint32_t b = 0; b < 3; ++b) complete &= p.written[b] == (b < blocks ? (1u << words) - 1 : 0);
  ModelOpenPrimitive(complete && !(p.flags & SIS6326_FLAG_MALFORMED) ? &p : nullptr);
}

}  // namespace

void DecodeFlush() {
  Decoder &d = TheDecoder();
  if (!d.primitiveOpen) return;
  ModelOpenPrimitive(nullptr);
  SiS6326Event &p = d.primitive;
  uint32_t blocks = 0, words = 0;
  if (!Shape(p.value, &blocks, &words)) p.flags |= SIS6326_FLAG_MALFORMED;
  for (uint32_t b = 0; b < 3; ++b) {
    uint32_t expected = b < blocks ? (1u << words) - 1 : 0;
    if (p.written[b] != expected) p.flags |= SIS6326_FLAG_MALFORMED;
  }
  Append(p);
  d.primitiveOpen = false;
}

void DecodeStore(const uint8_t *registers, uint32_t offset, uint32_t bytes, uint32_t value,
                 uint32_t flags) {
  Decoder &d = TheDecoder();
  const SiS6326Register *r = SiS6326FindRegister(offset);
  bool accepted = !(flags & SIS6326_FLAG_OUTSIDE) && SiS6326IsRegisterStore(offset, bytes) &&
                  r->group != SIS6326_GROUP_QUEUE;
  if (accepted && r->group == SIS6326_GROUP_VERTEX && !(flags & SIS6326_FLAG_DIRECT)) {
    VertexWord(registers, offset, value, flags);
    return;
  }
  DecodeFlush();
  if (!accepted) {
    SiS6326Event e = Event(SIS6326_EVENT_STRAY, offset, value, flags);
    if (flags & SIS6326_FLAG_OUTSIDE) e.group = SIS6326_GROUP_NONE;
    e.index = bytes;
    Append(e);
    return;
  }
  if (flags & SIS6326_FLAG_DIRECT) {  // order unknown: only what the register holds
    Append(Event(SIS6326_EVENT_REGISTER, offset, value, flags));
    return;
  }
  switch (r->group) {
    case SIS6326_GROUP_PRIMITIVE:
      OpenPrimitive(registers, value, flags);
      return;
    case SIS6326_GROUP_2D_PACKET:
      d.packetFlags |= flags;
      return;
    case SIS6326_GROUP_2D_COMMAND: {
      SiS6326Event e = Event(SIS6326_EVENT_FILL_2D, offset, value, flags | d.packetFlags);
      std::memcpy(e.vertex[0], registers + SIS6326_2D_PACKET, 5 * 4);
      d.packetFlags = 0;
      Append(e);
      return;
    }
    case SIS6326_GROUP_FIRE:
      Append(Event(SIS6326_EVENT_FIRE, offset, value,
                   flags | (value == 0xFF ? 0u : uint32_t(SIS6326_FLAG_MALFORMED))));
      return;
    default:
      Append(Event(SIS6326_EVENT_REGISTER, offset, value, flags));
  }
}

void DecodeWait(uint32_t slots, uint32_t flags) {
  DecodeFlush();
  SiS6326Event e = Event(SIS6326_EVENT_WAIT, 0, slots, flags);
  e.group = SIS6326_GROUP_QUEUE;
  Append(e);
}

void DecodeSequencer(uint32_t index, uint32_t value) {
  DecodeFlush();
  SiS6326Event e = Event(SIS6326_EVENT_SEQUENCER, SIS6326_SEQUENCER_DATA_PORT, value, 0);
  e.group = SIS6326_GROUP_NONE;
  e.index = index;
  Append(e);
}

void DecodePort(uint32_t port, uint32_t value) {
  DecodeFlush();
  SiS6326Event e = Event(SIS6326_EVENT_PORT, port, value, 0);
  e.group = SIS6326_GROUP_NONE;
  Append(e);
}

void DecoderReset() {
  Decoder &d = TheDecoder();
  d.log.clear();
  d.log.shrink_to_fit();
  d.dropped = 0;
  d.primitiveOpen = false;
  d.packetFlags = 0;
  d.logging = true;
  ModelReset();
}

}  // namespace platform

namespace {

// The log as of now: plain stores found and an open primitive closed.
void Settle() {
  platform::ChipFindDirectStores();
  platform::DecodeFlush();
}

}  // namespace

PLATFORM_API size_t PlatformSiS6326LogCount(void) {
  std::lock_guard<std::mutex> hold(platform::ChipLock());
  Settle();
  return platform::TheDecoder().log.size();
}

PLATFORM_API size_t PlatformSiS6326TakeLog(SiS6326Event *events, size_t capacity) {
  std::lock_guard<std::mutex> hold(platform::ChipLock());
  Settle();
  std::vector<SiS6326Event> &log = platform::TheDecoder().log;
  size_t n = events ? (capacity < log.size() ? capacity : log.size()) : 0;
  if (n == 0) return 0;
  std::memcpy(events, log.data(), n * sizeof *events);
  log.erase(log.begin(), log.begin() + ptrdiff_t(n));
  return n;
}

PLATFORM_API size_t PlatformSiS6326LogDropped(void) {
  std::lock_guard<std::mutex> hold(platform::ChipLock());
  return platform::TheDecoder().dropped;
}

PLATFORM_API void PlatformSiS6326SetLogging(BOOL on) {
  std::lock_guard<std::mutex> hold(platform::ChipLock());
  platform::TheDecoder().logging = on != FALSE;
}
