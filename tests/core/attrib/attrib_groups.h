// The attribute groups as an application sees them: for each group, random
// changes made through the GL entries and the group read back through the
// state queries; the enables with the group each belongs to. The texture
// parameter, environment and generation entries are not built yet, so
// their changes are written as those entries will write them.
#pragma once

#include <stdint.h>

#include <random>
#include <string>
#include <vector>

#include "core/context.h"

namespace attrib_test {

typedef std::mt19937 Rng;
typedef std::vector<double> Values;

struct StateGroup {
  uint32_t bit;
  const char *name;
  void (*change)(GlContext *gc, Rng &rng);
  void (*read)(GlContext *gc, Values *out);
};

// Server groups, and the client groups of glPushClientAttrib.
const std::vector<StateGroup> &ServerGroups();
const std::vector<StateGroup> &ClientGroups();

// Every enable with the server group it belongs to (GL_ENABLE_BIT aside).
struct Enable {
  GLenum cap;
  uint32_t owner;
};
const std::vector<Enable> &Enables();
// Turns each enable on or off at random (colour material stays off: it
// would make glColor write the materials of the lighting group).
void ChangeEnables(Rng &rng);

// Every group's values (enables apart), in table order, and the enables.
struct Snapshot {
  std::vector<Values> groups;
  std::vector<bool> enables;
};
Snapshot TakeServer(GlContext *gc);
Snapshot TakeClient(GlContext *gc);
// Every server group and the enables changed at random.
void ChangeServer(GlContext *gc, Rng &rng);
void ChangeClient(GlContext *gc, Rng &rng);

// What glTexParameter will do for a 2-D or 1-D minification or
// magnification filter: the context's copy and the bound object.
void SetTexFilter(GlContext *gc, int targetIndex, GLenum pname, GLenum filter);

// Expects every group (and enable) in `restored` to be as in `before` and
// the rest as in `after`.
void ExpectRestored(const std::vector<StateGroup> &table, uint32_t mask, const Snapshot &now,
                    const Snapshot &before, const Snapshot &after, const std::string &what);

// Client array memory the vertex-array changes point into.
extern uint8_t gArrayBytes[4096];

}  // namespace attrib_test
