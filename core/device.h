// The back end's table of operations. One instance is active, reached
// through __glDevice; the window-system layer and the core call it, and
// each back end (sis/, wgl/wgl_soft_device.cpp) fills one in.
#pragma once

#include <stdint.h>

#include "core/calling.h"
#include "core/gl_defs.h"
#include "core/imports.h"
#include "platform/gdi.h"

struct GlContext;
struct GlTexFormat;
struct WglDrawablePrivate;

typedef struct GlDevice {
  // Buffers whose surfaces go to video memory, as buffer bits (1 front,
  // 4 back, 16 accumulation, 32 depth, 64 stencil).
  uint32_t flags;
  uint32_t reserved;
  // The storage format of a texture's internal format, with its base
  // format in *baseFormat.
  const GlTexFormat *(*lookupTextureFormat)(GLenum internalFormat, GLenum *baseFormat);
  // The four hooks below are optional (null: skipped).
  GLbool8 (*processAttach)(uint32_t threadId, GlDevice *device);
  GLbool8 (*processDetach)(uint32_t threadId, GlDevice *device);
  GLbool8 (*threadAttach)(uint32_t threadId, GlDevice *device);
  GLbool8 (*threadDetach)(uint32_t threadId, GlDevice *device);
  // The number of pixel formats; copies descriptor `index` when it exists.
  // With no descriptor and index -1 it only counts.
  int (*getPixelFormat)(HDC hdc, PIXELFORMATDESCRIPTOR *descriptor, int index);
  void (*invalidatePixelFormatList)(void);
  // Sets up a new context's texture manager; false when it cannot.
  GLbool8 (*initTextureManager)(GlContext *gc);
  GlContext *(*createContext)(const GlImports *imports, const GlModes *modes);
  void (*initDrawable)(WglDrawablePrivate *drawable, const GlModes *modes);
  void (*dibInitDrawable)(WglDrawablePrivate *drawable, const GlModes *modes);
  void (*freeBuffers)(WglDrawablePrivate *drawable);
  void (*updateDrawablePalette)(WglDrawablePrivate *drawable);
} GlDevice;

static_assert(sizeof(GlDevice) == 15 * 4, "GlDevice is fifteen words");

// The active device.
extern GlDevice *__glDevice;
