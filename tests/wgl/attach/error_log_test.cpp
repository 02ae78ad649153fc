// The error-log switch ("__GL_ERROR_LOG", else the registry value
// "ErrorLog"), the registry read, and "OGLError.txt": created with the first
// message while the log is on, holding the messages' text, replaced by the
// next process attachment that writes one.
#include <stdlib.h>
#include <unistd.h>

#include <atomic>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "platform/registry.h"
#include "tests/wgl/attach/attach_fixture.h"
#include "wgl/wgl_attach.h"
#include "wgl/wgl_message.h"

namespace attach_test {
namespace {

constexpr const char *kKey = "Software\\Velmora\\OpenGL";

void SetRegistryWord(const char *name, uint32_t value) {
  ASSERT_TRUE(PlatformRegistrySetValue(HKEY_LOCAL_MACHINE, kKey, name, REG_DWORD, &value,
                                       sizeof value));
}

// ---- The switch ------------------------------------------------------------------------

struct SwitchCase {
  const char *name;
  const char *environment;  // none: unset
  bool registryOn;          // "ErrorLog" = 1 in the registry
  bool openFails;           // the registry key cannot be opened
  int32_t errorLog;
  unsigned opensFailed;     // failures of the open that fired
};

const SwitchCase kSwitches[] = {
    {"EnvironmentZeroReadsNoRegistry", "0", true, true, 0, 0},
    {"EnvironmentOneReadsNoRegistry", "1", false, true, 1, 0},
    {"EnvironmentDecimal", "17", false, false, 17, 0},
    {"UnsetReadsRegistry", nullptr, true, false, 1, 0},
    {"UnsetRegistryOff", nullptr, false, false, 0, 0},
    {"UnsetKeyWillNotOpen", nullptr, true, true, 0, 1},
};

class ErrorLogSwitch : public AttachTest, public ::testing::WithParamInterface<SwitchCase> {};

TEST_P(ErrorLogSwitch, IsDecidedAtAttach) {
  const SwitchCase &c = GetParam();
  SetEnvironmentVariableA("__GL_ERROR_LOG", c.environment);
  if (c.registryOn) SetRegistryWord("ErrorLog", 1);
  if (c.openFails) PlatformArmFault(PlatformFault{"RegOpenKeyExA", nullptr, 0, 0, 0});
  ASSERT_TRUE(DllMain(nullptr, 1, nullptr));
  EXPECT_EQ(wgl::errorLog, c.errorLog);
  EXPECT_EQ(PlatformFaultsFired("RegOpenKeyExA"), c.opensFailed);
  PlatformClearFaults();
  ASSERT_TRUE(DllMain(nullptr, 0, nullptr));
  EXPECT_EQ(wgl::errorLog, 0);
}

INSTANTIATE_TEST_SUITE_P(Sources, ErrorLogSwitch, ::testing::ValuesIn(kSwitches),
                         [](const auto &info) { return std::string(info.param.name); });

// ---- The registry read -------------------------------------------------------------------

enum Setup { kWord, kNoKey, kNoValue, kBinaryWord, kTooLong, kReadOnlyKey };

struct RegistryCase {
  const char *name;
  Setup setup;
  const char *fault;  // a registry call made to fail
  uint32_t result;
};

const RegistryCase kRegistry[] = {
    {"Word", kWord, nullptr, 0x1234},
    {"NoKey", kNoKey, nullptr, 0},
    {"NoValue", kNoValue, nullptr, 0},
    {"TypeNotExamined", kBinaryWord, nullptr, 0x01020304},
    {"LongerThanAWord", kTooLong, nullptr, 0},
    {"KeyGrantsLessThanFullAccess", kReadOnlyKey, nullptr, 0},
    {"OpenFails", kWord, "RegOpenKeyExA", 0},
    {"ReadFails", kWord, "RegQueryValueExA", 0},
    {"CloseFails", kWord, "RegCloseKey", 0},
};

class QueryRegistry : public AttachTest, public ::testing::WithParamInterface<RegistryCase> {};

TEST_P(QueryRegistry, GivesTheWordOrZero) {
  const RegistryCase &c = GetParam();
  const uint8_t bytes[8] = {4, 3, 2, 1, 9, 9, 9, 9};
  switch (c.setup) {
    case kWord: SetRegistryWord("Value", 0x1234); break;
    case kNoKey: break;
    case kNoValue: SetRegistryWord("Other", 5); break;
    case kBinaryWord:
      PlatformRegistrySetValue(HKEY_LOCAL_MACHINE, kKey, "Value", REG_BINARY, bytes, 4);
      break;
    case kTooLong:
      PlatformRegistrySetValue(HKEY_LOCAL_MACHINE, kKey, "Value", REG_BINARY, bytes, 8);
      break;
    case kReadOnlyKey:
      SetRegistryWord("Value", 0x1234);
      PlatformRegistrySetKeyAccess(HKEY_LOCAL_MACHINE, kKey, KEY_READ);
      break;
  }
  if (c.fault) PlatformArmFault(PlatformFault{c.fault, nullptr, 0, 1, 0});
  EXPECT_EQ(__wglQueryRegistry("Value"), c.result);
  if (c.fault) {
    EXPECT_EQ(PlatformFaultsFired(c.fault), 1u);
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, QueryRegistry, ::testing::ValuesIn(kRegistry),
                         [](const auto &info) { return std::string(info.param.name); });

// ---- The log file -------------------------------------------------------------------------

// Runs the test in a directory of its own.
class ErrorLogFile : public AttachTest {
 protected:
  void SetUp() override {
    AttachTest::SetUp();
    ASSERT_NE(getcwd(saved_, sizeof saved_), nullptr);
    char pattern[] = "/tmp/wgl_attach_logXXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    dir_ = pattern;
    ASSERT_EQ(chdir(dir_.c_str()), 0);
  }
  void TearDown() override {
    AttachTest::TearDown();
    unlink((dir_ + "/OGLError.txt").c_str());
    EXPECT_EQ(chdir(saved_), 0);
    rmdir(dir_.c_str());
  }
  static bool Exists() { return access("OGLError.txt", F_OK) == 0; }
  static std::string Contents() {
    std::ifstream in("OGLError.txt", std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }

  std::string dir_;
  char saved_[4096] = {};
};

TEST_F(ErrorLogFile, IsCreatedWithTheFirstMessageAndHoldsTheText) {
  SetEnvironmentVariableA("__GL_ERROR_LOG", "1");
  ASSERT_TRUE(DllMain(nullptr, 1, nullptr));
  EXPECT_FALSE(Exists());
  PlatformClearDebugOutput();
  __wglMessage("first");
  EXPECT_TRUE(Exists());
  // The plain message goes to the log alone; the others to both.
  EXPECT_EQ(DebugText(), "");
  __wglError("second");
  __wglMessageArg("third", 3);
  EXPECT_EQ(DebugText(), "OGL ERR:second\nWGL Message:third: 3 (0x00000003)\n");
  ASSERT_TRUE(DllMain(nullptr, 0, nullptr));
  EXPECT_EQ(Contents(),
            "WGL Message:first\nOGL ERR:second\nWGL Message:third: 3 (0x00000003)\n");

  // The next attachment replaces the file with its first message.
  ASSERT_TRUE(DllMain(nullptr, 1, nullptr));
  EXPECT_EQ(Contents(), "WGL Message:first\nOGL ERR:second\nWGL Message:third: 3 (0x00000003)\n");
  __wglSetSystemError("DrvCopyContext", 5);
  ASSERT_TRUE(DllMain(nullptr, 0, nullptr));
  EXPECT_EQ(Contents(), "WGL Message:System Error: (5):DrvCopyContext\n");
}

TEST_F(ErrorLogFile, LongMessagesAreWrittenCutAndWithoutTheirZero) {
  SetEnvironmentVariableA("__GL_ERROR_LOG", "1");
  ASSERT_TRUE(DllMain(nullptr, 1, nullptr));
  __wglMessage(std::string(400, 'y').c_str());
  ASSERT_TRUE(DllMain(nullptr, 0, nullptr));
  std::string text = Contents();
  EXPECT_EQ(text.size(), 255u);
  EXPECT_EQ(text.find('\0'), std::string::npos);
}

TEST_F(ErrorLogFile, LogOffWritesNoFile) {
  SetEnvironmentVariableA("__GL_ERROR_LOG", "0");
  ASSERT_TRUE(DllMain(nullptr, 1, nullptr));
  __wglMessage("nothing to a file");
  __wglError("nor this");
  EXPECT_FALSE(Exists());
  EXPECT_NE(DebugText().find("WGL Message:nothing to a file\n"), std::string::npos);
}

TEST_F(ErrorLogFile, UncreatableFileLeavesMessagesOnTheDebuggerOutput) {
  SetEnvironmentVariableA("__GL_ERROR_LOG", "1");
  ASSERT_TRUE(DllMain(nullptr, 1, nullptr));
  PlatformArmFault(PlatformFault{"CreateFileA", "OGLError.txt", 0, 0, 0});
  PlatformClearDebugOutput();
  __wglMessage("still seen");
  EXPECT_FALSE(Exists());
  EXPECT_EQ(wgl::msgFile, INVALID_HANDLE_VALUE);
  EXPECT_EQ(DebugText(), "WGL Message:still seen\n");
}

// Threads whose first messages come at once all write to the one log file:
// a thread that lost the race to create it must neither replace the winner's
// handle (leaving it open for good) nor send its text elsewhere.
TEST_F(ErrorLogFile, ThreadsStartingTheLogTogetherShareOneFile) {
  constexpr int kThreads = 8;
  constexpr int kRounds = 25;
  SetEnvironmentVariableA("__GL_ERROR_LOG", "1");
  for (int round = 0; round < kRounds; ++round) {
    SCOPED_TRACE(round);
    ASSERT_TRUE(DllMain(nullptr, 1, nullptr));
    std::atomic<int> ready{0};
    std::atomic<bool> go{false};
    std::vector<std::thread> writers;
    for (int i = 0; i < kThreads; ++i)
      writers.emplace_back([&, i] {
        ready.fetch_add(1);
        while (!go.load()) std::this_thread::yield();
        __wglMessage(("from " + std::to_string(i)).c_str());
      });
    while (ready.load() < kThreads) std::this_thread::yield();
    go.store(true);
    for (std::thread &t : writers) t.join();
    ASSERT_TRUE(DllMain(nullptr, 0, nullptr));
    const std::string text = Contents();
    for (int i = 0; i < kThreads; ++i)
      ASSERT_NE(text.find("WGL Message:from " + std::to_string(i) + "\n"), std::string::npos)
          << text;
  }
}

}  // namespace
}  // namespace attach_test
