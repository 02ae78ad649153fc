// The SiS 6326 drawing model's view of video memory: addresses are byte
// offsets into local video memory, whose offset 0 is the primary surface,
// and every byte the model touches must lie in one live surface.
#include "platform/ddraw_internal.h"
#include "platform/screen.h"
#include "platform/sis6326_model_internal.h"

namespace platform {

VideoView::VideoView() : base_(VideoPoolBase(VideoPool::kLocal)) {
  for (const DdObject *object : AllObjects())
    for (const DdSurface *top : object->surfaces) {
      if (top->lost) continue;
      for (const DdSurface *s = top; s != nullptr; s = s->next) {
        bool primary = s->kind == SurfaceKind::kPrimary;
        if (!primary && (s->placement != Placement::kLocal || !s->ownsMemory)) continue;
        uint32_t begin = uint32_t(s->pixels - base_);
        spans_.push_back({begin, begin + uint32_t(s->pitch) * uint32_t(s->height), s, primary, s->pitch,
                          s->bytesPerPixel, s->width, s->height});
      }
    }
}

uint8_t *VideoView::At(uint64_t offset, uint32_t bytes) {
  auto holds = [&](const LiveSpan &s) { return offset >= s.begin && offset + bytes <= s.end; };
  if (last_ < spans_.size() && holds(spans_[last_])) return base_ + offset;
  for (size_t i = 0; i < spans_.size(); ++i)
    if (holds(spans_[i])) {
      last_ = i;
      return base_ + offset;
    }
  return nullptr;
}

}  // namespace platform
