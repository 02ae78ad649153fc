// The table of states the SiS device puts on the chip, each a small scene
// drawn with plain GL calls. The same table is drawn through the SiS device
// and through the software-only device, so a row draws only what both take.
#pragma once

#include <stdint.h>

#include <string>
#include <vector>

namespace hwstates {

// What a row must put on the chip (the model's record holds it).
enum StateKinds : uint32_t {
  kTriangles = 0x1,
  kLines = 0x2,
  kPoints = 0x4,
  kFills = 0x8,  // 2D-engine fills: the clears
};

// Window size of every row: small, since each is drawn twice under emulation.
constexpr int32_t kWidth = 40, kHeight = 32;

struct StateRow {
  std::string name;
  uint32_t kinds;
  bool depth;  // uses the depth buffer: also drawn with a 32-bit one
  void (*draw)(const StateRow &row, int32_t width, int32_t height);
  // Arguments of the draw procedure (GL enums and the like).
  uint32_t a, b, c;
  // Drawn into the front buffer, with another window over part of it.
  bool front;
};

// Every row, generated once from the lists of functions, pairs and formats.
const std::vector<StateRow> &StateTable();
const StateRow *FindState(const std::string &name);

// Rows whose texture levels must lie in non-local video memory.
bool IsNonLocal(const StateRow &row);

// Where the texture rows find room for their levels: video memory as it
// is, or none (local memory filled, no non-local pool).
enum class TextureRoom { kAll, kNone };
void SetTextureRoom(TextureRoom room);

// Takes every byte of local video memory left with surfaces of its own, as
// another program would; the release gives them back.
void FillLocalVideoMemory();
void ReleaseVideoMemoryFiller();

}  // namespace hwstates
