// The process-wide lock of the 3D engine: held from the outermost device
// lock of a context to its outermost unlock, and around every other batch
// of register writes (bring-up, the scissor), so that two threads' batches
// never interleave. Re-entrant, so that one thread may hold two contexts'
// device locks at once.
//
// Lock order, outermost first: the drawable lock, the drawable's buffer
// locks, the device lock with this engine lock, then the DirectDraw
// stand-in's own lock. The device lock makes the current texture resident
// while it holds the engine lock, so DirectDraw is called under it; nothing
// that holds DirectDraw's lock may take this one.
//
// The texture manager of a share group is used by every thread that has
// one of its contexts current, and another thread's chip work reads the
// surfaces it hands out: its active list, its surfaces and the level
// placements the texture registers are computed from change only under this
// lock. A surface is therefore never released or reused while a thread
// between its device lock and unlock has queued work that samples it.
#pragma once

void __glSiSEngineLock(void);
void __glSiSEngineUnlock(void);

// Holds the engine lock for a scope.
class SiSEngineGuard {
 public:
  SiSEngineGuard() { __glSiSEngineLock(); }
  ~SiSEngineGuard() { __glSiSEngineUnlock(); }
  SiSEngineGuard(const SiSEngineGuard &) = delete;
  SiSEngineGuard &operator=(const SiSEngineGuard &) = delete;
};
