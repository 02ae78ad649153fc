// The material optimiser: each run of consecutive material ops becomes one
// FastMaterial op. The op is allocated and every specular table it needs is
// built before the run is replaced, so that a failure leaves the run as it
// was, with no table taken.
#include <string.h>

#include "core/context.h"
#include "core/s_setters.h"
#include "dlist/dl_op.h"
#include "dlist/dl_opcodes.h"
#include "dlist/dl_optimize.h"
#include "geometry/s_lcache.h"
#include "geometry/s_lighting.h"

namespace {

constexpr uint32_t kMaterialContents = 0x100;

bool IsMaterialOp(const GlDlistOp *op) {
  return op && (op->opcode == GL_DLOP_Materialfv || op->opcode == GL_DLOP_Materialiv);
}

void Put(uint32_t *&at, const void *from, size_t words) {
  memcpy(at, from, 4 * words);
  at += words;
}

GlColor Color(const GLfloat *v) { return {v[0], v[1], v[2], v[3]}; }

// The run's changes into `words` (sized by __glMatEntryWords), each
// shininess with its own table; false, with every table given back, when a
// table cannot be had.
bool WriteEntries(GlContext *gc, const GlMatChange *faces, uint32_t *words, bool *tables) {
  uint32_t *at = words;
  GlSpecLUT *built[2] = {};
  int count = 0;
  for (int f = 0; f < 2; ++f) {
    const GlMatChange &c = faces[f];
    if (c.mask == 0) continue;
    Put(at, &c.face, 1);
    Put(at, &c.mask, 1);
    if (c.mask & __GL_MATERIAL_AMBIENT) Put(at, &c.ambient, 4);
    if (c.mask & __GL_MATERIAL_DIFFUSE) Put(at, &c.diffuse, 4);
    if (c.mask & __GL_MATERIAL_SPECULAR) Put(at, &c.specular, 4);
    if (c.mask & __GL_MATERIAL_EMISSIVE) Put(at, &c.emission, 4);
    if (c.mask & __GL_MATERIAL_SHININESS) {
      GlSpecLUT *table = __glCreateSpecLUT(gc, c.shininess);
      if (table == nullptr) {
        for (int i = 0; i < count; ++i) __glFreeSpecLUT(gc, built[i]);
        return false;
      }
      built[count++] = table;
      Put(at, &c.shininess, 1);
      Put(at, &table, 1);
    }
    if (c.mask & __GL_MATERIAL_COLORINDEXES) Put(at, c.colorIndexes, 3);
  }
  *at = 0;
  *tables = count > 0;
  return true;
}

}  // namespace

void ApplyMatChange(GlContext *, GlMatChange *change, GLenum pname, const GLfloat *values) {
  switch (pname) {
    case GL_AMBIENT: change->ambient = Color(values); change->mask |= __GL_MATERIAL_AMBIENT; break;
    case GL_DIFFUSE: change->diffuse = Color(values); change->mask |= __GL_MATERIAL_DIFFUSE; break;
    case GL_SPECULAR:
      change->specular = Color(values);
      change->mask |= __GL_MATERIAL_SPECULAR;
      break;
    case GL_EMISSION:
      change->emission = Color(values);
      change->mask |= __GL_MATERIAL_EMISSIVE;
      break;
    case GL_SHININESS:
      change->shininess = values[0];
      change->mask |= __GL_MATERIAL_SHININESS;
      break;
    case GL_AMBIENT_AND_DIFFUSE:
      change->ambient = change->diffuse = Color(values);
      change->mask |= __GL_MATERIAL_AMBIENT | __GL_MATERIAL_DIFFUSE;
      break;
    case GL_COLOR_INDEXES:
      // The placement glMaterial uses: ambient, diffuse, specular given,
      // kept ambient, specular, diffuse.
      change->colorIndexes[0] = values[0];
      change->colorIndexes[2] = values[1];
      change->colorIndexes[1] = values[2];
      change->mask |= __GL_MATERIAL_COLORINDEXES;
      break;
    default: break;
  }
}

void FreeFastMaterial(GlContext *gc, void *data) {
  const uint32_t *at = static_cast<const uint32_t *>(data);
  while (at[0] != 0) {
    const uint32_t mask = at[1];
    if (mask & __GL_MATERIAL_SHININESS) {
      // Shininess and the table follow the colours.
      const uint32_t *shine = at + __glMatEntryWords(mask & ~0x30u);
      GlSpecLUT *table;
      memcpy(&table, shine + 1, sizeof table);
      __glFreeSpecLUT(gc, table);
    }
    at += __glMatEntryWords(mask);
  }
}

void __glDlistOptimizeMaterial(GlContext *gc, GlDlistRecord *list) {
  if (!(list->contents & kMaterialContents)) return;
  GlDlistOp **link = &list->first;
  while (*link) {
    if (!IsMaterialOp(*link)) {
      link = &(*link)->next;
      continue;
    }
    GlMatChange faces[2] = {};
    faces[0].face = GL_FRONT;
    faces[1].face = GL_BACK;
    GlDlistOp *end = *link;
    for (; IsMaterialOp(end); end = end->next) {
      const GLenum face = end->data[0], pname = end->data[1];
      GLfloat values[4];
      const GLint n = __glMaterialfv_size(pname);
      if (end->opcode == GL_DLOP_Materialiv)
        __glMaterialValuesi(gc, pname, reinterpret_cast<const GLint *>(end->data + 2), values);
      else
        memcpy(values, end->data + 2, 4 * size_t(n));
      if (face != GL_BACK) ApplyMatChange(gc, &faces[0], pname, values);
      if (face != GL_FRONT) ApplyMatChange(gc, &faces[1], pname, values);
    }
    uint32_t words = 1;
    for (const GlMatChange &c : faces)
      if (c.mask) words += __glMatEntryWords(c.mask);
    GlDlistOp *op = __glDlistAllocOp2(gc, 4 * words);
    bool tables = false;
    if (op == nullptr || !WriteEntries(gc, faces, op->data, &tables)) return;
    op->opcode = GL_DLOP_FastMaterial;
    if (tables) op->dlistFree = FreeFastMaterial;
    for (GlDlistOp *run = *link; run != end;) {
      GlDlistOp *next = run->next;
      __glDlistFreeOp(gc, run);
      run = next;
    }
    op->next = end;
    if (end == nullptr) list->last = op;
    *link = op;
    link = &op->next;
  }
}

void __glGenericDlistOptimizer(GlContext *gc, GlDlistRecord *list) {
  __glDlistOptimizeMaterial(gc, list);
}
