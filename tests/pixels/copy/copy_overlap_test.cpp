// Overlapping copies: at every small offset and at offsets beyond the
// rectangle, under every zoom of a set in each axis, on bottom-up and
// top-down drawables, the result equals the plain loop's copy from an
// unchanged snapshot, and each source row it reads is read exactly once.
#include <algorithm>

#include "core/gl_api.h"
#include "pixels/px_enums.h"
#include "tests/pixels/copy/copy_fixture.h"

namespace copy_test {
namespace {

constexpr int kX = 20, kY = 15, kW = 10, kH = 8;

class CopyOverlap : public CopyTest {};

const float kZooms[] = {0.5f, -0.5f, 1.0f, -1.0f, 2.0f, -2.0f, 2.5f};

std::vector<std::pair<int, int>> Offsets() {
  std::vector<std::pair<int, int>> o;
  for (int dy = -3; dy <= 3; dy++)
    for (int dx = -3; dx <= 3; dx++) o.push_back({dx, dy});
  for (auto far : {std::pair{12, 0}, {-11, 0}, {0, 9}, {0, -9}, {13, -10}, {-4, 8}})
    o.push_back(far);
  return o;
}

TEST_F(CopyOverlap, EveryOffsetAndZoomEqualsACopyFromTheSnapshot) {
  for (bool topDown : {false, true}) {
    Open(true, topDown);
    FillPattern();
    for (float zx : kZooms)
      for (float zy : kZooms) {
        glPixelZoom(zx, zy);
        for (const auto &[dx, dy] : Offsets()) {
          SCOPED_TRACE(testing::Message() << "top-down " << topDown << " zoom " << zx << ", " << zy
                                          << " offset " << dx << ", " << dy);
          SetDestination(kX + dx, kY + dy);
          EXPECT_EQ(CompareWithSnapshotCopy(kX, kY, kW, kH, GL_RGBA), "");
        }
      }
  }
}

// The source row each read takes, counted from the rectangle's first row.
std::vector<int> SourceRows(const std::vector<int32_t> &reads, int first, bool topDown,
                            int height) {
  std::vector<int> rows;
  for (int32_t r : reads) rows.push_back(topDown ? height - 1 - r - first : r - first);
  return rows;
}

TEST_F(CopyOverlap, OneRowUpReadsFromTheTopAndOneRowDownFromTheBottom) {
  for (bool topDown : {false, true}) {
    Open(true, topDown);
    FillPattern();
    glPixelZoom(1, 1);
    SetDestination(kX, kY + 1);
    ASSERT_EQ(CompareWithSnapshotCopy(kX, kY, kW, kH, GL_RGBA), "");
    const std::vector<int> up = SourceRows(lastReads_, kY, topDown, draw_test::kHeight);
    EXPECT_EQ(up, (std::vector<int>{7, 6, 5, 4, 3, 2, 1, 0})) << "top-down " << topDown;
    SetDestination(kX, kY - 1);
    ASSERT_EQ(CompareWithSnapshotCopy(kX, kY, kW, kH, GL_RGBA), "");
    const std::vector<int> down = SourceRows(lastReads_, kY, topDown, draw_test::kHeight);
    EXPECT_EQ(down, (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7})) << "top-down " << topDown;
  }
}

TEST_F(CopyOverlap, DoubledOntoItsOwnMiddleReadsFromBothEnds) {
  for (bool topDown : {false, true}) {
    Open(true, topDown);
    FillPattern();
    glPixelZoom(2, 2);
    SetDestination(kX - 4, kY - 4);
    ASSERT_EQ(CompareWithSnapshotCopy(kX, kY, kW, kH, GL_RGBA), "");
    const std::vector<int> rows = SourceRows(lastReads_, kY, topDown, draw_test::kHeight);
    ASSERT_GE(rows.size(), 2u);
    EXPECT_EQ(std::min(rows[0], rows[1]), 0);
    EXPECT_EQ(std::max(rows[0], rows[1]), kH - 1);
  }
}

TEST_F(CopyOverlap, DepthAndStencilCopies) {
  for (bool topDown : {false, true}) {
    Open(true, topDown);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_ALWAYS);
    FillPattern();
    for (float z : {1.0f, -2.0f, 0.5f})
      for (const auto &[dx, dy] : {std::pair{1, 1}, {-2, 3}, {0, -1}, {3, 0}}) {
        glPixelZoom(z, z);
        SetDestination(kX + dx, kY + dy);
        for (GLenum format : {GL_DEPTH_COMPONENT, GL_STENCIL_INDEX}) {
          SCOPED_TRACE(testing::Message() << "top-down " << topDown << " format " << std::hex
                                          << format << std::dec << " zoom " << z << " offset "
                                          << dx << ", " << dy);
          EXPECT_EQ(CompareWithSnapshotCopy(kX, kY, kW, kH, format), "");
        }
      }
  }
}

// Rows wider than the stack's span buffers take the storage the path
// reserves, a third buffer included.
TEST_F(CopyOverlap, RowsOf4096Pixels) {
  for (bool topDown : {false, true}) {
    Open(true, topDown, 32, 16, 4100, 7);
    FillPattern();
    for (const auto &[dx, dy] : {std::pair{2, 1}, {-1, -1}, {3, 0}}) {
      glPixelZoom(1, 1);
      SetDestination(1 + dx, 1 + dy);
      SCOPED_TRACE(testing::Message() << "top-down " << topDown << " offset " << dx << ", " << dy);
      EXPECT_EQ(CompareWithSnapshotCopy(1, 1, 4096, 5, GL_RGBA), "");
    }
  }
}

}  // namespace
}  // namespace copy_test
