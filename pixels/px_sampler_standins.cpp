// The stand-ins of pixels/px_sampler_standins.h.
#include "pixels/px_sampler_standins.h"

#include "core/s_standin.h"

PIXELS_SAMPLER_STANDINS(GL_STANDIN_DEFINE)
