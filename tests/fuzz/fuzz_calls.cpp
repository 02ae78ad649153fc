#include "tests/fuzz/fuzz_calls.h"

#include <stdio.h>
#include <string.h>

#include "tests/fuzz/fuzz_extent.h"
#include "tests/fuzz/fuzz_gl.h"
#include "tests/fuzz/fuzz_params.h"
#include "tests/fuzz/fuzz_values.h"
#include "platform/vlxdesktop.h"

namespace {

struct SlotFunction {
  FuzzCaller caller;
  void *exported;  // null for the extension entries
};

const SlotFunction kSlotFunctions[] = {
#define FUZZ_FUNCTION(s, Name, words, kind, Ret, params) \
  {&FuzzInvoke<Ret params>::Call, reinterpret_cast<void *>(&gl##Name)},
    GL_SLOTS(FUZZ_FUNCTION)
#undef FUZZ_FUNCTION
};
static_assert(sizeof kSlotFunctions / sizeof kSlotFunctions[0] == GL_SLOT_COUNT);

bool StartsWith(const char *s, const char *prefix) { return !strncmp(s, prefix, strlen(prefix)); }

void Describe(const FuzzEntry &e, const FuzzArg *args, std::string *what) {
  char text[64];
  *what += " gl";
  *what += e.name;
  *what += "(";
  for (size_t i = 0; i < e.params.size(); i++) {
    if (i > 0) *what += ",";
    switch (e.params[i].type) {
      case FuzzType::Float: snprintf(text, sizeof text, "%g", args[i].f); break;
      case FuzzType::Pointer: snprintf(text, sizeof text, "%p", args[i].p); break;
      case FuzzType::Enum:
      case FuzzType::Bitfield:
        snprintf(text, sizeof text, "0x%llx", (unsigned long long)args[i].i);
        break;
      default: snprintf(text, sizeof text, "%lld", (long long)args[i].i); break;
    }
    *what += text;
  }
  *what += ")";
}

// Bytes from p to the end of its page: every pointer the fuzzer hands out
// ends at a fence on a page boundary (a page-aligned one shows nothing).
size_t FencedBytesAfter(const void *p) { return (4096 - (uintptr_t(p) & 4095)) & 4095; }

// The first words an input pointer points at, for writing a regression
// test from a minimised run.
void PrintInputs(const FuzzEntry &e, const FuzzArg *args) {
  for (size_t i = 0; i < e.params.size(); i++) {
    const FuzzParam &p = e.params[i];
    if (p.type != FuzzType::Pointer || p.output || args[i].p == nullptr) continue;
    const size_t available = FencedBytesAfter(args[i].p);
    const uint8_t *bytes = static_cast<const uint8_t *>(args[i].p);
    fprintf(stderr, "    %s:", p.name.c_str());
    for (size_t k = 0; k + 4 <= available && k < 64; k += 4) {
      uint32_t word;
      memcpy(&word, bytes + k, 4);
      float f;
      memcpy(&f, &word, 4);
      fprintf(stderr, " %08x(%g)", word, double(f));
    }
    fprintf(stderr, "\n");
  }
}

GLint ListBeingCompiled() {
  GLint list = 0;
  glGetIntegerv(GL_LIST_INDEX, &list);
  return list;
}

}  // namespace

FuzzCalls::FuzzCalls(FuzzMemory &memory) : memory_(memory), functions_(GL_SLOT_COUNT) {
  for (const FuzzEntry &e : FuzzEntries()) {
    static const char *const kInside[] = {"Vertex", "Color", "Normal", "TexCoord", "Index",
                                          "EdgeFlag", "Material", "EvalCoord", "EvalPoint",
                                          "ArrayElement", "CallList"};
    for (const char *prefix : kInside) {
      if (StartsWith(e.name, prefix) && !strstr(e.name, "Pointer") &&
          strcmp(e.name, "CallLists") != 0) {
        vertexSlots_.push_back(e.slot);
      }
    }
  }
}

void *FuzzCalls::Function(int slot) {
  void *&fn = functions_[size_t(slot)];
  if (fn == nullptr) fn = kSlotFunctions[slot].exported;
  if (fn == nullptr && wglGetCurrentContext() != nullptr) {
    const std::string name = std::string("gl") + FuzzEntries()[size_t(slot)].name;
    fn = reinterpret_cast<void *>(wglGetProcAddress(name.c_str()));
  }
  return fn;
}

void FuzzCalls::Call(FuzzRng &rng, int slot, std::string *what, const Fix &fix) {
  const FuzzEntry &e = FuzzEntries()[size_t(slot)];
  void *fn = Function(slot);
  if (fn == nullptr) return;
  FuzzArg args[12];
  for (size_t i = 0; i < e.params.size(); i++) FuzzDrawValue(rng, e, e.params[i], &args[i]);
  if (fix) fix(args);
  if (!FuzzPlacePointers(rng, e, args, memory_)) return;
  if (!strcmp(e.name, "NewList")) listsWithCalls_.erase(unsigned(args[0].i));
  if (!strcmp(e.name, "CallList") || !strcmp(e.name, "CallLists")) {
    const GLint compiling = ListBeingCompiled();
    if (compiling != 0 && !listsWithCalls_.insert(unsigned(compiling)).second) return;
    if (!strcmp(e.name, "CallLists") && compiling != 0 && args[0].i > 1) args[0].i = 1;
  }
  const size_t from = what->size();
  Describe(e, args, what);
  if (verbose) {
    fprintf(stderr, "  %s\n", what->c_str() + from + 1);
    PrintInputs(e, args);
  }
  kSlotFunctions[slot].caller(fn, args);
}

void FuzzCalls::CallNamed(FuzzRng &rng, const char *name, std::string *what, const Fix &fix) {
  Call(rng, FuzzSlotOf(name), what, fix);
}

void FuzzCalls::Primitive(FuzzRng &rng, std::string *what) {
  CallNamed(rng, "Begin", what, [&](FuzzArg *a) {
    if (rng.Percent(95)) a[0].i = rng.Range(GL_POINTS, GL_POLYGON);
  });
  const int n = rng.Range(0, 14);
  for (int i = 0; i < n; i++) {
    if (rng.Percent(4)) {
      Call(rng, int(rng.Below(GL_SLOT_COUNT)), what);  // mostly an error inside glBegin
    } else {
      Call(rng, vertexSlots_[rng.Below(uint32_t(vertexSlots_.size()))], what);
    }
  }
  if (rng.Percent(97)) CallNamed(rng, "End", what);
}

void FuzzCalls::Act(FuzzRng &rng, std::string *what) {
  const unsigned r = rng.Below(100);
  if (r < 55) {
    // Any entry; glBegin mostly through the primitives below.
    int slot = int(rng.Below(GL_SLOT_COUNT));
    if (slot == FuzzSlotOf("Begin") && rng.Percent(80)) slot = FuzzSlotOf("End");
    Call(rng, slot, what);
  } else if (r < 72) {
    Primitive(rng, what);
  } else if (r < 79) {
    const GLuint list = GLuint(rng.Range(1, kFuzzNames - 1));
    CallNamed(rng, "NewList", what, [&](FuzzArg *a) {
      if (rng.Percent(90)) a[0].i = list;
    });
    const int n = rng.Range(0, 8);
    for (int i = 0; i < n; i++) {
      if (rng.Percent(40)) {
        Primitive(rng, what);
      } else {
        Call(rng, int(rng.Below(GL_SLOT_COUNT)), what);
      }
    }
    if (rng.Percent(95)) CallNamed(rng, "EndList", what);
  } else if (r < 84) {
    static const char *const kStacks[] = {"PushAttrib", "PopAttrib", "PushMatrix",
                                          "PopMatrix", "PushClientAttrib", "PopClientAttrib",
                                          "PushName", "PopName", "MatrixMode", "LoadName"};
    const int n = rng.Range(1, 40);
    const char *one = rng.Pick(kStacks);
    for (int i = 0; i < n; i++) CallNamed(rng, rng.Percent(70) ? one : rng.Pick(kStacks), what);
  } else if (r < 90) {
    const bool feedback = rng.Percent(50);
    CallNamed(rng, feedback ? "FeedbackBuffer" : "SelectBuffer", what, [&](FuzzArg *a) {
      if (rng.Percent(60)) a[0].i = rng.Range(0, 40);
    });
    CallNamed(rng, "RenderMode", what,
              [&](FuzzArg *a) { a[0].i = feedback ? GL_FEEDBACK : GL_SELECT; });
    const int n = rng.Range(1, 6);
    for (int i = 0; i < n; i++) {
      if (rng.Percent(60)) {
        Primitive(rng, what);
      } else {
        static const char *const kDraws[] = {"PushName", "LoadName", "Rectf", "Bitmap",
                                             "DrawPixels", "CopyPixels", "PassThrough",
                                             "RasterPos2f", "DrawArrays", "CallList"};
        CallNamed(rng, rng.Pick(kDraws), what);
      }
    }
    CallNamed(rng, "RenderMode", what, [&](FuzzArg *a) { a[0].i = GL_RENDER; });
  } else if (r < 95) {
    static const char *const kTextures[] = {"GenTextures", "BindTexture", "TexImage2D",
                                            "TexImage1D", "TexSubImage2D", "TexParameteri",
                                            "DeleteTextures", "CopyTexImage2D", "Enable",
                                            "AreTexturesResident", "PrioritizeTextures",
                                            "TexEnvi", "ColorTableEXT", "GetTexImage"};
    const int n = rng.Range(1, 6);
    for (int i = 0; i < n; i++) {
      const char *name = rng.Pick(kTextures);
      CallNamed(rng, name, what, [&](FuzzArg *a) {
        if (!strcmp(name, "Enable") && rng.Percent(80)) a[0].i = GL_TEXTURE_2D;
        if (!strncmp(name, "Tex", 3) && rng.Percent(80)) a[0].i = GL_TEXTURE_2D;
      });
      if (rng.Percent(50)) Primitive(rng, what);
    }
  } else {
    static const char *const kArraysCalls[] = {
        "EnableClientState", "VertexPointer", "ColorPointer", "TexCoordPointer",
        "NormalPointer", "IndexPointer", "EdgeFlagPointer", "InterleavedArrays",
        "DisableClientState", "DrawArrays", "DrawElements", "ArrayElement",
        "VertexPointerEXT", "DrawArraysEXT", "LockArraysVLX", "UnlockArraysVLX"};
    const int n = rng.Range(1, 8);
    for (int i = 0; i < n; i++) {
      if (rng.Percent(10)) {
        // The memory behind the pointers changes while they stay set.
        FencedBytes &region = memory_.Kept(FuzzKeptRegion(rng.Below(kFuzzInterleavedArray + 1)));
        FuzzMemory::Fill(rng, region.Tail(region.capacity()), region.capacity());
        *what += " (array memory rewritten)";
      }
      CallNamed(rng, rng.Pick(kArraysCalls), what);
    }
  }
}
