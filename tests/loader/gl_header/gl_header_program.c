/* A plain C program written against the system's <GL/gl.h>, linked with the
   loader: it sets up a window, binds a context of the fake driver and draws,
   and checks that its calls reach the driver's entries with their
   arguments. Exits 0 when every check holds. */
#include <GL/gl.h>
#include <stdio.h>
#include <string.h>

#include "platform/vlxdesktop.h"
#include "tests/loader/fake_driver/fake_driver.h"

static int failures = 0;

#define CHECK(condition)                                                      \
  do {                                                                        \
    if (!(condition)) {                                                       \
      fprintf(stderr, "%s:%d: failed: %s\n", __FILE__, __LINE__, #condition); \
      failures++;                                                             \
    }                                                                         \
  } while (0)

/* Slot numbers, in the operating system's GL table order. */
enum { SLOT_VERTEX3F = 136, SLOT_CLEAR_COLOR = 206, SLOT_COLOR4D = 27, SLOT_LOCK_ARRAYS = 351 };

static uint32_t FloatBits(float value) {
  uint32_t bits;
  memcpy(&bits, &value, sizeof bits);
  return bits;
}

static uint64_t DoubleBits(double value) {
  uint64_t bits;
  memcpy(&bits, &value, sizeof bits);
  return bits;
}

static void CheckLastCall(int slot, const uint64_t *bits, int count) {
  FakeGlCall seen = FakeDriverLastGlCall();
  CHECK(seen.slot == slot);
  CHECK(seen.count == count);
  for (int i = 0; i < count && i < seen.count; ++i) CHECK(seen.bits[i] == bits[i]);
}

int main(void) {
  HWND hwnd = DesktopCreateWindow(0, 0, 64, 64);
  HDC hdc = GetDC(hwnd);
  PIXELFORMATDESCRIPTOR wanted;
  memset(&wanted, 0, sizeof wanted);
  wanted.nSize = sizeof wanted;
  wanted.nVersion = 1;
  wanted.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
  wanted.iPixelType = PFD_TYPE_RGBA;
  wanted.cColorBits = 16;
  int format = ChoosePixelFormat(hdc, &wanted);
  CHECK(format != 0);
  CHECK(SetPixelFormat(hdc, format, &wanted));
  HGLRC context = wglCreateContext(hdc);
  CHECK(context != NULL);
  CHECK(wglMakeCurrent(hdc, context));
  FakeDriverSwitchTable(FAKE_TABLE_RECORDING);

  glClearColor(0.25f, 0.5f, 0.75f, 1.0f);
  uint64_t clear[] = {FloatBits(0.25f), FloatBits(0.5f), FloatBits(0.75f), FloatBits(1.0f)};
  CheckLastCall(SLOT_CLEAR_COLOR, clear, 4);

  glBegin(GL_TRIANGLES);
  glColor4d(0.125, -2.5, 3.0, 1e10);
  uint64_t color[] = {DoubleBits(0.125), DoubleBits(-2.5), DoubleBits(3.0), DoubleBits(1e10)};
  CheckLastCall(SLOT_COLOR4D, color, 4);
  glVertex3f(1.0f, 2.0f, -3.0f);
  uint64_t vertex[] = {FloatBits(1.0f), FloatBits(2.0f), FloatBits(-3.0f)};
  CheckLastCall(SLOT_VERTEX3F, vertex, 3);
  glEnd();

  /* Results come back: the recording entries mark them with the slot. */
  CHECK((uintptr_t)glGetString(GL_VENDOR) == 0x5E000000u + 275);
  CHECK(glGenLists(2) == 0x5E000000u + 5);
  CHECK(glIsEnabled(GL_DEPTH_TEST) == (GLboolean)(0x80 | (286 & 0x7F)));

  /* An extension, through the C-convention thunk. */
  typedef void (*LockArrays)(GLint first, GLsizei count);
  LockArrays lockArrays = (LockArrays)wglGetProcAddress("glLockArraysVLX");
  CHECK(lockArrays != NULL);
  if (lockArrays) {
    lockArrays(3, 9);
    uint64_t lock[] = {3, 9};
    CheckLastCall(SLOT_LOCK_ARRAYS, lock, 2);
  }

  CHECK(SwapBuffers(hdc));
  CHECK(wglMakeCurrent(NULL, NULL));
  CHECK(glGetError() == GL_NO_ERROR);
  CHECK(wglDeleteContext(context));
  ReleaseDC(hwnd, hdc);
  DestroyWindow(hwnd);
  if (failures == 0) printf("the GL header program ran\n");
  return failures == 0 ? 0 : 1;
}
