// The unpacker and packer: what a row, a group and an element of a client
// image take, where the first row starts, and whether rows can be read in
// place. Both sides follow the same steps on their own block.
#include "core/context.h"
#include "core/s_error.h"
#include "pixels/px_enums.h"
#include "pixels/px_packer.h"
#include "pixels/px_unpack.h"

int32_t __glBytesPerElement(GLenum type) {
  switch (type) {
    case GL_BYTE:
    case GL_UNSIGNED_BYTE:
    case GL_BITMAP:
    case GL_UNSIGNED_BYTE_3_3_2_EXT:
      return 1;
    case GL_SHORT:
    case GL_UNSIGNED_SHORT:
    case GL_UNSIGNED_SHORT_4_4_4_4_EXT:
    case GL_UNSIGNED_SHORT_5_5_5_1_EXT:
    case __GL_PACKED_565:
    case __GL_PACKED_X555:
    case __GL_PACKED_1555:
    case __GL_PACKED_4444:
      return 2;
    case GL_INT:
    case GL_UNSIGNED_INT:
    case GL_FLOAT:
    case GL_UNSIGNED_INT_8_8_8_8_EXT:
    case GL_UNSIGNED_INT_10_10_10_2_EXT:
      return 4;
    default:
      return 0;
  }
}

int32_t __glElementsPerGroup(GLenum format, GLenum type) {
  if (isPackedType(type)) return 1;
  switch (format) {
    case GL_RGB:
    case GL_BGR_EXT:
      return 3;
    case GL_RGBA:
    case GL_ABGR_EXT:
    case GL_BGRA_EXT:
      return 4;
    case GL_LUMINANCE_ALPHA:
    case __GL_RED_ALPHA:
      return 2;
    default:
      return 1;
  }
}

int32_t __glSpanComponentsPerGroup(GLenum format, GLenum type) {
  switch (type) {
    case GL_UNSIGNED_BYTE_3_3_2_EXT:
    case __GL_PACKED_565:
    case __GL_PACKED_X555:
      return 3;
    default:
      return isPackedType(type) ? 4 : __glElementsPerGroup(format, type);
  }
}

namespace {

// One side of the record, the source or the destination block: what the
// path gave, and what the steps below complete.
struct Side {
  GLenum format, type;
  const void *image;
  int32_t skipPixels, skipLines, lineLength, alignment;
  uint32_t swapBytes;
  int32_t &rowIncrement, &groupIncrement, &components, &spanComponents, &elementSize, &startBit;
  uint8_t &packedData;
};

// No image of this process lies 2^31 bytes or more past its first byte.
constexpr int64_t kReach = int64_t(1) << 31;

// False when the rectangle reaches too far (the block is then left as it
// was); else the block is complete and `first` the first row's address.
bool Complete(const Side &s, int32_t width, int32_t height, const uint8_t *&first) {
  const int32_t components = __glElementsPerGroup(s.format, s.type);
  const int32_t elementSize = __glBytesPerElement(s.type);
  const int32_t group = components * elementSize;
  const bool bitmap = s.type == GL_BITMAP;
  // 64 bits: row length and skips are the application's to choose.
  int64_t row = bitmap ? (int64_t(s.lineLength) + 7) / 8 : int64_t(s.lineLength) * group;
  const int64_t alignment = s.alignment > 0 ? s.alignment : 1;
  if (row % alignment != 0) row += alignment - row % alignment;
  int64_t start = int64_t(s.skipLines) * row;
  start += bitmap ? s.skipPixels / 8 : int64_t(s.skipPixels) * group;
  // The last byte any row of the rectangle touches.
  const int64_t rowBytes =
      bitmap ? (int64_t(s.skipPixels % 8) + width + 7) / 8 : int64_t(width) * group;
  const int64_t end = start + (height > 0 ? int64_t(height - 1) * row : 0) + rowBytes;
  if (row >= kReach || start >= kReach || end >= kReach || row < 0 || start < 0) return false;
  s.components = components;
  s.spanComponents = __glSpanComponentsPerGroup(s.format, s.type);
  s.elementSize = elementSize;
  s.groupIncrement = group;
  s.rowIncrement = int32_t(row);
  s.packedData = !((bitmap && (s.skipPixels & 7) != 0) || (s.swapBytes && elementSize >= 2));
  s.startBit = bitmap ? s.skipPixels % 8 : 0;
  first = static_cast<const uint8_t *>(s.image) + start;
  return true;
}

// Resets the option flags and completes the block; a refusal records
// GL_INVALID_VALUE.
bool Init(GlPixelSpanInfo *info, const Side &side, const uint8_t *&first) {
  info->zeroFillAlpha = 0;
  info->applyClamp = 1;
  info->applyScale = 1;
  info->nonComponent = 0;
  info->spanWidth = info->width;
  if (Complete(side, info->width, info->height, first)) return true;
  __glSetError(GL_INVALID_VALUE);
  return false;
}

}  // namespace

GLbool8 __glInitUnpacker(GlContext *gc, GlPixelSpanInfo *info) {
  GlPixelSpanInfo &i = *info;
  const Side side = {i.srcFormat,       i.srcType,           i.srcImage,      i.srcSkipPixels,
                     i.srcSkipLines,    i.srcLineLength,     i.srcAlignment,  i.srcSwapBytes,
                     i.srcRowIncrement, i.srcGroupIncrement, i.srcComponents, i.srcSpanComponents,
                     i.srcElementSize,  i.srcStartBit,       i.srcPackedData};
  const uint8_t *first = nullptr;
  if (!Init(info, side, first)) return 0;
  i.srcCurrent = first;
  return 1;
}

GLbool8 __glInitPacker(GlContext *gc, GlPixelSpanInfo *info) {
  GlPixelSpanInfo &i = *info;
  const Side side = {i.dstFormat,       i.dstType,           i.dstImage,      i.dstSkipPixels,
                     i.dstSkipLines,    i.dstLineLength,     i.dstAlignment,  i.dstSwapBytes,
                     i.dstRowIncrement, i.dstGroupIncrement, i.dstComponents, i.dstSpanComponents,
                     i.dstElementSize,  i.dstStartBit,       i.dstPackedData};
  const uint8_t *first = nullptr;
  if (!Init(info, side, first)) return 0;
  i.dstCurrent = const_cast<uint8_t *>(first);
  return 1;
}
