// A recording test device for the attachment tests: it logs every hook the
// layer calls on it (process and thread attach and detach, pixel-format
// invalidation, palette updates), can refuse each attach or detach, and
// keeps its drawables' front buffers in plain memory; and a fixture that
// installs the device with an "opengl32.dll" answering GDI's pixel-format
// questions from it, and leaves the process detached afterwards.
#pragma once

#include <gtest/gtest.h>

#include <mutex>
#include <string>
#include <vector>

#include "core/device.h"
#include "platform/control.h"
#include "platform/gdi.h"
#include "platform/kernel.h"

struct WglDrawablePrivate;

namespace attach_test {

struct Recorder {
  std::mutex lock;
  std::vector<std::string> events;
  std::vector<WglDrawablePrivate *> palettes;  // drawables whose palette was updated
  bool refuseProcessAttach = false;
  bool refuseProcessDetach = false;
  bool refuseThreadAttach = false;
  bool refuseThreadDetach = false;
  HHOOK hookAtProcessAttach = nullptr;  // the calling thread's hook then

  void Add(const char *event);
  std::vector<std::string> Events();
  size_t Count(const std::string &event);
  void Reset();
};
extern Recorder gRecorder;

// The device with or without the two thread hooks.
GlDevice RecordingDevice(bool threadHooks);

// The single pixel format: RGB 5-6-5, single-buffered, windows and bitmaps.
constexpr int kFormat = 1;

// Debugger output since the last clear.
std::string DebugText();

class AttachTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  // Installs the device (kept by the fixture) as __glDevice.
  void UseDevice(bool threadHooks);

  GlDevice device_ = {};

 private:
  GlDevice *saved_ = nullptr;
};

}  // namespace attach_test
