// The fixture of the raster picker tests: a zeroed context holding what the
// pickers read, set to a plain state (RGBA, 16-bit pixels, one colour
// buffer drawn, GL_RENDER, every test off), a recorder of stand-in calls,
// and names for the procedures the pickers install so that lists compare
// readably.
#pragma once

#include <string>
#include <vector>

#include "core/context.h"
#include "raster/s_span_procs.h"
#include "tests/core/services/service_context.h"

// Everything a stand-in reported while it was alive, in order.
class StandInLog {
 public:
  StandInLog();
  ~StandInLog();
  StandInLog(const StandInLog &) = delete;
  StandInLog &operator=(const StandInLog &) = delete;
  const std::vector<std::string> &calls() const { return calls_; }
  bool Saw(const std::string &name) const;
  void Clear() { calls_.clear(); }

 private:
  static void Record(const char *name);
  static StandInLog *current_;
  std::vector<std::string> calls_;
};

// Span stores of the test's colour buffers, told apart by name.
GLbool8 FrontStoreSpan(GlContext *gc);
GLbool8 FrontStoreStippledSpan(GlContext *gc);
GLbool8 BackStoreSpan(GlContext *gc);
GLbool8 BackStoreStippledSpan(GlContext *gc);
GLbool8 FetchSpan(GlContext *gc);
GLbool8 FetchStippledSpan(GlContext *gc);

class RasterPickerContext {
 public:
  RasterPickerContext();
  GlContext *gc() const { return ctx_.gc(); }
  // The raster-mode flags the pickers read.
  void SetFlags(uint32_t flags) { gc()->polygon.shader.modeFlags = flags; }
  void SetColorIndex(uint32_t colorBits = 8);
  void SetDoubleBuffered();
  // Draw both buffers the way the buffer picker leaves it.
  void DrawBoth();

 private:
  ServiceContext ctx_;
};

// The name of an installed procedure ("null" for none, "?" for one the
// table does not know).
std::string NameOf(const void *proc);
template <typename P>
std::string NameOf(P proc) {
  return NameOf(reinterpret_cast<const void *>(proc));
}
// The first `count` entries of a stage list, by name.
std::vector<std::string> Names(const GlSpanProc *list, int32_t count);
// A pair of stage lists of `capacity` entries holds `plain` and `stippled`
// (equal lengths) and nothing after them: leftovers of an earlier pick would
// otherwise run.
void ExpectStageLists(const GlSpanProc *plainList, const GlSpanProc *stippledList, int32_t capacity,
                      const std::vector<std::string> &plain,
                      const std::vector<std::string> &stippled);
