// The scenes seen through a perspective camera: lit solids, a cutaway with
// a user clip plane and two-sided lighting, and a fogged floor.
#include "tools/scene_gl.h"
#include "tools/scene_list.h"
#include "tools/scene_shapes.h"

namespace {

// A 4:3 frustum from `nearZ` to `farZ`, and an identity model view.
void Camera(int32_t width, int32_t height, float halfWidth, float nearZ, float farZ) {
  glViewport(0, 0, width, height);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glFrustum(-halfWidth, halfWidth, -halfWidth * 0.75, halfWidth * 0.75, nearZ, farZ);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glDisable(GL_DITHER);
}

void Light(GLenum light, const GLfloat position[4], const GLfloat diffuse[4],
           const GLfloat highlight[4]) {
  glLightfv(light, GL_POSITION, position);
  glLightfv(light, GL_DIFFUSE, diffuse);
  glLightfv(light, GL_SPECULAR, highlight);
  glEnable(light);
}

void Material(GLenum face, const GLfloat diffuse[4], const GLfloat highlight[4],
              GLfloat shininess) {
  glMaterialfv(face, GL_AMBIENT_AND_DIFFUSE, diffuse);
  glMaterialfv(face, GL_SPECULAR, highlight);
  glMaterialf(face, GL_SHININESS, shininess);
}

// A warm key light from the upper left and a cool fill light from the
// lower right, both set with an identity model view.
void TwoLights() {
  static const GLfloat kKeyAt[4] = {-4, 5, 6, 0}, kKey[4] = {1, 0.95f, 0.85f, 1};
  static const GLfloat kFillAt[4] = {6, -3, 4, 1}, kFill[4] = {0.25f, 0.4f, 0.8f, 1};
  static const GLfloat kWhite[4] = {1, 1, 1, 1}, kAmbient[4] = {0.12f, 0.12f, 0.15f, 1};
  glLightModelfv(GL_LIGHT_MODEL_AMBIENT, kAmbient);
  Light(GL_LIGHT0, kKeyAt, kKey, kWhite);
  Light(GL_LIGHT1, kFillAt, kFill, kFill);
  glEnable(GL_LIGHTING);
}

// One ring of the torus scene: shifted along x, turned about the x axis by
// `tilt` degrees, in its own material.
void Ring(GLfloat shiftX, GLfloat tilt, const GLfloat diffuse[4], const GLfloat highlight[4],
          GLfloat shininess) {
  glPushMatrix();
  glTranslatef(shiftX, 0, 0);
  if (tilt != 0) glRotatef(tilt, 1, 0, 0);
  Material(GL_FRONT, diffuse, highlight, shininess);
  SceneTorus(1.5f, 0.45f, 48, 24);
  glPopMatrix();
}

}  // namespace

void DrawTorusScene(int32_t width, int32_t height) {
  Camera(width, height, 1.0f, 2, 30);
  glClearColor(0.1f, 0.1f, 0.12f, 1);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glEnable(GL_DEPTH_TEST);
  glEnable(GL_CULL_FACE);
  glShadeModel(GL_SMOOTH);
  TwoLights();

  static const GLfloat kRed[4] = {0.8f, 0.12f, 0.08f, 1}, kGold[4] = {0.85f, 0.65f, 0.15f, 1};
  static const GLfloat kShine[4] = {0.9f, 0.9f, 0.9f, 1};
  glTranslatef(0, 0, -9);
  glRotatef(25, 1, 0, 0);
  glRotatef(-30, 0, 1, 0);
  // The red ring lies in the xy plane, the gold one in the xz plane, each
  // passing through the other's hole.
  Ring(-1.0f, 0, kRed, kShine, 60);
  Ring(1.0f, 90, kGold, kShine, 30);
}

void DrawCutawayScene(int32_t width, int32_t height) {
  Camera(width, height, 1.0f, 2, 30);
  glClearColor(0.85f, 0.87f, 0.9f, 1);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glEnable(GL_DEPTH_TEST);
  glShadeModel(GL_SMOOTH);
  TwoLights();
  glTranslatef(0, 0, -8);

  // The sphere: blue outside, gold inside; the clip plane removes the cap
  // facing right and a little towards the eye, so the inside shows.
  static const GLfloat kBlue[4] = {0.15f, 0.35f, 0.85f, 1}, kGold[4] = {0.9f, 0.7f, 0.2f, 1};
  static const GLfloat kShine[4] = {0.8f, 0.8f, 0.8f, 1};
  glLightModeli(GL_LIGHT_MODEL_TWO_SIDE, 1);
  Material(GL_FRONT, kBlue, kShine, 40);
  Material(GL_BACK, kGold, kShine, 20);
  glPushMatrix();
  glTranslatef(-1.5f, 0, 0);
  static const GLdouble kCap[4] = {-0.85, -0.15, -0.5, 0.35};
  glClipPlane(GL_CLIP_PLANE0, kCap);
  glEnable(GL_CLIP_PLANE0);
  glRotatef(20, 1, 0, 0);
  glRotatef(-35, 0, 1, 0);
  SceneSphere(1.7f, 40, 24);
  glDisable(GL_CLIP_PLANE0);
  glPopMatrix();
  glLightModeli(GL_LIGHT_MODEL_TWO_SIDE, 0);

  // The box, flat-shaded, and a decal on every face in the box's own plane:
  // polygon offset pulls the decals in front.
  static const GLfloat kStone[4] = {0.75f, 0.72f, 0.65f, 1}, kTeal[4] = {0.1f, 0.6f, 0.55f, 1};
  static const GLfloat kDull[4] = {0.2f, 0.2f, 0.2f, 1};
  glShadeModel(GL_FLAT);
  glEnable(GL_CULL_FACE);
  glPushMatrix();
  glTranslatef(1.7f, -0.2f, 0);
  glRotatef(30, 1, 0, 0);
  glRotatef(40, 0, 1, 0);
  Material(GL_FRONT, kStone, kDull, 10);
  SceneBox(2, 2, 2);
  glEnable(GL_POLYGON_OFFSET_FILL);
  glPolygonOffset(-1, -2);
  Material(GL_FRONT, kTeal, kShine, 40);
  SceneBoxDecals(2, 2, 2, 0.6f);
  glDisable(GL_POLYGON_OFFSET_FILL);
  glPopMatrix();
}

void DrawFogScene(int32_t width, int32_t height) {
  // The near plane is close; the floor starts behind the eye.
  Camera(width, height, 0.4f, 0.5f, 80);
  static const GLfloat kMist[4] = {0.62f, 0.66f, 0.74f, 1};
  glClearColor(kMist[0], kMist[1], kMist[2], 1);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glEnable(GL_DEPTH_TEST);
  glEnable(GL_FOG);
  glFogi(GL_FOG_MODE, GL_LINEAR);
  glFogf(GL_FOG_START, 3);
  glFogf(GL_FOG_END, 45);
  glFogfv(GL_FOG_COLOR, kMist);
  glRotatef(10, 1, 0, 0);
  glTranslatef(0, -1.6f, 0);

  // A checkered floor, flat colours per tile, from behind the eye.
  glShadeModel(GL_FLAT);
  glBegin(GL_QUADS);
  for (int row = 0; row < 42; row++)
    for (int col = -10; col < 10; col++) {
      const float x = 2.0f * float(col), z = 4 - 2.0f * float(row);
      if ((row + col) % 2) glColor3f(0.85f, 0.82f, 0.75f);
      else glColor3f(0.15f, 0.3f, 0.2f);
      glVertex3f(x, 0, z);
      glVertex3f(x + 2, 0, z);
      glVertex3f(x + 2, 0, z - 2);
      glVertex3f(x, 0, z - 2);
    }
  glEnd();

  // A red carpet on the floor (polygon offset lifts it off the tiles) whose
  // first quad starts behind the eye: only the near plane keeps it sane.
  glShadeModel(GL_SMOOTH);
  glEnable(GL_POLYGON_OFFSET_FILL);
  glPolygonOffset(-1, -2);
  glBegin(GL_QUAD_STRIP);
  for (int i = 0; i <= 39; i++) {
    const float z = i == 0 ? 5.0f : -1 - 2.0f * float(i);
    if (i % 2) glColor3f(0.75f, 0.08f, 0.1f);
    else glColor3f(0.55f, 0.02f, 0.06f);
    glVertex3f(-0.7f, 0, z);
    glVertex3f(0.7f, 0, z);
  }
  glEnd();
  glDisable(GL_POLYGON_OFFSET_FILL);

  // Two rows of lit pillars fading into the mist.
  static const GLfloat kRust[4] = {0.7f, 0.3f, 0.15f, 1}, kNone[4] = {0, 0, 0, 1};
  static const GLfloat kSunAt[4] = {-3, 6, 2, 0}, kSun[4] = {1, 1, 0.95f, 1};
  glEnable(GL_CULL_FACE);
  glLightfv(GL_LIGHT0, GL_POSITION, kSunAt);
  glLightfv(GL_LIGHT0, GL_DIFFUSE, kSun);
  glEnable(GL_LIGHT0);
  glEnable(GL_LIGHTING);
  Material(GL_FRONT, kRust, kNone, 0);
  for (int i = 0; i < 12; i++)
    for (int side = -1; side <= 1; side += 2) {
      glPushMatrix();
      glTranslatef(3.5f * float(side), 2, -3 - 6 * float(i));
      glRotatef(45, 0, 1, 0);
      SceneBox(0.8f, 4, 0.8f);
      glPopMatrix();
    }
  glDisable(GL_LIGHTING);
  glDisable(GL_FOG);
}
