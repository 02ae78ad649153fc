// Stand-ins for the pixel-span readers and renderers (pixels/px_span_standins.h).
#include "pixels/px_span_standins.h"

#include "core/s_standin.h"

PIXELS_SPAN_STANDINS(GL_STANDIN_DEFINE)
