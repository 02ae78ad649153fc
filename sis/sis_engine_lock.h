// The process-wide lock of the 3D engine: held from the outermost device
// lock of a context to its outermost unlock, so that two threads' register
// batches never interleave. Innermost in the lock order: nothing else is
// taken while it is held. Re-entrant, so that one thread may hold two
// contexts' device locks at once.
#pragma once

void __glSiSEngineLock(void);
void __glSiSEngineUnlock(void);
