// The pixel-format list is rebuilt after every thread attach and detach;
// a thread reading descriptors meanwhile always reads whole, unchanged rows
// (the rows are copied under the lock that guards the rebuild; DRD watches).
#include <string.h>

#include <atomic>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "tests/wgl/threads/threads_fixture.h"

namespace {

// How a passing thread meets the driver before it ends.
enum Visit { kGlCall, kDescribes, kBindsAndDraws };

const Visit kVisits[] = {kGlCall, kDescribes, kBindsAndDraws};

void PassBy(Visit visit, int slot) {
  switch (visit) {
    case kGlCall:
      glGetError();
      break;
    case kDescribes: {
      HDC screen = GetDC(nullptr);
      PIXELFORMATDESCRIPTOR pfd;
      DescribePixelFormat(screen, 1, sizeof pfd, &pfd);
      ReleaseDC(nullptr, screen);
      break;
    }
    case kBindsAndDraws: {
      ThreadWindow window;
      if (!window.Open(slot, true)) return;
      HGLRC context = wglCreateContext(window.hdc);
      if (context && wglMakeCurrent(window.hdc, context)) DrawSceneFrame(window.hdc, 1, true);
      wglMakeCurrent(nullptr, nullptr);
      if (context) wglDeleteContext(context);
      window.Close(true);
      break;
    }
  }
}

// The generic list of the software-only device, and the SiS device's own.
struct FormatList {
  const char *name;
  bool softDevice;
};
const FormatList kFormatLists[] = {{"Generic", true}, {"SiS", false}};

class FormatListUnderLoad : public WglThreadsTest,
                            public ::testing::WithParamInterface<FormatList> {};

TEST_P(FormatListUnderLoad, DescriptorsReadWhileThreadsComeAndGoAreWhole) {
  UseSoftDevice(GetParam().softDevice);
  constexpr int kPassers = 12;
  constexpr int kLeastRounds = 4;
  constexpr int kMostRounds = 400;
  std::atomic<bool> passersDone{false};
  std::atomic<bool> readerReady{false};
  int count = 0, rounds = 0, wrongCounts = 0, wrongRows = 0;
  std::string firstWrong;

  std::thread reader([&] {
    ThreadWindow window;
    if (!window.Open(0, true)) {
      readerReady = true;
      return;
    }
    // The list as this display makes it, read while nothing else happens.
    count = DescribePixelFormat(window.hdc, 1, 0, nullptr);
    std::vector<PIXELFORMATDESCRIPTOR> want(size_t(count > 0 ? count : 0));
    for (int i = 0; i < count; ++i)
      DescribePixelFormat(window.hdc, i + 1, sizeof want[0], &want[size_t(i)]);
    readerReady = true;
    while (rounds < kLeastRounds || (!passersDone.load() && rounds < kMostRounds)) {
      if (DescribePixelFormat(window.hdc, 1, 0, nullptr) != count) ++wrongCounts;
      for (int i = 0; i < count; ++i) {
        PIXELFORMATDESCRIPTOR got;
        memset(&got, 0xEE, sizeof got);
        int n = DescribePixelFormat(window.hdc, i + 1, sizeof got, &got);
        if (n != count || memcmp(&got, &want[size_t(i)], sizeof got) != 0) {
          if (wrongRows++ == 0)
            firstWrong = "round " + std::to_string(rounds) + ", format " + std::to_string(i + 1);
        }
        // Room for the passers: a reader that never lets go of the driver's
        // lock would starve them (badly so under DRD).
        std::this_thread::yield();
      }
      ++rounds;
    }
    window.Close(true);
  });
  while (!readerReady.load()) std::this_thread::yield();
  ASSERT_GT(count, 0) << "no pixel formats";

  for (int p = 0; p < kPassers; ++p) {
    Visit visit = kVisits[size_t(p) % std::size(kVisits)];
    std::thread([visit] { PassBy(visit, 1); }).join();
  }
  passersDone = true;
  reader.join();
  EXPECT_EQ(wrongCounts, 0);
  EXPECT_EQ(wrongRows, 0) << firstWrong;
}

INSTANTIATE_TEST_SUITE_P(Lists, FormatListUnderLoad, ::testing::ValuesIn(kFormatLists), RowName());

}  // namespace
