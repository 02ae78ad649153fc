// The hardware clears through the chip's drawing model: the comparison
// fixture's context, whose back and depth buffers can be made to look like
// DirectDraw surfaces locked at their video memory (the clears then send
// 2D fills) or like buffers the chip cannot reach (the clears stay in
// software), so each clear runs both ways on the same surfaces.
#pragma once

#include <stdint.h>

#include <vector>

#include "platform/sis6326.h"
#include "tests/sis/hw_compare/hw_compare_fixture.h"

namespace sis_clear_test {

// How a buffer appears to the clears.
enum class Kind {
  kMemory,      // a buffer of the memory kind (a surface that fell back)
  kSurface,     // a DirectDraw surface locked at its own memory
  kLockFailed,  // a DirectDraw surface whose lock failed
};

class HardwareClear : public hwcompare::HardwareAgainstSoftware {
 protected:
  void SetUp() override;
  void TearDown() override;
  // Opens the context with these modes (null: 5-6-5, 16-bit depth).
  void OpenWith(const GlModes *modes);

  GlDrawableBuffer *Back() { return gc->back->buf.drawableBuf; }
  GlDrawableBuffer *Depth() { return gc->depthBuffer.buf.drawableBuf; }
  void Show(GlDrawableBuffer *buffer, Kind kind);

  // Resets the chip (block-write mode as given), fills the colour surface
  // with `colour` and the depth surface with 0xFFFF, runs glClear(mask) and
  // gives the events logged by the clear.
  std::vector<SiS6326Event> ClearLogged(GLbitfield mask, bool blockWrite = false,
                                        uint16_t colour = 0);
  // The surface's pixels, row by row.
  std::vector<uint16_t> Pixels(const GlDrawableBuffer *buffer);
  // The byte offset of the surface from the primary surface.
  uint32_t ChipOffset(const GlDrawableBuffer *buffer);

 private:
  struct Saved {
    GlDrawableBuffer *buffer;
    uint32_t (*update)(GlDrawableBuffer *, int32_t, int32_t, int32_t, int32_t, GlDrawable *,
                       uint32_t);
    void *kindPrivate;
  };
  std::vector<Saved> saved_;
  void *lockWords_[2] = {};
};

// The events of one kind.
std::vector<SiS6326Event> OfKind(const std::vector<SiS6326Event> &events, uint32_t kind);

}  // namespace sis_clear_test
