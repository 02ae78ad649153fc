// Placeholder bodies until this file is written.
#include "wgl/wgl_entries.h"

extern "C" BOOL GLENTRY DrvDescribeLayerPlane(HDC, int, int, UINT, LAYERPLANEDESCRIPTOR *) { return 0; }
extern "C" int GLENTRY DrvGetLayerPaletteEntries(HDC, int, int, int, COLORREF *) { return 0; }
extern "C" int GLENTRY DrvSetLayerPaletteEntries(HDC, int, int, int, const COLORREF *) { return 0; }
extern "C" BOOL GLENTRY DrvRealizeLayerPalette(HDC, int, BOOL) { return 0; }
