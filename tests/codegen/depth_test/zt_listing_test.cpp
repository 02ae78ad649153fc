// The instructions of a few keys, written by the dump switch and read back
// through objdump, against the loop step by step.
#include <gtest/gtest.h>

#include <dirent.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

#include <stddef.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "codegen/og_dump.h"
#include "core/context.h"
#include "tests/codegen/depth_test/zt_fixture.h"

namespace zt_test {
namespace {

// The files the dump switch wrote into `dir`, by name order.
std::vector<std::string> Files(const std::string &dir) {
  std::vector<std::string> names;
  if (DIR *d = opendir(dir.c_str())) {
    while (dirent *e = readdir(d))
      if (e->d_name[0] != '.') names.push_back(dir + "/" + e->d_name);
    closedir(d);
  }
  std::sort(names.begin(), names.end());
  return names;
}

std::vector<uint8_t> Bytes(const std::string &path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class ZtListingTest : public ZtTest {
 protected:
  // The routine of `key` as the dump switch wrote it.
  std::vector<uint8_t> Dumped(uint32_t key) {
    char dir[] = "/tmp/vlx_zt_XXXXXX";
    EXPECT_NE(mkdtemp(dir), nullptr);
    og_dump_directory(dir);
    SetKey(key);
    const uint8_t *routine = static_cast<const uint8_t *>(OGGenerateZT(gc));
    og_dump_directory(nullptr);
    const std::vector<std::string> files = Files(dir);
    std::vector<uint8_t> bytes;
    if (files.size() == 1) bytes = Bytes(files[0]);
    EXPECT_EQ(files.size(), 1u);
    for (const std::string &f : files) unlink(f.c_str());
    rmdir(dir);
    EXPECT_LE(bytes.size(), 256u);
    EXPECT_TRUE(bytes.size() && memcmp(bytes.data(), routine, bytes.size()) == 0);
    return bytes;
  }
  std::vector<std::string> Listing(uint32_t key) {
    std::vector<std::vector<std::string>> texts;
    EXPECT_TRUE(Disassemble({Dumped(key)}, &texts));
    return texts.empty() ? std::vector<std::string>() : texts[0];
  }
};

// The jump through procs.afterDepthTest, wherever the context puts it.
std::string HandOnText() {
  char text[64];
  snprintf(text, sizeof text, "jmp DWORD PTR [eax+0x%x]",
           unsigned(offsetof(GlContext, procs.afterDepthTest)));
  return text;
}

// GL_LESS with writes on a 32-bit buffer: the loop, then the range fix-up.
TEST_F(ZtListingTest, LessWithWritesOnA32BitBuffer) {
  if (!HaveObjdump()) GTEST_SKIP() << "objdump is not installed";
  const std::string kHandOn = HandOnText();
  const std::vector<std::string> want = {
      "push ebx",
      "push esi",
      "push edi",
      "push ebp",
      "mov eax,ecx",
      "mov ebx,DWORD PTR [edx+0xa0]",
      "xor ecx,0xffffffff",
      "mov edi,0x80000000",
      "mov esi,DWORD PTR [edx+0x6c]",
      "cmp eax,0x0",
      "jge 0x51",
      "mov ebp,ebx",
      "cmp ebp,0x7fc00000",
      "ja 0x82",
      "cmp ebp,DWORD PTR [esi]",
      "jae 0x38",
      "mov DWORD PTR [esi],ebp",
      "jmp 0x3a",
      "or ecx,edi",
      "shr edi,0x1",
      "mov ebp,DWORD PTR [edx+0x50]",
      "shl eax,0x1",
      "lea esi,[esi+ebp*4]",
      "add ebx,DWORD PTR [edx+0xa8]",
      "cmp eax,0x0",
      "jl 0x1f",
      "test eax,eax",
      "je 0x69",
      "shr edi,0x1",
      "shl eax,0x1",
      "mov ebp,DWORD PTR [edx+0x50]",
      "lea esi,[esi+ebp*4]",
      "add ebx,DWORD PTR [edx+0xa8]",
      "jmp 0x1a",
      "pop ebp",
      "pop edi",
      "pop esi",
      "pop ebx",
      "xor ecx,0xffffffff",
      "je 0x81",
      "mov eax,DWORD PTR [edx+0x318]",
      kHandOn,
      "ret",
      "sub ebp,0x7fc00000",
      "cmp ebp,0x401fffff",
      "mov ebp,0x7fc00000",
      "jbe 0x2d",
      "xor ebp,ebp",
      "jmp 0x2d",
  };
  EXPECT_EQ(Listing((GL_LESS & 7) | OG_ZT_WRITE), want);
}

// Stencil, writes, 16 bits and polygon offset: the offset in halves of a
// unit with its clamps, the 16-bit compare and store, and the chain always
// handed on.
TEST_F(ZtListingTest, EverythingOnA16BitBuffer) {
  if (!HaveObjdump()) GTEST_SKIP() << "objdump is not installed";
  const std::string kHandOn = HandOnText();
  const std::vector<std::string> want = {
      "push ebx",
      "push esi",
      "push edi",
      "push ebp",
      "mov eax,ecx",
      "mov ebx,DWORD PTR [edx+0xa0]",
      "xor ecx,0xffffffff",
      "mov edi,0x80000000",
      "mov esi,DWORD PTR [edx+0x6c]",
      "cmp eax,0x0",
      "jge 0x71",
      "mov ebp,ebx",
      "cmp ebp,0xffff0000",
      "ja 0xa0",
      "shr ebp,0x1",
      "add ebp,DWORD PTR [edx+0x314]",
      "jo 0xbe",
      "cmp ebp,0x7fff8000",
      "ja 0xc5",
      "shr ebp,0xf",
      "cmp bp,WORD PTR [esi]",
      "jae 0x58",
      "mov WORD PTR [esi],bp",
      "jmp 0x5a",
      "or ecx,edi",
      "shr edi,0x1",
      "mov ebp,DWORD PTR [edx+0x50]",
      "shl eax,0x1",
      "lea esi,[esi+ebp*2]",
      "add ebx,DWORD PTR [edx+0xa8]",
      "cmp eax,0x0",
      "jl 0x1f",
      "test eax,eax",
      "je 0x89",
      "shr edi,0x1",
      "shl eax,0x1",
      "mov ebp,DWORD PTR [edx+0x50]",
      "lea esi,[esi+ebp*2]",
      "add ebx,DWORD PTR [edx+0xa8]",
      "jmp 0x1a",
      "pop ebp",
      "pop edi",
      "pop esi",
      "pop ebx",
      "xor ecx,0xffffffff",
      "mov eax,DWORD PTR [edx+0x318]",
      kHandOn,
      "ret",
      "sub ebp,0xffff0000",
      "cmp ebp,0x7fff",
      "mov ebp,0xffff0000",
      "jbe 0x2d",
      "xor ebp,ebp",
      "jmp 0x2d",
      "mov ebp,0x7fff8000",
      "jmp 0x48",
      "test ebp,ebp",
      "mov ebp,0x7fff8000",
      "jns 0x48",
      "xor ebp,ebp",
      "jmp 0x48",
  };
  EXPECT_EQ(Listing((GL_LESS & 7) | OG_ZT_STENCIL | OG_ZT_WRITE | OG_ZT_16BIT | OG_ZT_OFFSET),
            want);
}

TEST_F(ZtListingTest, NeverReturnsOrHandsOnNothing) {
  if (!HaveObjdump()) GTEST_SKIP() << "objdump is not installed";
  EXPECT_EQ(Listing(GL_NEVER & 7), std::vector<std::string>{"ret"});
  const std::vector<std::string> stencil = {"mov ecx,0x0", "mov eax,DWORD PTR [edx+0x318]",
                                            HandOnText()};
  EXPECT_EQ(Listing((GL_NEVER & 7) | OG_ZT_STENCIL), stencil);
}

}  // namespace
}  // namespace zt_test
