// The fast path's diagnostic switches. A variable that is present sets its
// switch to whether its decimal value is non-zero; an absent one leaves it
// off. They are read once per process.
#include <stdlib.h>

#include <mutex>

#include "fastraster/fr_pick_work.h"

namespace {

FrSwitches switches;
std::once_flag once;

void Read(const char *name, uint8_t *sw) {
  if (const char *text = getenv(name)) *sw = atoi(text) != 0;
}

void ReadAll() {
  Read("__GL_DISABLE_FASTPATH", &switches.disableFastpath);
  Read("__GL_NULL_TRIANGLE_RENDER", &switches.nullTriangleRender);
  Read("__GL_NULL_TRIANGLE_FILL", &switches.nullTriangleFill);
  Read("__GL_NULL_SPANLETS", &switches.nullSpanlets);
  Read("__GL_DISABLE_OG", &switches.disableOg);
  Read("__GL_GENERIC_STORE", &switches.genericStore);
  Read("__GL_GENERIC_SETUP", &switches.genericSetup);
}

}  // namespace

const FrSwitches &checkEnvVars() {
  std::call_once(once, ReadAll);
  return switches;
}
