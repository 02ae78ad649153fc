// The record every stand-in leaves when called.
#include "core/s_standin.h"

void (*__glStandInHook)(const char *name) = nullptr;

void __glStandInCalled(const char *name) {
  if (__glStandInHook) __glStandInHook(name);
}
