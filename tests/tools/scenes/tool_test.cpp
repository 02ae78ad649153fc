// The scene tool as a user runs it: a small size into a fresh folder gives
// one PNG per scene, each decoding to that size and holding what the road
// shows for the scene; bad arguments are refused without a picture.
#define STB_IMAGE_IMPLEMENTATION
#include <dirent.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <stb/stb_image.h>

#include "platform/vlxdesktop.h"
#include "tools/scene_road.h"

namespace {

// A folder of its own, removed with what it holds.
class TempFolder {
 public:
  TempFolder() {
    char pattern[] = "/tmp/vlx_scenes_XXXXXX";
    if (mkdtemp(pattern)) path_ = pattern;
  }
  ~TempFolder() {
    if (path_.empty()) return;
    for (const std::string &name : Files()) unlink((path_ + "/" + name).c_str());
    rmdir(path_.c_str());
  }
  const std::string &path() const { return path_; }
  std::vector<std::string> Files() const {
    std::vector<std::string> names;
    if (DIR *dir = opendir(path_.c_str())) {
      while (const dirent *entry = readdir(dir))
        if (entry->d_name[0] != '.') names.push_back(entry->d_name);
      closedir(dir);
    }
    return names;
  }

 private:
  std::string path_;
};

// Runs the tool with the arguments (a shell word each) after the environment
// settings; its exit status and its output.
int RunTool(const std::string &arguments, std::string *output,
            const std::string &environment = "") {
  const std::string command =
      environment + " '" VLX_SCENES_TOOL_PATH "' " + arguments + " 2>&1";
  FILE *pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return -1;
  char buffer[512];
  size_t n;
  while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) output->append(buffer, n);
  const int status = pclose(pipe);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

class SceneTool : public ::testing::Test {
 protected:
  void SetUp() override { unsetenv("VLX_GL_DRIVER"); }
};

TEST_F(SceneTool, WritesEveryScenePictureAtTheSizeAsked) {
  constexpr int kWidth = 96, kHeight = 72;
  TempFolder folder;
  ASSERT_FALSE(folder.path().empty());
  std::string output;
  ASSERT_EQ(RunTool("--size 96x72 '" + folder.path() + "'", &output), 0) << output;

  // The tool's pictures against the road drawn here.
  ASSERT_TRUE(SceneRoadSetDisplay(kWidth, kHeight));
  for (const SceneEntry &scene : kScenes) {
    SCOPED_TRACE(scene.name);
    ASSERT_NE(output.find(std::string(scene.name) + " "), std::string::npos) << output;
    // Each line names the device that drew it.
    const size_t start = output.find(std::string(scene.name) + " ");
    const std::string line = output.substr(start, output.find('\n', start) - start);
    EXPECT_NE(line.find(" SiS 6326"), std::string::npos) << line;
    // And what the chip drew: some primitives or fills, and their pixels.
    unsigned primitives = 0, fills = 0, pixels = 0;
    const size_t chip = line.find("chip: ");
    ASSERT_NE(chip, std::string::npos) << line;
    ASSERT_EQ(sscanf(line.c_str() + chip, "chip: %u primitives, %u fills, %u pixels", &primitives,
                     &fills, &pixels),
              3)
        << line;
    EXPECT_GT(primitives + fills, 0u) << line;
    EXPECT_GT(pixels, 0u) << line;
    const std::string path = folder.path() + "/" + scene.name + ".png";
    int width = 0, height = 0, channels = 0;
    stbi_uc *rgb = stbi_load(path.c_str(), &width, &height, &channels, 3);
    ASSERT_NE(rgb, nullptr) << path << ": " << stbi_failure_reason();
    EXPECT_EQ(width, kWidth);
    EXPECT_EQ(height, kHeight);
    EXPECT_EQ(channels, 3);
    std::vector<uint32_t> argb(size_t(kWidth) * kHeight);
    SceneFrame frame;
    char why[256] = "";
    const bool drawn =
        width == kWidth && height == kHeight &&
        SceneRoadRender(scene, kWidth, kHeight, argb.data(), &frame, why, sizeof why);
    EXPECT_TRUE(drawn) << why;
    size_t differing = 0;
    for (size_t i = 0; drawn && i < argb.size(); i++) {
      const uint32_t fromPng =
          0xFF000000u | uint32_t(rgb[3 * i]) << 16 | uint32_t(rgb[3 * i + 1]) << 8 | rgb[3 * i + 2];
      differing += fromPng != argb[i];
    }
    EXPECT_EQ(differing, 0u);
    stbi_image_free(rgb);
  }
  EXPECT_TRUE(DesktopSetDisplayMode(16, 1024, 768));
  EXPECT_EQ(folder.Files().size(), sizeof kScenes / sizeof kScenes[0]);
}

struct RefusedCase {
  const char *name;
  const char *arguments;
};

const RefusedCase kRefused[] = {
    {"NoSize", "--size"},
    {"NoHeight", "--size 96x"},
    {"NoWidth", "--size x72"},
    {"NotANumber", "--size abcxdef"},
    {"Trailing", "--size 96x72x3"},
    {"Zero", "--size 0x72"},
    {"Negative", "--size 96x-72"},
    {"TooSmall", "--size 15x72"},
    {"TooLarge", "--size 96x4097"},
    {"Overflowing", "--size 99999999999999999999x72"},
    {"UnknownOption", "--colour"},
    {"TwoFolders", "elsewhere"},
};

class SceneToolRefuses : public ::testing::TestWithParam<RefusedCase> {};

// The arguments come before a folder in the fresh one; the tool makes no
// folder and writes nothing.
TEST_P(SceneToolRefuses, WithUsageAndNoPicture) {
  TempFolder folder;
  ASSERT_FALSE(folder.path().empty());
  std::string output;
  EXPECT_EQ(RunTool(std::string(GetParam().arguments) + " '" + folder.path() + "/out'", &output),
            2)
      << output;
  EXPECT_NE(output.find("usage"), std::string::npos) << output;
  EXPECT_TRUE(folder.Files().empty());
}

// Runs that cannot complete: the tool says why, exits with 1 and writes no
// picture.
struct FailingCase {
  const char *name;
  const char *environment;
  const char *arguments;
  const char *message;
};

const FailingCase kFailing[] = {
    {"NoDriverLibrary", "VLX_GL_DRIVER=/nonexistent/libvlxdriver.so", "--size 64x48",
     "no double-buffered RGBA format"},
    {"DisplayTooLarge", "", "--size 4000x4000", "the display cannot hold"},
};

class SceneToolFails : public ::testing::TestWithParam<FailingCase> {};

TEST_P(SceneToolFails, SaysWhyAndWritesNoPicture) {
  const FailingCase &c = GetParam();
  TempFolder folder;
  ASSERT_FALSE(folder.path().empty());
  std::string output;
  EXPECT_EQ(RunTool(std::string(c.arguments) + " '" + folder.path() + "'", &output,
                    c.environment),
            1)
      << output;
  EXPECT_NE(output.find(c.message), std::string::npos) << output;
  EXPECT_TRUE(folder.Files().empty());
}

INSTANTIATE_TEST_SUITE_P(Runs, SceneToolFails, ::testing::ValuesIn(kFailing),
                         [](const ::testing::TestParamInfo<FailingCase> &info) {
                           return std::string(info.param.name);
                         });

INSTANTIATE_TEST_SUITE_P(Arguments, SceneToolRefuses, ::testing::ValuesIn(kRefused),
                         [](const ::testing::TestParamInfo<RefusedCase> &info) {
                           return std::string(info.param.name);
                         });

}  // namespace
