#include "tests/codegen/emitter/og_support.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

#include "platform/control.h"
#include "platform/kernel.h"
#include "tests/support/counting_imports.h"

void OgTest::SetUp() {
  liveBefore = CountingImports::live();
  gc = static_cast<GlContext *>(calloc(1, sizeof(GlContext)));
  ASSERT_NE(gc, nullptr);
  gc->imports = CountingImports::imports;
  ASSERT_TRUE(og_init_pools(gc));
  code = static_cast<uint8_t *>(
      VirtualAlloc(nullptr, kCodeSize, MEM_COMMIT | MEM_RESERVE, PAGE_EXECUTE_READWRITE));
  ASSERT_NE(code, nullptr);
  PlatformClearDebugOutput();
  Begin();
}

void OgTest::TearDown() {
  if (gc) {
    og_free_pools(gc);
    free(gc);
  }
  if (code) VirtualFree(code, 0, MEM_RELEASE);
  EXPECT_EQ(CountingImports::live(), liveBefore) << "constant blocks leaked";
}

void OgTest::Begin() {
  og_warmup(gc);
  og_buffer(gc, code, code + kCodeSize);
  cb = code;
}

std::vector<uint8_t> ParseHex(const char *text) {
  std::vector<uint8_t> out;
  for (const char *p = text; *p;) {
    if (*p == ' ') {
      p++;
      continue;
    }
    char pair[3] = {p[0], p[1], 0};
    out.push_back(uint8_t(strtoul(pair, nullptr, 16)));
    p += p[1] ? 2 : 1;
  }
  return out;
}

std::string HexOf(const uint8_t *bytes, size_t length) {
  std::string s;
  char two[4];
  for (size_t i = 0; i < length; i++) {
    snprintf(two, sizeof two, i ? " %02x" : "%02x", bytes[i]);
    s += two;
  }
  return s;
}

bool HaveObjdump() {
#ifdef VLX_OBJDUMP
  return access(VLX_OBJDUMP, X_OK) == 0;
#else
  return false;
#endif
}

namespace {

std::string Squeeze(const std::string &s) {
  std::string out;
  bool space = false;
  for (char ch : s) {
    if (ch == ' ' || ch == '\t') {
      space = !out.empty();
      continue;
    }
    if (space) out += ' ';
    space = false;
    out += ch;
  }
  return out;
}

// "   1a:\t0f 84 00 00 00 00    \tje     0x20" -> "je 0x20"; continuation
// lines of long instructions carry bytes only and give "".
std::string InstructionText(const std::string &line) {
  const size_t first = line.find('\t');
  if (first == std::string::npos) return "";
  const size_t second = line.find('\t', first + 1);
  if (second == std::string::npos) return "";
  return Squeeze(line.substr(second + 1));
}

}  // namespace

bool Disassemble(const std::vector<std::vector<uint8_t>> &chunks,
                 std::vector<std::vector<std::string>> *texts) {
#ifdef VLX_OBJDUMP
  if (!HaveObjdump()) return false;
  char dir[] = "/tmp/og_objdump_XXXXXX";
  if (mkdtemp(dir) == nullptr) return false;
  std::string command = std::string(VLX_OBJDUMP) + " -D -b binary -mi386 -M intel";
  std::vector<std::string> files;
  for (size_t i = 0; i < chunks.size(); i++) {
    char name[64];
    snprintf(name, sizeof name, "/p%05zu.bin", i);
    files.push_back(std::string(dir) + name);
    FILE *f = fopen(files.back().c_str(), "wb");
    if (f == nullptr) return false;
    fwrite(chunks[i].data(), 1, chunks[i].size(), f);
    fclose(f);
    command += " " + files.back();
  }
  texts->assign(chunks.size(), {});
  FILE *p = popen(command.c_str(), "r");
  if (p == nullptr) return false;
  char line[512];
  long chunk = -1;
  while (fgets(line, sizeof line, p)) {
    std::string s(line);
    while (!s.empty() && (s.back() == '\n' || s.back() == '\r')) s.pop_back();
    const size_t at = s.find("/p");
    if (s.find("file format binary") != std::string::npos && at != std::string::npos) {
      chunk = strtol(s.c_str() + at + 2, nullptr, 10);
      continue;
    }
    if (chunk < 0 || size_t(chunk) >= chunks.size()) continue;
    const std::string text = InstructionText(s);
    if (!text.empty() && s.find(':') < s.find('\t')) (*texts)[size_t(chunk)].push_back(text);
  }
  const int status = pclose(p);
  for (const std::string &f : files) remove(f.c_str());
  rmdir(dir);
  return status == 0;
#else
  return false;
#endif
}

std::string DebugOutput() {
  char text[8192];
  PlatformDebugOutput(text, sizeof text);
  return text;
}
