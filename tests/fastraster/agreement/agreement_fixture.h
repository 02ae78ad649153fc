// One process draws the agreement scenes along one triangle path, chosen by
// the switches of its test registration and named by "VLX_AGREEMENT_PATH".
// The generic process ("generic") writes its images to files; every other
// process compares its own with them and, where the reference models the
// state, with the per-pixel reference renderer.
#pragma once

#include <stdint.h>

#include <string>
#include <vector>

#include "tests/fastraster/agreement/agreement_cases.h"
#include "tests/fastraster/agreement/agreement_texture.h"
#include "tests/raster/scene/scene_fixture.h"
#include "tests/raster/scene/scene_snap_band.h"

namespace agreement {

// The colour, depth (as the depth buffer's fetch gives it, in stored units)
// and stencil of every pixel, row by row in memory order.
struct Image {
  int32_t width = 0, height = 0;
  std::vector<uint32_t> color, depth, stencil;
};

// The generic image of a scene, written by the generic process.
bool SaveImage(const std::string &name, const Image &image);
bool LoadImage(const std::string &name, Image *image);

// The path this process draws along; "generic" writes the images.
std::string PathName();
inline bool IsGenericProcess() { return PathName() == "generic"; }

// A disagreement the paths are known to have: the case names containing
// `scene`, on the paths whose name contains `path` (empty: every path).
struct KnownDisagreement {
  const char *scene;
  const char *path;
  const char *why;
};
const KnownDisagreement *FindKnown(const std::string &scene);

// Pixels of `got` against the generic image: colour channels within one
// unit (or the pixel's entry of `allowances` where it has one), depth
// within `depthSlack` stored units, stencil exact. Pixels `skip` marks are
// left out. The first differences, at most `limit`.
std::vector<std::string> Differences(const ColorFormat &format, const Image &got,
                                     const Image &generic, double depthSlack,
                                     const std::vector<bool> &skip,
                                     const std::vector<ColorAllowance> &allowances = {},
                                     size_t limit = 6);

using scene_test::ViewBox;
// The view volume of the table's viewports, clipped or not.
ViewBox ViewBoxOf(bool clippedViewport);

class AgreementTest : public scene_test::SceneTest {
 protected:
  // Opens the case's target unless it is the one open.
  bool OpenTarget(const AgreementCase &c);
  // Clears, draws the case's scene through glBegin / glEnd and into the
  // reference, and returns the image.
  Image DrawCase(const AgreementCase &c, scene_test::SceneReference *ref);
  Image Snapshot();
  // The generic image of `name`: this process's own image saved when it is
  // the generic process, else the one read back; then `image` compared
  // with it, failing unless a known disagreement lists the scene.
  void AgainstGeneric(const std::string &name, const Image &image,
                      const std::vector<bool> &skip);
  // The pixels the reference marks ambiguous, or the overlapped window's.
  std::vector<bool> Skipped(const scene_test::SceneReference &ref) const;
  // The stored-depth tolerance between two paths.
  double DepthSlack() const;

  // The colour allowance of each pixel of the scene being compared; empty:
  // one unit everywhere.
  std::vector<ColorAllowance> allowances;
  // The index test's reference index, or -1 without the index test.
  int32_t indexTestRef = -1;
  PixelMemory *frontMemory = nullptr, *backMemory = nullptr;
  uint32_t depthBits = 0;
  bool overlapped = false;

 private:
  void ApplyExtras(const AgreementCase &c);
  void SendScene(const AgreementCase &c, scene_test::SceneReference *ref);
};

// The window part another window hides in the overlapped cases (memory
// columns x0..x1, rows y0..y1, ends exclusive).
constexpr GlRect kHidden = {20, 12, 44, 30};

}  // namespace agreement
