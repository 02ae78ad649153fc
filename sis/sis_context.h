// The SiS device's context: the core context followed by the state of the
// chip's 3D engine for it. The working words are what the current state
// needs; the programmed words what was last sent (or is to be sent) to the
// chip; `dirty` names the register groups whose programmed words changed.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include "core/context.h"
#include "platform/gdi.h"

struct GlTextureObject;

// Working register words, one per register or register pair, in tail order.
typedef struct GlSiSWorkingRegs {
  uint32_t mode;          // 0x8A00
  uint32_t zAddress;      // 0x8A08
  uint32_t zPitch;        // 0x8A04: pitch, depth function, Z format
  uint32_t alpha2;        // 0x8A10, stays 0
  uint32_t alphaTest;     // 0x8A0C
  uint32_t colorAddress;  // 0x8A18
  uint32_t colorPitch;    // 0x8A14: pitch, colour format, raster operation
  uint32_t linePattern;   // 0x8A1C
  uint32_t fog;           // 0x8A20
  uint32_t blend;         // 0x8A28
  uint32_t textureSetup;  // 0x8A38
  uint32_t textureEnv;    // 0x8A3C
  uint32_t transparent;   // 0x8A40
  uint32_t levelLayout;   // 0x8A80
  uint32_t texture8A90;   // 0x8A90, stays 0
  uint32_t clipRows;      // 0x8A30
  uint32_t clipColumns;   // 0x8A34
} GlSiSWorkingRegs;

// Programmed register words: the values last sent (or to be sent).
typedef struct GlSiSProgrammedRegs {
  uint32_t mode;
  uint32_t zAddress;
  uint32_t zPitch;
  uint32_t alpha2;
  uint32_t alphaTest;
  uint32_t colorAddress;
  uint32_t colorPitch;
  uint32_t linePattern;
  uint32_t fog;
  uint32_t blend;
  uint32_t clipRows;
  uint32_t clipColumns;
} GlSiSProgrammedRegs;

typedef struct GlSiSTail {
  GlSiSWorkingRegs work;
  uint32_t lockDepth;       // nesting of the device lock
  uint32_t ownerId;         // the creating process
  uint8_t restoreAll;       // the next outermost lock reloads every group
  uint8_t *mmioBase;        // the chip's register window
  uint32_t chipCode;        // from the identification table
  uint8_t *frameBufferBase; // the primary surface; chip addresses are relative to it
  HWND hwnd;                // the window of the context's drawable
  uint32_t blockWrite;      // the chip's block-write mode is on
  uint32_t triangleFallback, lineFallback, pointFallback;
  GlSiSProgrammedRegs programmed;
  uint32_t levelAddress[10];  // 0x8A44-0x8A68
  uint32_t levelPitch[5];     // 0x8A6C-0x8A7C
  GlTextureObject *lastTexture;
  GLfloat texS[3], texT[3];
  uint32_t dirty;           // SIS_DIRTY_ groups whose programmed words changed
  // Names the register state this context loads into the engine: unique in
  // the process, drawn at creation and again when the context moves to
  // another window, never reused.
  uint64_t serial;
  // Set by an outermost lock that found a buffer it needs outside video
  // memory (its lock failed): until the next outermost lock the hardware
  // procedures send nothing.
  uint8_t sendNothing;
  // The texture generation the texture registers were computed at.
  uint32_t textureGeneration;
  // SIS_DIRTY_ groups a full reload left out because the mode did not use
  // them: the engine still holds another context's (or bring-up's) words
  // there, whatever `dirty` and `lastTexture` say. They are sent once the
  // mode uses them again.
  uint32_t unheld;
} GlSiSTail;

typedef struct GlSiSContext {
  GlContext gc;
  GlSiSTail sis;
} GlSiSContext;

static_assert(offsetof(GlSiSContext, gc) == 0, "the core context heads the SiS context");
static_assert(offsetof(GlSiSTail, lockDepth) == 17 * 4 && offsetof(GlSiSTail, ownerId) == 18 * 4 &&
                  offsetof(GlSiSTail, restoreAll) == 19 * 4 &&
                  offsetof(GlSiSTail, mmioBase) == 20 * 4 &&
                  offsetof(GlSiSTail, triangleFallback) == 25 * 4 &&
                  offsetof(GlSiSTail, programmed) == 28 * 4 &&
                  offsetof(GlSiSTail, levelAddress) == 40 * 4 &&
                  offsetof(GlSiSTail, lastTexture) == 55 * 4 && offsetof(GlSiSTail, dirty) == 62 * 4,
              "the tail's words in their fixed order");

// Register groups of `dirty`.
#define SIS_DIRTY_MODE 0x1u
#define SIS_DIRTY_Z 0x2u
#define SIS_DIRTY_ALPHA 0x4u
#define SIS_DIRTY_COLOR 0x8u
#define SIS_DIRTY_LINE_PATTERN 0x10u
#define SIS_DIRTY_FOG 0x20u
#define SIS_DIRTY_BLEND 0x40u
#define SIS_DIRTY_CLIP 0x100u
#define SIS_DIRTY_TEXTURE 0x200u

// Mode-word bits the uploads read.
#define SIS_MODE_DITHER 0x1u
#define SIS_MODE_BLEND 0x4u
#define SIS_MODE_FOG 0x8u
#define SIS_MODE_NONLOCAL 0x20u
#define SIS_MODE_TRANSPARENCY 0x100u
#define SIS_MODE_PERSPECTIVE 0x200u
#define SIS_MODE_TEXTURE 0x400u
#define SIS_MODE_LINE_PATTERN 0x1000u
#define SIS_MODE_ALPHA_TEST 0x20000u
#define SIS_MODE_Z_TEST 0x100000u
#define SIS_MODE_Z_WRITE 0x200000u

inline GlSiSTail *__glSiSTail(GlContext *gc) { return &reinterpret_cast<GlSiSContext *>(gc)->sis; }

// Raised by every change a texture's registers depend on that validation
// cannot see in the words themselves (levels, residency, surfaces, freeing),
// so that a freed object's reused memory is never taken for the old one.
extern uint32_t __glSiSTextureGeneration;
inline void __glSiSTextureChanged() { __atomic_add_fetch(&__glSiSTextureGeneration, 1, __ATOMIC_RELAXED); }

namespace sis {
// Whether the hardware procedures may send to the chip now.
inline bool Sends(const GlSiSTail *sis) { return sis->mmioBase != nullptr && !sis->sendNothing; }
}  // namespace sis
