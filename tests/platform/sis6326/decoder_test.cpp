// The SiS 6326 stand-in's decoder: register uploads by group, primitives with
// their vertex blocks and the state in force, 2D fills, fires, stores the map
// does not accept and plain stores found in the window.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "tests/platform/sis6326/sis6326_support.h"

namespace {

using sistest::Brief;
using sistest::ChipTest;

class Decoder : public ChipTest {};

// Every register the driver programs, with the upload group its dirty bits
// give it, written down from the driver's register list rather than taken
// from the map.
struct Expected {
  uint32_t offset, bytes, group;
} const kDriverRegisters[] = {
    {0x8280, 4, SIS6326_GROUP_2D_PACKET}, {0x8284, 4, SIS6326_GROUP_2D_PACKET},
    {0x8288, 4, SIS6326_GROUP_2D_PACKET}, {0x828C, 4, SIS6326_GROUP_2D_PACKET},
    {0x8290, 4, SIS6326_GROUP_2D_PACKET}, {0x82A8, 2, SIS6326_GROUP_QUEUE},
    {0x82AA, 2, SIS6326_GROUP_2D_COMMAND}, {0x8800, 4, SIS6326_GROUP_VERTEX},
    {0x881C, 4, SIS6326_GROUP_VERTEX}, {0x8820, 4, SIS6326_GROUP_VERTEX},
    {0x8840, 4, SIS6326_GROUP_VERTEX}, {0x885C, 4, SIS6326_GROUP_VERTEX},
    {0x89F8, 4, SIS6326_GROUP_PRIMITIVE}, {0x8A00, 4, SIS6326_GROUP_MODE},
    {0x8A04, 4, SIS6326_GROUP_Z}, {0x8A08, 4, SIS6326_GROUP_Z},
    {0x8A0C, 4, SIS6326_GROUP_ALPHA}, {0x8A10, 4, SIS6326_GROUP_ALPHA},
    {0x8A14, 4, SIS6326_GROUP_COLOUR}, {0x8A18, 4, SIS6326_GROUP_COLOUR},
    {0x8A1C, 4, SIS6326_GROUP_LINE_PATTERN}, {0x8A20, 4, SIS6326_GROUP_FOG},
    {0x8A28, 4, SIS6326_GROUP_BLEND}, {0x8A30, 4, SIS6326_GROUP_CLIP},
    {0x8A34, 4, SIS6326_GROUP_CLIP}, {0x8A38, 4, SIS6326_GROUP_TEXTURE},
    {0x8A3C, 4, SIS6326_GROUP_TEXTURE}, {0x8A40, 4, SIS6326_GROUP_TEXTURE},
    {0x8A44, 4, SIS6326_GROUP_TEXTURE}, {0x8A48, 4, SIS6326_GROUP_TEXTURE},
    {0x8A4C, 4, SIS6326_GROUP_TEXTURE}, {0x8A50, 4, SIS6326_GROUP_TEXTURE},
    {0x8A54, 4, SIS6326_GROUP_TEXTURE}, {0x8A58, 4, SIS6326_GROUP_TEXTURE},
    {0x8A5C, 4, SIS6326_GROUP_TEXTURE}, {0x8A60, 4, SIS6326_GROUP_TEXTURE},
    {0x8A64, 4, SIS6326_GROUP_TEXTURE}, {0x8A68, 4, SIS6326_GROUP_TEXTURE},
    {0x8A6C, 4, SIS6326_GROUP_TEXTURE}, {0x8A70, 4, SIS6326_GROUP_TEXTURE},
    {0x8A74, 4, SIS6326_GROUP_TEXTURE}, {0x8A78, 4, SIS6326_GROUP_TEXTURE},
    {0x8A7C, 4, SIS6326_GROUP_TEXTURE}, {0x8A80, 4, SIS6326_GROUP_TEXTURE},
    {0x8A90, 4, SIS6326_GROUP_TEXTURE}, {0x8AFF, 1, SIS6326_GROUP_FIRE},
};

TEST(RegisterMap, HoldsEveryRegisterTheDriverProgramsAndNothingBetween) {
  for (const Expected &e : kDriverRegisters) {
    const SiS6326Register *r = SiS6326FindRegister(e.offset);
    ASSERT_NE(r, nullptr) << std::hex << e.offset;
    EXPECT_EQ(r->group, e.group) << std::hex << e.offset;
    EXPECT_TRUE(SiS6326IsRegisterStore(e.offset, e.bytes)) << std::hex << e.offset;
  }
  // Offsets a driver might reach by a slip: the holes around the 3D registers.
  for (uint32_t hole : {0x827Cu, 0x8294u, 0x82A4u, 0x82ACu, 0x87FCu, 0x8860u, 0x89F4u, 0x89FCu,
                        0x8A24u, 0x8A2Cu, 0x8A84u, 0x8A88u, 0x8A8Cu, 0x8A94u, 0x8AFCu, 0x8B00u})
    EXPECT_EQ(SiS6326FindRegister(hole), nullptr) << std::hex << hole;
}

TEST_F(Decoder, EachThreeDimensionalRegisterUploadIsLoggedWithItsGroup) {
  std::vector<Brief> expected;
  std::vector<uint32_t> groups;
  for (const Expected &e : kDriverRegisters) {
    if (e.group > SIS6326_GROUP_TEXTURE) continue;
    chip.Wait(1);
    chip.Store32(e.offset, e.offset * 0x10001u);
    expected.push_back({SIS6326_EVENT_WAIT, 0, 1, 0});
    expected.push_back({SIS6326_EVENT_REGISTER, e.offset, e.offset * 0x10001u, 0});
    groups.push_back(e.group);
  }
  std::vector<SiS6326Event> log = sistest::TakeLog();
  EXPECT_EQ(sistest::Briefs(log), expected);
  for (size_t i = 0; i < groups.size() && 2 * i + 1 < log.size(); ++i)
    EXPECT_EQ(log[2 * i + 1].group, groups[i]) << std::hex << log[2 * i + 1].offset;
}

TEST_F(Decoder, AnUnchangedValueStoredAgainIsLoggedAgain) {
  chip.Wait(3);
  chip.Store32(0x8A00, 0x200880);
  chip.Store32(0x8A00, 0x200880);
  chip.Store32(0x8A30, 0);  // a zero over the zero of power-on
  std::vector<Brief> expected = {
      {SIS6326_EVENT_WAIT, 0, 3, 0},
      {SIS6326_EVENT_REGISTER, 0x8A00, 0x200880, 0},
      {SIS6326_EVENT_REGISTER, 0x8A00, 0x200880, 0},
      {SIS6326_EVENT_REGISTER, 0x8A30, 0, 0},
  };
  EXPECT_EQ(sistest::Briefs(sistest::TakeLog()), expected);
}

// A primitive as the driver sends it: one wait, the command, then block
// words in order. `words[b]` is how many words of block b are stored.
struct PrimitiveCase {
  const char *what;
  uint32_t command;
  uint32_t words[3];
  uint32_t blocks;  // what the decoder reads from the command
  bool malformed;
};

const PrimitiveCase kPrimitives[] = {
    {"flat triangle", 0x6000 | 0x02 | 0x40000 | 0x500, {5, 5, 5}, 3, false},
    {"smooth textured triangle", 0x6000 | 0x82 | 0x100000 | 0x600, {8, 8, 8}, 3, false},
    {"flat x-major line", 0xC1301, {5, 5, 0}, 2, false},
    {"smooth y-major line backwards", 0x110381, {5, 5, 0}, 2, false},
    {"flat x-major line backwards", 0x50301, {5, 5, 0}, 2, false},
    {"point", 0x100, {5, 0, 0}, 1, false},
    {"textured point", 0x200, {8, 0, 0}, 1, false},
    {"triangle missing a vertex", 0x6000 | 0x02 | 0x40000 | 0x500, {5, 5, 0}, 3, true},
    {"untextured triangle with texture words", 0x6000 | 0x02 | 0x100000 | 0x500, {8, 8, 8}, 3, true},
    {"point with a second block", 0x100, {5, 5, 0}, 1, true},
    {"textured point short of q", 0x200, {7, 0, 0}, 1, true},
    {"a command the driver never sends", 0x1234, {5, 0, 0}, 0, true},
};

TEST_F(Decoder, APrimitiveCarriesItsCommandVertexBlocksAndShape) {
  for (const PrimitiveCase &c : kPrimitives) {
    PlatformSiS6326Reset();
    chip.Wait(short(1 + c.words[0] + c.words[1] + c.words[2]));
    chip.Store32(SIS6326_PRIMITIVE_COMMAND, c.command);
    for (uint32_t b = 0; b < 3; ++b)
      for (uint32_t w = 0; w < c.words[b]; ++w)
        chip.Store32(SIS6326_VERTEX_BLOCKS + 0x20 * b + 4 * w, 0x1000 * (b + 1) + w);
    std::vector<SiS6326Event> log = sistest::TakeLog();  // reading the log closes it
    ASSERT_EQ(log.size(), 2u) << c.what;
    const SiS6326Event &p = log[1];
    EXPECT_EQ(p.kind, uint32_t(SIS6326_EVENT_PRIMITIVE)) << c.what;
    EXPECT_EQ(p.value, c.command) << c.what;
    EXPECT_EQ(p.index, c.blocks) << c.what;
    EXPECT_EQ(p.flags, c.malformed ? uint32_t(SIS6326_FLAG_MALFORMED) : 0u) << c.what;
    for (uint32_t b = 0; b < 3; ++b) {
      EXPECT_EQ(p.written[b], (1u << c.words[b]) - 1) << c.what << " block " << b;
      for (uint32_t w = 0; w < c.words[b]; ++w)
        EXPECT_EQ(p.vertex[b][w], 0x1000 * (b + 1) + w) << c.what << " block " << b;
    }
  }
}

TEST_F(Decoder, APrimitiveEndsAtTheNextStoreThatIsNotAVertexWord) {
  struct Case {
    const char *what;
    void (*next)(const sistest::Chip &);
    uint32_t nextKind;
  } const cases[] = {
      {"a fire", [](const sistest::Chip &c) { c.Fire(); }, SIS6326_EVENT_FIRE},
      {"a register", [](const sistest::Chip &c) { c.Store32(0x8A00, 5); }, SIS6326_EVENT_REGISTER},
      {"a queue wait", [](const sistest::Chip &c) { c.Wait(1); }, SIS6326_EVENT_WAIT},
      {"the next command", [](const sistest::Chip &c) { c.Store32(SIS6326_PRIMITIVE_COMMAND, 0x100); },
       SIS6326_EVENT_PRIMITIVE},
  };
  for (const Case &c : cases) {
    PlatformSiS6326Reset();
    chip.Wait(20);
    chip.Store32(SIS6326_PRIMITIVE_COMMAND, 0x100);
    for (uint32_t w = 0; w < 5; ++w) chip.Store32(SIS6326_VERTEX_BLOCKS + 4 * w, w);
    c.next(chip);
    std::vector<SiS6326Event> log = sistest::TakeLog();
    ASSERT_EQ(log.size(), 3u) << c.what;
    EXPECT_EQ(log[1].kind, uint32_t(SIS6326_EVENT_PRIMITIVE)) << c.what;
    EXPECT_EQ(log[1].written[0], 0x1Fu) << c.what;
    EXPECT_EQ(log[1].flags, 0u) << c.what;
    EXPECT_EQ(log[2].kind, c.nextKind) << c.what;
  }
}

TEST_F(Decoder, VertexWordsWithoutACommandOrStoredTwiceAreMalformed) {
  chip.Wait(20);
  chip.Store32(SIS6326_VERTEX_BLOCKS, 1);  // no command yet
  chip.Store32(SIS6326_PRIMITIVE_COMMAND, 0x100);
  for (uint32_t w = 0; w < 5; ++w) chip.Store32(SIS6326_VERTEX_BLOCKS + 4 * w, w);
  chip.Store32(SIS6326_VERTEX_BLOCKS + 8, 9);  // x again
  std::vector<SiS6326Event> log = sistest::TakeLog();
  ASSERT_EQ(log.size(), 3u);
  EXPECT_EQ(log[1].value, 0u);
  EXPECT_EQ(log[1].flags, uint32_t(SIS6326_FLAG_MALFORMED));
  EXPECT_EQ(log[2].flags, uint32_t(SIS6326_FLAG_MALFORMED));
  EXPECT_EQ(log[2].vertex[0][2], 9u);
}

TEST_F(Decoder, APrimitiveShortOfSlotsIsFlaggedUncovered) {
  chip.Wait(15);  // a triangle takes 16: the command and three blocks of five
  chip.Store32(SIS6326_PRIMITIVE_COMMAND, 0x6000 | 0x02 | 0x40000 | 0x500);
  for (uint32_t b = 0; b < 3; ++b)
    for (uint32_t w = 0; w < 5; ++w) chip.Store32(SIS6326_VERTEX_BLOCKS + 0x20 * b + 4 * w, w);
  std::vector<SiS6326Event> log = sistest::TakeLog();
  ASSERT_EQ(log.size(), 2u);
  EXPECT_EQ(log[1].flags, uint32_t(SIS6326_FLAG_UNCOVERED));
}

TEST_F(Decoder, APrimitiveKeepsTheStateInForceWhenItsCommandWasStored) {
  struct Step {
    uint32_t mode, clipRows, textureLayout;
  } const steps[] = {
      {0x200880, 0x0000001F, 0},
      {0x300885, (4u << 13) | 60, 0x88800001},
      {0x200880, 0x0000001F, 0},
  };
  for (const Step &s : steps) {
    chip.Wait(3 + 6);
    chip.Store32(0x8A00, s.mode);
    chip.Store32(0x8A30, s.clipRows);
    chip.Store32(0x8A80, s.textureLayout);
    chip.Store32(SIS6326_PRIMITIVE_COMMAND, 0x100);
    for (uint32_t w = 0; w < 5; ++w) chip.Store32(SIS6326_VERTEX_BLOCKS + 4 * w, w);
  }
  std::vector<const SiS6326Event *> primitives;
  std::vector<SiS6326Event> log = sistest::TakeLog();
  for (const SiS6326Event &e : log)
    if (e.kind == SIS6326_EVENT_PRIMITIVE) primitives.push_back(&e);
  ASSERT_EQ(primitives.size(), 3u);
  for (size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(primitives[i]->state[(0x8A00 - SIS6326_3D_FIRST) / 4], steps[i].mode) << i;
    EXPECT_EQ(primitives[i]->state[(0x8A30 - SIS6326_3D_FIRST) / 4], steps[i].clipRows) << i;
    EXPECT_EQ(primitives[i]->state[(0x8A80 - SIS6326_3D_FIRST) / 4], steps[i].textureLayout) << i;
  }
}

TEST_F(Decoder, ATwoDimensionalFillCarriesItsPacketAndCommand) {
  struct Case {
    const char *what;
    short slots;
    uint16_t command;
    uint32_t flags;
  } const cases[] = {
      {"block write off", 6, 0x31, 0},
      {"block write on", 6, 0x35, 0},
      {"a packet word short of slots", 5, 0x31, SIS6326_FLAG_UNCOVERED},
  };
  const uint32_t packet[5] = {0, 0x12340, 0x08000000, (99u << 16) | 199, 0xCC00FFFF};
  for (const Case &c : cases) {
    PlatformSiS6326Reset();
    chip.Wait(c.slots);
    for (uint32_t i = 0; i < 5; ++i) chip.Store32(SIS6326_2D_PACKET + 4 * i, packet[i]);
    chip.Store16(SIS6326_2D_COMMAND, c.command);
    chip.Wait(1);
    chip.Fire();
    std::vector<SiS6326Event> log = sistest::TakeLog();
    std::vector<Brief> expected = {
        {SIS6326_EVENT_WAIT, 0, uint32_t(c.slots), 0},
        {SIS6326_EVENT_FILL_2D, SIS6326_2D_COMMAND, c.command, c.flags},
        {SIS6326_EVENT_WAIT, 0, 1, 0},
        {SIS6326_EVENT_FIRE, SIS6326_FIRE, 0xFF, 0},
    };
    EXPECT_EQ(sistest::Briefs(log), expected) << c.what;
    ASSERT_EQ(log.size(), 4u);
    EXPECT_EQ(std::memcmp(log[1].vertex[0], packet, sizeof packet), 0) << c.what;
    EXPECT_EQ(PlatformSiS6326QueuePending(), 0u) << c.what;
  }
}

TEST_F(Decoder, StoresTheMapDoesNotAcceptAreLoggedAsStray) {
  struct Case {
    const char *what;
    int32_t offset;  // from the window's base
    uint32_t bytes;
    uint32_t group, flags;
  } const cases[] = {
      {"a hole between registers", 0x8A24, 4, SIS6326_GROUP_NONE, 0},
      {"a misaligned word", 0x8A02, 4, SIS6326_GROUP_MODE, 0},
      {"half a register", 0x8A00, 2, SIS6326_GROUP_MODE, 0},
      {"a word over the fire byte", 0x8AFF, 4, SIS6326_GROUP_FIRE, 0},
      {"the read-only queue status", 0x82A8, 2, SIS6326_GROUP_QUEUE, 0},
      {"past the window", 0x10000, 4, SIS6326_GROUP_NONE, SIS6326_FLAG_OUTSIDE},
      {"across the window's end", 0xFFFE, 4, SIS6326_GROUP_NONE, SIS6326_FLAG_OUTSIDE},
      {"before the window", -4, 4, SIS6326_GROUP_NONE, SIS6326_FLAG_OUTSIDE},
  };
  for (const Case &c : cases) {
    PlatformSiS6326Reset();
    uint8_t *at = chip.mmio + c.offset;  // never dereferenced outside the window
    if (c.flags == 0) chip.Wait(1);
    if (c.bytes == 4) SiS6326Store32(at, 0xABCD1234);
    if (c.bytes == 2) SiS6326Store16(at, 0x1234);
    std::vector<SiS6326Event> log = sistest::TakeLog();
    ASSERT_FALSE(log.empty()) << c.what;
    const SiS6326Event &e = log.back();
    EXPECT_EQ(e.kind, uint32_t(SIS6326_EVENT_STRAY)) << c.what;
    EXPECT_EQ(e.offset, uint32_t(c.offset)) << c.what;
    EXPECT_EQ(e.index, c.bytes) << c.what;
    EXPECT_EQ(e.group, c.group) << c.what;
    EXPECT_EQ(e.flags, c.flags) << c.what;
    EXPECT_EQ(chip.StatusInMemory(), SIS6326_QUEUE_SLOTS - PlatformSiS6326QueuePending()) << c.what;
  }
}

TEST_F(Decoder, PlainStoresIntoTheWindowAreFoundAndFlagged) {
  struct Case {
    const char *what;
    uint32_t offset, bytes, value;
    uint32_t kind, group;
  } const cases[] = {
      {"a register", 0x8A20, 4, 0x1FF0000, SIS6326_EVENT_REGISTER, SIS6326_GROUP_FOG},
      {"a vertex word", 0x8824, 4, 7, SIS6326_EVENT_REGISTER, SIS6326_GROUP_VERTEX},
      {"a hole", 0x8A84, 4, 0x55, SIS6326_EVENT_STRAY, SIS6326_GROUP_NONE},
      {"far from any register", 0x100, 1, 0x66, SIS6326_EVENT_STRAY, SIS6326_GROUP_NONE},
      {"the fire byte", 0x8AFF, 1, 0xFF, SIS6326_EVENT_REGISTER, SIS6326_GROUP_FIRE},
  };
  for (const Case &c : cases) {
    PlatformSiS6326Reset();
    chip.Wait(3);
    chip.Store32(0x8A00, 1);  // queued: the plain fire runs it
    std::memcpy(chip.mmio + c.offset, &c.value, c.bytes);
    chip.Wait(1);
    chip.Fire();
    std::vector<SiS6326Event> log = sistest::TakeLog();
    ASSERT_EQ(log.size(), 5u) << c.what;
    const SiS6326Event &e = log[3];  // found at the fire, before it
    EXPECT_EQ(e.kind, c.kind) << c.what;
    EXPECT_EQ(e.offset, c.bytes == 1 ? c.offset : c.offset & ~3u) << c.what;
    EXPECT_EQ(e.value, c.value) << c.what;
    EXPECT_EQ(e.group, c.group) << c.what;
    EXPECT_EQ(e.flags, uint32_t(SIS6326_FLAG_DIRECT)) << c.what;
    EXPECT_EQ(log[4].kind, uint32_t(SIS6326_EVENT_FIRE)) << c.what;
    EXPECT_EQ(PlatformSiS6326QueuePending(), 0u) << c.what;
  }
}

TEST_F(Decoder, APlainFireNextToAPlainStrayByteStillRunsTheQueue) {
  chip.Wait(1);
  chip.Store32(0x8A00, 1);
  chip.mmio[0x8AFE] = 0x77;
  chip.mmio[SIS6326_FIRE] = 0xFF;
  std::vector<SiS6326Event> log = sistest::TakeLog();
  std::vector<Brief> expected = {
      {SIS6326_EVENT_WAIT, 0, 1, 0},
      {SIS6326_EVENT_REGISTER, 0x8A00, 1, 0},
      {SIS6326_EVENT_STRAY, 0x8AFC, 0x770000, SIS6326_FLAG_DIRECT},
      {SIS6326_EVENT_REGISTER, SIS6326_FIRE, 0xFF, SIS6326_FLAG_DIRECT},
  };
  EXPECT_EQ(sistest::Briefs(log), expected);
  ASSERT_EQ(log.size(), 4u);
  EXPECT_EQ(log[2].index, 3u);
  EXPECT_EQ(PlatformSiS6326QueuePending(), 0u);
}

TEST_F(Decoder, APlainStoreIsFoundWhenTheLogIsRead) {
  chip.Wait(1);
  chip.Store32(0x8A00, 1);
  uint32_t value = 0x4000;
  std::memcpy(chip.mmio + 0x8A00, &value, 4);
  std::vector<Brief> expected = {
      {SIS6326_EVENT_WAIT, 0, 1, 0},
      {SIS6326_EVENT_REGISTER, 0x8A00, 1, 0},
      {SIS6326_EVENT_REGISTER, 0x8A00, 0x4000, SIS6326_FLAG_DIRECT},
  };
  EXPECT_EQ(sistest::Briefs(sistest::TakeLog()), expected);
  EXPECT_EQ(PlatformSiS6326LogCount(), 0u);  // found once
}

TEST_F(Decoder, AFireOtherThanAllOnesIsMalformedAndRunsNothing) {
  chip.Wait(2);
  chip.Store32(0x8A00, 1);
  SiS6326Store8(chip.mmio + SIS6326_FIRE, 0x7F);
  EXPECT_EQ(PlatformSiS6326QueuePending(), 2u);
  std::vector<SiS6326Event> log = sistest::TakeLog();
  ASSERT_EQ(log.size(), 3u);
  EXPECT_EQ(log[2].kind, uint32_t(SIS6326_EVENT_FIRE));
  EXPECT_EQ(log[2].flags, uint32_t(SIS6326_FLAG_MALFORMED));
}

TEST_F(Decoder, TakingTheLogMovesTheOldestEventsOut) {
  for (uint32_t i = 1; i <= 5; ++i) chip.Wait(short(i));
  SiS6326Event events[3];
  EXPECT_EQ(PlatformSiS6326TakeLog(nullptr, 3), 0u);
  EXPECT_EQ(PlatformSiS6326LogCount(), 5u);
  ASSERT_EQ(PlatformSiS6326TakeLog(events, 3), 3u);
  EXPECT_EQ(events[0].value, 1u);
  EXPECT_EQ(events[2].value, 3u);
  ASSERT_EQ(PlatformSiS6326TakeLog(events, 3), 2u);
  EXPECT_EQ(events[0].value, 4u);
  EXPECT_EQ(events[1].value, 5u);
  EXPECT_EQ(PlatformSiS6326TakeLog(events, 3), 0u);
  EXPECT_EQ(PlatformSiS6326LogDropped(), 0u);
}

}  // namespace
