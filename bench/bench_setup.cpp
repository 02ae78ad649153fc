// Triangle set-up and walk alone, triangles per second: the fast path's
// pre-built set-up with the null spanlet as its chain head against the
// generic fill with a span processor that does nothing, on the right
// triangles of 10, 100 and 1000 pixels that bench_triangles draws, and the
// generated set-up alone with a span routine that returns at once. All get
// a zeroed context with the window bias, a 640 x 480 draw buffer and a
// 32-bit depth buffer in memory.
#include <stdio.h>
#include <stdlib.h>

#include "bench/bench_fill.h"
#include "bench/bench_timer.h"
#include "codegen/og.h"
#include "codegen/og_cache.h"
#include "codegen/og_ras.h"
#include "codegen/og_vertex_shape.h"
#include "core/context.h"
#include "core/s_context.h"
#include "fastraster/fr_chain.h"
#include "fastraster/fr_setup.h"
#include "platform/kernel.h"
#include "raster/s_triangle.h"

namespace {

constexpr int32_t kWidth = 640, kHeight = 480, kBias = 6144;

enum Kind { kFast, kGeneric, kGenerated };

struct SetupCase {
  const char *name;
  Kind kind;
  bool smoothDepth;  // smooth RGBA and a depth test; else flat
  float area;
};

const SetupCase kCases[] = {
    {"fast-flat-10px", kFast, false, 10},          {"generic-flat-10px", kGeneric, false, 10},
    {"fast-flat-100px", kFast, false, 100},        {"generic-flat-100px", kGeneric, false, 100},
    {"fast-flat-1000px", kFast, false, 1000},      {"generic-flat-1000px", kGeneric, false, 1000},
    {"fast-smooth-z-10px", kFast, true, 10},       {"generic-smooth-z-10px", kGeneric, true, 10},
    {"fast-smooth-z-100px", kFast, true, 100},     {"generic-smooth-z-100px", kGeneric, true, 100},
    {"fast-smooth-z-1000px", kFast, true, 1000},   {"generic-smooth-z-1000px", kGeneric, true, 1000},
    // The generated set-up against the pre-built one with the null spanlet.
    {"gen-setup-flat-10px", kGenerated, false, 10},
    {"gen-setup-flat-100px", kGenerated, false, 100},
    {"gen-setup-smooth-z-10px", kGenerated, true, 10},
    {"gen-setup-smooth-z-100px", kGenerated, true, 100},
};

GLbool8 NoSpan(GlContext *) { return 0; }

struct Bench {
  uint8_t *stub = nullptr;
  OgNameSpace layout;
  bench::FillContext fill{kWidth, kHeight, kBias, 4, 0x7FC00000u};
  GlContext *const gc = fill.gc;
  explicit Bench(const SetupCase &c) {
    gc->procs.fillTriangleSpan = __glNullSpanlet;
    gc->procs.span.processSpan = NoSpan;
    gc->polygon.shader.modeFlags =
        __GL_SHADE_RGB | (c.smoothDepth ? __GL_SHADE_ITERATE_COLOR | __GL_SHADE_SMOOTH_LIGHT |
                                              __GL_SHADE_DEPTH_TEST | __GL_SHADE_DEPTH_ITER
                                        : 0);
  }
  ~Bench() {
    if (stub) VirtualFree(stub, 0, MEM_RELEASE);
  }
  // The generated set-up for the state, jumping to a span routine that
  // ends the triangle at once; null when it cannot be had.
  GlFillTriangleProc Generated() {
    if (!fill.StartCodeCache()) return nullptr;
    stub = static_cast<uint8_t *>(
        VirtualAlloc(nullptr, 64, MEM_COMMIT | MEM_RESERVE, PAGE_EXECUTE_READWRITE));
    if (stub == nullptr) return nullptr;
    og_warmup(gc);
    og_buffer(gc, stub, stub + 64);
    uint8_t *cb = emit_code(gc, stub, mov(gc, eax, value(gc, 1)));
    emit_code(gc, cb, jmpi(gc, mem(gc, value(gc, int32_t(uintptr_t(&gc->setupContinuation))),
                                   nullptr, nullptr, 1)));
    gc->procs.fillTriangleSpans = stub;
    __glPickVertexShape(gc);
    __glNSOpenSpace(&layout);
    layout.direct_map = 1;
    gc->rasterNameSpace = &layout;
    return reinterpret_cast<GlFillTriangleProc>(__glGenerateSetup(gc, 0));
  }
};

bench::RunTotals RunCase(const SetupCase &c, double seconds) {
  Bench b(c);
  GlFillTriangleProc fill = c.kind == kFast ? __glFRRenderTriangle : __glFillTriangle;
  if (c.kind == kGenerated) fill = b.Generated();
  return bench::TimeFill(fill, b.gc, c.area, seconds, kWidth, kHeight, kBias);
}

}  // namespace

int main(int argc, char **argv) {
  bench::Options options;
  if (!bench::ParseOptions(argc, argv, &options)) return 2;
  printf("bench_setup: set-up and walk only, %d x %d, median of %d runs, %.2f s a case\n", kWidth,
         kHeight, bench::kRuns, options.seconds);
  printf("%-24s %14s\n", "case", "triangles/s");
  return bench::RunWanted("bench_setup", options, kCases, [&](const SetupCase &c) {
    printf("%-24s %14.0f\n", c.name, RunCase(c, options.seconds).Rate());
    return true;
  });
}
