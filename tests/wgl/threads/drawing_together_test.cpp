// Threads drawing at once, each with its own window, pixel format and
// context: every frame shows on screen exactly as the same thread drew it
// alone, single- and double-buffered; and threads that come, bind, draw and
// go while two others draw on leave those two alone.
#include <atomic>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "tests/wgl/threads/threads_fixture.h"

namespace {

// A thread that draws frame after frame into a window of its own and checks
// each one against the images it drew before the others started.
struct Drawer {
  Drawer(int s, bool d) : slot(s), doubleBuffered(d) {}
  int slot;
  bool doubleBuffered;
  ThreadWindow window;
  std::vector<ScenePixels> reference;
  HGLRC context = nullptr;
  int frames = 0;
  int wrongFrames = 0;
  std::string firstWrong;
  bool ready = false;

  // The reference images, drawn while no other thread draws.
  void Prepare() {
    ready = window.Open(slot, doubleBuffered);
    if (!ready) return;
    reference = DrawReferenceScenes(window.hwnd, window.hdc, doubleBuffered);
    context = wglCreateContext(window.hdc);
    ready = reference.size() == size_t(kSceneVariants) && context != nullptr &&
            wglMakeCurrent(window.hdc, context);
  }
  // Thread `turn` of two prepares after the one before it, then waits until
  // both are ready to draw together.
  void PrepareInTurn(Stages &stages, int turn) {
    stages.WaitFor(turn);
    Prepare();
    stages.Reach(turn + 1);
    stages.WaitFor(2);
  }
  void DrawOne() {
    int variant = frames % kSceneVariants;
    DrawSceneFrame(window.hdc, variant, doubleBuffered);
    SceneDifference d = CompareScenes(reference[size_t(variant)], ReadScene(window.hwnd));
    if (d.count != 0 && wrongFrames++ == 0)
      firstWrong = "frame " + std::to_string(frames) + ": " + DescribeDifference(d);
    ++frames;
  }
  void Finish() {
    EXPECT_TRUE(wglMakeCurrent(nullptr, nullptr)) << "slot " << slot;
    EXPECT_TRUE(wglDeleteContext(context)) << "slot " << slot;
    window.Close(true);
  }
  void Check() const {
    EXPECT_TRUE(ready) << "slot " << slot << ": no window, format or context";
    EXPECT_EQ(wrongFrames, 0) << "slot " << slot << ", " << frames << " frames; " << firstWrong;
  }
};

struct Buffering {
  const char *name;
  BufferSet set;
  bool doubleBuffered;
};

// Failure messages name the row.
void PrintTo(const Buffering &row, std::ostream *out) { *out << row.name; }

const Buffering kBufferings[] = {
    {"DirectDrawDoubleBuffered", kBufferSets[0], true},
    {"DirectDrawSingleBuffered", kBufferSets[0], false},
    {"DciDoubleBuffered", kBufferSets[1], true},
    {"DciSingleBuffered", kBufferSets[1], false},
    {"SiSDoubleBuffered", kBufferSets[2], true},
    {"SiSSingleBuffered", kBufferSets[2], false},
};

class ThreadsDrawTogether : public WglThreadsTest,
                            public ::testing::WithParamInterface<Buffering> {};

TEST_P(ThreadsDrawTogether, EachWindowShowsWhatItsThreadDrewAlone) {
  constexpr int kFrames = 24;
  UseBufferSet(GetParam().set);
  Drawer drawers[2] = {{0, GetParam().doubleBuffered}, {1, GetParam().doubleBuffered}};
  Stages stages;
  std::vector<std::thread> threads;
  for (int t = 0; t < 2; ++t) {
    threads.emplace_back([&, t] {
      Drawer &me = drawers[t];
      // One after the other for the references, then both at once.
      me.PrepareInTurn(stages, t);
      if (me.ready)
        for (int f = 0; f < kFrames; ++f) me.DrawOne();
      me.Finish();
    });
  }
  for (std::thread &t : threads) t.join();
  for (const Drawer &d : drawers) d.Check();
}

INSTANTIATE_TEST_SUITE_P(Buffers, ThreadsDrawTogether, ::testing::ValuesIn(kBufferings),
                         RowName());

// ---- Threads that come and go ---------------------------------------------------------

// How a passing thread ends.
enum PasserEnd {
  kReleasesAndDeletes,  // the tidy way
  kEndsWithItCurrent,   // the loader and the driver release it
  kEndsSelecting,       // in GL_SELECT, where the core refuses to let go
  kEndsInsideBegin,     // between glBegin and glEnd, likewise
  kNeverBinds,          // a GL call on the no-op table, then gone
};

struct PasserWay {
  const char *what;
  PasserEnd end;
};

const PasserWay kPasserWays[] = {
    {"releases and deletes", kReleasesAndDeletes},
    {"ends with it current", kEndsWithItCurrent},
    {"ends selecting", kEndsSelecting},
    {"ends inside glBegin", kEndsInsideBegin},
    {"never binds", kNeverBinds},
};

// The passers' windows take these slots, one wave at a time.
constexpr int kPasserSlots[] = {2, 3};

struct Passer {
  int slot;
  PasserWay way;
  const std::vector<ScenePixels> *reference;
  HGLRC left = nullptr;  // a context it left behind, for the test to delete
  std::string failure;
  GLuint selection[16];

  void Run(int variant) {
    if (way.end == kNeverBinds) {
      glClear(GL_COLOR_BUFFER_BIT);
      if (glGetError() != GL_NO_ERROR) failure = "the no-op table gave an error";
      return;
    }
    ThreadWindow window;
    if (!window.Open(slot, true)) {
      failure = "no window or format";
      return;
    }
    HGLRC context = wglCreateContext(window.hdc);
    if (!context || !wglMakeCurrent(window.hdc, context)) {
      failure = "no context bound";
      return;
    }
    DrawSceneFrame(window.hdc, variant, true);
    SceneDifference d = CompareScenes((*reference)[size_t(variant)], ReadScene(window.hwnd));
    if (d.count != 0) failure = DescribeDifference(d);
    switch (way.end) {
      case kReleasesAndDeletes:
        if (!wglMakeCurrent(nullptr, nullptr) || !wglDeleteContext(context))
          failure += " the release or delete failed";
        window.Close(true);
        return;
      case kEndsSelecting:
        glSelectBuffer(16, selection);
        glRenderMode(GL_SELECT);
        break;
      case kEndsInsideBegin:
        glBegin(GL_TRIANGLES);
        glVertex2f(0.0f, 0.0f);
        break;
      default:
        break;
    }
    left = context;  // the window goes with the thread
  }
};

class ThreadsUnderLoad : public WglThreadsTest, public ::testing::WithParamInterface<BufferSet> {};

TEST_P(ThreadsUnderLoad, ThreadsComeBindDrawAndGoWhileTwoOthersDraw) {
  constexpr int kWaves = 4;
  constexpr int kLeastFrames = 8;
  constexpr int kMostFrames = 2000;  // a bound, should the passers stall
  UseBufferSet(GetParam());
  // The passers' images, each drawn in its slot by a thread alone.
  std::vector<ScenePixels> passerReference[2];
  for (int s = 0; s < 2; ++s) {
    std::thread([&, s] {
      ThreadWindow window;
      if (window.Open(kPasserSlots[s], true))
        passerReference[s] = DrawReferenceScenes(window.hwnd, window.hdc, true);
      window.Close(true);
    }).join();
    ASSERT_EQ(passerReference[s].size(), size_t(kSceneVariants));
  }

  Drawer drawers[2] = {{0, true}, {1, true}};
  Stages stages;
  std::atomic<bool> passersDone{false};
  std::vector<std::thread> threads;
  for (int t = 0; t < 2; ++t) {
    threads.emplace_back([&, t] {
      Drawer &me = drawers[t];
      me.PrepareInTurn(stages, t);
      if (me.ready) {
        while (me.frames < kLeastFrames || (!passersDone.load() && me.frames < kMostFrames)) {
          me.DrawOne();
          std::this_thread::yield();  // room for the passers
        }
      }
      me.Finish();
    });
  }
  stages.WaitFor(2);

  std::vector<HGLRC> leftBehind;
  int passerCount = 0;
  for (int wave = 0; wave < kWaves; ++wave) {
    Passer passers[2];
    std::vector<std::thread> wavers;
    for (int s = 0; s < 2; ++s) {
      const PasserWay &way = kPasserWays[size_t(passerCount++) % std::size(kPasserWays)];
      passers[s] = {kPasserSlots[s], way, &passerReference[s], nullptr, {}, {}};
      wavers.emplace_back([&, s, wave] { passers[s].Run((wave + s) % kSceneVariants); });
    }
    for (std::thread &w : wavers) w.join();
    for (const Passer &p : passers) {
      EXPECT_EQ(p.failure, "") << "wave " << wave << ", a thread that " << p.way.what;
      if (p.left) leftBehind.push_back(p.left);
    }
  }
  passersDone = true;
  for (std::thread &t : threads) t.join();
  for (const Drawer &d : drawers) d.Check();

  // Contexts of ended threads are no one's: half are deleted here, the rest
  // go with the driver.
  for (size_t i = 0; i < leftBehind.size(); i += 2)
    EXPECT_TRUE(wglDeleteContext(leftBehind[i])) << "left-behind context " << i;
  EXPECT_TRUE(VlxGlUnloadDriver());
  EXPECT_EQ(wglGetCurrentContext(), nullptr);
  glClear(GL_COLOR_BUFFER_BIT);  // nothing loaded: does nothing
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

INSTANTIATE_TEST_SUITE_P(Sets, ThreadsUnderLoad, ::testing::ValuesIn(kBufferSets), RowName());

}  // namespace
