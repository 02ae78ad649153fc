// The stream of primitives and vertices an evaluation issues: a copy of the
// context's immediate table, put in force through `dispatchState`, whose
// glBegin, glEnd, glVertex3fv and glVertex4fv record the call with the
// current values as the vertex entry would take them. Validation writes its
// entries into the table in force, so a stream starts after it.
#pragma once

#include <vector>

#include "core/context.h"

namespace eval_test {

struct StreamItem {
  enum Kind { kBegin, kEnd, kVertex } kind;
  GLenum mode = 0;  // kBegin
  int size = 0;     // kVertex: 3 or 4
  GLfloat vertex[4] = {};
  GlColor userColor{}, color{};
  GLfloat index = 0;
  GLfloat normal[3] = {};
  GlCoord texture{};
};

bool operator==(const StreamItem &a, const StreamItem &b);

// The values of map `index` (colour .. vertex 4) a recorded vertex carries:
// k of them (the colour as given, not scaled).
std::vector<GLfloat> MapAttribute(const StreamItem &item, int index);

class EvalStream {
 public:
  explicit EvalStream(GlContext *gc);  // in force from here
  ~EvalStream();                       // the table before it is back
  EvalStream(const EvalStream &) = delete;
  EvalStream &operator=(const EvalStream &) = delete;

  std::vector<StreamItem> Take();
  // The vertices only.
  std::vector<StreamItem> TakeVertices();

 private:
  GlContext *gc_;
  GlDispatchState *before_;
  GlDispatchState table_;
};

}  // namespace eval_test
