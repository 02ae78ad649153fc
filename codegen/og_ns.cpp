#include "codegen/og_ns.h"

#include "core/gl_assert.h"

namespace {

uint32_t RotateLeft7(uint32_t v) { return (v << 7) | (v >> 25); }

}  // namespace

GLbool8 __glNSOpenSpace(OgNameSpace *ns) {
  ns->open = 1;
  ns->direct_map = 0;
  for (uint32_t &place : ns->offset) place = OG_NS_UNPLACED;
  ns->next = 0;
  ns->hash = 0;
  return 1;
}

void __glNSCloseSpace(OgNameSpace *ns) { ns->open = 0; }

void __glNSAlign(OgNameSpace *ns, uint32_t a) {
  __GL_ASSERT(!ns->direct_map, "!ns->direct_map", "og_ns");
  // 0 would move `next` back over the variables already placed; other
  // values would give places that are not multiples of `a`.
  __GL_ASSERT(a != 0 && (a & (a - 1)) == 0, "a is a power of two", "og_ns");
  ns->next = (ns->next + a - 1) & ~(a - 1);
}

uint32_t __glNSWhereIs(OgNameSpace *ns, uint32_t id, uint32_t size) {
  if (ns->direct_map) return id;
  // The table has no room past the last id: a larger one would write over
  // whatever follows the space in its cache cell.
  __GL_ASSERT(id < OG_NS_IDS, "id < OG_NS_IDS", "og_ns");
  if (ns->offset[id] == OG_NS_UNPLACED) {
    __GL_ASSERT(ns->open, "ns->open", "og_ns");
    ns->hash = RotateLeft7(ns->hash ^ id);
    ns->offset[id] = ns->next;
    ns->next += size;
  }
  return ns->offset[id];
}

uint32_t __glNSSizeof(OgNameSpace *ns) {
  __GL_ASSERT(!ns->open, "!ns->open", "og_ns");
  return ns->next;
}
