// Every sample scene's frame compiled into a list (GL_COMPILE, then called;
// GL_COMPILE_AND_EXECUTE, drawn while compiling and called again) equals
// the frame drawn immediately, pixel for pixel. glEnable, glDisable and
// glPolygonStipple, whose own list routines are not built yet, are recorded
// here by ops of the test that replay them through the current table.
#include <gtest/gtest.h>

#include <string.h>

#include <vector>

#include "core/current.h"
#include "core/gl_api.h"
#include "dlist/dl_op.h"
#include "tools/scene_list.h"
#include "tools/scene_window.h"

namespace {

constexpr int32_t kWidth = 96, kHeight = 72;

const GLubyte *RunEnable(const GLubyte *data) {
  GLenum cap;
  memcpy(&cap, data, 4);
  __glGetTLSCXValue()->dispatch.Enable(cap);
  return data + 4;
}
const GLubyte *RunDisable(const GLubyte *data) {
  GLenum cap;
  memcpy(&cap, data, 4);
  __glGetTLSCXValue()->dispatch.Disable(cap);
  return data + 4;
}
const GLubyte *RunStipple(const GLubyte *data) {
  __glGetTLSCXValue()->dispatch.PolygonStipple(data);
  return data + 128;
}
const GlDlistExecProc kStandInOps[3] = {RunEnable, RunDisable, RunStipple};

void Record(int index, const void *data, uint32_t size) {
  GlContext *gc = __glGetTLSCXValue();
  GlDlistOp *op = __glDlistAllocOp2(gc, size);
  if (op == nullptr) return;
  op->opcode = int16_t(10000 + index);
  memcpy(op->data, data, size);
  __glDlistAppendOp(gc, op, kStandInOps[index]);
}
void GLENTRY CompileEnable(GLenum cap) { Record(0, &cap, 4); }
void GLENTRY CompileDisable(GLenum cap) { Record(1, &cap, 4); }
void GLENTRY CompileStipple(const GLubyte *mask) { Record(2, mask, 128); }

std::vector<uint16_t> Frame(const SceneWindow &window) {
  std::vector<uint16_t> pixels(size_t(kWidth) * kHeight);
  SceneWindowRead565(&window, pixels.data());
  return pixels;
}

TEST(SceneLists, EveryFrameFromAListEqualsImmediateMode) {
  for (const SceneViewEntry &view : kSceneViews) {
    SCOPED_TRACE(view.name);
    SceneWindow window;
    ASSERT_TRUE(SceneWindowOpenDepth(&window, kWidth, kHeight, 16));
    GlContext *gc = window.gc;
    gc->dlist.machineDlOps = kStandInOps;
    gc->listCompDispatch.Enable = CompileEnable;
    gc->listCompDispatch.Disable = CompileDisable;
    gc->listCompDispatch.PolygonStipple = CompileStipple;
    // The second immediate frame starts from the state a frame leaves.
    view.draw(kWidth, kHeight);
    view.draw(kWidth, kHeight);
    const std::vector<uint16_t> immediate = Frame(window);

    glNewList(1, GL_COMPILE);
    view.draw(kWidth, kHeight);
    glEndList();
    glCallList(1);
    EXPECT_EQ(Frame(window), immediate) << "GL_COMPILE";

    glNewList(2, GL_COMPILE_AND_EXECUTE);
    view.draw(kWidth, kHeight);
    glEndList();
    EXPECT_EQ(Frame(window), immediate) << "drawn while compiling";
    glCallList(2);
    EXPECT_EQ(Frame(window), immediate) << "GL_COMPILE_AND_EXECUTE, called";
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    SceneWindowClose(&window);
  }
}

}  // namespace
