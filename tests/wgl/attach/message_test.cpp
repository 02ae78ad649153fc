// Message formats on the debugger output, the 256-byte limit, and the system
// error that also sets the last-error value.
#include <string.h>

#include <functional>
#include <string>

#include "tests/wgl/attach/attach_fixture.h"
#include "wgl/wgl_message.h"

namespace attach_test {
namespace {

struct FormatCase {
  const char *name;
  std::function<void()> write;
  const char *text;
};

const FormatCase kFormats[] = {
    {"Message", [] { __wglMessage("hello"); }, "WGL Message:hello\n"},
    {"Arg", [] { __wglMessageArg("count", 42); }, "WGL Message:count: 42 (0x0000002a)\n"},
    {"ArgNegative", [] { __wglMessageArg("delta", 0xFFFFFFFFu); },
     "WGL Message:delta: -1 (0xffffffff)\n"},
    {"Arg2", [] { __wglMessageArg2("pair", 1, 0xABCDEF01u); },
     "WGL Message:pair: 0x00000001 0xabcdef01\n"},
    {"Arg3", [] { __wglMessageArg3("three", 1, 2, 0x80000000u); },
     "WGL Message:three: 0x00000001 0x00000002 0x80000000\n"},
    {"Float", [] { __wglMessageFloat("scale", 1.5f); },
     "WGL Message:scale: 1.500000 (3fc00000)\n"},
    {"FloatNegative", [] { __wglMessageFloat("bias", -0.25f); },
     "WGL Message:bias: -0.250000 (be800000)\n"},
    {"Error", [] { __wglError("no surface"); }, "OGL ERR:no surface\n"},
    {"NoText", [] { __wglError(nullptr); }, "OGL ERR:\n"},
    {"SystemError", [] { __wglSetSystemError("DrvShareLists", 87); },
     "WGL Message:System Error: (87):DrvShareLists\n"},
};

class MessageFormat : public ::testing::TestWithParam<FormatCase> {
 protected:
  void SetUp() override { PlatformClearDebugOutput(); }
};

TEST_P(MessageFormat, WritesTheTextToTheDebuggerOutput) {
  GetParam().write();
  EXPECT_EQ(DebugText(), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Formats, MessageFormat, ::testing::ValuesIn(kFormats),
                         [](const auto &info) { return std::string(info.param.name); });

struct SystemErrorCase {
  const char *name;
  DWORD code;
  DWORD lastError;
  const char *text;
};

const SystemErrorCase kSystemErrors[] = {
    {"DrvShareLists", 87, 0xC0070057u, "WGL Message:System Error: (87):DrvShareLists\n"},
    {"wglDeleteContext", 6, 0xC0070006u, "WGL Message:System Error: (6):wglDeleteContext\n"},
    {"wglCreateContext", 0xC0000000u, 0xC0070000u,
     "WGL Message:System Error: (-1073741824):wglCreateContext\n"},
    {"attachMessageHook", 1114, 0xC007045Au,
     "WGL Message:System Error: (1114):attachMessageHook\n"},
};

class SystemError : public ::testing::TestWithParam<SystemErrorCase> {};

TEST_P(SystemError, ReportsAndSetsTheLastError) {
  PlatformClearDebugOutput();
  SetLastError(0);
  __wglSetSystemError(GetParam().name, GetParam().code);
  EXPECT_EQ(GetLastError(), GetParam().lastError);
  EXPECT_EQ(DebugText(), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Codes, SystemError, ::testing::ValuesIn(kSystemErrors),
                         [](const auto &info) { return std::string(info.param.name); });

// Each message fits 256 bytes with its zero: longer ones are cut to 255
// characters, the newline included in the cut.
struct LengthCase {
  const char *name;
  std::function<void(const char *)> write;
  size_t textLength;
  size_t written;
  bool endsWithNewline;
};

const LengthCase kLengths[] = {
    {"MessageFits", [](const char *t) { __wglMessage(t); }, 242, 255, true},
    {"MessageOneOver", [](const char *t) { __wglMessage(t); }, 243, 255, false},
    {"MessageLong", [](const char *t) { __wglMessage(t); }, 1000, 255, false},
    {"ErrorFits", [](const char *t) { __wglError(t); }, 246, 255, true},
    {"ErrorLong", [](const char *t) { __wglError(t); }, 600, 255, false},
    {"ArgLong", [](const char *t) { __wglMessageArg(t, 5); }, 400, 255, false},
    {"SystemErrorLong", [](const char *t) { __wglSetSystemError(t, 6); }, 400, 255, false},
};

class MessageLength : public ::testing::TestWithParam<LengthCase> {};

TEST_P(MessageLength, IsCutToTheBuffer) {
  const LengthCase &c = GetParam();
  PlatformClearDebugOutput();
  std::string text(c.textLength, 'x');
  c.write(text.c_str());
  std::string out = DebugText();
  EXPECT_EQ(out.size(), c.written);
  EXPECT_EQ(!out.empty() && out.back() == '\n', c.endsWithNewline);
}

INSTANTIATE_TEST_SUITE_P(Lengths, MessageLength, ::testing::ValuesIn(kLengths),
                         [](const auto &info) { return std::string(info.param.name); });

}  // namespace
}  // namespace attach_test
