#include "tests/pixels/copy/copy_fixture.h"

#include <string.h>

#include <sstream>

#include "core/gl_api.h"
#include "pixels/px_copy_pixels.h"
#include "pixels/px_span_procs.h"

namespace copy_test {

namespace {

// What the wrapping readers need: the buffers' memories, the snapshot to
// read from, and the rows read.
struct ReaderState {
  PixelMemory *memory[3] = {};
  const Snapshot *source = nullptr;
  int32_t ay = 0;
  GlPixelSpanProc real[8] = {};
  std::vector<int32_t> reads;
};
ReaderState gState;

std::vector<uint8_t> &Bytes(Snapshot &s, int k) {
  return k == 0 ? s.color : k == 1 ? s.depth : s.stencil;
}
const std::vector<uint8_t> &Bytes(const Snapshot &s, int k) {
  return k == 0 ? s.color : k == 1 ? s.depth : s.stencil;
}

// Reads the row as it was in the snapshot: the row's bytes are swapped in
// for the read and put back after it.
template <int Slot>
void Reader(GlContext *gc, GlPixelSpanInfo *info, void *span) {
  const int32_t row = int32_t(info->readY) - gState.ay;
  gState.reads.push_back(row);
  if (gState.source == nullptr) {
    gState.real[Slot](gc, info, span);
    return;
  }
  std::vector<uint8_t> saved[3];
  for (int k = 0; k < 3; k++) {
    GlDrawableBuffer *b = gState.memory[k]->buffer();
    uint8_t *at = b->base + row * b->pitchBytes;
    saved[k].assign(at, at + b->pitchBytes);
    memcpy(at, Bytes(*gState.source, k).data() + size_t(row) * size_t(b->pitchBytes),
           size_t(b->pitchBytes));
  }
  gState.real[Slot](gc, info, span);
  for (int k = 0; k < 3; k++) {
    GlDrawableBuffer *b = gState.memory[k]->buffer();
    memcpy(b->base + row * b->pitchBytes, saved[k].data(), saved[k].size());
  }
}

constexpr GlPixelSpanProc kReaders[8] = {Reader<0>, Reader<1>, Reader<2>, Reader<3>,
                                         Reader<4>, Reader<5>, Reader<6>, Reader<7>};

}  // namespace

void CopyTest::FillPattern() {
  Validate();
  for (int32_t y = 0; y < height; y++)
    for (int32_t x = 0; x < width; x++) {
      colorMemory->Write(x, y, uint32_t(x) * 0x00010307u + uint32_t(y) * 0x01050000u + 0x11u);
      stencilMemory->Write(x, y, uint32_t(x * 7 + y * 31));
      depthMemory->Write(x, y, uint32_t(x * 131 + y * 1031));
    }
}

Snapshot CopyTest::Take() const {
  Snapshot s;
  PixelMemory *m[3] = {colorMemory, depthMemory, stencilMemory};
  for (int k = 0; k < 3; k++) {
    GlDrawableBuffer *b = m[k]->buffer();
    Bytes(s, k).assign(b->base, b->base + size_t(b->pitchBytes) * b->height);
  }
  return s;
}

void CopyTest::Restore(const Snapshot &s) {
  PixelMemory *m[3] = {colorMemory, depthMemory, stencilMemory};
  for (int k = 0; k < 3; k++) memcpy(m[k]->buffer()->base, Bytes(s, k).data(), Bytes(s, k).size());
}

std::vector<int32_t> CopyTest::Copy(int x, int y, int width, int height, GLenum format,
                                    bool plain, const Snapshot *source) {
  Validate();
  gState = ReaderState{};
  gState.memory[0] = colorMemory, gState.memory[1] = depthMemory, gState.memory[2] = stencilMemory;
  gState.source = source;
  gState.ay = gc->constants.viewportYAdjust;
  for (int k = 0; k < 8; k++) {
    gState.real[k] = gc->procs.readSpans[k];
    gc->procs.readSpans[k] = kReaders[k];
  }
  GlPixelSpanInfo info;
  __glInitCopyPixelsInfo(gc, &info, x, y, width, height, format);
  if (__glClipCopyPixels(gc, &info)) {
    if (plain) info.overlap = 0;
    GlSpanStorage storage;
    if (__glReserveCopyStorage(gc, &info, &storage)) {
      gc->lockBuffers(gc, __glCopyPixelsLockMask(gc, format));
      __glGenericPickCopyPixels(gc, &info);
      gc->unlockBuffers(gc, __glCopyPixelsLockMask(gc, format));
      __glReleaseSpanStorage(gc, &info);
    }
  }
  for (int k = 0; k < 8; k++) gc->procs.readSpans[k] = gState.real[k];
  return gState.reads;
}

void CopyTest::SetDestination(double x, double y) {
  SetRaster(x, gc->constants.yInverted ? height - y : y);
}

std::string CopyTest::CompareWithSnapshotCopy(int x, int y, int width, int height,
                                              GLenum format) {
  const Snapshot before = Take();
  const std::vector<int32_t> reads = Copy(x, y, width, height, format, false, nullptr);
  const Snapshot got = Take();
  Restore(before);
  const std::vector<int32_t> wantReads = Copy(x, y, width, height, format, true, &before);
  const Snapshot want = Take();
  lastReads_ = reads;
  std::ostringstream out;
  if (!(got == want)) {
    int shown = 0;
    PixelMemory *m[3] = {colorMemory, depthMemory, stencilMemory};
    const char *names[3] = {"colour", "depth", "stencil"};
    for (int k = 0; k < 3; k++) {
      const std::vector<uint8_t> &g = Bytes(got, k), &w = Bytes(want, k);
      const int32_t pitch = m[k]->buffer()->pitchBytes, e = int32_t(m[k]->buffer()->elementSize);
      for (size_t b = 0; b < g.size(); b++)
        if (g[b] != w[b] && shown++ < 6)
          out << "\n  " << names[k] << " pixel (" << int32_t(b) % pitch / e << ", "
              << int32_t(b) / pitch << ") byte " << b % size_t(e) << ": " << int(g[b])
              << ", want " << int(w[b]);
    }
  }
  // Each row the plain loop reads is read once, and no other.
  std::map<int32_t, int> count, wantCount;
  for (int32_t r : reads) count[r]++;
  for (int32_t r : wantReads) wantCount[r]++;
  if (count != wantCount) {
    out << "\n  rows read:";
    for (const auto &[row, n] : count) out << " " << row << "x" << n;
    out << "; want:";
    for (const auto &[row, n] : wantCount) out << " " << row << "x" << n;
  }
  Restore(got);
  return out.str();
}

}  // namespace copy_test
