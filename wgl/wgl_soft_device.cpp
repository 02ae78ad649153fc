// The software-only device: the core's own back end with the generic pixel
// formats and buffer kinds. It serves until the SiS device is built and,
// afterwards, the paths the SiS device never takes. The slots of the
// pixel-format list and drawables arrive with the driver entries.
#include "core/s_context.h"
#include "pixels/px_texture.h"
#include "raster/s_buffers.h"
#include "wgl/gl_device.h"

namespace {

GlDevice softDevice = {
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

}  // namespace

GlDevice *__glDevice = &softDevice;
