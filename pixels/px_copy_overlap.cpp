// The copy loop of overlapping rectangles. Two cursors take the source
// rows, one upwards and one downwards, each reading its next row into its
// own buffer; a row is written only when every source row its destination
// rows cover has been read (rows the zoom passes over are never read and
// need no care), so no source row is overwritten before it is read and
// each is read once. Both cursors read before either writes in a round,
// and a whole row is read before any of it is written, so columns need no
// order. Which rows each cursor takes is planned before the loop by
// running it without reading or writing.
#include <initializer_list>

#include "core/context.h"
#include "core/gl_assert.h"
#include "core/gl_convert.h"
#include "core/s_error.h"
#include "pixels/px_copy_pixels.h"
#include "pixels/px_span_procs.h"

namespace {

// Rows whose draw positions fit the loop's stack.
constexpr int32_t kStackRows = __GL_MAX_SPAN_WIDTH;

bool NeedsHeap(const GlPixelSpanInfo *info) {
  return info->width > __GL_MAX_SPAN_WIDTH || info->height >= kStackRows;
}

// The rows of the copy as the forward row loop would draw them.
struct Rows {
  const GLfloat *y;   // each source row's draw y, height + 1 entries
  int32_t height;
  int32_t startRow, rows, rowadd;  // the clipped destination rows
  int32_t first;                   // the first source row drawn
  int64_t sourceRow;               // frame row of source row 0
  int32_t readStep;

  int32_t Edge(int32_t i) const { return __glTruncateToInt(y[i]); }
  // A row that reaches no new destination row is passed over unread.
  bool Drawn(int32_t i) const { return Edge(i + 1) != Edge(i); }
  // Destination row where row i starts, and how many rows it draws.
  int32_t Start(int32_t i) const { return i == first ? startRow : Edge(i); }
  int32_t Left(int32_t i) const {
    const int64_t before = (int64_t(Start(i)) - startRow) * rowadd;
    return int32_t(before >= rows ? 0 : rows - before);
  }
  int32_t Count(int32_t i) const {
    const int64_t span = (int64_t(Edge(i + 1)) - Start(i)) * rowadd;
    const int32_t left = Left(i);
    return span <= 0 ? 0 : span < left ? int32_t(span) : left;
  }
  // Source index of a frame row.
  int64_t Source(int64_t row) const { return (row - sourceRow) * readStep; }
};

struct Cursor {
  int32_t start, next, stop, step;
  int32_t pending;  // read and not yet written, or -1
  int32_t firstRound;
  void *buffer;
  // Source rows taken so far (read, or passed over), inclusive.
  bool Took(int32_t j) const {
    return step > 0 ? j >= start && j < next : j <= start && j > next;
  }
  int32_t TakenEnd(int32_t j) const { return step > 0 ? next : start + 1; }  // past j's run
  void PassOver(const Rows &r) {
    while (next != stop && !r.Drawn(next)) next += step;
  }
};

// Every source row in [lo, hi] is taken by a cursor or never read.
bool Covered(const Rows &r, const Cursor &f, const Cursor &b, int64_t lo, int64_t hi) {
  if (lo < 0) lo = 0;
  if (hi > r.height - 1) hi = r.height - 1;
  while (lo <= hi) {
    const int32_t j = int32_t(lo);
    if (f.Took(j))
      lo = f.TakenEnd(j);
    else if (b.Took(j))
      lo = b.TakenEnd(j);
    else if (!r.Drawn(j))
      lo++;
    else
      return false;
  }
  return true;
}

// Whether row i may be written now.
bool Safe(const Rows &r, const Cursor &f, const Cursor &b, int32_t i) {
  const int32_t n = r.Count(i);
  if (n == 0) return true;
  const int64_t s0 = r.Source(r.Start(i));
  const int64_t s1 = r.Source(int64_t(r.Start(i)) + int64_t(n - 1) * r.rowadd);
  return Covered(r, f, b, s0 < s1 ? s0 : s1, s0 < s1 ? s1 : s0);
}

// Runs the rounds; false when neither cursor can move (the plan cannot
// work). read(cursor, row) and write(cursor, row) do the work.
template <typename Read, typename Write>
bool Rounds(const Rows &r, Cursor &f, Cursor &b, Read read, Write write) {
  Cursor *const cursors[2] = {&f, &b};
  for (int32_t round = 0;; round++) {
    bool moved = false, busy = false;
    for (Cursor *c : cursors) {
      c->PassOver(r);
      if (c->pending < 0 && c->next != c->stop) {
        c->pending = c->next;
        c->next += c->step;
        read(*c, c->pending);
        moved = true;
        c->PassOver(r);
      }
    }
    for (Cursor *c : cursors) {
      if (c->pending < 0) continue;
      busy = true;
      if (!Safe(r, f, b, c->pending)) continue;
      write(*c, c->pending);
      if (c->firstRound < 0) c->firstRound = round;
      c->pending = -1;
      moved = true;
    }
    if (!busy && f.next == f.stop && b.next == b.stop) return true;
    if (!moved) return false;
  }
}

// Forward takes [0, split) and backward [split, height) from the top,
// towards each other, or forward [split, height) and backward
// [0, split) from split - 1, away from each other.
void Plan(const Rows &r, int32_t split, bool towards, Cursor &f, Cursor &b) {
  if (towards) {
    f = {0, 0, split, 1, -1, -1, nullptr};
    b = {r.height - 1, r.height - 1, split - 1, -1, -1, -1, nullptr};
  } else {
    f = {split, split, r.height, 1, -1, -1, nullptr};
    b = {split - 1, split - 1, -1, -1, -1, -1, nullptr};
  }
}

// The first plan that completes, tried from the row where the destination
// crosses the source outwards.
bool ChoosePlan(const Rows &r, Cursor &f, Cursor &b) {
  auto offset = [&r](int32_t i) { return r.Source(r.Edge(i)) - i; };
  const bool below = offset(0) < 0;
  int32_t cross = r.height;
  for (int32_t i = 1; i < r.height; i++)
    if ((offset(i) < 0) != below) {
      cross = i;
      break;
    }
  const int32_t tries[] = {cross, cross - 1, cross + 1, cross - 2, cross + 2, 0, r.height};
  for (int32_t split : tries) {
    if (split < 0 || split > r.height) continue;
    for (bool towards : {true, false}) {
      Plan(r, split, towards, f, b);
      Cursor df = f, db = b;
      auto none = [](Cursor &, int32_t) {};
      if (Rounds(r, df, db, none, none)) return true;
    }
  }
  return false;
}

}  // namespace

GLbool8 __glReserveCopyStorage(GlContext *gc, GlPixelSpanInfo *info, GlSpanStorage *storage) {
  if (!info->overlap) return __glReserveSpanStorage(gc, info, storage, info->width);
  info->spanStorage = nullptr;
  if (!NeedsHeap(info)) return 1;
  const int32_t pixels =
      info->width > __GL_MAX_SPAN_WIDTH ? info->width : int32_t(__GL_MAX_SPAN_WIDTH);
  return __glAllocSpanStorage(gc, info, storage, pixels, 3, info->height + 1);
}

namespace {

void RunOverlapping(GlContext *gc, GlPixelSpanInfo *info, int32_t stages, void *bufs[3],
                    GLfloat *rowY) {
  __glComputeSpanPixelArray(gc, info);
  rowY[0] = info->y;
  for (int32_t i = 0; i < info->height; i++) rowY[i + 1] = rowY[i] + info->zoomy;
  Rows r = {rowY, info->height, info->startRow, info->rows, info->rowadd, 0,
            info->readWindowY, gc->constants.yInverted ? -1 : 1};
  while (r.first < r.height && !r.Drawn(r.first)) r.first++;
  Cursor f, b;
  const bool planned = ChoosePlan(r, f, b);
  __GL_ASSERT(planned, "overlap plan", "px_paths");
  f.buffer = bufs[0];
  b.buffer = bufs[1];
  void *shared = bufs[2];
  const GLfloat readY = info->readY;
  auto read = [&](Cursor &c, int32_t row) {
    info->readY = readY + GLfloat(row * r.readStep);
    info->spanReader(gc, info, c.buffer);
  };
  auto write = [&](Cursor &c, int32_t row) {
    // Stages alternate between the cursor's own buffer and the shared one.
    const void *in = c.buffer;
    for (int32_t k = 0; k < stages; k++) {
      void *out = in == c.buffer ? shared : c.buffer;
      info->spanModifier[k](gc, info, in, out);
      in = out;
    }
    info->y = rowY[row];
    info->startRow = r.Start(row);
    info->rows = r.Left(row);
    info->spanRender(gc, info, const_cast<void *>(in));
  };
  info->forwardRows = f.step * (f.stop - f.start);
  info->backwardRows = (b.start - b.stop);
  info->forwardStartY = f.start < r.height ? rowY[f.start] : info->y;
  info->backwardStartY = b.start >= 0 ? rowY[b.start] : info->y;
  info->forwardStartRow = int32_t(r.sourceRow + int64_t(f.start) * r.readStep);
  info->backwardStartRow = int32_t(r.sourceRow + int64_t(b.start) * r.readStep);
  Rounds(r, f, b, read, write);
  info->forwardDelay = f.firstRound < 0 ? 0 : f.firstRound;
  info->backwardDelay = b.firstRound < 0 ? 0 : b.firstRound;
  info->readY = readY;
}

}  // namespace

void __glCopyPixelsOverlapping(GlContext *gc, GlPixelSpanInfo *info, int32_t stages) {
  if (info->height <= 0 || info->width <= 0) return;
  if (GlSpanStorage *s = info->spanStorage) {
    // Only storage reserved for an overlapping copy has the third buffer.
    if (s->c == nullptr || s->rowY == nullptr) return;
    info->pixelArray = s->pixelArray;
    void *bufs[3] = {s->a, s->b, s->c};
    RunOverlapping(gc, info, stages, bufs, s->rowY);
    return;
  }
  // The paths reserve storage for every copy that does not fit here.
  if (NeedsHeap(info)) return;
  alignas(16) uint8_t a[__GL_SPAN_BUFFER_BYTES];
  alignas(16) uint8_t b[__GL_SPAN_BUFFER_BYTES];
  alignas(16) uint8_t c[__GL_SPAN_BUFFER_BYTES];
  int16_t pixelArray[__GL_MAX_SPAN_WIDTH];
  GLfloat rowY[kStackRows + 1];
  info->pixelArray = pixelArray;
  void *bufs[3] = {a, b, c};
  RunOverlapping(gc, info, stages, bufs, rowY);
  info->pixelArray = nullptr;
}
