// The software-only device: the core's own back end with the generic
// pixel formats and buffer kinds. It serves until the SiS device is built and,
// afterwards, the paths the SiS device never takes.
#include "wgl/wgl_soft_device.h"

#include "core/s_context.h"
#include "pixels/px_texture.h"
#include "raster/s_buffers.h"

GlDevice __glSoftDevice = {
    .flags = __GL_BACK_BUFFER_MASK | __GL_DEPTH_BUFFER_MASK,
    .reserved = 0,
    .lookupTextureFormat = nullptr,
    .processAttach = nullptr,
    .processDetach = nullptr,
    .threadAttach = nullptr,
    .threadDetach = nullptr,
    .getPixelFormat = nullptr,
    .invalidatePixelFormatList = nullptr,
    .initTextureManager = __glInitTextureManager,
    .createContext = __glCoreCreateContext,
    .initDrawable = nullptr,
    .dibInitDrawable = nullptr,
    .freeBuffers = nullptr,
    .updateDrawablePalette = nullptr,
};

GlDevice *__glDevice = &__glSoftDevice;
