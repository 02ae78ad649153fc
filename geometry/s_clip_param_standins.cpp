// Stand-ins for the parameter-clip procedures (geometry/s_clip_param_standins.h).
#include "geometry/s_clip_param_standins.h"

#include "core/s_standin.h"

namespace geometry {

#define CLIP_PARAM(name)                                                          \
  void name(GlContext *, GlVertex *, const GlVertex *, const GlVertex *, GLfloat) \
      GL_STANDIN_VOID_BODY(name)
CLIP_PARAM(Clip)
CLIP_PARAM(ClipI)
CLIP_PARAM(ClipC)
CLIP_PARAM(ClipBI)
CLIP_PARAM(ClipBC)
CLIP_PARAM(ClipF)
CLIP_PARAM(ClipIF)
CLIP_PARAM(ClipCF)
CLIP_PARAM(ClipBIF)
CLIP_PARAM(ClipBCF)
CLIP_PARAM(ClipT)
CLIP_PARAM(ClipIT)
CLIP_PARAM(ClipCT)
CLIP_PARAM(ClipBIT)
CLIP_PARAM(ClipBCT)
CLIP_PARAM(ClipFT)
CLIP_PARAM(ClipIFT)
CLIP_PARAM(ClipCFT)
CLIP_PARAM(ClipBIFT)
CLIP_PARAM(ClipBCFT)
CLIP_PARAM(ClipTP)
CLIP_PARAM(ClipITP)
CLIP_PARAM(ClipCTP)
CLIP_PARAM(ClipBITP)
CLIP_PARAM(ClipBCTP)
CLIP_PARAM(ClipFTP)
CLIP_PARAM(ClipIFTP)
CLIP_PARAM(ClipCFTP)
CLIP_PARAM(ClipBIFTP)
CLIP_PARAM(ClipBCFTP)

}  // namespace geometry
