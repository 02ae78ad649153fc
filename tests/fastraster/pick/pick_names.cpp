#include "tests/fastraster/pick/pick_names.h"

#include <stdio.h>

#include <map>

#include "core/s_pick.h"
#include "fastraster/fr_chain.h"
#include "fastraster/fr_combine.h"
#include "fastraster/fr_genclr.h"
#include "fastraster/fr_genpix.h"
#include "fastraster/fr_setup.h"
#include "fastraster/fr_spanlets.h"
#include "fastraster/fr_stencil.h"
#include "fastraster/fr_store.h"
#include "fastraster/fr_tex.h"
#include "geometry/s_pgclip.h"
#include "raster/s_triangle.h"

namespace pick_test {
namespace {

typedef FrSpanletProc GlProcs::*Slot;

struct Named {
  const void *proc;
  const char *name;
  Slot next;  // null: ends the chain
};

#define P(f) reinterpret_cast<const void *>(f)
const Named kNamed[] = {
    {P(__glGenMask), "__glGenMask", &GlProcs::afterMask},
    {P(__glGenStipple), "__glGenStipple", &GlProcs::afterStipple},
    {P(__glFRAlphaTest), "__glFRAlphaTest", &GlProcs::afterAlphaTest},
    {P(__glFRIndexTest), "__glFRIndexTest", &GlProcs::afterIndexTest},
    {P(__glFRStencilTest), "__glFRStencilTest", &GlProcs::afterStencilTest},
    {P(__glFRStencilPostDepthCleanup), "__glFRStencilPostDepthCleanup",
     &GlProcs::afterStencilCleanup},
    {P(__glNullSpanlet), "__glNullSpanlet", nullptr},
    {P(__glFRDoubleStore), "__glFRDoubleStore", nullptr},
    {P(__glStoreSpanCINDEX), "__glStoreSpanCINDEX", nullptr},
    {P(__glStoreSpanRGB332), "__glStoreSpanRGB332", nullptr},
    {P(__glStoreSpanRGB5), "__glStoreSpanRGB5", nullptr},
    {P(__glStoreSpanRGB565), "__glStoreSpanRGB565", nullptr},
    {P(__glStoreSpanRGB8), "__glStoreSpanRGB8", nullptr},
    {P(__glStoreSpanXRGB8), "__glStoreSpanXRGB8", nullptr},
    {P(__glFRStencilKeep), "__glFRStencilKeep", nullptr},
    {P(__glFRStencilReplace), "__glFRStencilReplace", nullptr},
    {P(__glFRStencilIncrement), "__glFRStencilIncrement", nullptr},
    {P(__glFRRenderTriangle), "__glFRRenderTriangle", nullptr},
    {P(__glFillFlatFogTriangle), "__glFillFlatFogTriangle", nullptr},
    {P(__glNopFillTriangle), "__glNopFillTriangle", nullptr},
    {P(__glDontRenderTriangle), "__glDontRenderTriangle", nullptr},
    {P(__glRenderTriangle), "__glRenderTriangle", nullptr},
    {P(__glRenderSmoothTriangle), "__glRenderSmoothTriangle", nullptr},
    {P(__glRenderFlatTriangle), "__glRenderFlatTriangle", nullptr},
    {P(__glClipAndRenderTriangle), "__glClipAndRenderTriangle", nullptr},
    {P(__glFRNearestFilter), "__glFRNearestFilter", nullptr},
    {P(__glFRLinearFilter), "__glFRLinearFilter", nullptr},
    {P(__glFR_NMNFilter), "__glFR_NMNFilter", nullptr},
    {P(__glFR_LMNFilter), "__glFR_LMNFilter", nullptr},
    {P(__glFR_NMLFilter), "__glFR_NMLFilter", nullptr},
    {P(__glFR_LMLFilter), "__glFR_LMLFilter", nullptr},
#define FR_NAME_EXTRACT(family, variant) \
  {P(family##_##variant), #family "_" #variant, nullptr},
    FR_EXTRACT_FAMILIES(FR_NAME_EXTRACT)
#undef FR_NAME_EXTRACT
};
#undef P

const char *const kTypeNames[16] = {"",  "ci", "2", "", "4", "5", "", "a",
                                    "", "",   "a", "", "", "", "", ""};

// A kernel of any table: its table and slot, and where it hands on.
bool KernelName(const void *proc, std::string *name, Slot *next) {
  char text[48];
  for (int type = 1; type < 16; type++) {
    const bool ci = type == 1;
    const struct {
      const FrSpanletProc *table;
      int slots;
      const char *kind;
      Slot next;
    } tables[] = {{__glGenColorTab[type], ci ? 16 : 64, "genclr", &GlProcs::afterColors},
                  {__glGenPixTab[type], ci ? 16 : 64, "pix", nullptr},
                  {__glCombineTab[type], ci ? 32 : 128, "combine", nullptr}};
    for (const auto &t : tables) {
      if (t.table == nullptr) continue;
      for (int s = 0; s < t.slots; s++)
        if (reinterpret_cast<const void *>(t.table[s]) == proc) {
          snprintf(text, sizeof text, "%s_%s 0x%02X", t.kind, kTypeNames[type], s);
          *name = text;
          *next = t.next;
          return true;
        }
    }
  }
  return false;
}

}  // namespace

std::string ProcName(const void *proc) {
  if (proc == nullptr) return "null";
  for (const Named &n : kNamed)
    if (n.proc == proc) return n.name;
  std::string name;
  Slot next;
  if (KernelName(proc, &name, &next)) return name;
  return "?";
}

std::vector<std::string> ChainNames(GlContext *gc) {
  std::vector<std::string> names;
  FrSpanletProc proc = gc->procs.fillTriangleSpan;
  for (int guard = 0; proc != nullptr && guard < 16; guard++) {
    const void *p = reinterpret_cast<const void *>(proc);
    Slot next = nullptr;
    std::string name;
    bool known = false;
    for (const Named &n : kNamed)
      if (n.proc == p) {
        name = n.name;
        next = n.next;
        known = true;
      }
    if (!known && !KernelName(p, &name, &next)) {
      name = "depth";  // generated
      next = &GlProcs::afterDepthTest;
    }
    names.push_back(name);
    if (next == nullptr) break;
    proc = gc->procs.*next;
  }
  return names;
}

}  // namespace pick_test
