// The renderer string each device reports for each processor-feature word,
// the word a renderer test process was started with, and a context bound
// once to read the strings from.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include "core/context.h"
#include "tests/core/context/life_fixture.h"

namespace renderer_test {

struct RendererNames {
  GlCpuFlags flags;
  const char *generic;
  const char *sis;
};

// 3DNow! names MMX whether or not MMX was found.
inline constexpr RendererNames kRendererNames[] = {
    {0, "Generic", "6326"},
    {__GL_CPU_MMX, "Generic/MMX", "6326/MMX"},
    {__GL_CPU_K3D, "Generic/MMX/K3D", "6326/MMX/K3D"},
    {__GL_CPU_MMX | __GL_CPU_K3D, "Generic/MMX/K3D", "6326/MMX/K3D"},
};

// The names for a processor word, or null for a word outside the table.
inline const RendererNames *RendererNamesFor(GlCpuFlags flags) {
  for (const RendererNames &n : kRendererNames)
    if (n.flags == flags) return &n;
  return nullptr;
}

// The word "__GL_FORCE_MMX" and "__GL_FORCE_K3D" force on this process;
// false when either is unset, as the test registration sets both.
inline bool ForcedCpuFlags(GlCpuFlags *flags) {
  const char *mmx = getenv("__GL_FORCE_MMX"), *k3d = getenv("__GL_FORCE_K3D");
  if (mmx == nullptr || k3d == nullptr) return false;
  *flags = (atoi(mmx) ? __GL_CPU_MMX : 0) | (atoi(k3d) ? __GL_CPU_K3D : 0);
  return true;
}

// Binds a created context once and releases it on a thread of its own, as
// an application's first drawing thread would, and returns it for its
// strings to be read; null stays null.
inline GlContext *BoundOnce(GlContext *gc) {
  if (gc == nullptr) return nullptr;
  life_test::LifeTest::OnThread([gc] {
    ASSERT_TRUE(life_test::Bind(gc));
    ASSERT_TRUE(life_test::Release(gc));
  });
  return gc;
}

}  // namespace renderer_test
