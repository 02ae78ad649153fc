// The process-wide lock of the 3D engine: held from the outermost device
// lock of a context to its outermost unlock, and around every other batch
// of register writes (bring-up, the scissor), so that two threads' batches
// never interleave. Innermost in the lock order: nothing else is
// taken while it is held. Re-entrant, so that one thread may hold two
// contexts' device locks at once.
#pragma once

void __glSiSEngineLock(void);
void __glSiSEngineUnlock(void);
