#include "tests/geometry/eval_maps/eval_stream.h"

#include <string.h>

#include "core/calling.h"

namespace eval_test {
namespace {

GlContext *gRecorded = nullptr;
std::vector<StreamItem> gItems;

void RecordVertex(const GLfloat *v, int size) {
  const GlCurrentState &cur = gRecorded->state.current;
  StreamItem item{StreamItem::kVertex};
  item.size = size;
  memcpy(item.vertex, v, sizeof(GLfloat) * size);
  if (size == 3) item.vertex[3] = 1.0f;
  item.userColor = cur.userColor;
  item.color = cur.color;
  item.index = cur.index;
  memcpy(item.normal, cur.normal, sizeof item.normal);
  item.texture = cur.texture;
  gItems.push_back(item);
}

void GLENTRY Begin(GLenum mode) {
  StreamItem item{StreamItem::kBegin};
  item.mode = mode;
  gItems.push_back(item);
}
void GLENTRY End() { gItems.push_back(StreamItem{StreamItem::kEnd}); }
void GLENTRY Vertex3fv(const GLfloat *v) { RecordVertex(v, 3); }
void GLENTRY Vertex4fv(const GLfloat *v) { RecordVertex(v, 4); }

}  // namespace

bool operator==(const StreamItem &a, const StreamItem &b) {
  // Bitwise, so that NaN results compare too.
  return a.kind == b.kind && a.mode == b.mode && a.size == b.size &&
         memcmp(a.vertex, b.vertex, sizeof a.vertex) == 0 &&
         memcmp(&a.userColor, &b.userColor, sizeof a.userColor) == 0 &&
         memcmp(&a.color, &b.color, sizeof a.color) == 0 &&
         memcmp(&a.index, &b.index, sizeof a.index) == 0 &&
         memcmp(a.normal, b.normal, sizeof a.normal) == 0 &&
         memcmp(&a.texture, &b.texture, sizeof a.texture) == 0;
}

std::vector<GLfloat> MapAttribute(const StreamItem &item, int index) {
  const GLfloat *texture = &item.texture.x;
  switch (index) {
    case __GL_EVAL_COLOR:
      return {item.userColor.r, item.userColor.g, item.userColor.b, item.userColor.a};
    case __GL_EVAL_INDEX: return {item.index};
    case __GL_EVAL_NORMAL: return {item.normal[0], item.normal[1], item.normal[2]};
    case __GL_EVAL_TEXTURE1:
    case __GL_EVAL_TEXTURE2:
    case __GL_EVAL_TEXTURE3:
    case __GL_EVAL_TEXTURE4:
      return std::vector<GLfloat>(texture, texture + (index - __GL_EVAL_TEXTURE1 + 1));
    case __GL_EVAL_VERTEX3: return {item.vertex[0], item.vertex[1], item.vertex[2]};
    default: return {item.vertex[0], item.vertex[1], item.vertex[2], item.vertex[3]};
  }
}

EvalStream::EvalStream(GlContext *gc)
    : gc_(gc), before_(gc->dispatchState), table_(*gc->dispatchState) {
  table_.Begin = Begin;
  table_.End = End;
  table_.Vertex3fv = Vertex3fv;
  table_.Vertex4fv = Vertex4fv;
  gc->dispatchState = &table_;
  gRecorded = gc;
  gItems.clear();
}

EvalStream::~EvalStream() {
  gc_->dispatchState = before_;
  gRecorded = nullptr;
  gItems.clear();
}

std::vector<StreamItem> EvalStream::Take() {
  std::vector<StreamItem> items;
  items.swap(gItems);
  return items;
}

std::vector<StreamItem> EvalStream::TakeVertices() {
  std::vector<StreamItem> vertices;
  for (const StreamItem &item : Take())
    if (item.kind == StreamItem::kVertex) vertices.push_back(item);
  return vertices;
}

}  // namespace eval_test
