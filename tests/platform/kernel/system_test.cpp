// The version query, the environment, last-error values and the process id.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "platform/control.h"
#include "platform/kernel.h"

namespace {

// ---- Version ----

class Version : public ::testing::Test {
 protected:
  void TearDown() override {
    PlatformClearFaults();
    PlatformSetPlatformId(VER_PLATFORM_WIN32_NT);
  }
};

TEST_F(Version, ReportsThePlatformChosen) {
  struct Case {
    DWORD set;  // VER_PLATFORM_WIN32s: leave the default
    DWORD build, platform;
    const char *csd;
  } const cases[] = {
      {VER_PLATFORM_WIN32s, 1381, VER_PLATFORM_WIN32_NT, "Service Pack 3"},
      {VER_PLATFORM_WIN32_WINDOWS, 0x040003B6, VER_PLATFORM_WIN32_WINDOWS, ""},
      {VER_PLATFORM_WIN32_NT, 1381, VER_PLATFORM_WIN32_NT, "Service Pack 3"},
  };
  for (const Case &c : cases) {
    if (c.set != VER_PLATFORM_WIN32s) PlatformSetPlatformId(c.set);
    OSVERSIONINFOA info;
    memset(&info, 0x55, sizeof info);
    info.dwOSVersionInfoSize = sizeof info;
    ASSERT_TRUE(GetVersionExA(&info));
    EXPECT_EQ(info.dwMajorVersion, 4u);
    EXPECT_EQ(info.dwMinorVersion, 0u);
    EXPECT_EQ(info.dwBuildNumber, c.build);
    EXPECT_EQ(info.dwPlatformId, c.platform);
    EXPECT_STREQ(info.szCSDVersion, c.csd);
  }
}

TEST_F(Version, UnknownPlatformIdsAreIgnored) {
  PlatformSetPlatformId(VER_PLATFORM_WIN32_WINDOWS);
  PlatformSetPlatformId(VER_PLATFORM_WIN32s);
  PlatformSetPlatformId(7);
  OSVERSIONINFOA info = {sizeof info, 0, 0, 0, 0, {}};
  ASSERT_TRUE(GetVersionExA(&info));
  EXPECT_EQ(info.dwPlatformId, VER_PLATFORM_WIN32_WINDOWS);
}

TEST_F(Version, OnlyTheExactStructureSizeIsAccepted) {
  for (DWORD size : {0u, 147u, 149u, 156u}) {
    OSVERSIONINFOA info = {size, 0, 0, 0, 0, {}};
    SetLastError(0);
    EXPECT_FALSE(GetVersionExA(&info)) << size;
    EXPECT_EQ(GetLastError(), (DWORD)ERROR_INSUFFICIENT_BUFFER) << size;
    EXPECT_EQ(info.dwMajorVersion, 0u) << size;
  }
  SetLastError(0);
  EXPECT_FALSE(GetVersionExA(nullptr));
  EXPECT_EQ(GetLastError(), (DWORD)ERROR_INVALID_PARAMETER);
}

TEST_F(Version, AFaultFailsTheQuery) {
  PlatformArmFault({"GetVersionExA", nullptr, 0, 1, ERROR_ACCESS_DENIED});
  OSVERSIONINFOA info = {sizeof info, 0, 0, 0, 0, {}};
  SetLastError(0);
  EXPECT_FALSE(GetVersionExA(&info));
  EXPECT_EQ(GetLastError(), (DWORD)ERROR_ACCESS_DENIED);
  EXPECT_TRUE(GetVersionExA(&info));
}

// ---- Environment ----

class Environment : public ::testing::Test {
 protected:
  void SetUp() override {
    unsetenv("VLX_TEST_ABSENT");
    setenv("VLX_TEST_VALUE", "hello", 1);
  }
  void TearDown() override {
    PlatformClearFaults();
    unsetenv("VLX_TEST_VALUE");
    unsetenv("VLX_TEST_OTHER");
  }
};

TEST_F(Environment, ValuesAreCopiedOnlyWhenTheyFit) {
  struct Case {
    const char *name;
    DWORD size;  // of the buffer given; 0 with a null buffer
    DWORD result;
    DWORD error;         // the last error afterwards
    const char *buffer;  // the buffer afterwards
  } const cases[] = {
      {"VLX_TEST_VALUE", 16, 5, 0, "hello"},
      {"VLX_TEST_VALUE", 6, 5, 0, "hello"},
      {"VLX_TEST_VALUE", 5, 6, 0, "untouched"},  // no room for the zero
      {"VLX_TEST_VALUE", 1, 6, 0, "untouched"},
      {"VLX_TEST_VALUE", 0, 6, 0, "untouched"},
      {"vlx_test_value", 16, 0, ERROR_ENVVAR_NOT_FOUND, "untouched"},  // names keep their case here
      {"VLX_TEST_ABSENT", 16, 0, ERROR_ENVVAR_NOT_FOUND, "untouched"},
  };
  for (const Case &c : cases) {
    char buffer[16] = "untouched";
    SetLastError(0);
    EXPECT_EQ(GetEnvironmentVariableA(c.name, buffer, c.size), c.result) << c.name << " " << c.size;
    EXPECT_EQ(GetLastError(), c.error) << c.name << " " << c.size;
    EXPECT_STREQ(buffer, c.buffer) << c.name << " " << c.size;
  }
  EXPECT_EQ(GetEnvironmentVariableA("VLX_TEST_VALUE", nullptr, 0), 6u);
}

TEST_F(Environment, AnEmptyValueIsToldFromAMissingOne) {
  setenv("VLX_TEST_OTHER", "", 1);
  char buffer[4] = "xyz";
  SetLastError(ERROR_ENVVAR_NOT_FOUND);
  EXPECT_EQ(GetEnvironmentVariableA("VLX_TEST_OTHER", buffer, sizeof buffer), 0u);
  EXPECT_EQ(GetLastError(), 0u);
  EXPECT_STREQ(buffer, "");
}

TEST_F(Environment, SettingIsSeenByTheCLibraryAndBack) {
  ASSERT_TRUE(SetEnvironmentVariableA("VLX_TEST_OTHER", "set here"));
  ASSERT_NE(getenv("VLX_TEST_OTHER"), nullptr);
  EXPECT_STREQ(getenv("VLX_TEST_OTHER"), "set here");
  ASSERT_TRUE(SetEnvironmentVariableA("VLX_TEST_VALUE", "changed"));
  char buffer[16];
  EXPECT_EQ(GetEnvironmentVariableA("VLX_TEST_VALUE", buffer, sizeof buffer), 7u);
  EXPECT_STREQ(buffer, "changed");
}

TEST_F(Environment, ANullValueRemovesTheVariable) {
  ASSERT_TRUE(SetEnvironmentVariableA("VLX_TEST_VALUE", nullptr));
  EXPECT_EQ(getenv("VLX_TEST_VALUE"), nullptr);
  SetLastError(0);
  EXPECT_EQ(GetEnvironmentVariableA("VLX_TEST_VALUE", nullptr, 0), 0u);
  EXPECT_EQ(GetLastError(), (DWORD)ERROR_ENVVAR_NOT_FOUND);
  EXPECT_TRUE(SetEnvironmentVariableA("VLX_TEST_VALUE", nullptr));  // already gone
}

TEST_F(Environment, BadNamesAreRefused) {
  for (const char *name : {(const char *)nullptr, "", "A=B"}) {
    SetLastError(0);
    EXPECT_FALSE(SetEnvironmentVariableA(name, "v")) << (name ? name : "null");
    EXPECT_EQ(GetLastError(), (DWORD)ERROR_INVALID_PARAMETER);
  }
  SetLastError(0);
  EXPECT_EQ(GetEnvironmentVariableA(nullptr, nullptr, 0), 0u);
  EXPECT_EQ(GetLastError(), (DWORD)ERROR_INVALID_PARAMETER);
}

TEST_F(Environment, FaultsAreKeyedByName) {
  PlatformArmFault({"GetEnvironmentVariableA", "vlx_test_value", 0, 0, 0});
  PlatformArmFault({"SetEnvironmentVariableA", "VLX_TEST_OTHER", 0, 0, 0});
  char buffer[16];
  SetLastError(0);
  EXPECT_EQ(GetEnvironmentVariableA("VLX_TEST_VALUE", buffer, sizeof buffer), 0u);
  EXPECT_EQ(GetLastError(), (DWORD)ERROR_ENVVAR_NOT_FOUND);
  SetLastError(0);
  EXPECT_FALSE(SetEnvironmentVariableA("VLX_TEST_OTHER", "x"));
  EXPECT_EQ(GetLastError(), (DWORD)ERROR_NOT_ENOUGH_MEMORY);
  EXPECT_EQ(getenv("VLX_TEST_OTHER"), nullptr);
  // Other names are not affected.
  EXPECT_TRUE(SetEnvironmentVariableA("VLX_TEST_ABSENT", "y"));
  EXPECT_EQ(GetEnvironmentVariableA("VLX_TEST_ABSENT", buffer, sizeof buffer), 1u);
  unsetenv("VLX_TEST_ABSENT");
}

TEST_F(Environment, ThreadsMaySetAndReadAtOnce) {
  std::vector<std::thread> threads;
  std::vector<int> mismatches(4, 0);
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([t, &mismatches] {
      const std::string name = "VLX_TEST_THREAD" + std::to_string(t);
      for (int i = 0; i < 500; ++i) {
        const std::string value = std::to_string(i);
        SetEnvironmentVariableA(name.c_str(), value.c_str());
        char buffer[16];
        if (GetEnvironmentVariableA(name.c_str(), buffer, sizeof buffer) != value.size() ||
            value != buffer)
          ++mismatches[t];
      }
      SetEnvironmentVariableA(name.c_str(), nullptr);
    });
  }
  for (std::thread &thread : threads) thread.join();
  EXPECT_EQ(mismatches, std::vector<int>(4, 0));
}

// ---- Last-error values and ids ----

TEST(LastError, IsKeptPerThread) {
  SetLastError(111);
  DWORD startedWith = 1, afterSet = 0;
  std::thread([&] {
    startedWith = GetLastError();
    SetLastError(222);
    afterSet = GetLastError();
  }).join();
  EXPECT_EQ(startedWith, 0u);
  EXPECT_EQ(afterSet, 222u);
  EXPECT_EQ(GetLastError(), 111u);
}

TEST(ProcessId, CanBeOverriddenAndRestored) {
  const DWORD real = static_cast<DWORD>(getpid());
  EXPECT_EQ(GetCurrentProcessId(), real);
  PlatformSetProcessId(1234);
  EXPECT_EQ(GetCurrentProcessId(), 1234u);
  DWORD seenByThread = 0;
  std::thread([&] { seenByThread = GetCurrentProcessId(); }).join();
  EXPECT_EQ(seenByThread, 1234u);
  PlatformSetProcessId(0);
  EXPECT_EQ(GetCurrentProcessId(), real);
}

}  // namespace
