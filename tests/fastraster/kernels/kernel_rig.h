// Runs one RGB kernel on a span record of its own: a zeroed context whose
// extraction slot holds a fixture spanlet (it records the mask it was given
// and writes one texel entry per live pixel, the texel chosen for that
// pixel's chunk position) and whose afterColors slot records what it is
// handed on.
#pragma once

#include <stdint.h>

#include <string.h>

#include <memory>
#include <random>

#include "core/context.h"
#include "fastraster/fr_combine.h"
#include "fastraster/fr_genclr.h"
#include "fastraster/fr_setup.h"
#include "fastraster/fr_tables.h"
#include "tests/fastraster/kernels/kernel_reference.h"

struct KernelRig {
  KernelRig();
  ~KernelRig();

  std::unique_ptr<GlContext> gc;
  FrSpan span{};
  // What the extraction fixture writes: the texel of chunk position i, and
  // the width of an entry (1: the A byte only; 3, 4: R, G, B (, A)).
  uint8_t texelOf[32][4] = {};
  int texelBytes = 0;
  // Calls seen by the fixtures.
  int extractCalls = 0, afterCalls = 0;
  uint32_t extractMask = 0, afterMask = 0;
  const FrSpan *afterSpan = nullptr;

  // Loads the reference's input into the span and context.
  void Load(const kref::GenInput &in);
};

// Random inputs. `range` of an iterator: the largest in-range value, in
// 16.16; the chunk's visited positions stay within [0, range].
struct KernelRandom {
  std::mt19937 rng{12345};
  uint32_t Below(uint32_t n) { return uint32_t(rng() % n); }
  uint32_t Word() { return uint32_t(rng()); }
  // A start and step whose 32 positions stay in [0, top] (16.16).
  void Iterator(int32_t top, bool atEdges, int32_t *start, int32_t *step);
  void Gen(const kref::Class &c, bool iterated, kref::GenInput *in);
  // Colour entries with R, G, B at most the class's ceilings.
  void Colors(const kref::Class &c, uint8_t colors[32][4]);
};

// The masks every kernel is run with: none, the first, the last, all, and
// random holes.
uint32_t KernelMask(KernelRandom &r, int which);
constexpr int kKernelMasks = 8;

// A chunk's destination with one guard pixel on either side, walked in
// either direction; dst(i) is the pixel of chunk position i.
struct DestinationRun {
  KernelRig rig;
  const kref::Class *c = nullptr;
  uint8_t memory[34 * 4];
  int direction = 1;

  uint8_t *At(int i) {  // chunk position i; -1 and 32 are the guards
    const int index = direction > 0 ? 1 + i : 32 - i;
    return memory + index * c->bytes;
  }
  uint32_t Get(int i) {
    uint32_t v = 0;
    memcpy(&v, At(i), size_t(c->bytes));
    return v;
  }
  void Set(int i, uint32_t v) { memcpy(At(i), &v, size_t(c->bytes)); }

  void Prepare(const kref::Class &cls, int dir, const uint8_t colors[32][4],
               const uint32_t *ditherRow) {
    c = &cls;
    direction = dir;
    rig.span.direction = dir;
    rig.span.pixel = At(0);
    rig.span.ditherRow = ditherRow;
    memcpy(rig.span.colors, colors, sizeof rig.span.colors);
  }
};

// A row of either dither table at a random row and phase.
inline const uint32_t *RandomDitherRow(KernelRandom &r) {
  const uint32_t *table = r.Below(2) ? __glFRDitherTable.data() : __glFRDitherTableRtoL.data();
  return table + FR_DITHER_ROW * r.Below(4) + r.Below(4);
}

// A class as the reference knows it, with the driver's tables for it.
struct KernelClass {
  const kref::Class *ref;
  const FrKernelTable<64> *genColors;
  const FrKernelTable<128> *combine;
  const FrKernelTable<64> *genPixels;
};
extern const KernelClass kKernelClasses[4];  // RGBa, RGB5, RGB4, RGB2
