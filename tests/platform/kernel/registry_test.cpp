// The registry: opening keys, reading values, access rights, stale handles
// and faults.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/control.h"
#include "platform/registry.h"

namespace {

const char kDriver[] = "Software\\Vlx\\Driver";

class Registry : public ::testing::Test {
 protected:
  void SetUp() override {
    PlatformRegistryReset();
    DWORD level = 3;
    ASSERT_TRUE(PlatformRegistrySetValue(HKEY_LOCAL_MACHINE, kDriver, "Name", REG_SZ, "vlx", 4));
    ASSERT_TRUE(PlatformRegistrySetValue(HKEY_LOCAL_MACHINE, kDriver, "Level", REG_DWORD, &level, 4));
    ASSERT_TRUE(PlatformRegistrySetValue(HKEY_LOCAL_MACHINE, kDriver, nullptr, REG_SZ, "def", 4));
    ASSERT_TRUE(PlatformRegistrySetValue(HKEY_LOCAL_MACHINE, kDriver, "Empty", REG_BINARY, nullptr, 0));
  }
  void TearDown() override {
    PlatformClearFaults();
    PlatformRegistryReset();
  }

  HKEY OpenDriver(REGSAM access = KEY_READ) {
    HKEY key = nullptr;
    EXPECT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, kDriver, 0, access, &key), ERROR_SUCCESS);
    return key;
  }
};

TEST_F(Registry, OpeningFindsKeysByPathWithoutCase) {
  int notAKey = 0;
  struct Case {
    HKEY root;
    const char *path;
    LONG code;
  } const cases[] = {
      {HKEY_LOCAL_MACHINE, kDriver, ERROR_SUCCESS},
      {HKEY_LOCAL_MACHINE, "SOFTWARE\\vlx\\DRIVER", ERROR_SUCCESS},
      {HKEY_LOCAL_MACHINE, "Software\\Vlx", ERROR_SUCCESS},  // made on the way
      {HKEY_LOCAL_MACHINE, "", ERROR_SUCCESS},               // the hive itself
      {HKEY_LOCAL_MACHINE, nullptr, ERROR_SUCCESS},
      {HKEY_LOCAL_MACHINE, "Software\\Vlx\\Missing", ERROR_FILE_NOT_FOUND},
      {HKEY_LOCAL_MACHINE, "Software\\Vlx\\Driver\\Deeper", ERROR_FILE_NOT_FOUND},
      {HKEY_LOCAL_MACHINE, "Software\\Vlx\\Drive", ERROR_FILE_NOT_FOUND},
      {HKEY_CURRENT_USER, kDriver, ERROR_FILE_NOT_FOUND},  // another hive
      {nullptr, kDriver, ERROR_INVALID_HANDLE},
      {reinterpret_cast<HKEY>(0x80000004u), kDriver, ERROR_INVALID_HANDLE},
      {reinterpret_cast<HKEY>(&notAKey), kDriver, ERROR_INVALID_HANDLE},
  };
  for (const Case &c : cases) {
    HKEY key = reinterpret_cast<HKEY>(1);
    EXPECT_EQ(RegOpenKeyExA(c.root, c.path, 0, KEY_READ, &key), c.code) << (c.path ? c.path : "null");
    if (c.code == ERROR_SUCCESS) {
      EXPECT_NE(key, nullptr);
      EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
    } else {
      EXPECT_EQ(key, nullptr);
    }
  }
  EXPECT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, kDriver, 0, KEY_READ, nullptr), ERROR_INVALID_PARAMETER);
}

TEST_F(Registry, KeysOpenRelativeToAnOpenedKey) {
  HKEY vlx = nullptr, driver = nullptr;
  ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "software\\vlx", 0, KEY_READ, &vlx), ERROR_SUCCESS);
  ASSERT_EQ(RegOpenKeyExA(vlx, "driver", 0, KEY_READ, &driver), ERROR_SUCCESS);
  DWORD level = 0, size = sizeof level;
  EXPECT_EQ(RegQueryValueExA(driver, "Level", nullptr, nullptr, reinterpret_cast<LPBYTE>(&level), &size),
            ERROR_SUCCESS);
  EXPECT_EQ(level, 3u);
  RegCloseKey(driver);
  RegCloseKey(vlx);
}

TEST_F(Registry, ValuesAreReadWhenTheBufferIsLargeEnough) {
  HKEY key = OpenDriver();
  struct Case {
    const char *name;
    DWORD bufferSize;
    LONG code;
    DWORD type, size;
    const char *data;  // expected bytes; null: the buffer is left alone
  } const cases[] = {
      {"Name", 16, ERROR_SUCCESS, REG_SZ, 4, "vlx"},
      {"NAME", 4, ERROR_SUCCESS, REG_SZ, 4, "vlx"},
      {"Name", 3, ERROR_MORE_DATA, REG_SZ, 4, nullptr},
      {"Name", 0, ERROR_MORE_DATA, REG_SZ, 4, nullptr},
      {"Level", 4, ERROR_SUCCESS, REG_DWORD, 4, "\x03\0\0"},
      {"", 16, ERROR_SUCCESS, REG_SZ, 4, "def"},  // the default value
      {nullptr, 16, ERROR_SUCCESS, REG_SZ, 4, "def"},
      {"Empty", 16, ERROR_SUCCESS, REG_BINARY, 0, nullptr},
      {"Missing", 16, ERROR_FILE_NOT_FOUND, 0xFF, 16, nullptr},
  };
  for (const Case &c : cases) {
    const std::string what = c.name ? c.name : "null";
    unsigned char buffer[16];
    memset(buffer, 0xCC, sizeof buffer);
    DWORD type = 0xFF, size = c.bufferSize;
    EXPECT_EQ(RegQueryValueExA(key, c.name, nullptr, &type, buffer, &size), c.code) << what;
    EXPECT_EQ(type, c.type) << what;
    EXPECT_EQ(size, c.size) << what;
    if (c.data) {
      EXPECT_EQ(memcmp(buffer, c.data, c.size), 0) << what;
    } else {
      EXPECT_EQ(buffer[0], 0xCC) << what;
    }
  }
  RegCloseKey(key);
}

TEST_F(Registry, QueryWithoutABufferGivesTheSize) {
  HKEY key = OpenDriver();
  DWORD size = 0;
  EXPECT_EQ(RegQueryValueExA(key, "Name", nullptr, nullptr, nullptr, &size), ERROR_SUCCESS);
  EXPECT_EQ(size, 4u);
  EXPECT_EQ(RegQueryValueExA(key, "Level", nullptr, nullptr, nullptr, nullptr), ERROR_SUCCESS);
  EXPECT_EQ(RegQueryValueExA(key, "Missing", nullptr, nullptr, nullptr, nullptr), ERROR_FILE_NOT_FOUND);
  // Data without a size, or a reserved word, is a caller's mistake.
  BYTE buffer[4];
  DWORD reserved = 0;
  EXPECT_EQ(RegQueryValueExA(key, "Name", nullptr, nullptr, buffer, nullptr), ERROR_INVALID_PARAMETER);
  EXPECT_EQ(RegQueryValueExA(key, "Name", &reserved, nullptr, nullptr, &size), ERROR_INVALID_PARAMETER);
  RegCloseKey(key);
}

TEST_F(Registry, SettingAValueAgainReplacesIt) {
  ASSERT_TRUE(PlatformRegistrySetValue(HKEY_LOCAL_MACHINE, "software\\VLX\\driver", "NAME", REG_BINARY,
                                       "longer", 6));
  HKEY key = OpenDriver();
  char buffer[8];
  DWORD type = 0, size = sizeof buffer;
  EXPECT_EQ(RegQueryValueExA(key, "Name", nullptr, &type, reinterpret_cast<LPBYTE>(buffer), &size),
            ERROR_SUCCESS);
  EXPECT_EQ(type, REG_BINARY);
  EXPECT_EQ(std::string(buffer, size), "longer");
  RegCloseKey(key);
  EXPECT_FALSE(PlatformRegistrySetValue(key, "x", "v", REG_SZ, "a", 2));  // not a hive
  EXPECT_FALSE(PlatformRegistrySetValue(HKEY_LOCAL_MACHINE, "x", "v", REG_SZ, nullptr, 2));
}

TEST_F(Registry, ValuesOnAHiveItselfAreRead) {
  ASSERT_TRUE(PlatformRegistrySetValue(HKEY_CURRENT_USER, "", "Top", REG_SZ, "t", 2));
  DWORD size = 0;
  EXPECT_EQ(RegQueryValueExA(HKEY_CURRENT_USER, "Top", nullptr, nullptr, nullptr, &size), ERROR_SUCCESS);
  EXPECT_EQ(size, 2u);
  EXPECT_EQ(RegCloseKey(HKEY_CURRENT_USER), ERROR_SUCCESS);  // the hives need no closing
}

TEST_F(Registry, AccessBeyondWhatTheKeyGrantsIsRefused) {
  ASSERT_TRUE(PlatformRegistrySetKeyAccess(HKEY_LOCAL_MACHINE, kDriver, KEY_READ));
  struct Case {
    const char *path;
    REGSAM access;
    LONG code;
  } const cases[] = {
      {kDriver, KEY_READ, ERROR_SUCCESS},
      {kDriver, KEY_QUERY_VALUE, ERROR_SUCCESS},
      {kDriver, KEY_SET_VALUE, ERROR_ACCESS_DENIED},
      {kDriver, KEY_WRITE, ERROR_ACCESS_DENIED},
      {kDriver, KEY_ALL_ACCESS, ERROR_ACCESS_DENIED},
      {"Software\\Vlx", KEY_ALL_ACCESS, ERROR_SUCCESS},  // the parent keeps its rights
  };
  for (const Case &c : cases) {
    HKEY key = nullptr;
    EXPECT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, c.path, 0, c.access, &key), c.code)
        << c.path << " " << std::hex << c.access;
    if (key) RegCloseKey(key);
  }
}

TEST_F(Registry, AKeyOpenedWithoutQueryRightsCannotBeRead) {
  HKEY key = OpenDriver(KEY_SET_VALUE);
  DWORD size = 0;
  EXPECT_EQ(RegQueryValueExA(key, "Name", nullptr, nullptr, nullptr, &size), ERROR_ACCESS_DENIED);
  RegCloseKey(key);
}

TEST_F(Registry, UnknownHandlesAreRefused) {
  HKEY closed = OpenDriver();
  ASSERT_EQ(RegCloseKey(closed), ERROR_SUCCESS);
  int notAKey = 0;
  const HKEY keys[] = {nullptr, closed, reinterpret_cast<HKEY>(&notAKey),
                       reinterpret_cast<HKEY>(0x80000010u)};
  for (HKEY key : keys) {
    DWORD size = 16;
    BYTE buffer[16];
    EXPECT_EQ(RegQueryValueExA(key, "Name", nullptr, nullptr, buffer, &size), ERROR_INVALID_HANDLE) << key;
    EXPECT_EQ(RegCloseKey(key), ERROR_INVALID_HANDLE) << key;
  }
}

TEST_F(Registry, AHandleToARemovedKeyFindsNothing) {
  HKEY key = OpenDriver();
  PlatformRegistryReset();
  DWORD size = 0;
  EXPECT_EQ(RegQueryValueExA(key, "Name", nullptr, nullptr, nullptr, &size), ERROR_FILE_NOT_FOUND);
  HKEY sub = nullptr;
  EXPECT_EQ(RegOpenKeyExA(key, "", 0, KEY_READ, &sub), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, kDriver, 0, KEY_READ, &sub), ERROR_FILE_NOT_FOUND);
  // A key made again at the same path is a new key; the old handle does not see it.
  ASSERT_TRUE(PlatformRegistrySetValue(HKEY_LOCAL_MACHINE, kDriver, "Name", REG_SZ, "new", 4));
  EXPECT_EQ(RegQueryValueExA(key, "Name", nullptr, nullptr, nullptr, &size), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
}

TEST_F(Registry, FaultsReturnTheirCodes) {
  HKEY key = OpenDriver();
  struct Case {
    PlatformFault fault;
    LONG code;
    LONG (*run)(HKEY driver);
  } const cases[] = {
      {{"RegOpenKeyExA", kDriver, 0, 1, 0}, ERROR_FILE_NOT_FOUND,
       [](HKEY) {
         HKEY k = nullptr;
         return RegOpenKeyExA(HKEY_LOCAL_MACHINE, "software\\vlx\\driver", 0, KEY_READ, &k);
       }},
      {{"RegOpenKeyExA", nullptr, 0, 1, ERROR_ACCESS_DENIED}, ERROR_ACCESS_DENIED,
       [](HKEY) {
         HKEY k = nullptr;
         return RegOpenKeyExA(HKEY_LOCAL_MACHINE, kDriver, 0, KEY_READ, &k);
       }},
      {{"RegQueryValueExA", "level", 0, 1, 0}, ERROR_FILE_NOT_FOUND,
       [](HKEY k) { return RegQueryValueExA(k, "Level", nullptr, nullptr, nullptr, nullptr); }},
      {{"RegQueryValueExA", nullptr, 0, 1, ERROR_MORE_DATA}, ERROR_MORE_DATA,
       [](HKEY k) { return RegQueryValueExA(k, "Name", nullptr, nullptr, nullptr, nullptr); }},
      {{"RegCloseKey", nullptr, 0, 1, 0}, ERROR_INVALID_HANDLE, [](HKEY k) { return RegCloseKey(k); }},
  };
  for (const Case &c : cases) {
    PlatformClearFaults();
    PlatformArmFault(c.fault);
    EXPECT_EQ(c.run(key), c.code) << c.fault.call;
    EXPECT_EQ(PlatformFaultsFired(c.fault.call), 1u) << c.fault.call;
  }
  PlatformClearFaults();
  // The failed close left the key open.
  EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
}

TEST_F(Registry, KeyedFaultsLeaveOtherKeysAndValuesAlone) {
  ASSERT_TRUE(PlatformRegistrySetValue(HKEY_LOCAL_MACHINE, "Software\\Other", "Name", REG_SZ, "o", 2));
  PlatformArmFault({"RegOpenKeyExA", kDriver, 0, 0, 0});
  PlatformArmFault({"RegQueryValueExA", "Name", 0, 0, 0});
  HKEY key = nullptr;
  EXPECT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, kDriver, 0, KEY_READ, &key), ERROR_FILE_NOT_FOUND);
  ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\Vlx", 0, KEY_READ, &key), ERROR_SUCCESS);
  HKEY driver = nullptr;
  ASSERT_EQ(RegOpenKeyExA(key, "Driver", 0, KEY_READ, &driver), ERROR_SUCCESS);
  EXPECT_EQ(RegQueryValueExA(driver, "Name", nullptr, nullptr, nullptr, nullptr), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(RegQueryValueExA(driver, "Level", nullptr, nullptr, nullptr, nullptr), ERROR_SUCCESS);
  RegCloseKey(driver);
  RegCloseKey(key);
}

}  // namespace
