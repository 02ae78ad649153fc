// The software-only device: the core's own back end with the generic pixel
// formats and buffer kinds. It serves until the SiS device is built and,
// afterwards, the paths the SiS device never takes. The slots of the
// pixel-format list and drawables arrive with the driver entries.
#include "core/s_context.h"
#include "pixels/px_texture.h"
#include "wgl/gl_device.h"

namespace {

GlDevice softDevice = {
    // The back (4) and depth (32) buffers go to video memory.
    .flags = 0x24,
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
