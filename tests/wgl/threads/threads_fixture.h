// What the thread tests share: the real driver loaded afresh through the
// loader for each test, stages that threads wait for, and a window of a
// thread's own with its device context and pixel format.
#pragma once

#include <GL/gl.h>
#include <gtest/gtest.h>
#include <pthread.h>
#include <stdio.h>
#include <stdlib.h>

#include <condition_variable>
#include <mutex>
#include <ostream>
#include <string>
#include <tuple>

#include "platform/control.h"
#include "platform/kernel.h"
#include "platform/vlxdesktop.h"
#include "tests/wgl/threads/window_scene.h"

// A mutex that is destroyed when it goes: std::mutex is not, so DRD would
// take a later object at the same stack address for the old mutex.
class TestMutex {
 public:
  TestMutex() { pthread_mutex_init(&mutex_, nullptr); }
  ~TestMutex() { pthread_mutex_destroy(&mutex_); }
  TestMutex(const TestMutex &) = delete;
  TestMutex &operator=(const TestMutex &) = delete;
  void lock() { pthread_mutex_lock(&mutex_); }
  void unlock() { pthread_mutex_unlock(&mutex_); }

 private:
  pthread_mutex_t mutex_;
};

// Stages that threads announce and wait for; a stage once reached stays
// reached.
class Stages {
 public:
  void Reach(int stage) {
    std::lock_guard<TestMutex> hold(lock_);
    if (stage > stage_) stage_ = stage;
    changed_.notify_all();
  }
  void WaitFor(int stage) {
    std::unique_lock<TestMutex> hold(lock_);
    changed_.wait(hold, [&] { return stage_ >= stage; });
  }

 private:
  TestMutex lock_;
  std::condition_variable_any changed_;
  int stage_ = 0;
};

// A meeting point for a fixed number of threads, usable again and again:
// each call returns once every thread has arrived.
class Rendezvous {
 public:
  explicit Rendezvous(int members) : members_(members) {}
  void Meet() {
    std::unique_lock<TestMutex> hold(lock_);
    int round = round_;
    if (++arrived_ == members_) {
      arrived_ = 0;
      ++round_;
      changed_.notify_all();
      return;
    }
    changed_.wait(hold, [&] { return round_ != round; });
  }

 private:
  TestMutex lock_;
  std::condition_variable_any changed_;
  int members_;
  int arrived_ = 0;
  int round_ = 0;
};

// A window of the calling thread in a slot, its device context and a pixel
// format; Close gives them back (a window also goes when its thread ends).
struct ThreadWindow {
  HWND hwnd = nullptr;
  HDC hdc = nullptr;
  int format = 0;

  bool Open(int slot, bool doubleBuffered) {
    hwnd = CreateSceneWindow(slot);
    hdc = hwnd ? GetDC(hwnd) : nullptr;
    format = hdc ? SetScenePixelFormat(hdc, doubleBuffered) : 0;
    return format != 0;
  }
  // Another thread's device context of a window that has its pixel format.
  bool Share(HWND window) {
    hwnd = window;
    hdc = GetDC(hwnd);
    format = hdc ? GetPixelFormat(hdc) : 0;
    return format != 0;
  }
  void Close(bool destroy) {
    if (hdc) ReleaseDC(hwnd, hdc);
    if (destroy && hwnd) DestroyWindow(hwnd);
    hwnd = nullptr;
    hdc = nullptr;
  }
};

// Where a frame differs from what it should be, for failure messages.
inline std::string DescribeDifference(const SceneDifference &d) {
  if (d.count < 0) return "the window could not be read";
  char text[128];
  snprintf(text, sizeof text, "%d pixels differ, first at (%d, %d): want 0x%08x, got 0x%08x",
           d.count, d.x, d.y, d.want, d.got);
  return text;
}

// The device and buffer set of window drawables: the SiS device (the driver
// beside the loader) gives windows the DirectDraw set; the software-only
// device (its own driver library) takes DCI while VLX_SOFT_BUFFER_SET is
// "dci" at a drawable's creation, DirectDraw otherwise.
struct BufferSet {
  const char *name;
  const char *setting;  // null: the variable unset
  bool softDevice;      // through the soft driver library
};
inline const BufferSet kBufferSets[] = {
    {"DirectDraw", nullptr, true},
    {"Dci", "dci", true},
    {"SiS", nullptr, false},
};

inline void PrintTo(const BufferSet &set, std::ostream *out) { *out << set.name; }

// Test names from the rows' `name` fields: a row alone, or a row on a buffer
// set.
struct RowName {
  template <typename Row>
  std::string operator()(const ::testing::TestParamInfo<Row> &info) const {
    return info.param.name;
  }
};
struct RowOnSetName {
  template <typename Row>
  std::string operator()(const ::testing::TestParamInfo<std::tuple<Row, BufferSet>> &info) const {
    return std::string(std::get<0>(info.param).name) + "_" + std::get<1>(info.param).name;
  }
};

class WglThreadsTest : public ::testing::Test {
 protected:
  // Before any thread starts: the environment is not written while others read it.
  static void UseBufferSet(const BufferSet &set) {
    UseSoftDevice(set.softDevice);
    if (set.setting)
      setenv("VLX_SOFT_BUFFER_SET", set.setting, 1);
    else
      unsetenv("VLX_SOFT_BUFFER_SET");
  }

  // Before the driver loads: the soft driver library, or the one beside the
  // loader as an application finds it.
  static void UseSoftDevice(bool soft) {
    if (soft)
      setenv("VLX_GL_DRIVER", VLX_SOFT_DRIVER_PATH, 1);
    else
      unsetenv("VLX_GL_DRIVER");
  }

  void SetUp() override {
    // The loader finds the driver beside itself, as for an application.
    unsetenv("VLX_GL_DRIVER");
    unsetenv("VLX_SOFT_BUFFER_SET");
    VlxGlUnloadDriver();
    PlatformClearFaults();
    SetLastError(0);
  }
  void TearDown() override {
    wglMakeCurrent(nullptr, nullptr);
    VlxGlUnloadDriver();
    PlatformClearFaults();
    unsetenv("VLX_SOFT_BUFFER_SET");
    unsetenv("VLX_GL_DRIVER");
  }
};
