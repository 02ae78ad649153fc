// The colours of an 8-bit DIB back buffer follow the palette of the
// drawable's device context, so that the copy to the window maps each index
// to the colour the window shows for it.
#include <string.h>

#include "wgl/wgl_dib.h"
#include "wgl/wgl_message.h"
#include "wgl/wgl_scoped_lock.h"

void __wglDIBUpdateDrawablePalette(WglDrawablePrivate *drawable) {
  if (drawable == nullptr || drawable->drawable.front.elementSize != 1) return;
  PALETTEENTRY entries[256];
  memset(entries, 0, sizeof entries);
  HPALETTE palette = static_cast<HPALETTE>(GetCurrentObject(drawable->hdc, OBJ_PAL));
  if (palette == nullptr || GetPaletteEntries(palette, 0, 256, entries) == 0) {
    __wglError("DIB: UpdateDrawablePalette: GetPaletteEntries failed");
    return;
  }
  RGBQUAD colors[256];
  for (int i = 0; i < 256; ++i)
    colors[i] = {entries[i].peBlue, entries[i].peGreen, entries[i].peRed, 0};

  GlDrawable *gl = &drawable->drawable;
  WglDrawableHold hold(gl, "wgldib");
  if (gl->modes != nullptr && gl->modes->doubleBufferMode) {
    HDC memoryDC = __wglDIBGetHDC(&gl->back);
    if (memoryDC != nullptr && SetDIBColorTable(memoryDC, 0, 256, colors) == 0)
      __wglError("DIB: UpdateDrawablePalette: SetDIBColorTable failed");
  }
}
