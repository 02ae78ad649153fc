// The generic pixel-format list on each display mode, checked against a
// table written out here; each row's edits for the display; the list's life
// (built once, rebuilt after invalidation) and its copying under the global
// lock.
#include <gtest/gtest.h>
#include <string.h>

#include <sstream>
#include <string>
#include <vector>

#include "platform/control.h"
#include "platform/vlxdesktop.h"
#include "tests/wgl/drawable/locked_copy_probe.h"
#include "tests/wgl/drawable/pixel_format_fixture.h"
#include "wgl/wgl_global_lock.h"
#include "wgl/wgl_pixel_format.h"

namespace {

struct Component {
  int bits, shift;
};
struct Layout {
  Component red, green, blue;
};

constexpr Layout kNone = {{0, 0}, {0, 0}, {0, 0}};
constexpr Layout k888 = {{8, 16}, {8, 8}, {8, 0}};
constexpr Layout k565 = {{5, 11}, {6, 5}, {5, 0}};
constexpr Layout k555 = {{5, 10}, {5, 5}, {5, 0}};
constexpr Layout k332 = {{3, 5}, {3, 2}, {2, 0}};

// The raw rows as documented: colour bits, type, double buffer, depth bits.
struct RawRow {
  int colorBits;
  bool index;
  bool doubleBuffer;
  int depthBits;
};
RawRow Raw(int row) {  // row counted from 1
  const int i = row - 1;
  static const int kDepths[] = {32, 24, 16, 8};
  return RawRow{kDepths[i / 8], (i / 4) % 2 == 1, (i / 2) % 2 == 1, i % 2 == 0 ? 32 : 16};
}

struct ModeCase {
  int mode;  // what DesktopSetDisplayMode is given
  // "row:flags" in list order, flags in hex.
  const char *list;
  // Component layouts of RGBA rows by colour bits 32, 24, 16, 8, then of
  // colour-index rows of the display's own depth (other index rows have none).
  Layout rgba32, rgba24, rgba16, rgba8, ownIndex;
};

const ModeCase kModes[] = {
    {8,
     "25:1BC 26:1BC 27:1A5 28:1A5 29:3C 30:3C 31:25 32:25 "
     "1:38 2:38 5:38 6:38 9:38 10:38 13:38 14:38 17:38 18:38 21:38 22:38",
     k888, k888, k555, k332, kNone},
    {15,
     "17:3C 18:3C 19:25 20:25 21:38 22:38 "
     "1:38 2:38 5:38 6:38 9:38 10:38 13:38 14:38 25:1B8 26:1B8 29:38 30:38",
     k888, k888, k555, k332, k555},
    {16,
     "17:3C 18:3C 19:25 20:25 21:38 22:38 "
     "1:38 2:38 5:38 6:38 9:38 10:38 13:38 14:38 25:1B8 26:1B8 29:38 30:38",
     k888, k888, k565, k332, k565},
    {24,
     "9:3C 10:3C 11:25 12:25 13:38 14:38 "
     "1:38 2:38 5:38 6:38 17:38 18:38 21:38 22:38 25:1B8 26:1B8 29:38 30:38",
     k888, k888, k555, k332, kNone},
    {32,
     "1:3C 2:3C 3:25 4:25 5:38 6:38 "
     "9:38 10:38 13:38 14:38 17:38 18:38 21:38 22:38 25:1B8 26:1B8 29:38 30:38",
     k888, k888, k555, k332, k888},
};

struct Expected {
  int row;
  DWORD flags;
};
std::vector<Expected> Parse(const char *list) {
  std::vector<Expected> out;
  std::istringstream in(list);
  std::string item;
  while (in >> item) {
    size_t colon = item.find(':');
    out.push_back(
        {std::stoi(item.substr(0, colon)), DWORD(std::stoul(item.substr(colon + 1), nullptr, 16))});
  }
  return out;
}

Layout LayoutOf(const ModeCase &m, const RawRow &raw) {
  const int display = m.mode == 15 ? 16 : m.mode;
  if (raw.index) return raw.colorBits == display ? m.ownIndex : kNone;
  switch (raw.colorBits) {
    case 32:
      return m.rgba32;
    case 24:
      return m.rgba24;
    case 16:
      return m.rgba16;
    default:
      return m.rgba8;
  }
}

using pixel_format_test::PixelFormatTest;

void ExpectComponent(const char *name, int bits, int shift, const Component &c) {
  EXPECT_EQ(bits, c.bits) << name << " bits";
  EXPECT_EQ(shift, c.shift) << name << " shift";
}

TEST_F(PixelFormatTest, TheListOnEachDisplayModeMatchesTheTable) {
  for (const ModeCase &m : kModes) {
    SCOPED_TRACE(testing::Message() << "display mode " << m.mode);
    SetMode(m.mode);
    __wglInvalidatePixelFormatList();
    const std::vector<Expected> expected = Parse(m.list);
    ASSERT_EQ(__wglGetPixelFormat(dc_, nullptr, -1), int(expected.size()));
    for (size_t i = 0; i < expected.size(); i++) {
      const RawRow raw = Raw(expected[i].row);
      SCOPED_TRACE(testing::Message() << "list entry " << i << ", raw row " << expected[i].row);
      PIXELFORMATDESCRIPTOR pfd;
      memset(&pfd, 0xCD, sizeof pfd);
      ASSERT_EQ(__wglGetPixelFormat(dc_, &pfd, int(i)), int(expected.size()));
      EXPECT_EQ(pfd.nSize, 40);
      EXPECT_EQ(pfd.nVersion, 1);
      EXPECT_EQ(pfd.dwFlags, expected[i].flags);
      EXPECT_EQ(pfd.iPixelType, raw.index ? PFD_TYPE_COLORINDEX : PFD_TYPE_RGBA);
      EXPECT_EQ(pfd.cColorBits, raw.colorBits);
      const Layout layout = LayoutOf(m, raw);
      ExpectComponent("red", pfd.cRedBits, pfd.cRedShift, layout.red);
      ExpectComponent("green", pfd.cGreenBits, pfd.cGreenShift, layout.green);
      ExpectComponent("blue", pfd.cBlueBits, pfd.cBlueShift, layout.blue);
      ExpectComponent("alpha", pfd.cAlphaBits, pfd.cAlphaShift, {0, 0});
      const int accum = raw.index ? 0 : 16;
      EXPECT_EQ(pfd.cAccumBits, accum * 4);
      EXPECT_EQ(pfd.cAccumRedBits, accum);
      EXPECT_EQ(pfd.cAccumGreenBits, accum);
      EXPECT_EQ(pfd.cAccumBlueBits, accum);
      EXPECT_EQ(pfd.cAccumAlphaBits, accum);
      EXPECT_EQ(pfd.cDepthBits, raw.depthBits);
      EXPECT_EQ(pfd.cStencilBits, 8);
      EXPECT_EQ(pfd.cAuxBuffers, 0);
      EXPECT_EQ(pfd.iLayerType, 0);
      EXPECT_EQ(pfd.dwLayerMask, 0u);
      EXPECT_EQ(pfd.dwVisibleMask, 0u);
      EXPECT_EQ(pfd.dwDamageMask, 0u);
      EXPECT_EQ(!!(pfd.dwFlags & PFD_DOUBLEBUFFER), raw.doubleBuffer);
    }
  }
}

TEST_F(PixelFormatTest, OnlyIndicesInTheListAreCopied) {
  SetMode(16);
  __wglInvalidatePixelFormatList();
  const int count = __wglGetPixelFormat(dc_, nullptr, -1);
  ASSERT_GT(count, 0);
  struct Case {
    int index;
    bool copied;
  };
  const Case cases[] = {{0, true}, {count - 1, true}, {count, false}, {-1, false}, {1000, false}};
  for (const Case &c : cases) {
    SCOPED_TRACE(c.index);
    PIXELFORMATDESCRIPTOR pfd;
    memset(&pfd, 0xCD, sizeof pfd);
    EXPECT_EQ(__wglGetPixelFormat(dc_, &pfd, c.index), c.copied ? count : 0);
    EXPECT_EQ(pfd.nSize == 40, c.copied);
    // Without a descriptor any index gives the count.
    EXPECT_EQ(__wglGetPixelFormat(dc_, nullptr, c.index), count);
  }
}

TEST_F(PixelFormatTest, TheListIsKeptUntilInvalidated) {
  SetMode(16);
  __wglInvalidatePixelFormatList();
  PIXELFORMATDESCRIPTOR first;
  ASSERT_GT(__wglGetPixelFormat(dc_, &first, 0), 0);
  EXPECT_EQ(first.cColorBits, 16);
  // A display change alone leaves the numbers as they were handed out.
  SetMode(32);
  PIXELFORMATDESCRIPTOR kept;
  ASSERT_GT(__wglGetPixelFormat(dc_, &kept, 0), 0);
  EXPECT_EQ(kept.cColorBits, 16);
  __wglInvalidatePixelFormatList();
  PIXELFORMATDESCRIPTOR rebuilt;
  ASSERT_GT(__wglGetPixelFormat(dc_, &rebuilt, 0), 0);
  EXPECT_EQ(rebuilt.cColorBits, 32);
}

TEST_F(PixelFormatTest, AListWithoutMemoryGivesNoneAndIsBuiltLater) {
  SetMode(16);
  __wglInvalidatePixelFormatList();
  const unsigned blocks = PlatformGetHeapStats().liveBlocks;
  PlatformArmFault({"GlobalAlloc", nullptr, 0, 0, 0});
  PIXELFORMATDESCRIPTOR pfd;
  EXPECT_EQ(__wglGetPixelFormat(dc_, nullptr, -1), 0);
  EXPECT_EQ(__wglGetPixelFormat(dc_, &pfd, 0), 0);
  PlatformClearFaults();
  EXPECT_EQ(PlatformGetHeapStats().liveBlocks, blocks);
  EXPECT_EQ(__wglGetPixelFormat(dc_, nullptr, -1), 18);
}

// A row's fate on its own, from rows built here rather than the table.
TEST(PixelFormatRows, EachRowIsEditedForTheDisplay) {
  struct Case {
    const char *name;
    int colorBits;
    BYTE type;
    DWORD flags;
    uint32_t display;
    bool accepted;
    DWORD flagsAfter;
  };
  const DWORD single = 0x3C, dbl = 0x25;
  const Case cases[] = {
      {"double buffer elsewhere", 24, PFD_TYPE_RGBA, dbl, 16, false, 0x21},
      {"double buffer here", 16, PFD_TYPE_RGBA, dbl, 16, true, 0x25},
      {"single elsewhere", 24, PFD_TYPE_RGBA, single, 16, true, 0x38},
      {"index on a deep display", 16, PFD_TYPE_COLORINDEX, single, 16, true, 0x38},
      {"double index on a deep display", 16, PFD_TYPE_COLORINDEX, dbl, 16, false, 0x21},
      {"index on a palette display", 8, PFD_TYPE_COLORINDEX, dbl, 8, true, 0x25},
      {"palette flags go on other rows", 16, PFD_TYPE_RGBA, single | 0x180, 16, true, 0x3C},
      {"8-bit RGBA needs the palette", 8, PFD_TYPE_RGBA, single, 32, true, 0x1B8},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    PIXELFORMATDESCRIPTOR row = {};
    row.nSize = 40;
    row.nVersion = 1;
    row.dwFlags = c.flags;
    row.iPixelType = c.type;
    row.cColorBits = BYTE(c.colorBits);
    EXPECT_EQ(__wglPixelFormatSupported(&row, c.display, 0xF800, 0x7E0, 0x1F, 0), c.accepted);
    EXPECT_EQ(row.dwFlags, c.flagsAfter);
  }
}

// The row is copied into a page that refuses writes while the global
// lock is held.
TEST_F(PixelFormatTest, ARowIsCopiedWhileTheLockIsHeld) {
  SetMode(16);
  __wglInvalidatePixelFormatList();
  ASSERT_GT(__wglGetPixelFormat(dc_, nullptr, -1), 0);  // built before the guard goes up

  locked_copy_probe::CopyProbe probe = {};
  ASSERT_NO_FATAL_FAILURE(locked_copy_probe::CopyIntoGuardedPage(
      [&](PIXELFORMATDESCRIPTOR *out) { return __wglGetPixelFormat(dc_, out, 0); }, &probe));
  EXPECT_GT(probe.count, 0);
  EXPECT_EQ(probe.row.nSize, 40);
  EXPECT_EQ(probe.faults, 1);
  EXPECT_TRUE(probe.heldAtCopy) << "the row was copied after the lock was released";
  EXPECT_EQ(__wglLock.depth, 0);
}

}  // namespace
