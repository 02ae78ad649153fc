#include "tests/fuzz/fuzz_scene.h"

#include <stddef.h>

#include "tests/fuzz/fuzz_gl.h"

namespace {

void PopAll(void (*pop)(), GLenum depth, GLint floor) {
  for (int i = 0; i < 64; i++) {
    GLint d = 0;
    glGetIntegerv(depth, &d);
    if (d <= floor) break;
    pop();
  }
}

void PopAttrib() { glPopAttrib(); }
void PopClientAttrib() { glPopClientAttrib(); }
void PopMatrix() { glPopMatrix(); }

const GLenum kDisabled[] = {
    GL_ALPHA_TEST, GL_AUTO_NORMAL, GL_BLEND, GL_CLIP_PLANE0, GL_CLIP_PLANE1, GL_CLIP_PLANE2,
    GL_CLIP_PLANE3, GL_CLIP_PLANE4, GL_CLIP_PLANE5, GL_COLOR_LOGIC_OP, GL_COLOR_MATERIAL,
    GL_CULL_FACE, GL_DEPTH_TEST, GL_FOG, GL_INDEX_LOGIC_OP, GL_LIGHTING, GL_LINE_SMOOTH,
    GL_LINE_STIPPLE, GL_MAP1_COLOR_4, GL_MAP1_INDEX, GL_MAP1_NORMAL, GL_MAP1_TEXTURE_COORD_1,
    GL_MAP1_TEXTURE_COORD_2, GL_MAP1_TEXTURE_COORD_3, GL_MAP1_TEXTURE_COORD_4, GL_MAP1_VERTEX_3,
    GL_MAP1_VERTEX_4, GL_MAP2_COLOR_4, GL_MAP2_INDEX, GL_MAP2_NORMAL, GL_MAP2_TEXTURE_COORD_1,
    GL_MAP2_TEXTURE_COORD_2, GL_MAP2_TEXTURE_COORD_3, GL_MAP2_TEXTURE_COORD_4, GL_MAP2_VERTEX_3,
    GL_MAP2_VERTEX_4, GL_NORMALIZE, GL_POINT_SMOOTH, GL_POLYGON_OFFSET_FILL,
    GL_POLYGON_OFFSET_LINE, GL_POLYGON_OFFSET_POINT, GL_POLYGON_SMOOTH, GL_POLYGON_STIPPLE,
    GL_SCISSOR_TEST, GL_STENCIL_TEST, GL_TEXTURE_1D, GL_TEXTURE_2D, GL_TEXTURE_GEN_Q,
    GL_TEXTURE_GEN_R, GL_TEXTURE_GEN_S, GL_TEXTURE_GEN_T, GL_CULL_VERTEX_VLX, GL_INDEX_TEST_VLX,
    GL_INDEX_MATERIAL_VLX};

}  // namespace

void FuzzResetState(bool doubleBuffered) {
  glEnd();
  glEndList();
  glRenderMode(GL_RENDER);
  PopAll(PopAttrib, GL_ATTRIB_STACK_DEPTH, 0);
  PopAll(PopClientAttrib, GL_CLIENT_ATTRIB_STACK_DEPTH, 0);
  const GLenum stacks[3][2] = {{GL_MODELVIEW, GL_MODELVIEW_STACK_DEPTH},
                               {GL_PROJECTION, GL_PROJECTION_STACK_DEPTH},
                               {GL_TEXTURE, GL_TEXTURE_STACK_DEPTH}};
  for (const auto &s : stacks) {
    glMatrixMode(s[0]);
    PopAll(PopMatrix, s[1], 1);
    glLoadIdentity();
  }
  glMatrixMode(GL_MODELVIEW);
  glInitNames();

  for (GLenum cap : kDisabled) glDisable(cap);
  for (int i = 0; i < 8; i++) glDisable(GL_LIGHT0 + i);
  glEnable(GL_DITHER);
  const GLenum arrays[] = {GL_VERTEX_ARRAY, GL_NORMAL_ARRAY, GL_COLOR_ARRAY, GL_INDEX_ARRAY,
                           GL_TEXTURE_COORD_ARRAY, GL_EDGE_FLAG_ARRAY};
  for (GLenum a : arrays) glDisableClientState(a);

  // Current values and the raster position.
  glColor4f(1, 1, 1, 1);
  glIndexf(1);
  glNormal3f(0, 0, 1);
  glTexCoord4f(0, 0, 0, 1);
  glEdgeFlag(GL_TRUE);
  glRasterPos4f(0, 0, 0, 1);

  // Buffers and per-fragment operations.
  glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
  glIndexMask(~0u);
  glDepthMask(GL_TRUE);
  glStencilMask(~0u);
  glDepthFunc(GL_LESS);
  glDepthRange(0, 1);
  glAlphaFunc(GL_ALWAYS, 0);
  glBlendFunc(GL_ONE, GL_ZERO);
  glLogicOp(GL_COPY);
  glStencilFunc(GL_ALWAYS, 0, ~0u);
  glStencilOp(GL_KEEP, GL_KEEP, GL_KEEP);
  glClearColor(0, 0, 0, 0);
  glClearIndex(0);
  glClearDepth(1);
  glClearStencil(0);
  glClearAccum(0, 0, 0, 0);
  glDrawBuffer(doubleBuffered ? GL_BACK : GL_FRONT);
  glReadBuffer(doubleBuffered ? GL_BACK : GL_FRONT);

  // Rasterization.
  glShadeModel(GL_SMOOTH);
  glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
  glCullFace(GL_BACK);
  glFrontFace(GL_CCW);
  glPolygonOffset(0, 0);
  glLineWidth(1);
  glLineStipple(1, 0xFFFF);
  glPointSize(1);
  GLubyte stipple[128];
  for (GLubyte &b : stipple) b = 0xFF;
  glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
  glPolygonStipple(stipple);
  const GLenum hints[] = {GL_PERSPECTIVE_CORRECTION_HINT, GL_POINT_SMOOTH_HINT,
                          GL_LINE_SMOOTH_HINT, GL_POLYGON_SMOOTH_HINT, GL_FOG_HINT};
  for (GLenum h : hints) glHint(h, GL_DONT_CARE);

  // Fog, lighting and materials.
  const GLfloat zero[4] = {0, 0, 0, 0};
  glFogi(GL_FOG_MODE, GL_EXP);
  glFogf(GL_FOG_DENSITY, 1);
  glFogf(GL_FOG_START, 0);
  glFogf(GL_FOG_END, 1);
  glFogf(GL_FOG_INDEX, 0);
  glFogfv(GL_FOG_COLOR, zero);
  const GLfloat ambient[4] = {0.2f, 0.2f, 0.2f, 1}, diffuse[4] = {0.8f, 0.8f, 0.8f, 1};
  const GLfloat black[4] = {0, 0, 0, 1};
  glLightModelfv(GL_LIGHT_MODEL_AMBIENT, ambient);
  glLightModeli(GL_LIGHT_MODEL_LOCAL_VIEWER, 0);
  glLightModeli(GL_LIGHT_MODEL_TWO_SIDE, 0);
  glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, ambient);
  glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, diffuse);
  glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, black);
  glMaterialfv(GL_FRONT_AND_BACK, GL_EMISSION, black);
  glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, 0);
  glColorMaterial(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE);

  // Pixel store, transfer and zoom.
  const GLenum store[] = {GL_UNPACK_SWAP_BYTES, GL_UNPACK_LSB_FIRST, GL_UNPACK_ROW_LENGTH,
                          GL_UNPACK_SKIP_ROWS, GL_UNPACK_SKIP_PIXELS, GL_PACK_SWAP_BYTES,
                          GL_PACK_LSB_FIRST, GL_PACK_ROW_LENGTH, GL_PACK_SKIP_ROWS,
                          GL_PACK_SKIP_PIXELS};
  for (GLenum s : store) glPixelStorei(s, 0);
  glPixelStorei(GL_PACK_ALIGNMENT, 4);
  const GLenum transfer[] = {GL_RED_BIAS, GL_GREEN_BIAS, GL_BLUE_BIAS, GL_ALPHA_BIAS,
                             GL_DEPTH_BIAS};
  for (GLenum t : transfer) glPixelTransferf(t, 0);
  const GLenum scales[] = {GL_RED_SCALE, GL_GREEN_SCALE, GL_BLUE_SCALE, GL_ALPHA_SCALE,
                           GL_DEPTH_SCALE};
  for (GLenum t : scales) glPixelTransferf(t, 1);
  glPixelTransferi(GL_MAP_COLOR, 0);
  glPixelTransferi(GL_MAP_STENCIL, 0);
  glPixelTransferi(GL_INDEX_SHIFT, 0);
  glPixelTransferi(GL_INDEX_OFFSET, 0);
  glPixelZoom(1, 1);

  // Textures: the scene binds its own.
  glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
  glTexEnvfv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_COLOR, zero);
  glBindTexture(GL_TEXTURE_1D, 0);
  glBindTexture(GL_TEXTURE_2D, 0);
  glListBase(0);
  while (glGetError() != GL_NO_ERROR) {
  }
}

void FuzzDrawScene(int width, int height, bool rgba) {
  glViewport(0, 0, width, height);
  glScissor(0, 0, width, height);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glOrtho(0, width, 0, height, -1, 1);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glClearColor(0.1f, 0.2f, 0.3f, 1);
  glClearIndex(3);
  glClearDepth(1);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glEnable(GL_DEPTH_TEST);

  // Two overlapping smooth triangles at different depths.
  glBegin(GL_TRIANGLES);
  if (rgba) glColor3f(1, 0, 0); else glIndexi(20);
  glVertex3f(2, 2, 0.5f);
  if (rgba) glColor3f(0, 1, 0); else glIndexi(60);
  glVertex3f(float(width) - 3, 4, 0.5f);
  if (rgba) glColor3f(0, 0, 1); else glIndexi(100);
  glVertex3f(float(width) / 2, float(height) - 3, 0.5f);
  if (rgba) glColor3f(1, 1, 0); else glIndexi(140);
  glVertex3f(0, float(height) / 2, -0.2f);
  glVertex3f(float(width), float(height) / 3, -0.2f);
  glVertex3f(float(width) / 3, float(height), 0.9f);
  glEnd();

  glDisable(GL_DEPTH_TEST);
  glBegin(GL_LINES);
  if (rgba) glColor3f(1, 1, 1); else glIndexi(200);
  glVertex2f(1.5f, float(height) - 1.5f);
  glVertex2f(float(width) - 1.5f, 1.5f);
  glEnd();
  glPointSize(3);
  glBegin(GL_POINTS);
  glVertex2f(5.5f, 5.5f);
  glVertex2f(float(width) - 5.5f, float(height) - 5.5f);
  glEnd();
  glPointSize(1);

  // A bitmap and a pixel rectangle at the raster position.
  static const GLubyte bits[8] = {0xFF, 0x81, 0xBD, 0xA5, 0xA5, 0xBD, 0x81, 0xFF};
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  glRasterPos2i(4, height - 12);
  glBitmap(8, 8, 0, 0, 10, 0, bits);
  GLubyte pixels[6 * 5 * 4];
  for (size_t i = 0; i < sizeof pixels; i++) pixels[i] = GLubyte(i * 37);
  glRasterPos2i(width - 10, 2);
  if (rgba) {
    glDrawPixels(6, 5, GL_RGBA, GL_UNSIGNED_BYTE, pixels);
  } else {
    glDrawPixels(6, 5, GL_COLOR_INDEX, GL_UNSIGNED_BYTE, pixels);
  }

  // A textured quad (RGBA only: colour-index contexts do not texture).
  if (rgba) {
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    GLubyte texels[4 * 4 * 3];
    for (size_t i = 0; i < sizeof texels; i++) texels[i] = GLubyte(i * 61);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, 4, 4, 0, GL_RGB, GL_UNSIGNED_BYTE, texels);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glEnable(GL_TEXTURE_2D);
    glColor3f(1, 1, 1);
    glBegin(GL_QUADS);
    glTexCoord2f(0, 0);
    glVertex2f(float(width) / 4, float(height) / 4);
    glTexCoord2f(1, 0);
    glVertex2f(float(width) / 2, float(height) / 4);
    glTexCoord2f(1, 1);
    glVertex2f(float(width) / 2, float(height) / 2);
    glTexCoord2f(0, 1);
    glVertex2f(float(width) / 4, float(height) / 2);
    glEnd();
    glDisable(GL_TEXTURE_2D);
    glDeleteTextures(1, &texture);
  }
  glFinish();
}
