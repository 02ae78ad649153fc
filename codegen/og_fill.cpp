// The MMX memory fill: its generator, and the process-wide routine made
// once and published only when complete.
#include "codegen/og_fill.h"

#include <mutex>

#include "codegen/og.h"
#include "codegen/og_dump.h"
#include "core/context.h"
#include "platform/kernel.h"

namespace {

std::mutex fillLock;   // taken by the first fill after each attach
bool tried;            // under fillLock: the routine was asked for
uint8_t *clear_code;   // OG_FILL_BUFFER_SIZE bytes of executable memory
// The routine in `clear_code`, under fillLock, set only when complete; stays
// null when the memory or the code could not be had, and the callers then
// store the words themselves until the code is released.
const uint8_t *klank;

class Emitter {
 public:
  Emitter(GlContext *gc, uint8_t *cb) : gc_(gc), cb_(cb) {}
  void operator()(OgCode *c) { cb_ = emit_code(gc_, cb_, c); }
  uint8_t *cursor() const { return cb_; }

 private:
  GlContext *gc_;
  uint8_t *cb_;
};

void MakeTheFill(GlContext *gc) {
  clear_code = static_cast<uint8_t *>(VirtualAlloc(nullptr, OG_FILL_BUFFER_SIZE,
                                                   MEM_COMMIT | MEM_RESERVE,
                                                   PAGE_EXECUTE_READWRITE));
  if (clear_code == nullptr) return;
  uint8_t *end = __glGenerateMMXFill(gc, clear_code, clear_code + OG_FILL_BUFFER_SIZE);
  if (end == nullptr) return;
  og_dump(gc, "mmx_fill", clear_code, uint32_t(end - clear_code));
  klank = clear_code;
}

// Threads that arrive while the first one generates wait for it, and every
// thread sees the finished code. One uncontended lock per fill of a
// rectangle costs nothing next to the fill.
const uint8_t *TheFill(GlContext *gc) {
  std::lock_guard<std::mutex> hold(fillLock);
  if (!tried) {
    tried = true;
    MakeTheFill(gc);
  }
  return klank;
}

}  // namespace

uint8_t *__glGenerateMMXFill(GlContext *gc, uint8_t *cb, uint8_t *end) {
  og_warmup(gc);
  og_buffer(gc, cb, end);
  Emitter e(gc, cb);
  OgCode *aligned = near_label(gc);
  OgCode *pairsDone = near_label(gc);
  OgCode *done = near_label(gc);
  OgCode *loop = near_label(gc);
  OgCode *at = mem2(gc, nullptr, edi);

  // A word first when the destination is not 8-byte aligned.
  e(test(gc, edi, value(gc, 7)));
  e(je(gc, aligned));
  e(mov(gc, at, eax));
  e(add(gc, edi, value(gc, 4)));
  e(dec(gc, ecx));
  resolve(gc, aligned, e.cursor());
  // Pairs of words, one quadword store each.
  e(mov(gc, ebx, ecx));
  e(shr(gc, ecx, value(gc, 1)));
  e(je(gc, pairsDone));
  e(movd(gc, mm0, eax));
  e(punpckldq(gc, mm0, mm0));
  loop->data.label.where = e.cursor();
  e(movq(gc, at, mm0));
  e(add(gc, edi, value(gc, 8)));
  e(dec(gc, ecx));
  e(jne(gc, loop));
  resolve(gc, pairsDone, e.cursor());
  // The odd word left over.
  e(test(gc, ebx, value(gc, 1)));
  e(je(gc, done));
  e(mov(gc, at, eax));
  e(add(gc, edi, value(gc, 4)));
  resolve(gc, done, e.cursor());
  e(ret(gc));
  return gc->ogs.failure ? nullptr : e.cursor();
}

GLbool8 __glMMXFillRect(GlContext *gc, void *dst, uint32_t width, uint32_t height,
                        uint32_t skip, uint32_t value) {
  if (!(gc->constants.cpuFlags & __GL_CPU_MMX)) return 0;
  const uint8_t *code = TheFill(gc);
  if (code == nullptr) return 0;
  if (width == 0 || height == 0 || dst == nullptr) return 1;
  const uint64_t all = uint64_t(width) * height;
  if (skip == 0 && all <= 0xFFFFFFFFu)
    __glMMXFillRun(code, dst, value, uint32_t(all), 1, 0);
  else
    __glMMXFillRun(code, dst, value, width, height, skip);
  return 1;
}

GLbool8 __glMMXFill(GlContext *gc, void *dst, uint32_t value, uint32_t words) {
  return __glMMXFillRect(gc, dst, words, 1, 0, value);
}

void __glFreeMMXFill(void) {
  std::lock_guard<std::mutex> hold(fillLock);
  klank = nullptr;
  if (clear_code != nullptr) VirtualFree(clear_code, 0, MEM_RELEASE);
  clear_code = nullptr;
  tried = false;
}
