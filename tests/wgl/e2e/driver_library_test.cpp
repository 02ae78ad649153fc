// The driver library as the loader sees it: exactly the rows of the entry
// table leave it, and a program that does not link it can open
// it (its current context is an initial-exec thread-local, which needs room
// in the static TLS block at dlopen time), close it and open it again, and
// every thread, also one that existed before the load, reads the placeholder
// context from that thread-local.
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <stdio.h>

#include <condition_variable>
#include <functional>
#include <mutex>
#include <set>
#include <string>
#include <thread>

#include "platform/kernel.h"
#include "wgl/driver_entry_table.h"

namespace {

#define DRIVER_ENTRY_NAME(Name, Ret, params) #Name,
const char *const kExports[] = {DRIVER_ENTRIES(DRIVER_ENTRY_NAME)};
#undef DRIVER_ENTRY_NAME

// The defined dynamic symbols, as nm lists them.
std::set<std::string> DefinedDynamicSymbols(const char *path) {
  std::set<std::string> names;
  const std::string command = std::string("'") + VLX_NM + "' -D --defined-only '" + path + "'";
  FILE *pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return names;
  char line[512];
  while (fgets(line, sizeof line, pipe)) {
    char address[64], type[8], name[400];
    if (sscanf(line, "%63s %7s %399s", address, type, name) == 3) names.insert(name);
  }
  pclose(pipe);
  return names;
}

TEST(DriverLibrary, ExportsExactlyDllMainAndTheDriverEntries) {
  const std::set<std::string> exported = DefinedDynamicSymbols(VLX_DRIVER_PATH);
  ASSERT_FALSE(exported.empty()) << "nothing read from " << VLX_DRIVER_PATH;
  const std::set<std::string> intended(std::begin(kExports), std::end(kExports));
  EXPECT_EQ(exported, intended);
}

typedef BOOL(__attribute__((stdcall)) * DllMainProc)(HINSTANCE, DWORD, LPVOID);
typedef BOOL(__attribute__((stdcall)) * ValidateVersionProc)(ULONG version);
typedef void *(__attribute__((stdcall)) * GetProcAddressProc)(LPCSTR name);

// With no context current, the extension query refuses with the invalid
// handle code: the thread's slot holds the placeholder context, never null.
void ExpectNoContext(GetProcAddressProc getProcAddress) {
  SetLastError(0);
  EXPECT_EQ(getProcAddress("glLockArraysVLX"), nullptr);
  EXPECT_EQ(GetLastError(), 0xC0070006u);
}

// A thread that is running before the library is loaded and makes one call
// into it afterwards.
class ThreadFromBefore {
 public:
  ThreadFromBefore()
      : thread_([this] {
          std::unique_lock<std::mutex> hold(m_);
          cv_.wait(hold, [this] { return task_ != nullptr; });
          task_();
        }) {}
  void Run(std::function<void()> task) {
    {
      std::lock_guard<std::mutex> hold(m_);
      task_ = std::move(task);
    }
    cv_.notify_all();
    thread_.join();
  }

 private:
  std::mutex m_;
  std::condition_variable cv_;
  std::function<void()> task_;
  std::thread thread_;
};

TEST(DriverLibrary, OpensInAProgramThatDoesNotLinkIt) {
  for (int round = 0; round < 20; round++) {
    SCOPED_TRACE(testing::Message() << "load " << round + 1);
    ThreadFromBefore before;
    void *library = dlopen(VLX_DRIVER_PATH, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(library, nullptr) << dlerror();
    for (const char *name : kExports) EXPECT_NE(dlsym(library, name), nullptr) << name;
    auto dllMain = reinterpret_cast<DllMainProc>(dlsym(library, "DllMain"));
    auto validate = reinterpret_cast<ValidateVersionProc>(dlsym(library, "DrvValidateVersion"));
    auto getProcAddress =
        reinterpret_cast<GetProcAddressProc>(dlsym(library, "DrvGetProcAddress"));
    ASSERT_TRUE(dllMain && validate && getProcAddress);
    EXPECT_EQ(validate(1), 1);
    EXPECT_EQ(validate(2), 0);
    ASSERT_TRUE(dllMain(nullptr, 1 /* process attach */, nullptr));
    ExpectNoContext(getProcAddress);
    before.Run([&] { ExpectNoContext(getProcAddress); });
    std::thread after([&] { ExpectNoContext(getProcAddress); });
    after.join();
    EXPECT_TRUE(dllMain(nullptr, 0 /* process detach */, nullptr));
    EXPECT_EQ(dlclose(library), 0);
  }
}

}  // namespace
