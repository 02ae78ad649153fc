// Processor features as the context sees them: detection against the test's
// own reading of the processor, the word ORed into every context, the
// environment read once, and contexts reset on several threads at once.
// Also run under qemu emulating a Phenom, which has 3DNow!, and under the
// thread checker.
#include <cpuid.h>
#include <stdlib.h>

#include <gtest/gtest.h>

#include <latch>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "core/s_cpu.h"
#include "tests/core/services/cpu_reference.h"
#include "tests/core/services/service_context.h"

namespace {

std::string Brand() {
  unsigned words[12] = {};
  for (unsigned i = 0; i < 3; ++i) {
    if (!__get_cpuid(0x80000002u + i, &words[4 * i], &words[4 * i + 1], &words[4 * i + 2],
                     &words[4 * i + 3])) {
      return "";
    }
  }
  return std::string(reinterpret_cast<const char *>(words), sizeof words).c_str();
}

bool Overridden() { return getenv("__GL_FORCE_MMX") || getenv("__GL_FORCE_K3D"); }

GlCpuFlags FreshContextFlags(GlCpuFlags before = 0) {
  ServiceContext ctx;
  ctx.gc()->constants.cpuFlags = before;
  __glI386GetCPUFlags(ctx.gc());
  return ctx.gc()->constants.cpuFlags;
}

TEST(CpuFeatures, DetectionMatchesTheProcessor) {
  if (Overridden()) GTEST_SKIP() << "the environment forces the features";
  GlCpuFlags flags = FreshContextFlags();
  std::string brand = Brand();
  EXPECT_EQ(flags, ProcessorFeatures()) << brand;
  EXPECT_TRUE(flags & __GL_CPU_MMX) << brand;
  // qemu's Phenom has 3DNow!; the processors this runs on natively do not.
  bool phenom = brand.find("Phenom") != std::string::npos;
  EXPECT_EQ((flags & __GL_CPU_K3D) != 0, phenom) << brand;
}

TEST(CpuFeatures, EveryCallOrsTheProcessWordIntoTheContext) {
  GlCpuFlags process = FreshContextFlags();
  const GlCpuFlags before[] = {0, __GL_CPU_MMX, __GL_CPU_K3D, __GL_CPU_MMX | __GL_CPU_K3D,
                               0x80000004u};
  for (GlCpuFlags word : before) {
    SCOPED_TRACE(word);
    EXPECT_EQ(FreshContextFlags(word), word | process);
  }
  // Calling again on the same context changes nothing more.
  ServiceContext ctx;
  __glI386GetCPUFlags(ctx.gc());
  __glI386GetCPUFlags(ctx.gc());
  EXPECT_EQ(ctx.gc()->constants.cpuFlags, process);
}

TEST(CpuFeatures, TheEnvironmentIsReadOncePerProcess) {
  GlCpuFlags first = FreshContextFlags();
  struct Setting {
    const char *name, *value;
  } settings[] = {
      {"__GL_FORCE_MMX", "0"}, {"__GL_FORCE_MMX", "1"}, {"__GL_FORCE_K3D", "1"},
      {"__GL_FORCE_K3D", "0"}, {"__GL_FORCE_K3D", ""},
  };
  for (const Setting &s : settings) {
    SCOPED_TRACE(std::string(s.name) + "=" + s.value);
    const char *old = getenv(s.name);
    std::string saved = old ? old : "";
    setenv(s.name, s.value, 1);
    EXPECT_EQ(FreshContextFlags(), first);
    if (old) {
      setenv(s.name, saved.c_str(), 1);
    } else {
      unsetenv(s.name);
    }
  }
}

// Under the thread checker this runs alone, so the threads race for the
// process's first detection.
TEST(CpuThreads, ContextsResetAtOnceAgree) {
  constexpr int kThreads = 8;
  std::vector<std::unique_ptr<ServiceContext>> contexts;
  for (int i = 0; i < kThreads; ++i) contexts.push_back(std::make_unique<ServiceContext>());
  std::latch start(kThreads);
  std::vector<std::thread> threads;
  for (int i = 0; i < kThreads; ++i) {
    GlContext *gc = contexts[i]->gc();
    threads.emplace_back([gc, &start] {
      start.arrive_and_wait();
      __glI386GetCPUFlags(gc);
    });
  }
  for (std::thread &t : threads) t.join();
  GlCpuFlags later = FreshContextFlags();
  for (int i = 0; i < kThreads; ++i) EXPECT_EQ(contexts[i]->gc()->constants.cpuFlags, later);
  if (!Overridden()) {
    EXPECT_EQ(later, ProcessorFeatures());
  }
}

}  // namespace
