// A program that ends in the way its argument names while the fake driver is
// loaded, with a context current on the thread that ends it. After the
// driver's process detach it prints what the driver saw: each DllMain call
// and context release, with the role of the thread it came on. It does not
// link the fake driver, so the driver's code is still there to ask only when
// the loader left it loaded. The loader's exit test runs it.
#include <dlfcn.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

#include <atomic>
#include <thread>

#include "platform/kernel.h"
#include "platform/vlxdesktop.h"
#include "tests/loader/fake_driver/fake_driver.h"
#include "tests/loader/entries/gl_exports.h"

namespace {

enum Role { kMain, kPasser, kOther, kRoles };
const char *const kRoleNames[kRoles] = {"main", "passer", "other"};
std::atomic<DWORD> roleThreads[kRoles];

void TakeRole(Role role) { roleThreads[role] = GetCurrentThreadId(); }

const char *RoleOf(DWORD thread) {
  for (int r = 0; r < kRoles; ++r)
    if (roleThreads[r] == thread) return kRoleNames[r];
  return "unknown";
}

// Registered before the driver is loaded, so it runs after the loader's own
// exit handler.
void Report() {
  void *driver = dlopen(getenv("VLX_GL_DRIVER"), RTLD_NOW | RTLD_NOLOAD);
  typedef unsigned (*CallsProc)(FakeCall *, unsigned);
  CallsProc calls =
      driver ? reinterpret_cast<CallsProc>(dlsym(driver, "FakeDriverCalls")) : nullptr;
  if (calls == nullptr) {
    printf("driver unloaded\n");
  } else {
    static FakeCall log[512];
    unsigned count = calls(log, 512);
    static const char *const kReasons[] = {"process detach", "process attach", "thread attach",
                                           "thread detach"};
    for (unsigned i = 0; i < count && i < 512; ++i) {
      // A process detach at exit carries a non-null reserved word.
      if (log[i].entry == FAKE_DllMain && log[i].args[1] < 4)
        printf("%s%s %s\n", kReasons[log[i].args[1]],
               log[i].args[1] == 0 && log[i].args[2] != 0 ? " at exit" : "", RoleOf(log[i].thread));
      else if (log[i].entry == FAKE_DrvReleaseContext)
        printf("release %s\n", RoleOf(log[i].thread));
    }
  }
  printf("end\n");
  fflush(stdout);
}

// A window with a context current on it, on the calling thread.
bool Bind() {
  HDC hdc = GetDC(DesktopCreateWindow(0, 0, 16, 16));
  if (!SetPixelFormat(hdc, 1, nullptr)) return false;
  HGLRC context = wglCreateContext(hdc);
  return context != nullptr && wglMakeCurrent(hdc, context);
}

}  // namespace

int main(int argc, char **argv) {
  atexit(&Report);
  TakeRole(kMain);
  if (!Bind()) return 2;  // the first call loads the driver on this thread
  // A thread that comes and goes before the end.
  std::thread([] {
    TakeRole(kPasser);
    glGetError();
  }).join();

  const char *how = argc > 1 ? argv[1] : "";
  if (strcmp(how, "return") == 0) return 0;
  if (strcmp(how, "exit") == 0) exit(0);
  if (strcmp(how, "exit-elsewhere") == 0) {
    std::thread([] {
      TakeRole(kOther);
      Bind();
      exit(0);
    }).join();
  }
  if (strcmp(how, "exit-while-running") == 0) {
    std::atomic<bool> running{false};
    std::thread([&] {
      TakeRole(kOther);
      Bind();
      running = true;
      for (;;) pause();
    }).detach();
    while (!running) std::this_thread::yield();
    exit(0);
  }
  return 3;
}
