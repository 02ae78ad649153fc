// The memory buffer kind: a block from the drawable's allocators, for the
// accumulation buffer, the DCI set's depth buffer and every DirectDraw
// buffer that falls back. The generated MMX span code reads and rewrites up
// to three depth elements past either end of a span, so the block keeps 16
// spare bytes before the first pixel and after the last.
#include "wgl/wgl_dib.h"
#include "wgl/wgl_message.h"

namespace {

constexpr uint32_t kSpareBytes = 16;
// The spare bytes on both sides, and the room to move up to a 32-byte boundary.
constexpr uint64_t kBlockExtra = kSpareBytes + (BUF_ALIGN - 1) + kSpareBytes;
// Blocks stay well inside what a 32-bit size and the allocators can hold.
constexpr uint64_t kLargestBlock = 0x7FFFFFFFu;

// The first 32-byte boundary at least kSpareBytes into the block.
uint8_t *AlignedBase(void *block) {
  uintptr_t first = reinterpret_cast<uintptr_t>(block) + kSpareBytes;
  return reinterpret_cast<uint8_t *>((first + BUF_ALIGN - 1) & ~uintptr_t(BUF_ALIGN - 1));
}

uint32_t MemUpdate(GlDrawableBuffer *buffer, int32_t, int32_t, int32_t width, int32_t height,
                   GlDrawable *drawable, uint32_t) {
  const bool grow = buffer->handle != nullptr;
  const char *failure = grow ? "Mem: Update: Realloc failed" : "Mem: Update: Malloc failed";
  uint64_t size = uint64_t(buffer->elementSize) * uint64_t(width < 0 ? 0 : width) *
                  uint64_t(height < 0 ? 0 : height);
  if (width < 0 || height < 0 || size + kBlockExtra > kLargestBlock) {
    __wglError(failure);
    return 0;
  }
  size_t blockSize = size_t(size + kBlockExtra);
  // A failed reallocation leaves the old block, and the buffer, as they were.
  void *block = grow ? (drawable->realloc ? drawable->realloc(buffer->handle, blockSize) : nullptr)
                     : (drawable->malloc ? drawable->malloc(blockSize) : nullptr);
  if (block == nullptr) {
    __wglError(failure);
    return 0;
  }
  buffer->handle = block;
  buffer->base = AlignedBase(block);
  buffer->size = uint32_t(size);
  buffer->width = uint32_t(width);
  buffer->height = uint32_t(height);
  buffer->pitchBytes = int32_t(buffer->elementSize * uint32_t(width));
  buffer->pitch = width;
  return 1;
}

void MemFree(GlDrawableBuffer *buffer, GlDrawable *drawable) {
  if (buffer->handle != nullptr && drawable->free) drawable->free(buffer->handle);
  buffer->handle = nullptr;
  buffer->base = nullptr;
  buffer->size = 0;
  buffer->width = buffer->height = 0;
}

}  // namespace

void __wglInitMem(GlDrawableBuffer *buffer, WglDrawablePrivate *drawable, uint32_t depth) {
  __wglStartBufferKind(buffer, drawable, depth);
  buffer->update = MemUpdate;
  buffer->lock = __wglPixelsStayPut;
  buffer->unlock = __wglPixelsStayPut;
  buffer->fill = nullptr;
  buffer->free = MemFree;
  // ownInit and fallbackInit stay: a DirectDraw buffer that fell back here
  // finds its way back through them.
}
