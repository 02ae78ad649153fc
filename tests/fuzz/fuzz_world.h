// The window system as the fuzzer drives it: windows of every pixel format
// the device offers, memory device contexts with DIB sections and
// compatible bitmaps, contexts created, shared, copied, made current,
// released and deleted, windows moved, resized, overlapped and destroyed
// under bound contexts, display-mode changes and swaps.
#pragma once

#include <string>
#include <vector>

#include "platform/vlxdesktop.h"
#include "tests/fuzz/fuzz_memory.h"
#include "tests/fuzz/fuzz_rng.h"

struct FuzzDrawable {
  HWND hwnd = nullptr;  // null for a memory device context
  HDC hdc = nullptr;
  HBITMAP bitmap = nullptr;
  HGDIOBJ previous = nullptr;
  int format = 0;  // 0 while none is set
};

struct FuzzContext {
  HGLRC rc = nullptr;
  int format = 0;
  bool window = false;      // created on a window
  bool arraysSet = false;   // its array pointers point at the fuzzer's regions
};

class FuzzWorld {
 public:
  FuzzWorld(int displayBits, FuzzMemory &memory);
  ~FuzzWorld();

  // One window-system action; `what` describes it.
  void Act(FuzzRng &rng, std::string *what);
  // A context current on some drawable, made so when none is (for the GL
  // steps); false when nothing can be bound.
  bool EnsureCurrent(FuzzRng &rng, std::string *what);
  bool HasCurrent() const { return current_ >= 0; }

  // Releases and deletes every context, destroys every drawable.
  void TearDown();
  // The oldest living context made on a window, or -1, and its format.
  int SurvivingWindowContext() const;
  const FuzzContext &Context(int i) const { return contexts_[size_t(i)]; }
  void ForgetCurrent() { current_ = -1; }
  int DisplayBits() const { return displayBits_; }
  void SetDisplay(int bits);

 private:
  int NewWindow(FuzzRng &rng);
  int NewMemory(FuzzRng &rng);
  void DestroyDrawable(size_t i);
  void DeleteContext(size_t i);
  bool MakeCurrent(size_t context, size_t drawable);
  int PickFormat(FuzzRng &rng, HDC hdc, DWORD need);
  // A format of the kind `need` set on the drawable (0 when none took).
  void SetFormat(FuzzRng &rng, FuzzDrawable *d, DWORD need);
  void PointArrays();

  int displayBits_;
  int baseBits_;
  FuzzMemory &memory_;
  std::vector<FuzzDrawable> drawables_;
  std::vector<FuzzContext> contexts_;
  int current_ = -1;  // context index
  int currentDrawable_ = -1;
};
