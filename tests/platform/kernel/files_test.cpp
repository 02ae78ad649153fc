// Files (dispositions, sharing, reading and writing, bad handles, faults) and
// the captured debugger output.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/control.h"
#include "platform/kernel.h"

namespace {

constexpr DWORD R = GENERIC_READ, W = GENERIC_WRITE;
constexpr DWORD SR = FILE_SHARE_READ, SW = FILE_SHARE_WRITE;
constexpr DWORD kUntouched = 0xDEAD;  // a last error no call here sets

// Each test works in a directory of its own.
class Files : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = ::testing::TempDir() + "vlx_files_XXXXXX";
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    dir_ = pattern;
  }
  void TearDown() override {
    PlatformClearFaults();
    for (HANDLE h : open_) CloseHandle(h);
    std::filesystem::remove_all(dir_);
  }

  std::string Path(const char *name) const { return dir_ + "/" + name; }

  // Opens a file in the test directory; the fixture closes what stays open.
  HANDLE Open(const char *name, DWORD access, DWORD share, DWORD disposition) {
    HANDLE h = CreateFileA(Path(name).c_str(), access, share, nullptr, disposition,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h != INVALID_HANDLE_VALUE) open_.push_back(h);
    return h;
  }
  BOOL Close(HANDLE h) {
    std::erase(open_, h);
    return CloseHandle(h);
  }

  void Put(const char *name, const std::string &text) { std::ofstream(Path(name)) << text; }
  bool Exists(const char *name) const {
    struct stat st;
    return stat(Path(name).c_str(), &st) == 0;
  }
  std::string Contents(const char *name) const {
    std::stringstream s;
    s << std::ifstream(Path(name)).rdbuf();
    return s.str();
  }

  std::string dir_;
  std::vector<HANDLE> open_;
};

const char *DispositionName(DWORD d) {
  static const char *const names[] = {"?", "CREATE_NEW", "CREATE_ALWAYS", "OPEN_EXISTING",
                                      "OPEN_ALWAYS", "TRUNCATE_EXISTING"};
  return names[d <= 5 ? d : 0];
}

TEST_F(Files, DispositionsActOnExistingAndMissingFiles) {
  struct Case {
    DWORD disposition;
    bool exists;
    bool opens;
    DWORD error;
    const char *after;  // contents afterwards; null: no file
  } const cases[] = {
      {CREATE_NEW, true, false, ERROR_FILE_EXISTS, "old"},
      {CREATE_NEW, false, true, 0, ""},
      {CREATE_ALWAYS, true, true, ERROR_ALREADY_EXISTS, ""},
      {CREATE_ALWAYS, false, true, 0, ""},
      {OPEN_EXISTING, true, true, 0, "old"},
      {OPEN_EXISTING, false, false, ERROR_FILE_NOT_FOUND, nullptr},
      {OPEN_ALWAYS, true, true, ERROR_ALREADY_EXISTS, "old"},
      {OPEN_ALWAYS, false, true, 0, ""},
      {TRUNCATE_EXISTING, true, true, 0, ""},
      {TRUNCATE_EXISTING, false, false, ERROR_FILE_NOT_FOUND, nullptr},
  };
  int n = 0;
  for (const Case &c : cases) {
    std::string name = "file" + std::to_string(n++);
    if (c.exists) Put(name.c_str(), "old");
    SetLastError(kUntouched);
    HANDLE h = Open(name.c_str(), R | W, 0, c.disposition);
    std::string what = std::string(DispositionName(c.disposition)) + (c.exists ? " existing" : " missing");
    EXPECT_EQ(h != INVALID_HANDLE_VALUE, c.opens) << what;
    EXPECT_EQ(GetLastError(), c.error) << what;
    EXPECT_EQ(Exists(name.c_str()), c.after != nullptr) << what;
    if (c.after) {
      EXPECT_EQ(Contents(name.c_str()), c.after) << what;
    }
  }
}

TEST_F(Files, BadOpensReportWhy) {
  ASSERT_EQ(mkdir(Path("sub").c_str(), 0777), 0);
  struct Case {
    const char *name;
    DWORD access, disposition;
    DWORD error;
  } const cases[] = {
      {"nodir/file", R, OPEN_EXISTING, ERROR_PATH_NOT_FOUND},
      {"nodir/file", W, CREATE_ALWAYS, ERROR_PATH_NOT_FOUND},
      {"sub", R, OPEN_EXISTING, ERROR_ACCESS_DENIED},  // a directory
      {"file", R, 0, ERROR_INVALID_PARAMETER},
      {"file", R, 6, ERROR_INVALID_PARAMETER},
      {"file", R, TRUNCATE_EXISTING, ERROR_INVALID_PARAMETER},  // truncating needs write access
  };
  Put("file", "x");
  for (const Case &c : cases) {
    SetLastError(0);
    EXPECT_EQ(Open(c.name, c.access, 0, c.disposition), INVALID_HANDLE_VALUE) << c.name;
    EXPECT_EQ(GetLastError(), c.error) << c.name << " " << c.disposition;
  }
  EXPECT_EQ(Contents("file"), "x");
  SetLastError(0);
  EXPECT_EQ(CreateFileA(nullptr, R, 0, nullptr, OPEN_EXISTING, 0, nullptr), INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), (DWORD)ERROR_INVALID_PARAMETER);
  EXPECT_EQ(CreateFileA("", R, 0, nullptr, OPEN_EXISTING, 0, nullptr), INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), (DWORD)ERROR_PATH_NOT_FOUND);
}

TEST_F(Files, ShareModesDecideWhetherASecondOpenIsAllowed) {
  struct Case {
    DWORD firstAccess, firstShare, secondAccess, secondShare;
    bool allowed;
  } const cases[] = {
      {R, SR, R, SR, true},
      {R, SR, W, SR | SW, false},  // the first does not share writing
      {R, SR | SW, W, SR | SW, true},
      {R, SR | SW, R, 0, false},  // the second does not share the first's reading
      {W, SR, R, SR, false},      // the second does not share the first's writing
      {W, SR, R, SR | SW, true},
      {W, 0, R, SR | SW, false},
      {R | W, SR | SW, R | W, SR | SW, true},
      {R | W, SR | SW, R | W, SR, false},
      {0, 0, R | W, 0, true},  // no data access, no conflict
      {R | W, 0, 0, 0, true},
  };
  int n = 0;
  for (const Case &c : cases) {
    std::string name = "shared" + std::to_string(n);
    HANDLE first = Open(name.c_str(), c.firstAccess, c.firstShare, CREATE_NEW);
    ASSERT_NE(first, INVALID_HANDLE_VALUE);
    SetLastError(0);
    HANDLE second = Open(name.c_str(), c.secondAccess, c.secondShare, OPEN_EXISTING);
    EXPECT_EQ(second != INVALID_HANDLE_VALUE, c.allowed) << "case " << n;
    if (!c.allowed) {
      EXPECT_EQ(GetLastError(), (DWORD)ERROR_SHARING_VIOLATION) << "case " << n;
    }
    // Once the first is closed nothing stands in the way.
    if (second != INVALID_HANDLE_VALUE) Close(second);
    Close(first);
    EXPECT_NE(Open(name.c_str(), c.secondAccess, c.secondShare, OPEN_EXISTING), INVALID_HANDLE_VALUE)
        << "case " << n;
    ++n;
  }
}

TEST_F(Files, ARefusedOpenLeavesTheFileAlone) {
  Put("kept", "contents");
  ASSERT_NE(Open("kept", R, SR, OPEN_EXISTING), INVALID_HANDLE_VALUE);
  for (DWORD disposition : {CREATE_ALWAYS, TRUNCATE_EXISTING}) {
    SetLastError(0);
    EXPECT_EQ(Open("kept", W, SR | SW, disposition), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), (DWORD)ERROR_SHARING_VIOLATION);
  }
  EXPECT_EQ(Contents("kept"), "contents");
}

TEST_F(Files, RelativeNamesResolveAgainstTheCurrentDirectory) {
  char previous[4096];
  ASSERT_NE(getcwd(previous, sizeof previous), nullptr);
  ASSERT_EQ(chdir(dir_.c_str()), 0);
  HANDLE h = CreateFileA("relative.txt", W, 0, nullptr, CREATE_NEW, 0, nullptr);
  ASSERT_EQ(chdir(previous), 0);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  open_.push_back(h);
  EXPECT_TRUE(Exists("relative.txt"));
  // The same file under another name is still the same file for sharing.
  SetLastError(0);
  EXPECT_EQ(Open("relative.txt", R, SR | SW, OPEN_EXISTING), INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), (DWORD)ERROR_SHARING_VIOLATION);
}

TEST_F(Files, BackslashesSeparateFolders) {
  ASSERT_EQ(mkdir(Path("sub").c_str(), 0777), 0);
  std::string windowsName = dir_ + "\\sub\\log.txt";
  HANDLE h = CreateFileA(windowsName.c_str(), W, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  open_.push_back(h);
  EXPECT_TRUE(Exists("sub/log.txt"));
}

TEST_F(Files, WrittenDataReadsBack) {
  HANDLE out = Open("data", W, 0, CREATE_ALWAYS);
  ASSERT_NE(out, INVALID_HANDLE_VALUE);
  DWORD count = 99;
  EXPECT_TRUE(WriteFile(out, "hello ", 6, &count, nullptr));
  EXPECT_EQ(count, 6u);
  EXPECT_TRUE(WriteFile(out, "world", 5, &count, nullptr));
  EXPECT_EQ(count, 5u);
  EXPECT_TRUE(WriteFile(out, "", 0, &count, nullptr));
  EXPECT_EQ(count, 0u);
  EXPECT_TRUE(Close(out));
  EXPECT_EQ(Contents("data"), "hello world");

  HANDLE in = Open("data", R, SR, OPEN_EXISTING);
  ASSERT_NE(in, INVALID_HANDLE_VALUE);
  char buffer[8];
  EXPECT_TRUE(ReadFile(in, buffer, 8, &count, nullptr));
  EXPECT_EQ(std::string(buffer, count), "hello wo");
  EXPECT_TRUE(ReadFile(in, buffer, 8, &count, nullptr));  // stops at the end
  EXPECT_EQ(std::string(buffer, count), "rld");
  count = 99;
  EXPECT_TRUE(ReadFile(in, buffer, 8, &count, nullptr));  // at the end: success, nothing read
  EXPECT_EQ(count, 0u);
}

TEST_F(Files, ReadingAndWritingNeedTheirAccess) {
  HANDLE readOnly = Open("r", R, SR | SW, CREATE_NEW);
  HANDLE writeOnly = Open("r", W, SR | SW, OPEN_EXISTING);
  ASSERT_NE(readOnly, INVALID_HANDLE_VALUE);
  ASSERT_NE(writeOnly, INVALID_HANDLE_VALUE);
  char buffer[4] = "abc";
  DWORD count = 99;
  SetLastError(0);
  EXPECT_FALSE(WriteFile(readOnly, buffer, 3, &count, nullptr));
  EXPECT_EQ(GetLastError(), (DWORD)ERROR_ACCESS_DENIED);
  EXPECT_EQ(count, 0u);
  count = 99;
  SetLastError(0);
  EXPECT_FALSE(ReadFile(writeOnly, buffer, 3, &count, nullptr));
  EXPECT_EQ(GetLastError(), (DWORD)ERROR_ACCESS_DENIED);
  EXPECT_EQ(count, 0u);
}

TEST_F(Files, UnknownHandlesAreRefused) {
  HANDLE closed = Open("closed", W, 0, CREATE_NEW);
  ASSERT_TRUE(Close(closed));
  int notAFile = 0;
  const HANDLE handles[] = {nullptr, INVALID_HANDLE_VALUE, closed, &notAFile,
                            reinterpret_cast<HANDLE>(0x12345678)};
  for (HANDLE h : handles) {
    char buffer[4] = "abc";
    DWORD count = 99;
    SetLastError(0);
    EXPECT_FALSE(WriteFile(h, buffer, 3, &count, nullptr)) << h;
    EXPECT_EQ(GetLastError(), (DWORD)ERROR_INVALID_HANDLE) << h;
    EXPECT_EQ(count, 0u);
    SetLastError(0);
    EXPECT_FALSE(ReadFile(h, buffer, 3, &count, nullptr)) << h;
    EXPECT_EQ(GetLastError(), (DWORD)ERROR_INVALID_HANDLE) << h;
    SetLastError(0);
    EXPECT_FALSE(CloseHandle(h)) << h;
    EXPECT_EQ(GetLastError(), (DWORD)ERROR_INVALID_HANDLE) << h;
  }
}

TEST_F(Files, FaultsFailTheirCall) {
  HANDLE h = Open("target", R | W, 0, CREATE_NEW);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  struct Case {
    const char *call;
    DWORD error;  // 0: the call's usual one
    DWORD expected;
    BOOL (*run)(HANDLE h, DWORD *count);
  } const cases[] = {
      {"WriteFile", 0, ERROR_ACCESS_DENIED,
       [](HANDLE h, DWORD *count) { return WriteFile(h, "abc", 3, count, nullptr); }},
      {"WriteFile", ERROR_NOT_ENOUGH_MEMORY, ERROR_NOT_ENOUGH_MEMORY,
       [](HANDLE h, DWORD *count) { return WriteFile(h, "abc", 3, count, nullptr); }},
      {"ReadFile", 0, ERROR_ACCESS_DENIED,
       [](HANDLE h, DWORD *count) {
         char buffer[3];
         return ReadFile(h, buffer, 3, count, nullptr);
       }},
      {"CloseHandle", 0, ERROR_INVALID_HANDLE,
       [](HANDLE h, DWORD *) { return CloseHandle(h); }},
  };
  for (const Case &c : cases) {
    PlatformClearFaults();
    PlatformArmFault({c.call, nullptr, 0, 1, c.error});
    SetLastError(0);
    DWORD count = 99;
    EXPECT_FALSE(c.run(h, &count)) << c.call;
    EXPECT_EQ(GetLastError(), c.expected) << c.call;
    if (c.call != std::string("CloseHandle")) {
      EXPECT_EQ(count, 0u) << c.call;
    }
  }
  PlatformClearFaults();
  // Nothing was written, and the failed close left the handle open.
  EXPECT_EQ(Contents("target"), "");
  EXPECT_TRUE(Close(h));
}

TEST_F(Files, AKeyedOpenFaultFailsOneFileOnly) {
  Put("a", "");
  Put("b", "");
  PlatformArmFault({"CreateFileA", Path("b").c_str(), 0, 0, 0});
  EXPECT_NE(Open("a", R, SR, OPEN_EXISTING), INVALID_HANDLE_VALUE);
  SetLastError(0);
  EXPECT_EQ(Open("b", R, SR, OPEN_EXISTING), INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), (DWORD)ERROR_ACCESS_DENIED);
  EXPECT_EQ(PlatformFaultsFired("CreateFileA"), 1u);
}

// ---- Debugger output ----

class DebugOutput : public ::testing::Test {
 protected:
  void SetUp() override {
    unsetenv("VLX_DEBUG_ECHO");
    PlatformClearDebugOutput();
  }
  void TearDown() override {
    PlatformClearDebugOutput();
    unsetenv("VLX_DEBUG_ECHO");
  }
  static std::string Captured() {
    std::string text(PlatformDebugOutput(nullptr, 0), '\0');
    PlatformDebugOutput(text.data(), text.size() + 1);
    return text;
  }
};

TEST_F(DebugOutput, TextIsConcatenatedUntilCleared) {
  OutputDebugStringA("one ");
  OutputDebugStringA(nullptr);
  OutputDebugStringA("");
  OutputDebugStringA("two\n");
  EXPECT_EQ(Captured(), "one two\n");
  PlatformClearDebugOutput();
  EXPECT_EQ(PlatformDebugOutput(nullptr, 0), 0u);
  OutputDebugStringA("three");
  EXPECT_EQ(Captured(), "three");
}

TEST_F(DebugOutput, OnlyTheNewestMebibyteIsKept) {
  std::string chunk(64 * 1024, 'a');
  for (int i = 0; i < 24; ++i) OutputDebugStringA(chunk.c_str());
  OutputDebugStringA("last");
  std::string text = Captured();
  EXPECT_EQ(text.size(), 1u << 20);
  EXPECT_EQ(text.substr(text.size() - 5), "alast");
}

TEST_F(DebugOutput, CopyOutIsTruncatedToTheBuffer) {
  OutputDebugStringA("abcdef");
  struct Case {
    size_t size;
    const char *copied;
  } const cases[] = {{1, ""}, {2, "a"}, {6, "abcde"}, {7, "abcdef"}, {20, "abcdef"}};
  for (const Case &c : cases) {
    char buffer[20];
    memset(buffer, 'x', sizeof buffer);
    EXPECT_EQ(PlatformDebugOutput(buffer, c.size), 6u) << c.size;
    EXPECT_STREQ(buffer, c.copied) << c.size;
  }
  char untouched = 'x';
  EXPECT_EQ(PlatformDebugOutput(&untouched, 0), 6u);
  EXPECT_EQ(untouched, 'x');
}

TEST_F(DebugOutput, EchoesToStandardErrorWhenAsked) {
  ::testing::internal::CaptureStderr();
  OutputDebugStringA("quiet ");
  setenv("VLX_DEBUG_ECHO", "1", 1);
  OutputDebugStringA("loud");
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "loud");
  EXPECT_EQ(Captured(), "quiet loud");
}

}  // namespace
