// The process's MMX fill is made once, even when the first fills of the
// process start on several threads at once. This program's first fill is
// the one below; the dump switch counts the routines generated.
#include <dirent.h>
#include <stdio.h>
#include <stdlib.h>
#include <unistd.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "codegen/og.h"
#include "codegen/og_dump.h"
#include "codegen/og_fill.h"
#include "core/context.h"
#include "tests/support/counting_imports.h"

namespace {

int CountFiles(const std::string &directory, const char *marker) {
  int n = 0;
  if (DIR *d = opendir(directory.c_str())) {
    while (dirent *e = readdir(d)) {
      if (strstr(e->d_name, marker)) n++;
      if (e->d_name[0] != '.') remove((directory + "/" + e->d_name).c_str());
    }
    closedir(d);
  }
  return n;
}

TEST(FillOnce, ThreadsThatStartTogetherShareOneRoutine) {
  char dir[] = "/tmp/og_fill_once_XXXXXX";
  ASSERT_NE(mkdtemp(dir), nullptr);
  og_dump_directory(dir);

  constexpr int kThreads = 4;
  constexpr uint32_t kWords = 1001;
  std::vector<GlContext *> contexts;
  std::vector<std::vector<uint32_t>> areas(kThreads, std::vector<uint32_t>(kWords + 2, 0));
  for (int t = 0; t < kThreads; t++) {
    GlContext *gc = static_cast<GlContext *>(calloc(1, sizeof(GlContext)));
    gc->imports = CountingImports::imports;
    gc->constants.cpuFlags = __GL_CPU_MMX;
    contexts.push_back(gc);
  }
  std::atomic<int> ready{0};
  std::atomic<bool> go{false};
  std::vector<GLbool8> filled(kThreads, 0);
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; t++) {
    threads.emplace_back([&, t] {
      ready++;
      while (!go.load()) std::this_thread::yield();
      for (int round = 0; round < 3; round++)
        filled[t] = __glMMXFill(contexts[t], areas[t].data() + 1, 0x100u + t, kWords);
    });
  }
  while (ready.load() < kThreads) std::this_thread::yield();
  go = true;
  for (std::thread &th : threads) th.join();

  for (int t = 0; t < kThreads; t++) {
    EXPECT_TRUE(filled[t]);
    EXPECT_EQ(areas[t][0], 0u);
    EXPECT_EQ(areas[t][kWords + 1], 0u);
    for (uint32_t i = 1; i <= kWords; i++) ASSERT_EQ(areas[t][i], 0x100u + t) << "thread " << t;
    og_free_pools(contexts[t]);
    free(contexts[t]);
  }
  og_dump_directory(nullptr);
  EXPECT_EQ(CountFiles(dir, "-mmx_fill-"), 1) << "generated once for the process";
  rmdir(dir);
}

}  // namespace
