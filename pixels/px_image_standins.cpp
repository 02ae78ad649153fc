// Stand-ins for the colour tables (pixels/px_image_standins.h).
#include "pixels/px_image_standins.h"

#include "core/s_standin.h"

PIXELS_IMAGE_STANDINS(GL_STANDIN_DEFINE)
