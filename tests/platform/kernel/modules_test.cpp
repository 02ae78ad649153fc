// Built-in modules: finding them by name, their exports, load counts and faults.
#include <gtest/gtest.h>

#include "platform/control.h"
#include "platform/kernel.h"

namespace {

int WINAPI First() { return 1; }
int WINAPI Second() { return 2; }

const PlatformExport kExports[] = {
    {"First", reinterpret_cast<void *>(&First)},
    {"Second", reinterpret_cast<void *>(&Second)},
};

class Modules : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(PlatformRegisterModule("TESTMOD.DLL", kExports, 2));
    ASSERT_TRUE(PlatformRegisterModule("other.drv", kExports, 1));
  }
  void TearDown() override {
    PlatformClearFaults();
    PlatformUnregisterModule("TESTMOD.DLL");
    PlatformUnregisterModule("other.drv");
  }
};

TEST_F(Modules, LoadLibraryMatchesNamesAsThePlatformDoes) {
  struct Case {
    const char *name;
    bool found;
  } const cases[] = {
      {"TESTMOD.DLL", true}, {"testmod.dll", true}, {"TestMod", true},  // ".dll" implied
      {"other.drv", true},   {"OTHER.DRV", true},   {"other", false},   // not "other.drv"
      {"testmod.", false},   {"testmod.exe", false}, {"missing", false}, {"", false},
      // Built-in modules are found whatever folder a path names.
      {"C:\\WINDOWS\\SYSTEM\\testmod.dll", true}, {"/opt/lib/TestMod", true},
      {"C:\\dir.d\\testmod", true},  // a dot in a folder is no extension
  };
  for (const Case &c : cases) {
    SetLastError(0);
    HMODULE module = LoadLibraryA(c.name);
    EXPECT_EQ(module != nullptr, c.found) << c.name;
    if (module) {
      EXPECT_TRUE(FreeLibrary(module));
    } else {
      EXPECT_NE(GetLastError(), 0u) << c.name;
    }
  }
  SetLastError(0);
  EXPECT_EQ(LoadLibraryA("missing"), nullptr);
  EXPECT_EQ(GetLastError(), (DWORD)ERROR_MOD_NOT_FOUND);
}

TEST_F(Modules, EveryNameFormGivesTheSameHandle) {
  HMODULE a = LoadLibraryA("testmod");
  HMODULE b = LoadLibraryA("TESTMOD.dll");
  EXPECT_EQ(a, b);
  FreeLibrary(a);
  FreeLibrary(b);
}

TEST_F(Modules, GetProcAddressLooksUpExportsWithCase) {
  HMODULE module = LoadLibraryA("testmod");
  ASSERT_NE(module, nullptr);
  struct Case {
    const char *name;
    FARPROC proc;
    DWORD error;
  } const cases[] = {
      {"First", reinterpret_cast<FARPROC>(&First), 0},
      {"Second", reinterpret_cast<FARPROC>(&Second), 0},
      {"first", nullptr, ERROR_PROC_NOT_FOUND},
      {"Third", nullptr, ERROR_PROC_NOT_FOUND},
      {"", nullptr, ERROR_PROC_NOT_FOUND},
      {reinterpret_cast<const char *>(1), nullptr, ERROR_PROC_NOT_FOUND},  // ordinals
      {reinterpret_cast<const char *>(0xFFFF), nullptr, ERROR_PROC_NOT_FOUND},
      {nullptr, nullptr, ERROR_PROC_NOT_FOUND},
  };
  for (const Case &c : cases) {
    SetLastError(0);
    EXPECT_EQ(GetProcAddress(module, c.name), c.proc) << (uintptr_t)c.name;
    EXPECT_EQ(GetLastError(), c.error) << (uintptr_t)c.name;
  }
  EXPECT_EQ(GetProcAddress(module, "First")(), 1);
  FreeLibrary(module);
}

TEST_F(Modules, HandlesThatAreNotLoadedAreRefused) {
  HMODULE module = LoadLibraryA("testmod");
  ASSERT_TRUE(FreeLibrary(module));
  int notAModule = 0;
  const HMODULE handles[] = {nullptr, module, reinterpret_cast<HMODULE>(&notAModule)};
  for (HMODULE h : handles) {
    SetLastError(0);
    EXPECT_EQ(GetProcAddress(h, "First"), nullptr);
    EXPECT_EQ(GetLastError(), (DWORD)ERROR_MOD_NOT_FOUND);
    SetLastError(0);
    EXPECT_FALSE(FreeLibrary(h));
    EXPECT_EQ(GetLastError(), (DWORD)ERROR_INVALID_HANDLE);
  }
}

TEST_F(Modules, LoadsAreCounted) {
  EXPECT_EQ(PlatformModuleLoadCount("testmod.dll"), 0u);
  HMODULE a = LoadLibraryA("testmod");
  HMODULE b = LoadLibraryA("TESTMOD.DLL");
  EXPECT_EQ(PlatformModuleLoadCount("TestMod"), 2u);
  EXPECT_TRUE(FreeLibrary(a));
  EXPECT_EQ(PlatformModuleLoadCount("testmod"), 1u);
  // Still loaded once, so the handle still answers.
  EXPECT_NE(GetProcAddress(b, "Second"), nullptr);
  EXPECT_TRUE(FreeLibrary(b));
  EXPECT_EQ(PlatformModuleLoadCount("testmod"), 0u);
  EXPECT_FALSE(FreeLibrary(b));
  EXPECT_EQ(PlatformModuleLoadCount("missing"), 0u);
}

TEST_F(Modules, RegisteringAgainReplacesTheExports) {
  HMODULE before = LoadLibraryA("testmod");
  const PlatformExport replacement[] = {{"Second", reinterpret_cast<void *>(&First)}};
  ASSERT_TRUE(PlatformRegisterModule("testmod", replacement, 1));
  EXPECT_EQ(GetProcAddress(before, "First"), nullptr);
  EXPECT_EQ(GetProcAddress(before, "Second"), reinterpret_cast<FARPROC>(&First));
  EXPECT_EQ(LoadLibraryA("testmod.dll"), before);
  EXPECT_EQ(PlatformModuleLoadCount("testmod"), 2u);
  FreeLibrary(before);
  FreeLibrary(before);
}

TEST_F(Modules, AnUnregisteredModuleIsGone) {
  HMODULE module = LoadLibraryA("testmod");
  ASSERT_TRUE(PlatformUnregisterModule("testmod"));
  EXPECT_FALSE(PlatformUnregisterModule("testmod"));
  EXPECT_EQ(LoadLibraryA("testmod"), nullptr);
  EXPECT_EQ(GetProcAddress(module, "First"), nullptr);
  EXPECT_FALSE(FreeLibrary(module));
  EXPECT_EQ(PlatformModuleLoadCount("testmod"), 0u);
}

TEST_F(Modules, BadRegistrationsAreRefused) {
  EXPECT_FALSE(PlatformRegisterModule(nullptr, kExports, 1));
  EXPECT_FALSE(PlatformRegisterModule("", kExports, 1));
  EXPECT_FALSE(PlatformRegisterModule("empty", nullptr, 1));
  EXPECT_TRUE(PlatformRegisterModule("empty", nullptr, 0));
  HMODULE module = LoadLibraryA("empty");
  EXPECT_EQ(GetProcAddress(module, "First"), nullptr);
  FreeLibrary(module);
  PlatformUnregisterModule("empty");
}

TEST_F(Modules, FaultsFailTheirCallWithItsError) {
  struct Case {
    PlatformFault fault;
    bool (*fails)(HMODULE loaded);
    DWORD error;
  } const cases[] = {
      {{"LoadLibraryA", nullptr, 0, 1, 0}, [](HMODULE) { return LoadLibraryA("testmod") == nullptr; },
       ERROR_MOD_NOT_FOUND},
      {{"LoadLibraryA", nullptr, 0, 1, ERROR_NOT_ENOUGH_MEMORY},
       [](HMODULE) { return LoadLibraryA("testmod") == nullptr; }, ERROR_NOT_ENOUGH_MEMORY},
      {{"GetProcAddress", "First", 0, 1, 0},
       [](HMODULE m) { return GetProcAddress(m, "First") == nullptr; }, ERROR_PROC_NOT_FOUND},
      {{"FreeLibrary", nullptr, 0, 1, 0}, [](HMODULE m) { return !FreeLibrary(m); },
       ERROR_INVALID_HANDLE},
  };
  for (const Case &c : cases) {
    PlatformClearFaults();
    HMODULE module = LoadLibraryA("testmod");
    ASSERT_NE(module, nullptr);
    PlatformArmFault(c.fault);
    SetLastError(0);
    EXPECT_TRUE(c.fails(module)) << c.fault.call;
    EXPECT_EQ(GetLastError(), c.error) << c.fault.call;
    EXPECT_EQ(PlatformFaultsFired(c.fault.call), 1u) << c.fault.call;
    // A failed call changes no load count.
    EXPECT_EQ(PlatformModuleLoadCount("testmod"), 1u) << c.fault.call;
    PlatformClearFaults();
    FreeLibrary(module);
  }
}

TEST_F(Modules, AKeyedFaultMakesOneLibraryMissing) {
  PlatformArmFault({"LoadLibraryA", "testmod", 0, 0, 0});
  SetLastError(0);
  EXPECT_EQ(LoadLibraryA("TESTMOD"), nullptr);
  EXPECT_EQ(GetLastError(), (DWORD)ERROR_MOD_NOT_FOUND);
  HMODULE other = LoadLibraryA("other.drv");
  EXPECT_NE(other, nullptr);
  FreeLibrary(other);
  // The key is the name as given: another spelling of the module still loads.
  HMODULE module = LoadLibraryA("testmod.dll");
  EXPECT_NE(module, nullptr);
  FreeLibrary(module);
  EXPECT_EQ(PlatformFaultsFired("LoadLibraryA"), 1u);
}

TEST_F(Modules, AKeyedFaultMakesOneProcedureMissing) {
  HMODULE module = LoadLibraryA("testmod");
  PlatformArmFault({"GetProcAddress", "Second", 0, 0, 0});
  EXPECT_NE(GetProcAddress(module, "First"), nullptr);
  EXPECT_EQ(GetProcAddress(module, "Second"), nullptr);
  FreeLibrary(module);
}

}  // namespace
