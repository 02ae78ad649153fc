// Stand-in for the bitmap procedure (pixels/px_bitmap_standins.h).
#include "pixels/px_bitmap_standins.h"

#include "core/s_standin.h"

PIXELS_BITMAP_STANDINS(GL_STANDIN_DEFINE)
