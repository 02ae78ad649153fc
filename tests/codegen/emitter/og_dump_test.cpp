// The dump switch: generated routines written to files objdump reads.
#include <dirent.h>
#include <stdio.h>
#include <stdlib.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "codegen/og_dump.h"
#include "tests/codegen/emitter/og_support.h"

namespace {

class DumpTest : public OgTest {
 protected:
  void SetUp() override {
    OgTest::SetUp();
    char dir[] = "/tmp/og_dump_XXXXXX";
    ASSERT_NE(mkdtemp(dir), nullptr);
    directory = dir;
  }
  void TearDown() override {
    og_dump_directory(nullptr);
    unsetenv("VLX_OG_DUMP");
    for (const std::string &f : Files()) remove((directory + "/" + f).c_str());
    rmdir(directory.c_str());
    OgTest::TearDown();
  }
  std::vector<std::string> Files() const {
    std::vector<std::string> names;
    if (DIR *d = opendir(directory.c_str())) {
      while (dirent *e = readdir(d))
        if (e->d_name[0] != '.') names.push_back(e->d_name);
      closedir(d);
    }
    return names;
  }
  std::vector<uint8_t> Contents(const std::string &name) const {
    std::vector<uint8_t> bytes;
    if (FILE *f = fopen((directory + "/" + name).c_str(), "rb")) {
      int ch;
      while ((ch = fgetc(f)) != EOF) bytes.push_back(uint8_t(ch));
      fclose(f);
    }
    return bytes;
  }
  // A small routine at the start of `code`; its length.
  uint32_t SmallRoutine() {
    Begin();
    Emit(mov(gc, eax, mem2(gc, value(gc, 4), esp)));
    Emit(add(gc, eax, value(gc, 1)));
    Emit(ret(gc));
    return uint32_t(cb - code);
  }

  std::string directory;
};

TEST_F(DumpTest, OffWritesNothing) {
  unsetenv("VLX_OG_DUMP");
  EXPECT_FALSE(og_dump(gc, "routine", code, SmallRoutine()));
  setenv("VLX_OG_DUMP", "", 1);
  EXPECT_FALSE(og_dump(gc, "routine", code, SmallRoutine()));
  EXPECT_TRUE(Files().empty());
}

TEST_F(DumpTest, TheEnvironmentNamesTheDirectory) {
  setenv("VLX_OG_DUMP", directory.c_str(), 1);
  const uint32_t length = SmallRoutine();
  ASSERT_TRUE(og_dump(gc, "depth test", code, length));
  const std::vector<std::string> files = Files();
  ASSERT_EQ(files.size(), 1u);
  char address[16];
  snprintf(address, sizeof address, "%08x", unsigned(uintptr_t(code)));
  EXPECT_EQ(files[0].find("og-"), 0u);
  EXPECT_NE(files[0].find("-depth_test-"), std::string::npos) << files[0];
  EXPECT_NE(files[0].find(address), std::string::npos) << files[0];
  EXPECT_EQ(Contents(files[0]), std::vector<uint8_t>(code, code + length));

  if (!HaveObjdump()) return;
  std::vector<std::vector<std::string>> texts;
  ASSERT_TRUE(Disassemble({Contents(files[0])}, &texts));
  EXPECT_EQ(texts[0], (std::vector<std::string>{"mov eax,DWORD PTR [esp+0x4]", "add eax,0x1", "ret"}));
}

TEST_F(DumpTest, EachRoutineGetsAFileOfItsOwn) {
  og_dump_directory(directory.c_str());
  const uint32_t length = SmallRoutine();
  const char *const names[] = {"a", "a", "../escape", nullptr, ""};
  for (const char *name : names) EXPECT_TRUE(og_dump(nullptr, name, code, length));
  const std::vector<std::string> files = Files();
  EXPECT_EQ(files.size(), 5u) << "names never leave the directory";
  for (const std::string &f : files) EXPECT_EQ(f.find('/'), std::string::npos);
  og_dump_directory(nullptr);
  EXPECT_FALSE(og_dump(gc, "routine", code, length)) << "back to the environment";
}

TEST_F(DumpTest, NothingToWriteOrNowhereToWriteIt) {
  og_dump_directory(directory.c_str());
  EXPECT_FALSE(og_dump(gc, "empty", code, 0));
  EXPECT_FALSE(og_dump(gc, "null", nullptr, 16));
  og_dump_directory((directory + "/missing/deeper").c_str());
  EXPECT_FALSE(og_dump(gc, "lost", code, 4));
  og_dump_directory(directory.c_str());
  EXPECT_TRUE(Files().empty());
}

}  // namespace
