// What each primitive mode does with the vertices of an array walk, fed in
// element order: when it draws, drops or clips, which boundary bits and
// provoking vertex each primitive gets. The walk moves the vertices a mode
// keeps between batches and tells it where they went (Moved).
#pragma once

#include <stdint.h>

#include "core/context.h"
#include "geometry/s_prim.h"
#include "geometry/s_prim_machine.h"
#include "geometry/s_varray_draw.h"

namespace varray {

constexpr uint32_t kBoundary = __GL_HAS_EDGEFLAG_BOUNDARY;

struct Emitter {
  GlContext *gc;
  int32_t count;      // vertices of the whole primitive run
  int32_t index = 0;  // of the next vertex, from the run's start
  Emitter(GlContext *g, int32_t n) : gc(g), count(n) {}
  void Finish() {}
};

inline void Provoke(GlContext *gc, GlVertex *v) {
  gc->lineStippleStarted = 0;
  gc->vertexBuffer.provoking = v;
}

// The three-way test of one triangle.
inline void Triangle(GlContext *gc, GlVertex *a, GlVertex *b, GlVertex *c) {
  const uint32_t orCodes = (a->has | b->has | c->has) & __GL_PRIM_CLIP_MASK;
  if (!orCodes) {
    gc->procs.renderTriangle(gc, a, b, c);
  } else if (!(a->has & b->has & c->has & __GL_PRIM_CLIP_MASK)) {
    __glDoClipTriangle(gc, a, b, c);
  }
}

// Runs `draw` with v's boundary bit taken off (or kept when `keep`), then
// puts the bit back as it was.
template <typename F>
inline void WithoutBoundary(GlVertex *v, bool keep, F draw) {
  const uint32_t bit = v->has & kBoundary;
  if (!keep) v->has &= ~kBoundary;
  draw();
  v->has = (v->has & ~kBoundary) | bit;
}

// The three-way test of a quad with the outline a-b-c-d: `draw` renders its
// two triangles when no vertex is outside.
template <typename F>
inline void Quad(GlContext *gc, GlVertex *a, GlVertex *b, GlVertex *c, GlVertex *d, F draw) {
  const uint32_t orCodes = (a->has | b->has | c->has | d->has) & __GL_PRIM_CLIP_MASK;
  if (!orCodes) {
    draw();
  } else if (!(a->has & b->has & c->has & d->has & __GL_PRIM_CLIP_MASK)) {
    ClipQuad(gc, a, b, c, d);
  }
}

inline void Segment(GlContext *gc, GlVertex *a, GlVertex *b, bool validateA) {
  const uint32_t orCodes = (a->has | b->has) & __GL_PRIM_CLIP_MASK;
  if (!orCodes) {
    const uint32_t needs = gc->vertexBuffer.frontNeeds;
    if (validateA) __glPrimValidate(gc, a, needs);
    __glPrimValidate(gc, b, needs);
    gc->procs.renderLine(gc, a, b);
  } else if (!(a->has & b->has & __GL_PRIM_CLIP_MASK)) {
    ClipLine(gc, a, b);
  }
}

struct Points : Emitter {
  using Emitter::Emitter;
  void Feed(GlVertex *v) {
    if (v->has & __GL_PRIM_CLIP_MASK) return;
    __glPrimValidate(gc, v, gc->vertexBuffer.frontNeeds | __GL_HAS_FRONT_COLOR);
    gc->procs.renderPoint(gc, v);
  }
  void Moved(GlVertex *, GlVertex *) {}
};

struct Lines : Emitter {
  using Emitter::Emitter;
  GlVertex *a = nullptr;
  void Feed(GlVertex *v) {
    if (index++ % 2 == 0) {
      a = v;
      return;
    }
    Provoke(gc, v);
    Segment(gc, a, v, true);
  }
  void Moved(GlVertex *, GlVertex *) {}
};

struct LineStrip : Emitter {
  using Emitter::Emitter;
  GlVertex *first = nullptr, *prev = nullptr;
  void Feed(GlVertex *v) {
    if (index++ == 0) {
      first = prev = v;
      // A strip the vertex cache continues keeps its stipple run.
      if (!gc->vertexArray.vertexCacheContinued) gc->lineStippleStarted = 0;
      if (const uint32_t needs = gc->vertexBuffer.frontNeeds) __glPrimValidate(gc, v, needs);
      return;
    }
    gc->vertexBuffer.provoking = v;
    Segment(gc, prev, v, false);
    prev = v;
  }
  void Moved(GlVertex *from, GlVertex *to) {
    if (prev == from) prev = to;
  }
};

struct LineLoop : LineStrip {
  using LineStrip::LineStrip;
  void Finish() {
    if (index < 2) return;
    gc->vertexBuffer.provoking = first;
    Segment(gc, prev, first, false);
  }
};

struct Triangles : Emitter {
  using Emitter::Emitter;
  GlVertex *a = nullptr, *b = nullptr;
  void Feed(GlVertex *v) {
    switch (index++ % 3) {
      case 0: a = v; return;
      case 1: b = v; return;
    }
    Provoke(gc, v);
    Triangle(gc, a, b, v);
  }
  void Moved(GlVertex *, GlVertex *) {}
};

struct TriangleStrip : Emitter {
  using Emitter::Emitter;
  GlVertex *a = nullptr, *b = nullptr, *newest = nullptr;
  void Feed(GlVertex *v) {
    v->has |= kBoundary;
    const int32_t i = index++;
    if (i < 2) {
      (i == 0 ? a : b) = v;
      newest = v;
      return;
    }
    // The parity runs on across batches, so the winding does too.
    (i % 2 == 0 ? b : a) = newest;
    newest = v;
    Provoke(gc, v);
    Triangle(gc, a, b, v);
  }
  void Moved(GlVertex *from, GlVertex *to) {
    for (GlVertex **p : {&a, &b, &newest})
      if (*p == from) *p = to;
  }
};

struct TriangleFan : Emitter {
  using Emitter::Emitter;
  GlVertex *first = nullptr, *prev = nullptr;
  void Feed(GlVertex *v) {
    v->has |= kBoundary;
    const int32_t i = index++;
    if (i < 2) {
      (i == 0 ? first : prev) = v;
      return;
    }
    Provoke(gc, v);
    Triangle(gc, first, prev, v);
    prev = v;
  }
  void Moved(GlVertex *from, GlVertex *to) {
    if (prev == from) prev = to;
  }
};

struct Quads : Emitter {
  using Emitter::Emitter;
  GlVertex *q[3] = {};
  void Feed(GlVertex *v) {
    const int32_t i = index++ % 4;
    if (i < 3) {
      q[i] = v;
      return;
    }
    GlVertex *a = q[0], *b = q[1], *c = q[2], *d = v;
    Provoke(gc, d);
    Quad(gc, a, b, c, d, [&] {
      WithoutBoundary(b, false, [&] { gc->procs.renderTriangle(gc, a, b, d); });
      WithoutBoundary(d, false, [&] { gc->procs.renderTriangle(gc, b, c, d); });
    });
  }
  void Moved(GlVertex *, GlVertex *) {}
};

struct QuadStrip : Emitter {
  using Emitter::Emitter;
  GlVertex *a = nullptr, *b = nullptr, *c = nullptr;
  void Feed(GlVertex *v) {
    v->has |= kBoundary;
    const int32_t i = index++;
    if (i < 2) {
      (i == 0 ? a : b) = v;
      return;
    }
    if (i % 2 == 0) {
      c = v;
      return;
    }
    GlVertex *d = v;
    Provoke(gc, d);
    // The outline runs a-b-d-c.
    Quad(gc, a, b, d, c, [&] {
      WithoutBoundary(b, false, [&] { gc->procs.renderTriangle(gc, a, b, c); });
      WithoutBoundary(c, false, [&] { gc->procs.renderTriangle(gc, c, b, d); });
    });
    a = c;
    b = d;
  }
  void Moved(GlVertex *from, GlVertex *to) {
    for (GlVertex **p : {&a, &b})
      if (*p == from) *p = to;
  }
};

// One stipple run and one provoking vertex for the whole polygon: its edges
// are one connected outline however many batches it takes.
struct Polygon : Emitter {
  using Emitter::Emitter;
  GlVertex *first = nullptr, *prev = nullptr;
  void Feed(GlVertex *v) {
    const int32_t i = index++;
    if (i == 0) {
      first = v;
      // A polygon the vertex cache continues keeps its stipple run.
      if (gc->vertexArray.vertexCacheContinued)
        gc->vertexBuffer.provoking = v;
      else
        Provoke(gc, v);
      return;
    }
    if (i == 1) {
      prev = v;
      return;
    }
    WithoutBoundary(first, i == 2, [&] {
      WithoutBoundary(v, i == count - 1, [&] { Triangle(gc, first, prev, v); });
    });
    prev = v;
  }
  void Moved(GlVertex *from, GlVertex *to) {
    if (prev == from) prev = to;
  }
};

}  // namespace varray
