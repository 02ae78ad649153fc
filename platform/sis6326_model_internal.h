// Internal: the pieces of the SiS 6326 drawing model (the rules are in
// sis6326_model_rules.md). The model shares no code with the driver.
#pragma once

#include <stdint.h>

#include <functional>
#include <utility>
#include <vector>

#include "platform/sis6326.h"
#include "platform/video_memory.h"

namespace platform {

struct DdSurface;

constexpr uint32_t kModeAlphaTest = 1u << 17;

// The register in force for a primitive, by offset.
inline uint32_t StateWord(const SiS6326Event &e, uint32_t offset) {
  return e.state[(offset - SIS6326_3D_FIRST) / 4];
}

inline uint32_t Bits(uint32_t word, int first, int count) {
  return (word >> first) & ((count >= 32) ? ~0u : ((1u << count) - 1));
}

// The judge of one primitive or fill: records what breaks a rule (unless
// quiet, when only its footprint is wanted) and remembers that it failed.
struct Judge {
  uint32_t position;
  bool quiet;
  bool failed;
  bool Fail(const char *rule, const char *format, ...) __attribute__((format(printf, 3, 4)));
};

// A pixel a primitive covers inside its clip rectangle, with its colour
// channels as numbers in [0, 255], z in [0, 1] and, for textured
// primitives, the texture coordinates and level of detail at its centre.
struct Fragment {
  int x, y;
  double a, r, g, b, z;
  float s = 0, t = 0, rho = 0;
};

// A vertex block as the rasterizers use it: x and y in the chip frame, z
// clamped to [0, 1], the colour fogged when fog is on (E2).
struct ChipVertex {
  float x, y;
  double z;
  double a, r, g, b;
  uint32_t colourWord;
  float s, t, q;  // words 6-8, read for textured commands only
};
// False, judged, for an x or y that is not finite or too far out (B1), a
// NaN z (D2) or, on a textured command, an s, t or q that is not finite.
bool ReadVertex(const SiS6326Event &e, int block, Judge &judge, ChipVertex *v);

// The clip rectangle (B2): pixels left <= i < right, top <= j < bottom.
struct ClipBox {
  int left, top, right, bottom;
  bool Holds(int i, int j) const { return i >= left && i < right && j >= top && j < bottom; }
};
ClipBox ClipOf(const SiS6326Event &e);

// Coverage and interpolation (the rasterizer files) hand each fragment to a
// visitor, which gives false to stop. Each gives false, with the violation
// judged, for a primitive no rule defines; fragments come only after every
// check passed. Nothing is stored per fragment: a primitive may cover
// 8192 x 8192 pixels.
using FragmentVisitor = std::function<bool(const Fragment &)>;
bool RasterTriangle(const SiS6326Event &e, Judge &judge, const FragmentVisitor &visit);
bool RasterLine(const SiS6326Event &e, Judge &judge, const FragmentVisitor &visit);
bool RasterPoint(const SiS6326Event &e, Judge &judge, const FragmentVisitor &visit);
// Any of the three by its command.
bool RasterPrimitive(const SiS6326Event &e, Judge &judge, const FragmentVisitor &visit);

// The triangle's vertices in buffer coordinates, for the edge-distance query.
bool TriangleVertices(const SiS6326Event &e, double x[3], double y[3]);
// The line's ends in buffer coordinates (X = x + 0.5, Y = y), for the
// comparison of line pixels.
bool LineVertices(const SiS6326Event &e, double x[2], double y[2]);

// What the model drew, as the comparison helper reads it.
struct DrawnTriangle {
  uint32_t position;
  double x[3], y[3];
};
struct DrawnLine {
  uint32_t position;
  double x[2], y[2];
};
// Pixels (column, row of the colour buffer) where a depth test compared a
// fragment with a stored value within twice the depth tolerance of the
// comparison rules (1 for 16-bit, 2^12 for 32-bit elements): there the
// software's outcome may differ. Noting runs under the model's lock, as
// execution does.
void NoteDepthTie(int column, int row);
std::vector<std::pair<int, int>> ModelDepthTies();
std::vector<DrawnTriangle> ModelDrawnTriangles();
std::vector<DrawnLine> ModelDrawnLines();
// The distance of the centre of pixel (column, row) to the nearest edge of
// the triangle, in pixels.
double DistanceToEdges(const DrawnTriangle &t, int column, int row);

// Whether a command is textured: a textured point or triangle (E3).
inline bool Textured(uint32_t command) {
  return command == 0x200 || ((command & 0x6000) == 0x6000 && (command & 0x700) == 0x600);
}

// The live surfaces of both video-memory pools (ScreenLock() held while in use).
struct LiveSpan {
  uint32_t begin, end;  // byte offsets in the surface's pool
  const DdSurface *surface;
};

class VideoView {
 public:
  VideoView();  // collects the live surfaces
  // The bytes [offset, offset + bytes) of a pool when they lie inside one
  // live surface there.
  uint8_t *At(uint64_t offset, uint32_t bytes, VideoPool pool = VideoPool::kLocal);

 private:
  struct Pool {
    uint8_t *base;
    std::vector<LiveSpan> spans;
    size_t last = 0;
  };
  Pool pools_[2];
};

// A byte range a queued piece of work touches, in one pool.
struct Touch {
  uint64_t offset;
  uint32_t bytes;
  VideoPool pool = VideoPool::kLocal;
};

// Where a surface access looks: bytes [begin, end) of one pool.
struct Region {
  VideoPool pool;
  uint64_t begin, end;
};

// A primitive through coverage and the fragment pipeline: checks the
// registers and every address, then stores what passes. Gives the pixels
// written, or -1 after a violation; *covered: the pixels covered.
long ExecutePrimitive(const SiS6326Event &e, VideoView &view, Judge &judge, uint32_t *covered);
// 2D fills: the pixels filled, or -1 after a violation.
long ExecuteFill(const SiS6326Event &e, VideoView &view, Judge &judge);

// Whether a byte range the work reads or writes (colour, Z when tested, a
// fill's rows) satisfies `hit`.
using TouchTest = std::function<bool(const Touch &)>;
// Only bytes within the region can satisfy it: a primitive whose clip
// rectangle lies wholly outside is not rasterized.
bool PrimitiveTouches(const SiS6326Event &e, const Region &region, const TouchTest &hit);
bool FillTouches(const SiS6326Event &e, const TouchTest &hit);

}  // namespace platform
