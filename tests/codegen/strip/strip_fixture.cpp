#include "tests/codegen/strip/strip_fixture.h"

#include <string.h>

#include <sstream>

#include "codegen/og_geom.h"
#include "geometry/s_varray_draw.h"
#include "platform/kernel.h"

namespace strip_test {
namespace {

GlContext *gContext = nullptr;
HasPattern gHas = nullptr;
std::vector<Call> *gCalls = nullptr;

int32_t Place(const GlVertex *v) {
  if (v == nullptr) return -1;
  const intptr_t bytes = intptr_t(uintptr_t(v) - gContext->vertexArray.cursor);
  return int32_t(bytes / intptr_t(sizeof(GlVertex)));
}

void Triangle(const char *what, GlVertex *a, GlVertex *b, GlVertex *c) {
  Call call;
  call.what = what;
  GlVertex *v[3] = {a, b, c};
  for (int i = 0; i < 3; i++) {
    call.v[i] = Place(v[i]);
    call.has[i] = v[i]->has;
  }
  call.provoking = Place(gContext->vertexBuffer.provoking);
  call.stipple = gContext->lineStippleStarted;
  gCalls->push_back(call);
}

void GLFASTCALL RecordRender(GlContext *, GlVertex *a, GlVertex *b, GlVertex *c) {
  Triangle("render", a, b, c);
}

// Element e as a vertex: its `has` word, and e in the front red to tell
// copies apart.
void MakeVertex(GlVertex *v, int32_t e) {
  memset(v, 0, sizeof *v);
  v->has = gHas(e);
  v->colors[0].r = float(e);
  v->color = &v->colors[1];  // a compile aims it; copies must re-aim it
}

void GLFASTCALL FakeCompile(GlContext *gc, int32_t position, int32_t first, int32_t count,
                            const uint32_t *elements) {
  Call call;
  call.what = "compile";
  call.position = position;
  call.first = first;
  call.count = count;
  call.elements = elements;
  gCalls->push_back(call);
  for (int32_t i = 0; i < count; i++) {
    const int32_t e = elements ? int32_t(elements[first + i]) : first + i;
    MakeVertex(__glVarrayBatchVertex(gc->vertexArray, position + i), e);
  }
}

// The drawer the call wrapper below calls, and its entry stack pointer.
const void *gDrawer = nullptr;
uint32_t gEntryEsp = 0;

// A fastcall wrapper around the drawer: passes ecx, edx and its two stack
// words on, returns in eax the stack change over the drawer's call (0 when
// it removed its 8 bytes) and in edx the ecx the drawer left.
uint8_t *MakeCallWrapper() {
  static uint8_t *code = nullptr;
  if (code) return code;
  code = static_cast<uint8_t *>(
      VirtualAlloc(nullptr, 4096, MEM_COMMIT | MEM_RESERVE, PAGE_EXECUTE_READWRITE));
  uint8_t *p = code;
  auto bytes = [&](std::initializer_list<uint8_t> b) {
    for (uint8_t x : b) *p++ = x;
  };
  auto word = [&](const void *a) {
    const uint32_t w = uint32_t(uintptr_t(a));
    memcpy(p, &w, 4);
    p += 4;
  };
  bytes({0x89, 0x25});  // mov [gEntryEsp], esp
  word(&gEntryEsp);
  bytes({0xFF, 0x74, 0x24, 0x08});  // push dword [esp + 8]: elements
  bytes({0xFF, 0x74, 0x24, 0x08});  // push dword [esp + 8]: count
  bytes({0xFF, 0x15});              // call [gDrawer]
  word(&gDrawer);
  bytes({0x89, 0xE0});  // mov eax, esp
  bytes({0x2B, 0x05});  // sub eax, [gEntryEsp]
  word(&gEntryEsp);
  bytes({0x89, 0xCA});  // mov edx, ecx
  bytes({0x8B, 0x25});  // mov esp, [gEntryEsp]
  word(&gEntryEsp);
  bytes({0xC2, 0x08, 0x00});  // ret 8
  return code;
}

}  // namespace

// The clip hand-off, wrapped at link time, records instead of clipping.
extern "C" void GLFASTCALL __wrap__Z18__glDoClipTriangleP9GlContextP8GlVertexS2_S2_(
    GlContext *, GlVertex *a, GlVertex *b, GlVertex *c) {
  Triangle("clip", a, b, c);
}

std::string Describe(const Call &c) {
  std::ostringstream s;
  s << c.what;
  if (c.what == "compile") {
    s << " position " << c.position << " first " << c.first << " count " << c.count
      << (c.elements ? " listed" : "");
  } else {
    s << std::hex;
    for (int i = 0; i < 3; i++) s << " " << std::dec << c.v[i] << ":" << std::hex << c.has[i];
    s << std::dec << " provoking " << c.provoking << " stipple " << c.stipple;
  }
  return s.str();
}

void StripTest::SetUp() {
  BoundContextTest::SetUp();
  Install();
}

void StripTest::Replace() {
  const GlModes modes = gc->modes;
  gc->vertexArray = saved;
  gc->procs = savedProcs;
  Use(modes);
  Install();
}

void StripTest::Install() {
  ValidatePending();
  gContext = gc;
  saved = gc->vertexArray;
  savedProcs = gc->procs;
  gc->procs.renderTriangle = RecordRender;
  gc->vertexArray.compileIndexed = FakeCompile;
  gc->vertexArray.batchSize = 36;
  buffer.assign(kPlaces, GlVertex{});
}

void StripTest::TearDown() {
  gc->vertexArray = saved;
  gc->procs = savedProcs;
  gContext = nullptr;
  BoundContextTest::TearDown();
}

void StripTest::Batched(HasPattern has, bool continued) {
  gHas = has;
  GlVertexArrayMachine &va = gc->vertexArray;
  va.flags = (va.flags & ~(__GL_VARRAY_LOCKED | __GL_VARRAY_LOCK_COMPILED)) |
             __GL_VARRAY_COMPILE_PENDING;
  va.cursor = uintptr_t(buffer.data());
  va.vertexCacheContinued = continued;
  // What a continued strip finds at places 0 and 1; all else is stale.
  for (int p = 0; p < kPlaces; p++) MakeVertex(&buffer[size_t(p)], p < 2 ? p : 5000 + p);
  start.assign(reinterpret_cast<uint8_t *>(buffer.data()),
               reinterpret_cast<uint8_t *>(buffer.data() + kPlaces));
}

void StripTest::Locked(HasPattern has, int32_t lockFirst, int32_t lockCount) {
  gHas = has;
  GlVertexArrayMachine &va = gc->vertexArray;
  va.flags = (va.flags & ~__GL_VARRAY_COMPILE_PENDING) | __GL_VARRAY_LOCKED |
             __GL_VARRAY_LOCK_COMPILED;
  va.lockFirst = lockFirst;
  va.lockCount = lockCount;
  va.cursor = uintptr_t(buffer.data()) - uintptr_t(lockFirst) * sizeof(GlVertex);
  va.vertexCacheContinued = 0;
  for (int p = 0; p < kPlaces; p++) MakeVertex(&buffer[size_t(p)], lockFirst + p);
  start.assign(reinterpret_cast<uint8_t *>(buffer.data()),
               reinterpret_cast<uint8_t *>(buffer.data() + kPlaces));
}

void StripTest::Reset() {
  memcpy(buffer.data(), start.data(), start.size());
  GlVertexArrayMachine &va = gc->vertexArray;
  va.batchMode = -1;
  va.batchFirst = -1;
  va.batchPosition = -1;
  va.batchElements = reinterpret_cast<const uint32_t *>(uintptr_t(0xBAD0));
  gc->vertexBuffer.provoking = nullptr;
  gc->lineStippleStarted = 1;
}

Outcome StripTest::Finish() {
  Outcome r;
  const GlVertexArrayMachine &va = gc->vertexArray;
  r.buffer.assign(reinterpret_cast<uint8_t *>(buffer.data()),
                  reinterpret_cast<uint8_t *>(buffer.data() + kPlaces));
  r.batchMode = va.batchMode;
  r.batchFirst = va.batchFirst;
  r.batchPosition = va.batchPosition;
  r.batchElements = va.batchElements;
  return r;
}

Outcome StripTest::RunC(int32_t first, int32_t count, const uint32_t *elements) {
  Reset();
  std::vector<Call> calls;
  gCalls = &calls;
  __glDrawVertexes_Tstrip(gc, first, count, elements);
  gCalls = nullptr;
  Outcome r = Finish();
  r.calls = calls;
  return r;
}

Outcome StripTest::RunSlot(int32_t first, int32_t count, const uint32_t *elements) {
  Reset();
  std::vector<Call> calls;
  gCalls = &calls;
  gc->vertexArray.drawVertexes[GL_TRIANGLE_STRIP](gc, first, count, elements);
  gCalls = nullptr;
  Outcome r = Finish();
  r.calls = calls;
  return r;
}

void *StripTest::Generated() {
  return __glGenerateDrawVerticesVcache(gc, GL_TRIANGLE_STRIP, 0);
}

Outcome StripTest::RunGenerated(int32_t first, int32_t count, const uint32_t *elements) {
  gDrawer = Generated();
  EXPECT_NE(gDrawer, nullptr);
  Reset();
  std::vector<Call> calls;
  gCalls = &calls;
  if (gDrawer) {
    const OgCallResult r = RunFastChecked(MakeCallWrapper(), uint32_t(uintptr_t(gc)),
                                          uint32_t(first), {uint32_t(count), uint32_t(uintptr_t(elements))});
    EXPECT_EQ(r.eax, 0u) << "the drawer removes its 8 bytes";
    EXPECT_EQ(r.edx, uint32_t(uintptr_t(gc))) << "the drawer keeps ecx";
  }
  gCalls = nullptr;
  Outcome r = Finish();
  r.calls = calls;
  return r;
}

}  // namespace strip_test
