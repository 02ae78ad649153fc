// The SiS 6326 drawing model's view of video memory: addresses are byte
// offsets into local video memory, whose offset 0 is the primary surface,
// or, for texture levels marked non-local, into the non-local pool; every
// byte the model touches must lie in one live surface.
#include "platform/ddraw_internal.h"
#include "platform/screen.h"
#include "platform/sis6326_model_internal.h"

namespace platform {

VideoView::VideoView()
    : pools_{{VideoPoolBase(VideoPool::kLocal), {}}, {VideoPoolBase(VideoPool::kNonLocal), {}}} {
  for (const DdObject *object : AllObjects())
    for (const DdSurface *top : object->surfaces) {
      if (top->lost) continue;
      for (const DdSurface *s = top; s != nullptr; s = s->next) {
        bool primary = s->kind == SurfaceKind::kPrimary;
        bool video = s->placement == Placement::kLocal || s->placement == Placement::kNonLocal;
        if (!primary && (!video || !s->ownsMemory)) continue;
        Pool &pool = pools_[s->placement == Placement::kNonLocal ? 1 : 0];
        uint32_t begin = uint32_t(s->pixels - pool.base);
        pool.spans.push_back({begin, begin + uint32_t(s->pitch) * uint32_t(s->height), s});
      }
    }
}

uint8_t *VideoView::At(uint64_t offset, uint32_t bytes, VideoPool which) {
  Pool &pool = pools_[which == VideoPool::kNonLocal ? 1 : 0];
  auto holds = [&](const LiveSpan &s) { return offset >= s.begin && offset + bytes <= s.end; };
  if (pool.last < pool.spans.size() && holds(pool.spans[pool.last])) return pool.base + offset;
  for (size_t i = 0; i < pool.spans.size(); ++i)
    if (holds(pool.spans[i])) {
      pool.last = i;
      return pool.base + offset;
    }
  return nullptr;
}

}  // namespace platform
