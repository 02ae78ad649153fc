// The context records: a list under one lock that is never held while the
// driver runs, since the driver calls back into the loader.
#include "loader/context_table.h"

#include <stdlib.h>

#include <mutex>

namespace {

std::mutex tableLock;
LoaderContext *contexts = nullptr;
uint32_t nextHandle = 1;

using Hold = std::lock_guard<std::mutex>;

LoaderContext *Find(uint32_t handle) {
  if (handle == 0) return nullptr;
  for (LoaderContext *c = contexts; c != nullptr; c = c->next)
    if (c->handle == handle) return c;
  return nullptr;
}

}  // namespace

uint32_t ContextTableAdd(DHGLRC driverHandle) {
  LoaderContext *c = static_cast<LoaderContext *>(calloc(1, sizeof(LoaderContext)));
  if (c == nullptr) return 0;
  Hold hold(tableLock);
  // After the numbers wrap round, skip 0 and any number still in use.
  do {
    c->handle = nextHandle++;
  } while (c->handle == 0 || Find(c->handle) != nullptr);
  c->driverHandle = driverHandle;
  c->next = contexts;
  contexts = c;
  return c->handle;
}

bool ContextTableFind(uint32_t handle, LoaderContext *out) {
  Hold hold(tableLock);
  const LoaderContext *c = Find(handle);
  if (c == nullptr) return false;
  *out = *c;
  return true;
}

ContextClaim ContextTableTake(uint32_t handle, DWORD thread, ContextUse use, LoaderContext *out) {
  Hold hold(tableLock);
  LoaderContext *c = Find(handle);
  if (c == nullptr) return kContextUnknown;
  if (c->deleting || (c->ownerThread != 0 && c->ownerThread != thread)) return kContextBusy;
  if (use == kContextBind)
    c->ownerThread = thread;
  else
    c->deleting = 1;
  *out = *c;
  return kContextClaimed;
}

void ContextTableSetOwner(uint32_t handle, DWORD thread) {
  Hold hold(tableLock);
  if (LoaderContext *c = Find(handle)) c->ownerThread = thread;
}

void ContextTableEndDelete(uint32_t handle, bool removed) {
  Hold hold(tableLock);
  for (LoaderContext **link = &contexts; *link != nullptr; link = &(*link)->next) {
    LoaderContext *c = *link;
    if (c->handle != handle) continue;
    if (removed) {
      *link = c->next;
      free(c);
    } else {
      c->deleting = 0;
    }
    return;
  }
}

void ContextTableClear(void) {
  Hold hold(tableLock);
  while (LoaderContext *c = contexts) {
    contexts = c->next;
    free(c);
  }
}
