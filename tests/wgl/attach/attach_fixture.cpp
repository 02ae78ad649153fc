#include "tests/wgl/attach/attach_fixture.h"

#include <algorithm>

#include "core/s_context.h"
#include "pixels/px_texture.h"
#include "tests/support/debug_text.h"
#include "tests/wgl/attach/opengl32_module.h"
#include "wgl/wgl_attach.h"
#include "wgl/wgl_dib.h"
#include "wgl/wgl_drawable.h"
#include "wgl/wgl_drawable_update.h"
#include "wgl/wgl_entries.h"
#include "wgl/wgl_message.h"

namespace attach_test {

Recorder gRecorder;

void Recorder::Add(const char *event) {
  std::lock_guard<std::mutex> hold(lock);
  events.emplace_back(event);
}

std::vector<std::string> Recorder::Events() {
  std::lock_guard<std::mutex> hold(lock);
  return events;
}

size_t Recorder::Count(const std::string &event) {
  std::lock_guard<std::mutex> hold(lock);
  return size_t(std::count(events.begin(), events.end(), event));
}

void Recorder::Reset() {
  std::lock_guard<std::mutex> hold(lock);
  events.clear();
  palettes.clear();
  refuseProcessAttach = refuseProcessDetach = false;
  refuseThreadAttach = refuseThreadDetach = false;
  hookAtProcessAttach = nullptr;
}

namespace {

GLbool8 ProcessAttach(uint32_t, GlDevice *) {
  gRecorder.Add("processAttach");
  gRecorder.hookAtProcessAttach = wgl::ThreadHook();
  return !gRecorder.refuseProcessAttach;
}
GLbool8 ProcessDetach(uint32_t, GlDevice *) {
  gRecorder.Add("processDetach");
  return !gRecorder.refuseProcessDetach;
}
GLbool8 ThreadAttach(uint32_t, GlDevice *) {
  gRecorder.Add("threadAttach");
  return !gRecorder.refuseThreadAttach;
}
GLbool8 ThreadDetach(uint32_t, GlDevice *) {
  gRecorder.Add("threadDetach");
  return !gRecorder.refuseThreadDetach;
}
void Invalidate(void) { gRecorder.Add("invalidate"); }

PIXELFORMATDESCRIPTOR Descriptor() {
  PIXELFORMATDESCRIPTOR d = {};
  d.nSize = sizeof d;
  d.nVersion = 1;
  d.dwFlags = PFD_DRAW_TO_WINDOW | PFD_DRAW_TO_BITMAP | PFD_SUPPORT_OPENGL;
  d.iPixelType = PFD_TYPE_RGBA;
  d.cColorBits = 16;
  d.cRedBits = 5, d.cRedShift = 11;
  d.cGreenBits = 6, d.cGreenShift = 5;
  d.cBlueBits = 5, d.cBlueShift = 0;
  return d;
}

int GetPixelFormat(HDC, PIXELFORMATDESCRIPTOR *descriptor, int index) {
  if (descriptor && index == kFormat - 1) *descriptor = Descriptor();
  return 1;
}

// The front buffer in plain memory; nothing else.
void InitDrawable(WglDrawablePrivate *drawable, const GlModes *modes) {
  __wglInitMem(&drawable->drawable.front, drawable, modes->colorBits);
}

void UpdatePalette(WglDrawablePrivate *drawable) {
  gRecorder.Add("palette");
  std::lock_guard<std::mutex> hold(gRecorder.lock);
  gRecorder.palettes.push_back(drawable);
}

}  // namespace

GlDevice RecordingDevice(bool threadHooks) {
  GlDevice device = {};
  device.processAttach = ProcessAttach;
  device.processDetach = ProcessDetach;
  device.threadAttach = threadHooks ? ThreadAttach : nullptr;
  device.threadDetach = threadHooks ? ThreadDetach : nullptr;
  device.getPixelFormat = GetPixelFormat;
  device.invalidatePixelFormatList = Invalidate;
  device.initTextureManager = __glInitTextureManager;
  device.createContext = __glCoreCreateContext;
  device.initDrawable = InitDrawable;
  device.dibInitDrawable = InitDrawable;
  device.freeBuffers = __wglFreeBuffers;
  device.updateDrawablePalette = UpdatePalette;
  return device;
}

std::string DebugText() { return PlatformDebugText(); }

void AttachTest::SetUp() {
  PlatformClearFaults();
  PlatformClearDebugOutput();
  PlatformRegistryReset();
  SetEnvironmentVariableA("__GL_ERROR_LOG", nullptr);
  RegisterOpenGl32Module();
  gRecorder.Reset();
  saved_ = __glDevice;
  UseDevice(true);
}

void AttachTest::TearDown() {
  PlatformClearFaults();
  // Whatever the test left attached goes; a second detach does nothing.
  DllMain(nullptr, 0, nullptr);
  __glDevice = saved_;
  PlatformUnregisterModule("opengl32.dll");
  SetEnvironmentVariableA("__GL_ERROR_LOG", nullptr);
  PlatformRegistryReset();
}

void AttachTest::UseDevice(bool threadHooks) {
  device_ = RecordingDevice(threadHooks);
  __glDevice = &device_;
}

}  // namespace attach_test
