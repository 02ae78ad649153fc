// Internal: where the SiS 6326 drawing model meets the rest of the stand-in.
//
// Lock order: ChipLock(), then ScreenLock(), then the model's own lock. The
// fire runs the model under ChipLock() and takes ScreenLock() to find the
// surfaces it draws into; the DirectDraw stand-in asks the model about
// unfired work under ScreenLock() and never takes ChipLock() there.
#pragma once

#include <stdint.h>

#include "platform/sis6326.h"
#include "platform/gdi.h"

namespace platform {

struct DdSurface;

// The decoder hands every event it makes to the model (ChipLock() held).
void ModelEvent(const SiS6326Event &event);
void ModelReset();
// The primitive the decoder holds open once all its words came (null: none),
// which a surface access counts as unfired work before it is appended.
void ModelOpenPrimitive(const SiS6326Event *primitive);

// The configured chip (ChipLock() held): whether it takes ordered vertices
// and whether its block-write mode is on.
bool ChipTakesOrderedVertices();
bool ChipBlockWrite();

// Unfired work that touches a surface, or the rectangle `rect` of the primary
// (null: all of it), is a violation; `what` names the access. ScreenLock() held.
void ModelSurfaceAccess(const DdSurface *surface, const RECT *rect, const char *what);
// The same for a read-back of a rectangle of the screen.
void ModelScreenRead(const RECT &screen);

}  // namespace platform
