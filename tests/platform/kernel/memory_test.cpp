// The global heap and page-granular (executable) memory.
#include <gtest/gtest.h>

#include <string.h>
#include <unistd.h>

#include <vector>

#include "platform/control.h"
#include "platform/kernel.h"

namespace {

class GlobalHeap : public ::testing::Test {
 protected:
  void TearDown() override { PlatformClearFaults(); }
};

TEST_F(GlobalHeap, BlocksHaveTheirSizeAndAreZeroedWhenAsked) {
  const size_t sizes[] = {0, 1, 7, 16, 4095, 1 << 20};
  for (size_t size : sizes) {
    for (UINT flags : {GPTR, GMEM_FIXED}) {
      unsigned char *block = static_cast<unsigned char *>(GlobalAlloc(flags, size));
      ASSERT_NE(block, nullptr) << size;
      EXPECT_EQ(GlobalSize(block), size);
      EXPECT_EQ(reinterpret_cast<uintptr_t>(block) % 16, 0u);
      size_t zeros = 0;
      for (size_t i = 0; i < size; ++i) zeros += block[i] == 0;
      // Without GMEM_ZEROINIT nothing promises zeros, and none are given.
      EXPECT_EQ(zeros, (flags & GMEM_ZEROINIT) ? size : 0) << size;
      memset(block, 0x5A, size);  // the whole block is writable
      EXPECT_EQ(GlobalFree(block), nullptr);
    }
  }
}

TEST_F(GlobalHeap, StatsCountLiveBlocks) {
  PlatformHeapStats before = PlatformGetHeapStats();
  HGLOBAL a = GlobalAlloc(GPTR, 100), b = GlobalAlloc(GPTR, 28);
  PlatformHeapStats during = PlatformGetHeapStats();
  EXPECT_EQ(during.liveBlocks, before.liveBlocks + 2);
  EXPECT_EQ(during.liveBytes, before.liveBytes + 128);
  GlobalFree(a);
  GlobalFree(b);
  PlatformHeapStats after = PlatformGetHeapStats();
  EXPECT_EQ(after.liveBlocks, before.liveBlocks);
  EXPECT_EQ(after.liveBytes, before.liveBytes);
}

TEST_F(GlobalHeap, BadRequestsFailAsThePlatformReportsThem) {
  struct Case {
    UINT flags;
    size_t size;
    DWORD error;
  } cases[] = {
      {GMEM_MOVEABLE, 16, ERROR_INVALID_PARAMETER},
      {GMEM_MOVEABLE | GMEM_ZEROINIT, 16, ERROR_INVALID_PARAMETER},
      {GPTR, 0x80000000u, ERROR_NOT_ENOUGH_MEMORY},
      {GPTR, 0xFFFFFFFFu, ERROR_NOT_ENOUGH_MEMORY},
  };
  for (const Case &c : cases) {
    SetLastError(0);
    EXPECT_EQ(GlobalAlloc(c.flags, c.size), nullptr);
    EXPECT_EQ(GetLastError(), c.error);
  }
}

TEST_F(GlobalHeap, PointersThatAreNotLiveBlocksAreRefusedUntouched) {
  EXPECT_EQ(GlobalFree(nullptr), nullptr);
  HGLOBAL block = GlobalAlloc(GPTR, 32);
  HGLOBAL other = GlobalAlloc(GPTR, 32);  // keeps the freed block's address from coming back
  ASSERT_EQ(GlobalFree(block), nullptr);
  void *page = VirtualAlloc(nullptr, 4096, MEM_COMMIT, PAGE_READWRITE);  // nothing before it
  int local = 0;
  const HGLOBAL bad[] = {block, page, &local, static_cast<char *>(other) + 16};
  for (HGLOBAL h : bad) {
    SetLastError(0);
    EXPECT_EQ(GlobalFree(h), h);
    EXPECT_EQ(GetLastError(), (DWORD)ERROR_INVALID_HANDLE);
    SetLastError(0);
    EXPECT_EQ(GlobalSize(h), 0u);
    EXPECT_EQ(GetLastError(), (DWORD)ERROR_INVALID_HANDLE);
  }
  EXPECT_EQ(GlobalSize(other), 32u);
  GlobalFree(other);
  VirtualFree(page, 0, MEM_RELEASE);
}

TEST_F(GlobalHeap, InjectedFailureAllocatesNothing) {
  PlatformHeapStats before = PlatformGetHeapStats();
  PlatformArmFault({"GlobalAlloc", nullptr, 0, 1, 0});
  SetLastError(0);
  EXPECT_EQ(GlobalAlloc(GPTR, 64), nullptr);
  EXPECT_EQ(GetLastError(), (DWORD)ERROR_NOT_ENOUGH_MEMORY);
  EXPECT_EQ(PlatformGetHeapStats().liveBlocks, before.liveBlocks);

  HGLOBAL block = GlobalAlloc(GPTR, 64);
  PlatformArmFault({"GlobalFree", nullptr, 0, 1, 0});
  EXPECT_EQ(GlobalFree(block), block);  // a failed free keeps the block
  EXPECT_EQ(GlobalSize(block), 64u);
  EXPECT_EQ(GlobalFree(block), nullptr);
}

// ---- Virtual memory --------------------------------------------------------------

class VirtualMemory : public ::testing::Test {
 protected:
  void TearDown() override {
    for (void *p : held) VirtualFree(p, 0, MEM_RELEASE);
    PlatformClearFaults();
  }
  unsigned char *Alloc(size_t size, DWORD protect = PAGE_EXECUTE_READWRITE) {
    void *p = VirtualAlloc(nullptr, size, MEM_COMMIT | MEM_RESERVE, protect);
    if (p) held.push_back(p);
    return static_cast<unsigned char *>(p);
  }
  std::vector<void *> held;
};

TEST_F(VirtualMemory, ExecutableMemoryIsZeroedAlignedAndRunsCode) {
  unsigned char *code = Alloc(100);
  ASSERT_NE(code, nullptr);
  EXPECT_EQ(reinterpret_cast<uintptr_t>(code) % sysconf(_SC_PAGESIZE), 0u);
  for (long i = 0; i < sysconf(_SC_PAGESIZE); ++i) ASSERT_EQ(code[i], 0) << i;

  // mov eax, [esp+4]; add eax, [esp+8]; ret
  static const unsigned char addCdecl[] = {0x8B, 0x44, 0x24, 0x04, 0x03, 0x44, 0x24, 0x08, 0xC3};
  // the same with ret 8: callee-pops
  static const unsigned char addStdcall[] = {0x8B, 0x44, 0x24, 0x04, 0x03,
                                             0x44, 0x24, 0x08, 0xC2, 0x08, 0x00};
  // fld dword [esp+4]; fadd st0, st0; ret
  static const unsigned char twiceFloat[] = {0xD9, 0x44, 0x24, 0x04, 0xD8, 0xC0, 0xC3};
  memcpy(code, addCdecl, sizeof addCdecl);
  memcpy(code + 16, addStdcall, sizeof addStdcall);
  memcpy(code + 32, twiceFloat, sizeof twiceFloat);

  auto add = reinterpret_cast<int (*)(int, int)>(code);
  auto addPops = reinterpret_cast<int(__attribute__((stdcall)) *)(int, int)>(code + 16);
  auto twice = reinterpret_cast<float (*)(float)>(code + 32);
  EXPECT_EQ(add(40, 2), 42);
  for (int i = 0; i < 1000; ++i) ASSERT_EQ(addPops(i, 1), i + 1);  // stack stays balanced
  EXPECT_EQ(twice(1.25f), 2.5f);
}

// The usual life of a code buffer: written while writable, then made
// executable and read-only.
TEST_F(VirtualMemory, CodeWrittenThenProtectedAsExecutableRuns) {
  unsigned char *code = Alloc(4096, PAGE_READWRITE);
  ASSERT_NE(code, nullptr);
  static const unsigned char returnSeven[] = {0xB8, 0x07, 0x00, 0x00, 0x00, 0xC3};  // mov eax, 7; ret
  memcpy(code, returnSeven, sizeof returnSeven);
  DWORD old = 0;
  ASSERT_TRUE(VirtualProtect(code, sizeof returnSeven, PAGE_EXECUTE_READ, &old));
  EXPECT_EQ(old, PAGE_READWRITE);
  EXPECT_EQ(reinterpret_cast<int (*)()>(code)(), 7);
  EXPECT_DEATH(code[0] = 0xC3, "");
}

TEST_F(VirtualMemory, BadRequestsFailWithThePlatformsErrors) {
  int local;
  struct Case {
    void *address;
    size_t size;
    DWORD type, protect, error;
  } cases[] = {
      {&local, 4096, MEM_COMMIT, PAGE_READWRITE, ERROR_INVALID_PARAMETER},
      {nullptr, 0, MEM_COMMIT, PAGE_READWRITE, ERROR_INVALID_PARAMETER},
      {nullptr, 4096, MEM_RESERVE, PAGE_READWRITE, ERROR_INVALID_PARAMETER},
      {nullptr, 4096, MEM_COMMIT, 0x1234, ERROR_INVALID_PARAMETER},
      {nullptr, 0xFFFFFFF0u, MEM_COMMIT, PAGE_READWRITE, ERROR_NOT_ENOUGH_MEMORY},
  };
  for (const Case &c : cases) {
    SetLastError(0);
    EXPECT_EQ(VirtualAlloc(c.address, c.size, c.type, c.protect), nullptr) << c.size;
    EXPECT_EQ(GetLastError(), c.error) << c.size;
  }
}

TEST_F(VirtualMemory, ReleaseTakesTheWholeAllocationOnce) {
  unsigned before = PlatformGetHeapStats().liveVirtual;
  void *p = VirtualAlloc(nullptr, 10000, MEM_COMMIT, PAGE_READWRITE);
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(PlatformGetHeapStats().liveVirtual, before + 1);
  SetLastError(0);
  EXPECT_FALSE(VirtualFree(p, 4096, MEM_RELEASE));
  EXPECT_EQ(GetLastError(), (DWORD)ERROR_INVALID_PARAMETER);
  EXPECT_FALSE(VirtualFree(static_cast<char *>(p) + 4096, 0, MEM_RELEASE));
  EXPECT_EQ(GetLastError(), (DWORD)ERROR_INVALID_ADDRESS);
  EXPECT_TRUE(VirtualFree(p, 0, MEM_RELEASE));
  EXPECT_EQ(PlatformGetHeapStats().liveVirtual, before);
  EXPECT_FALSE(VirtualFree(p, 0, MEM_RELEASE));
  EXPECT_EQ(GetLastError(), (DWORD)ERROR_INVALID_ADDRESS);
}

TEST_F(VirtualMemory, ProtectionChangesReportTheOldOneAndAreEnforced) {
  long page = sysconf(_SC_PAGESIZE);
  unsigned char *p = Alloc(3 * page, PAGE_READWRITE);
  ASSERT_NE(p, nullptr);
  DWORD old = 0;
  ASSERT_TRUE(VirtualProtect(p + page + 10, 20, PAGE_NOACCESS, &old));
  EXPECT_EQ(old, PAGE_READWRITE);
  p[0] = 1;              // neighbours keep their protection
  p[2 * page] = 1;
  EXPECT_DEATH(p[page + 100] = 1, "");
  ASSERT_TRUE(VirtualProtect(p + page, page, PAGE_READWRITE, &old));
  EXPECT_EQ(old, PAGE_NOACCESS);
  p[page + 100] = 1;

  SetLastError(0);
  EXPECT_FALSE(VirtualProtect(p + 2 * page, 2 * page, PAGE_READONLY, &old));  // runs past the end
  EXPECT_EQ(GetLastError(), (DWORD)ERROR_INVALID_ADDRESS);
  EXPECT_FALSE(VirtualProtect(p, page, PAGE_READONLY, nullptr));
  EXPECT_EQ(GetLastError(), (DWORD)ERROR_INVALID_PARAMETER);
  // A size that wraps past the end of the address space is refused.
  EXPECT_FALSE(VirtualProtect(p + 100, 0u - reinterpret_cast<uintptr_t>(p + 100) + 1,
                              PAGE_READONLY, &old));
  EXPECT_EQ(GetLastError(), (DWORD)ERROR_INVALID_PARAMETER);
  p[0] = 2;  // nothing changed
}

TEST_F(VirtualMemory, InjectedFailure) {
  PlatformArmFault({"VirtualAlloc", nullptr, 0, 1, 0});
  SetLastError(0);
  EXPECT_EQ(Alloc(4096), nullptr);
  EXPECT_EQ(GetLastError(), (DWORD)ERROR_NOT_ENOUGH_MEMORY);
  EXPECT_NE(Alloc(4096), nullptr);
}

}  // namespace
