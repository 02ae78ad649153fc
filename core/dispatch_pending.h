// Procedures not built yet. The dispatch tables must be complete from the
// start, but most __glim_X and __gllc_X procedures arrive with later
// subsystems (vertex, raster, pixel, texture, display lists ...). Until one
// does, the static tables hold a stand-in in its place: a procedure of the
// slot's own signature that does nothing and returns 0 (so it pops the right
// number of words). A subsystem that builds __glim_X (or __gllc_X) deletes X
// from the list below; the table then takes the real procedure, and the link
// fails if it is missing. Stand-ins are chosen at compile time, not through
// weak symbols, so the static library pulls every real procedure it names.
//
// This list only ever shrinks; when both are empty, this file goes.
#pragma once

// clang-format off
#define GL_PENDING_IMMEDIATE(X)

#define GL_PENDING_LIST_COMPILE(X)
// clang-format on
