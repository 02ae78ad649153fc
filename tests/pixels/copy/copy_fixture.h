// A DrawTest context whose copies run through the generic copy path, with a
// reader that counts the source rows it reads and can read them from a
// snapshot of the buffers taken before the copy: the reference is the
// plain row loop reading that unchanged snapshot.
#pragma once

#include <stdint.h>

#include <map>
#include <vector>

#include "tests/pixels/draw/draw_fixture.h"

namespace copy_test {

// The bytes of the colour, depth and stencil buffers.
struct Snapshot {
  std::vector<uint8_t> color, depth, stencil;
  bool operator==(const Snapshot &o) const {
    return color == o.color && depth == o.depth && stencil == o.stencil;
  }
};

class CopyTest : public draw_test::DrawTest {
 protected:
  // A distinct value in every pixel of every buffer.
  void FillPattern();
  Snapshot Take() const;
  void Restore(const Snapshot &s);
  // Copies through the path; `plain` runs the row loop of non-overlapping
  // copies, reading from `source` (null: the live buffers). Returns the
  // frame rows read, in order.
  std::vector<int32_t> Copy(int x, int y, int width, int height, GLenum format, bool plain,
                            const Snapshot *source);
  // The raster position of drawable row y as the copy's destination.
  void SetDestination(double x, double y);
  // Runs the copy both ways from the same start; returns the failure text.
  std::string CompareWithSnapshotCopy(int x, int y, int width, int height, GLenum format);
  std::vector<int32_t> lastReads_;
};

}  // namespace copy_test
