// A texture object with a full chain of levels in one storage format, for
// calling the filters directly. Texels are addressed by interior (row, col)
// of a level; a bordered level's border sits at -1 and width2.
#pragma once

#include <stdint.h>

#include <memory>
#include <vector>

#include "pixels/px_sampler.h"
#include "pixels/px_texformat.h"

class FilterTexture {
 public:
  FilterTexture(int32_t w, int32_t h, const GlTexFormat &format, GLenum base, int32_t dim = 2,
                int32_t border = 0)
      : bytes_(format.bitsPerTexel / 8), border_(border) {
    tex_.dim = dim;
    tex_.baseFormat = base;
    tex_.wrapS = tex_.wrapT = GL_REPEAT;
    for (int32_t i = 0;; i++) {
      auto l = std::make_unique<GlTextureLevel>();
      l->border = border;
      l->width2 = w;
      l->height2 = dim == 1 ? 1 : h;
      l->width = w + 2 * border;
      l->height = l->height2 + 2 * border;
      l->width2f = float(l->width2);
      l->height2f = float(l->height2);
      while ((1 << (l->widthLog2 + 1)) <= l->width2) l->widthLog2++;
      while ((1 << (l->heightLog2 + 1)) <= l->height2) l->heightLog2++;
      l->baseFormat = base;
      l->extract = border ? format.extractWithBorder : format.extract;
      images_.emplace_back(size_t(l->width) * l->height * bytes_, 0);
      l->image = images_.back().data();
      const bool last = l->width2 == 1 && l->height2 == 1;
      levels_.push_back(std::move(l));
      if (last) break;
      w = w > 1 ? w / 2 : 1;
      h = h > 1 ? h / 2 : 1;
    }
    for (auto &l : levels_) pointers_.push_back(l.get());
    tex_.levels = pointers_.data();
    tex_.maxLog2 = int32_t(levels_.size()) - 1;
    tex_.nearest = dim == 1 ? __glNearestFilter1 : __glNearestFilter2;
    tex_.linear = dim == 1 ? __glLinearFilter1 : __glLinearFilter2;
  }

  GlTextureObject *tex() { return &tex_; }
  GlTextureLevel *level(int32_t i) { return levels_[size_t(i)].get(); }
  // The stored bytes of (row, col) of level i; row and col may reach into
  // the border.
  uint8_t *texel(int32_t i, int32_t row, int32_t col) {
    const GlTextureLevel &l = *levels_[size_t(i)];
    return images_[size_t(i)].data() +
           (size_t(row + border_) * size_t(l.width) + size_t(col + border_)) * size_t(bytes_);
  }
  // Gives every texel of level i, border included, the same bytes.
  void Fill(int32_t i, std::vector<uint8_t> value) {
    std::vector<uint8_t> &image = images_[size_t(i)];
    for (size_t at = 0; at + size_t(bytes_) <= image.size(); at += size_t(bytes_))
      for (int32_t b = 0; b < bytes_; b++) image[at + size_t(b)] = value[size_t(b)];
  }

 private:
  int32_t bytes_, border_;
  GlTextureObject tex_ = {};
  std::vector<std::unique_ptr<GlTextureLevel>> levels_;
  std::vector<GlTextureLevel *> pointers_;
  std::vector<std::vector<uint8_t>> images_;
};

// Texel records compare and print as their four bytes.
inline bool operator==(const GlTexel &a, const GlTexel &b) {
  return a.r == b.r && a.g == b.g && a.b == b.b && a.a == b.a;
}
