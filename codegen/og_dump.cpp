// The dump switch of generated routines.
#include "codegen/og_dump.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <atomic>
#include <mutex>

namespace {

std::mutex gDumpLock;
char gTestDirectory[1024];  // empty: the environment decides
std::atomic<uint32_t> gSequence{0};

// Letters, digits and "_.-" pass; anything else in a name becomes '_'.
void FileNameStem(const char *name, char *out, size_t size) {
  if (name == nullptr || *name == 0) name = "code";
  size_t n = 0;
  for (; name[n] && n + 1 < size; n++) {
    const char ch = name[n];
    const bool plain = (ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z') ||
                       (ch >= '0' && ch <= '9') || ch == '_' || ch == '.' || ch == '-';
    out[n] = plain ? ch : '_';
  }
  out[n] = 0;
}

}  // namespace

void og_dump_directory(const char *directory) {
  std::lock_guard<std::mutex> hold(gDumpLock);
  snprintf(gTestDirectory, sizeof gTestDirectory, "%s", directory ? directory : "");
}

GLbool8 og_dump(GlContext *gc, const char *name, const void *start, uint32_t length) {
  if (start == nullptr || length == 0) return 0;
  char path[1400];
  {
    std::lock_guard<std::mutex> hold(gDumpLock);
    const char *directory = gTestDirectory[0] ? gTestDirectory : getenv("VLX_OG_DUMP");
    if (directory == nullptr || *directory == 0) return 0;
    char stem[64];
    FileNameStem(name, stem, sizeof stem);
    snprintf(path, sizeof path, "%s/og-%04u-%s-%08x.bin", directory,
             unsigned(gSequence.fetch_add(1)), stem, unsigned(uintptr_t(start)));
  }
  FILE *file = fopen(path, "wb");
  if (file == nullptr) return 0;
  const bool written = fwrite(start, 1, length, file) == length;
  return fclose(file) == 0 && written;
}
