#include "tests/fuzz/fuzz_world.h"

#include "tests/fuzz/fuzz_gl.h"

namespace {

constexpr size_t kMostDrawables = 6;
constexpr size_t kMostContexts = 5;

std::string Num(long v) { return std::to_string(v); }

}  // namespace

FuzzWorld::FuzzWorld(int displayBits, FuzzMemory &memory)
    : displayBits_(displayBits), baseBits_(displayBits), memory_(memory) {
  DesktopSetDisplayMode(displayBits, 1024, 768);
  if (displayBits == 8) {
    PALETTEENTRY entries[256];
    for (int i = 0; i < 256; i++) entries[i] = {BYTE(i), BYTE(255 - i), BYTE(i * 7), 0};
    DesktopSetSystemPalette(0, 256, entries);
  }
}

FuzzWorld::~FuzzWorld() { TearDown(); }

void FuzzWorld::SetDisplay(int bits) {
  displayBits_ = bits;
  DesktopSetDisplayMode(bits, 1024, 768);
  DesktopPumpMessages();
}

int FuzzWorld::PickFormat(FuzzRng &rng, HDC hdc, DWORD need) {
  PIXELFORMATDESCRIPTOR pfd;
  const int count = DescribePixelFormat(hdc, 1, sizeof pfd, &pfd);
  std::vector<int> fitting;
  for (int f = 1; f <= count; f++) {
    if (DescribePixelFormat(hdc, f, sizeof pfd, &pfd) == 0) continue;
    if ((pfd.dwFlags & (need | PFD_SUPPORT_OPENGL)) == (need | PFD_SUPPORT_OPENGL)) {
      fitting.push_back(f);
    }
  }
  if (fitting.empty()) return count > 0 && rng.Percent(20) ? rng.Range(1, count) : 0;
  return fitting[rng.Below(uint32_t(fitting.size()))];
}

void FuzzWorld::SetFormat(FuzzRng &rng, FuzzDrawable *d, DWORD need) {
  d->format = PickFormat(rng, d->hdc, need);
  PIXELFORMATDESCRIPTOR pfd;
  if (d->format == 0 || !DescribePixelFormat(d->hdc, d->format, sizeof pfd, &pfd) ||
      !SetPixelFormat(d->hdc, d->format, &pfd)) {
    d->format = 0;
  }
}

int FuzzWorld::NewWindow(FuzzRng &rng) {
  FuzzDrawable d;
  const int w = rng.Percent(90) ? rng.Range(1, 160) : rng.Range(0, 1100);
  const int h = rng.Percent(90) ? rng.Range(1, 120) : rng.Range(0, 900);
  d.hwnd = DesktopCreateWindow(rng.Range(-50, 900), rng.Range(-50, 700), w, h);
  if (d.hwnd == nullptr) return -1;
  d.hdc = GetDC(d.hwnd);
  SetFormat(rng, &d, PFD_DRAW_TO_WINDOW);
  drawables_.push_back(d);
  return int(drawables_.size()) - 1;
}

int FuzzWorld::NewMemory(FuzzRng &rng) {
  FuzzDrawable d;
  d.hdc = CreateCompatibleDC(nullptr);
  if (d.hdc == nullptr) return -1;
  const int w = rng.Range(1, 130), h = rng.Range(1, 100);
  if (rng.Percent(60)) {
    static const int bits[] = {8, 16, 24, 32};
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = w;
    info.bmiHeader.biHeight = rng.Percent(50) ? h : -h;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = WORD(rng.Pick(bits));
    info.bmiHeader.biCompression = BI_RGB;
    void *pixels = nullptr;
    d.bitmap = CreateDIBSection(d.hdc, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
  } else {
    HDC screen = GetDC(nullptr);
    d.bitmap = CreateCompatibleBitmap(screen, w, h);
    ReleaseDC(nullptr, screen);
  }
  if (d.bitmap != nullptr) d.previous = SelectObject(d.hdc, d.bitmap);
  SetFormat(rng, &d, PFD_DRAW_TO_BITMAP);
  drawables_.push_back(d);
  return int(drawables_.size()) - 1;
}

void FuzzWorld::DestroyDrawable(size_t i) {
  FuzzDrawable &d = drawables_[i];
  if (d.hwnd != nullptr) {
    ReleaseDC(d.hwnd, d.hdc);
    DestroyWindow(d.hwnd);
  } else {
    if (d.previous != nullptr) SelectObject(d.hdc, d.previous);
    DeleteDC(d.hdc);
    if (d.bitmap != nullptr) DeleteObject(d.bitmap);
  }
  drawables_.erase(drawables_.begin() + long(i));
  if (currentDrawable_ == int(i)) {
    currentDrawable_ = -1;  // the context stays current on the dead drawable
  } else if (currentDrawable_ > int(i)) {
    currentDrawable_--;
  }
  DesktopPumpMessages();
}

void FuzzWorld::DeleteContext(size_t i) {
  wglDeleteContext(contexts_[i].rc);
  contexts_.erase(contexts_.begin() + long(i));
  if (current_ == int(i)) {
    current_ = -1;  // the loader released it first
  } else if (current_ > int(i)) {
    current_--;
  }
}

void FuzzWorld::PointArrays() {
  // A fresh context's array pointers are null: enabling an array before
  // pointing it somewhere would be the application's fault, not the driver's.
  auto at = [&](FuzzKeptRegion r) { return memory_.Kept(r).Tail(memory_.Kept(r).capacity()); };
  glVertexPointer(3, GL_FLOAT, 0, at(kFuzzVertexArray));
  glNormalPointer(GL_FLOAT, 0, at(kFuzzNormalArray));
  glColorPointer(4, GL_FLOAT, 0, at(kFuzzColorArray));
  glIndexPointer(GL_FLOAT, 0, at(kFuzzIndexArray));
  glTexCoordPointer(2, GL_FLOAT, 0, at(kFuzzTexCoordArray));
  glEdgeFlagPointer(0, at(kFuzzEdgeFlagArray));
}

bool FuzzWorld::MakeCurrent(size_t context, size_t drawable) {
  if (!wglMakeCurrent(drawables_[drawable].hdc, contexts_[context].rc)) return false;
  current_ = int(context);
  currentDrawable_ = int(drawable);
  if (!contexts_[context].arraysSet) {
    PointArrays();
    while (glGetError() != GL_NO_ERROR) {
    }
    contexts_[context].arraysSet = true;
  }
  return true;
}

bool FuzzWorld::EnsureCurrent(FuzzRng &rng, std::string *what) {
  if (current_ >= 0) return true;
  for (int attempt = 0; attempt < 4; attempt++) {
    if (contexts_.empty() || rng.Percent(10)) {
      int d = -1;
      for (size_t i = 0; i < drawables_.size(); i++) {
        if (drawables_[i].format != 0) d = int(i);
      }
      if (d < 0) d = NewWindow(rng);
      if (d < 0 || drawables_[size_t(d)].format == 0) continue;
      HGLRC rc = wglCreateContext(drawables_[size_t(d)].hdc);
      if (rc == nullptr) continue;
      contexts_.push_back({rc, drawables_[size_t(d)].format, drawables_[size_t(d)].hwnd != nullptr});
      *what += " create context " + Num(long(contexts_.size()) - 1);
    }
    const size_t c = rng.Below(uint32_t(contexts_.size()));
    for (size_t d = 0; d < drawables_.size(); d++) {
      if (drawables_[d].format == contexts_[c].format && MakeCurrent(c, d)) {
        *what += " current " + Num(long(c)) + " on " + Num(long(d));
        return true;
      }
    }
  }
  return false;
}

void FuzzWorld::Act(FuzzRng &rng, std::string *what) {
  const size_t nd = drawables_.size(), nc = contexts_.size();
  switch (rng.Below(14)) {
    case 0:
      if (nd < kMostDrawables) *what = "new window " + Num(NewWindow(rng));
      break;
    case 1:
      if (nd < kMostDrawables) *what = "new memory dc " + Num(NewMemory(rng));
      break;
    case 2:
      if (nd > 0) {
        const size_t i = rng.Below(uint32_t(nd));
        *what = "destroy drawable " + Num(long(i)) +
                (int(i) == currentDrawable_ ? " (bound)" : "");
        DestroyDrawable(i);
      }
      break;
    case 3:
    case 4:
      if (nd > 0) {
        const FuzzDrawable &d = drawables_[rng.Below(uint32_t(nd))];
        if (d.hwnd == nullptr) break;
        const int x = rng.Range(-100, 1000), y = rng.Range(-100, 760);
        const int w = rng.Range(0, 300), h = rng.Range(0, 240);
        *what = "move window to " + Num(x) + "," + Num(y) + " " + Num(w) + "x" + Num(h);
        MoveWindow(d.hwnd, x, y, w, h, TRUE);
        DesktopPumpMessages();
      }
      break;
    case 5:
      if (nd > 0) {
        const FuzzDrawable &d = drawables_[rng.Below(uint32_t(nd))];
        if (d.hwnd == nullptr) break;
        const bool show = rng.Percent(60);
        *what = show ? "show window" : "hide window";
        ShowWindow(d.hwnd, show ? SW_SHOW : SW_HIDE);
        DesktopPumpMessages();
      }
      break;
    case 6:
      if (nd > 0 && nc < kMostContexts) {
        const size_t i = rng.Below(uint32_t(nd));
        HGLRC rc = wglCreateContext(drawables_[i].hdc);
        *what = "create context on " + Num(long(i)) + (rc ? "" : " (refused)");
        if (rc != nullptr) {
          contexts_.push_back({rc, drawables_[i].format, drawables_[i].hwnd != nullptr});
        }
      }
      break;
    case 7:
      if (nc > 0) {
        const size_t i = rng.Below(uint32_t(nc));
        *what = "delete context " + Num(long(i)) + (int(i) == current_ ? " (current)" : "");
        DeleteContext(i);
      }
      break;
    case 8:
    case 9:
      if (nc > 0 && nd > 0) {
        const size_t c = rng.Below(uint32_t(nc)), d = rng.Below(uint32_t(nd));
        *what = "make " + Num(long(c)) + " current on " + Num(long(d));
        if (!MakeCurrent(c, d)) {
          *what += " (refused)";
          // A refused binding leaves the thread without a context.
          if (wglGetCurrentContext() == nullptr) current_ = -1;
        }
      }
      break;
    case 10:
      *what = "release";
      wglMakeCurrent(nullptr, nullptr);
      current_ = -1;
      break;
    case 11:
      if (nc > 1) {
        const size_t a = rng.Below(uint32_t(nc)), b = rng.Below(uint32_t(nc));
        if (rng.Percent(50)) {
          *what = "share lists " + Num(long(a)) + " with " + Num(long(b));
          wglShareLists(contexts_[a].rc, contexts_[b].rc);
        } else {
          static const UINT masks[] = {GL_ALL_ATTRIB_BITS, GL_LIGHTING_BIT, GL_TEXTURE_BIT,
                                       GL_COLOR_BUFFER_BIT | GL_ENABLE_BIT, 0};
          *what = "copy context " + Num(long(a)) + " to " + Num(long(b));
          wglCopyContext(contexts_[a].rc, contexts_[b].rc, rng.Pick(masks));
        }
      }
      break;
    case 12:
      if (nd > 0) {
        *what = "swap";
        SwapBuffers(drawables_[rng.Below(uint32_t(nd))].hdc);
      }
      break;
    case 13:
      if (rng.Percent(30)) {
        static const int modes[] = {16, 32, 15, 24};
        const int bits = baseBits_ == 8 && rng.Percent(50) ? 8 : rng.Pick(modes);
        *what = "display mode " + Num(bits);
        SetDisplay(bits);
      }
      break;
  }
}

int FuzzWorld::SurvivingWindowContext() const {
  for (size_t i = 0; i < contexts_.size(); i++) {
    if (contexts_[i].window) return int(i);
  }
  return -1;
}

void FuzzWorld::TearDown() {
  wglMakeCurrent(nullptr, nullptr);
  current_ = -1;
  while (!contexts_.empty()) DeleteContext(contexts_.size() - 1);
  while (!drawables_.empty()) DestroyDrawable(drawables_.size() - 1);
  if (displayBits_ != baseBits_) SetDisplay(baseBits_);
}
