// A zeroed context whose primitive machines are the real ones and whose
// hand-off, validation and lock procedures record what they are given.
// Vertices go straight to procs.primVertex, filled as the immediate entry
// fills them: the slot `next` names, `has` = size class | clip bit | codes.
// Each vertex carries its index in obj.y, as index / 32 (inside the frustum).
// The recorders can also be put into a context of the whole driver, which
// the test then drives through the API.
#pragma once

#include <math.h>
#include <stdint.h>

#include <memory>
#include <vector>

#include "core/context.h"
#include "core/gl_defs.h"
#include "tests/geometry/prim/prim_call.h"

struct PrimRun {
  GLenum mode = GL_POINTS;
  int count = 0;
  std::vector<uint32_t> codes;  // per vertex: clip codes and the cull bit
  std::vector<bool> flags;      // the current edge flag as each vertex is given
};

class PrimFixture {
 public:
  PrimFixture();
  // Records the hand-offs of an existing context, left otherwise as it is.
  explicit PrimFixture(GlContext *gc);
  ~PrimFixture();
  PrimFixture(const PrimFixture &) = delete;
  PrimFixture &operator=(const PrimFixture &) = delete;

  GlContext *gc() const { return gc_; }
  // The front-face needs word and the steady procedures the pickers choose
  // for it (the slow point and line-strip forms when it is not 0).
  void setFrontNeeds(uint32_t needs);

  // Empties the buffer and the record, installs the lock recorders; then
  // glBegin may run.
  void prepare(GLenum mode);
  void begin(GLenum mode);  // prepare, then procs.beginPrim
  // The vertex (or the vertex count, for glEnd) the next calls come with.
  void setDuring(int during) { during_ = during; }
  // Gives vertex `id` and returns the slot it went into.
  GlVertex *give(int id, uint32_t codes, bool edgeFlag);
  void end();
  // begin, every vertex, end; checks after each step that the machine left
  // every buffered vertex's boundary bit as it was given, and at the end
  // that it is at rest with the lock count back where it was.
  std::vector<PrimCall> run(const PrimRun &run);

  std::vector<PrimCall> &calls() { return calls_; }
  int lockCalls() const { return lockCalls_; }
  int unlockCalls() const { return unlockCalls_; }

  // Test switches.
  bool nestInHandOffs = false;   // each hand-off takes the render lock again inside
  bool paintBackColors = false;  // clipPolygon aims every colour pointer at the back colour
  bool lockProc = true;          // install the lock procedure (else it stays empty)
  bool unlockProc = true;        // and the unlock procedure

  // The vertex index a slot holds (-1 for none) and the slot of an index.
  static int IdOf(const GlVertex *v) { return v ? int(lroundf(v->obj.y * 32.0f)) : -1; }
  static GLfloat CoordOf(int id) { return GLfloat(id) / 32.0f; }

 private:
  friend struct PrimRecorders;
  void record(const char *kind, GlVertex *const *vertices, int count, bool edges, bool provoking,
              bool hasOr = false, uint32_t orCodes = 0);
  void recordValidate(int sizeClass, GlVertex *v, uint32_t needs);
  void installRecorders();
  void checkEdgesKept(const char *when);
  uint32_t givenEdge(int id) const;

  std::unique_ptr<GlContext> owned_;
  GlContext *gc_;
  std::vector<PrimCall> calls_;
  std::vector<bool> flags_;
  GLenum mode_ = GL_POINTS;
  int during_ = 0;
  bool flushed_ = false;
  int lockCalls_ = 0, unlockCalls_ = 0;
  int32_t lockCountBefore_ = 0;  // an outer holder's count
};
