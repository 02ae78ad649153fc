// The loader's record of each rendering context. An application's HGLRC is
// the record's handle number, never an address, so a stale or made-up
// handle is refused without being touched; numbers are not reused until
// they wrap round.
#pragma once

#include <stdint.h>

#include "wgl/driver_interface.h"

typedef struct LoaderContext {
  LoaderContext *next;
  uint32_t handle;      // what the application holds
  DHGLRC driverHandle;  // what the driver knows it by
  DWORD ownerThread;    // the thread it is current on (or being bound on), 0 for none
  uint8_t deleting;     // a deletion is under way: nobody may bind it
} LoaderContext;

enum ContextClaim {
  kContextClaimed,  // taken by the caller (or already owned by it)
  kContextUnknown,  // no such handle
  kContextBusy,     // current on another thread, or being deleted
};

// A new record; 0 when there is no memory.
uint32_t ContextTableAdd(DHGLRC driverHandle);
// Copies the record out; false for an unknown handle.
bool ContextTableFind(uint32_t handle, LoaderContext *out);

enum ContextUse {
  kContextBind,    // `thread` becomes the owner
  kContextDelete,  // the record is marked as being deleted
};

// Takes the record for `use` by `thread`, unless another thread owns it or
// it is being deleted, and copies it out.
ContextClaim ContextTableTake(uint32_t handle, DWORD thread, ContextUse use, LoaderContext *out);
// The thread the context is current on, 0 for none.
void ContextTableSetOwner(uint32_t handle, DWORD thread);
// Ends a deletion: the record goes, or stays usable when the driver refused.
void ContextTableEndDelete(uint32_t handle, bool removed);
// Forgets every record (the driver went away).
void ContextTableClear(void);
