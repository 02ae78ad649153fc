// The ordered-dither matrix and its float form.
#include "raster/s_dither.h"

const uint8_t __glDitherTable[16] = {
    0,  8,  2,  10,  //
    12, 4,  14, 6,   //
    3,  11, 1,  9,   //
    15, 7,  13, 5,   //
};

#define FLOAT_DITHER(d) ((GLfloat(d) + 0.5f) / 16.0f - 0.5f)
const GLfloat __glFloatDitherTable[16] = {
    FLOAT_DITHER(0),  FLOAT_DITHER(8),  FLOAT_DITHER(2),  FLOAT_DITHER(10),
    FLOAT_DITHER(12), FLOAT_DITHER(4),  FLOAT_DITHER(14), FLOAT_DITHER(6),
    FLOAT_DITHER(3),  FLOAT_DITHER(11), FLOAT_DITHER(1),  FLOAT_DITHER(9),
    FLOAT_DITHER(15), FLOAT_DITHER(7),  FLOAT_DITHER(13), FLOAT_DITHER(5),
};
#undef FLOAT_DITHER
