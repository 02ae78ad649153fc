// Failure on demand: which calls an armed fault fails, with which error.
#include <gtest/gtest.h>

#include <string>

#include "platform/control.h"
#include "platform/kernel.h"

namespace {

class Faults : public ::testing::Test {
 protected:
  void TearDown() override { PlatformClearFaults(); }
};

// Runs GlobalAlloc `calls` times and gives '.' for success and 'x' for failure.
std::string AllocPattern(int calls) {
  std::string pattern;
  for (int i = 0; i < calls; ++i) {
    HGLOBAL block = GlobalAlloc(GPTR, 8);
    pattern += block ? '.' : 'x';
    GlobalFree(block);
  }
  return pattern;
}

struct PatternCase {
  unsigned skip, count;
  const char *expected;
};

TEST_F(Faults, SkipAndCountSelectTheFailingCalls) {
  const PatternCase cases[] = {
      {0, 1, "x....."},
      {2, 2, "..xx.."},
      {0, 3, "xxx..."},
      {4, 0, "....xx"},  // count 0: every call after the skipped ones
      {6, 1, "......"},
  };
  for (const PatternCase &c : cases) {
    PlatformClearFaults();
    PlatformArmFault({"GlobalAlloc", nullptr, c.skip, c.count, 0});
    EXPECT_EQ(AllocPattern(6), c.expected) << "skip " << c.skip << " count " << c.count;
  }
}

TEST_F(Faults, InjectedFailureReportsTheUsualErrorUnlessOneIsGiven) {
  PlatformArmFault({"GlobalAlloc", nullptr, 0, 1, 0});
  SetLastError(0);
  EXPECT_EQ(GlobalAlloc(GPTR, 8), nullptr);
  EXPECT_EQ(GetLastError(), (DWORD)ERROR_NOT_ENOUGH_MEMORY);

  PlatformArmFault({"GlobalAlloc", nullptr, 0, 1, ERROR_OUTOFMEMORY});
  EXPECT_EQ(GlobalAlloc(GPTR, 8), nullptr);
  EXPECT_EQ(GetLastError(), (DWORD)ERROR_OUTOFMEMORY);
}

TEST_F(Faults, FaultsOfOneCallLeaveOthersAlone) {
  PlatformArmFault({"TlsAlloc", nullptr, 0, 0, 0});
  HGLOBAL block = GlobalAlloc(GPTR, 8);
  EXPECT_NE(block, nullptr);
  GlobalFree(block);
  EXPECT_EQ(TlsAlloc(), TLS_OUT_OF_INDEXES);
  EXPECT_EQ(PlatformFaultsFired("TlsAlloc"), 1u);
  EXPECT_EQ(PlatformFaultsFired("GlobalAlloc"), 0u);
}

TEST_F(Faults, FiredCountsAddUpAndClearResets) {
  PlatformArmFault({"GlobalAlloc", nullptr, 0, 2, 0});
  PlatformArmFault({"TlsAlloc", nullptr, 0, 1, 0});
  AllocPattern(3);
  EXPECT_EQ(TlsAlloc(), TLS_OUT_OF_INDEXES);
  EXPECT_EQ(PlatformFaultsFired("GlobalAlloc"), 2u);
  EXPECT_EQ(PlatformFaultsFired(nullptr), 3u);

  PlatformClearFaults();
  EXPECT_EQ(PlatformFaultsFired(nullptr), 0u);
  EXPECT_EQ(AllocPattern(2), "..");
}

int WINAPI Answer() { return 42; }

TEST_F(Faults, AKeyedFaultFailsOnlyCallsAboutItsKey) {
  const PlatformExport exports[] = {{"Answer", reinterpret_cast<void *>(&Answer)}};
  ASSERT_TRUE(PlatformRegisterModule("faultone.dll", exports, 1));
  ASSERT_TRUE(PlatformRegisterModule("faulttwo.dll", exports, 1));
  PlatformArmFault({"LoadLibraryA", "FAULTTWO.DLL", 0, 0, 0});

  HMODULE one = LoadLibraryA("faultone.dll");
  EXPECT_NE(one, nullptr);
  SetLastError(0);
  EXPECT_EQ(LoadLibraryA("faulttwo.dll"), nullptr);
  EXPECT_EQ(GetLastError(), (DWORD)ERROR_MOD_NOT_FOUND);
  FreeLibrary(one);
  PlatformUnregisterModule("faultone.dll");
  PlatformUnregisterModule("faulttwo.dll");
}

TEST_F(Faults, AFaultWithoutACallNameIsIgnored) {
  PlatformArmFault({nullptr, nullptr, 0, 0, 0});
  EXPECT_EQ(AllocPattern(2), "..");
}


// Counting faults: the k-th call of any kind fails, named by its call and key.
std::string CountedFault() {
  char name[64];
  PlatformCountedFault(name, sizeof name);
  return name;
}

TEST_F(Faults, CountingFailsTheKthCallOfAnyKindAndNamesIt) {
  struct Case {
    unsigned failAt;
    const char *pattern;  // GlobalAlloc, TlsAlloc, GetEnvironmentVariableA("VLX_X"), GlobalAlloc
    const char *name;
  };
  const Case cases[] = {
      {0, "....", ""},
      {1, "x...", "GlobalAlloc"},
      {3, "..x.", "GetEnvironmentVariableA(VLX_X)"},
      {5, "....", ""},  // past the scenario: nothing fails
  };
  SetEnvironmentVariableA("VLX_X", "1");
  for (const Case &c : cases) {
    PlatformCountCalls(c.failAt);
    std::string pattern;
    HGLOBAL a = GlobalAlloc(GPTR, 8);
    pattern += a ? '.' : 'x';
    DWORD tls = TlsAlloc();
    pattern += tls != TLS_OUT_OF_INDEXES ? '.' : 'x';
    char value[8];
    pattern += GetEnvironmentVariableA("VLX_X", value, sizeof value) ? '.' : 'x';
    HGLOBAL b = GlobalAlloc(GPTR, 8);
    pattern += b ? '.' : 'x';
    PlatformStopCounting();
    // The frees were not counted: counting had stopped.
    EXPECT_EQ(PlatformCountedCalls(), 4u) << c.failAt;
    GlobalFree(a);
    GlobalFree(b);
    if (tls != TLS_OUT_OF_INDEXES) TlsFree(tls);
    EXPECT_EQ(pattern, c.pattern) << c.failAt;
    EXPECT_EQ(CountedFault(), c.name) << c.failAt;
  }
  SetEnvironmentVariableA("VLX_X", nullptr);
}

TEST_F(Faults, CountingGivesTheUsualErrorAndStopsWithTheClear) {
  PlatformCountCalls(1);
  SetLastError(0);
  EXPECT_EQ(GlobalAlloc(GPTR, 8), nullptr);
  EXPECT_EQ(GetLastError(), (DWORD)ERROR_NOT_ENOUGH_MEMORY);
  PlatformClearFaults();
  HGLOBAL block = GlobalAlloc(GPTR, 8);
  EXPECT_NE(block, nullptr);
  GlobalFree(block);
  EXPECT_EQ(PlatformCountedCalls(), 1u);
}

}  // namespace
