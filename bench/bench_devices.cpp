// Small triangles per second through the loader, as an application draws
// them, on each driver library: the SiS device (libvlxdriver.so) and the
// software-only device (libvlxdriver_soft.so). Each triangle is its own
// glBegin / glEnd, so every one of them takes the device's render lock (on
// the SiS device, a fire of the chip's command queue). Both draw their frames
// through the same software paths, so the ratio shows what the device itself
// costs. A 640 x 480 double-buffered window with a 16-bit depth buffer on a
// 16-bit screen.
#include <stdio.h>
#include <stdlib.h>

#include <vector>

#include "bench/bench_gl.h"
#include "bench/bench_timer.h"
#include "platform/sis6326.h"
#include "platform/vlxdesktop.h"

namespace {

constexpr int kWidth = 640, kHeight = 480;

struct Device {
  const char *name;
  const char *library;
};

const Device kDevices[] = {
    {"sis", VLX_SIS_DRIVER_PATH},
    {"soft", VLX_SOFT_DRIVER_PATH},
};

struct Triangle {
  float x[3], y[3], z, r, g, b;
};

// xorshift32: the same triangles on every run, about 10 pixels each.
std::vector<Triangle> MakeTriangles(int count) {
  uint32_t state = 0x9E3779B9u;
  auto unit = [&state] {
    state ^= state << 13, state ^= state >> 17, state ^= state << 5;
    return float(state >> 8) / 16777216.0f;
  };
  std::vector<Triangle> out(static_cast<size_t>(count));
  for (Triangle &t : out) {
    const float cx = 8 + unit() * (kWidth - 16), cy = 8 + unit() * (kHeight - 16);
    t.x[0] = cx, t.y[0] = cy, t.x[1] = cx + 4.5f, t.y[1] = cy, t.x[2] = cx, t.y[2] = cy + 4.5f;
    t.z = unit() * 1.8f - 0.9f, t.r = unit(), t.g = unit(), t.b = unit();
  }
  return out;
}

double DrawBatch(const std::vector<Triangle> &batch) {
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glFinish();
  const double start = bench::Now();
  for (const Triangle &t : batch) {
    glBegin(GL_TRIANGLES);
    glColor3f(t.r, t.g, t.b);
    for (int k = 0; k < 3; k++) glVertex3f(t.x[k], t.y[k], t.z);
    glEnd();
  }
  glFinish();
  return bench::Now() - start;
}

// A window with a double-buffered 16-bit format with a 16-bit depth buffer.
bool OpenWindow(HWND *hwnd, HDC *hdc, HGLRC *context) {
  *hwnd = DesktopCreateWindow(16, 16, kWidth, kHeight);
  if (*hwnd == nullptr) return false;
  *hdc = GetDC(*hwnd);
  PIXELFORMATDESCRIPTOR pfd;
  const int count = DescribePixelFormat(*hdc, 1, sizeof pfd, &pfd);
  for (int i = 1; i <= count; i++) {
    if (!DescribePixelFormat(*hdc, i, sizeof pfd, &pfd)) break;
    const DWORD wanted = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    if ((pfd.dwFlags & wanted) != wanted || pfd.iPixelType != PFD_TYPE_RGBA ||
        pfd.cColorBits != 16 || pfd.cDepthBits != 16)
      continue;
    if (!SetPixelFormat(*hdc, i, &pfd)) return false;
    *context = wglCreateContext(*hdc);
    return *context != nullptr && wglMakeCurrent(*hdc, *context);
  }
  return false;
}

// The median rate of the device, in triangles per second; 0 on failure.
double RunDevice(const Device &device, double seconds) {
  VlxGlUnloadDriver();
  setenv("VLX_GL_DRIVER", device.library, 1);
  HWND hwnd = nullptr;
  HDC hdc = nullptr;
  HGLRC context = nullptr;
  double rate = 0;
  if (OpenWindow(&hwnd, &hdc, &context)) {
    bench::PixelProjection(kWidth, kHeight);
    glShadeModel(GL_SMOOTH);
    glEnable(GL_DEPTH_TEST);
    const std::vector<Triangle> batch = MakeTriangles(2000);
    rate = bench::TimeRuns(seconds, [&] {
             return bench::RunTotals{double(batch.size()), 0, DrawBatch(batch)};
           }).Rate();
    if (glGetError() != GL_NO_ERROR) rate = 0;
  } else {
    fprintf(stderr, "bench_devices: %s: no window could be drawn\n", device.name);
  }
  wglMakeCurrent(nullptr, nullptr);
  if (context) wglDeleteContext(context);
  if (hwnd) {
    ReleaseDC(hwnd, hdc);
    DestroyWindow(hwnd);
  }
  VlxGlUnloadDriver();
  return rate;
}

}  // namespace

int main(int argc, char **argv) {
  bench::Options options;
  if (!bench::ParseOptions(argc, argv, &options)) return 2;
  if (!DesktopSetDisplayMode(16, 1024, 768)) return 1;
  // The stand-in's event log is for tests; a chip keeps none, and a long
  // run would spend its time copying events into it.
  PlatformSiS6326SetLogging(FALSE);
  printf("%-8s %14s\n", "device", "triangles/s");
  double rates[2] = {0, 0};
  bool failed = false;
  for (int i = 0; i < 2; i++) {
    if (!options.Wants(kDevices[i].name)) continue;
    rates[i] = RunDevice(kDevices[i], options.seconds);
    failed |= rates[i] == 0;
    printf("%-8s %14.0f\n", kDevices[i].name, rates[i]);
  }
  if (rates[0] > 0 && rates[1] > 0) printf("sis / soft: %.2f\n", rates[0] / rates[1]);
  return failed ? 1 : 0;
}
