// The OpenGL strings of contexts on the SiS device, met as an application
// meets them: through the loader, in a fresh process for each processor
// word (the driver reads "__GL_FORCE_MMX" and "__GL_FORCE_K3D" once per
// process). Each case runs this program again with the case's environment;
// the child creates a context on a window, makes it current and writes the
// four strings to a file.
#include <fcntl.h>
#include <spawn.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include "platform/kernel.h"
#include "platform/vlxdesktop.h"

#include <GL/gl.h>

extern char **environ;

namespace {

constexpr const char *kReport = "VLX_SIS_STRINGS_REPORT";

// The core's extensions, which the SiS device leaves as they are.
constexpr const char *kCoreExtensions =
    "GL_EXT_abgr GL_EXT_bgra GL_EXT_packed_pixels GL_EXT_paletted_texture "
    "GL_EXT_vertex_array GL_VLX_compiled_vertex_array GL_VLX_cull_vertex "
    "GL_VLX_index_array_formats GL_VLX_index_func GL_VLX_index_material "
    "GL_VLX_index_texture GL_WIN_swap_hint ";

struct Strings {
  std::string vendor, renderer, version, extensions;
};

const char *Text(GLenum name) {
  const GLubyte *s = glGetString(name);
  return s ? reinterpret_cast<const char *>(s) : "(null)";
}

// The child's side: the first window format of the 16-bit display that
// OpenGL draws into, a context current on it, its strings in the file.
TEST(SiSStringsChild, WritesTheStringsOfACurrentContext) {
  const char *path = getenv(kReport);
  if (path == nullptr) GTEST_SKIP() << "runs only as the child of the processor-word cases";
  ASSERT_TRUE(DesktopSetDisplayMode(16, 1024, 768));
  HWND hwnd = DesktopCreateWindow(0, 0, 64, 48);
  ASSERT_NE(hwnd, nullptr);
  HDC hdc = GetDC(hwnd);
  PIXELFORMATDESCRIPTOR pfd;
  const int count = DescribePixelFormat(hdc, 1, sizeof pfd, &pfd);
  int format = 0;
  for (int i = 1; i <= count && format == 0; i++) {
    const DWORD wanted = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL;
    if (DescribePixelFormat(hdc, i, sizeof pfd, &pfd) && (pfd.dwFlags & wanted) == wanted &&
        pfd.iPixelType == PFD_TYPE_RGBA)
      format = i;
  }
  ASSERT_NE(format, 0) << "no window format among " << count;
  ASSERT_TRUE(SetPixelFormat(hdc, format, &pfd));
  HGLRC context = wglCreateContext(hdc);
  ASSERT_NE(context, nullptr) << "last error 0x" << std::hex << GetLastError();
  ASSERT_TRUE(wglMakeCurrent(hdc, context));
  {
    std::ofstream out(path);
    out << Text(GL_VENDOR) << '\n'
        << Text(GL_RENDERER) << '\n'
        << Text(GL_VERSION) << '\n'
        << Text(GL_EXTENSIONS) << '\n';
  }
  wglMakeCurrent(nullptr, nullptr);
  EXPECT_TRUE(wglDeleteContext(context));
  ReleaseDC(hwnd, hdc);
  DestroyWindow(hwnd);
}

// Runs the child with the two overrides; false when it did not report.
bool RunChild(const char *mmx, const char *k3d, Strings *strings) {
  char path[] = "/tmp/vlx_sis_strings_XXXXXX";
  int fd = mkstemp(path);
  if (fd < 0) return false;
  close(fd);
  // The driver is the one beside the loader, whatever this process was given.
  std::vector<std::string> env;
  for (char **e = environ; *e; ++e) {
    if (strncmp(*e, "__GL_FORCE_MMX=", 15) && strncmp(*e, "__GL_FORCE_K3D=", 15) &&
        strncmp(*e, "VLX_GL_DRIVER=", 14) && strncmp(*e, kReport, strlen(kReport)))
      env.push_back(*e);
  }
  env.push_back(std::string("__GL_FORCE_MMX=") + mmx);
  env.push_back(std::string("__GL_FORCE_K3D=") + k3d);
  env.push_back(std::string(kReport) + "=" + path);
  std::vector<char *> envp;
  for (std::string &s : env) envp.push_back(s.data());
  envp.push_back(nullptr);
  char self[] = "/proc/self/exe";
  char filter[] = "--gtest_filter=SiSStringsChild.*";
  char *argv[] = {self, filter, nullptr};
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  pid_t pid;
  const int spawned = posix_spawn(&pid, self, &actions, nullptr, argv, envp.data());
  posix_spawn_file_actions_destroy(&actions);
  int status = 0;
  bool reported = spawned == 0 && waitpid(pid, &status, 0) == pid && WIFEXITED(status) &&
                  WEXITSTATUS(status) == 0;
  if (reported) {
    std::ifstream in(path);
    reported = bool(std::getline(in, strings->vendor)) &&
               bool(std::getline(in, strings->renderer)) &&
               bool(std::getline(in, strings->version)) &&
               bool(std::getline(in, strings->extensions));
  }
  unlink(path);
  return reported;
}

TEST(SiSStrings, EachProcessorWordNamesTheChip) {
  struct Word {
    const char *mmx, *k3d;
    const char *renderer;
  };
  const Word words[] = {
      {"0", "0", "6326"},
      {"1", "0", "6326/MMX"},
      // 3DNow! names the whole line, MMX tested or not.
      {"0", "1", "6326/MMX/K3D"},
      {"1", "1", "6326/MMX/K3D"},
  };
  for (const Word &w : words) {
    SCOPED_TRACE(std::string("__GL_FORCE_MMX=") + w.mmx + " __GL_FORCE_K3D=" + w.k3d);
    Strings s;
    ASSERT_TRUE(RunChild(w.mmx, w.k3d, &s)) << "the child made no report";
    EXPECT_EQ(s.vendor, "SiS");
    EXPECT_EQ(s.renderer, w.renderer);
    EXPECT_EQ(s.version, "1.0");
    EXPECT_EQ(s.extensions, kCoreExtensions);
  }
}

}  // namespace
