// The initial GL state of a context, group by group, on its first binding.
// The record is zero from creation: only the values that are not zero are
// stored. The current normal and texture coordinates get their ones from
// the transform and texture resets.
#include "core/context.h"
#include "core/s_context_steps.h"

namespace {

const GlColor kWhite = {1.0f, 1.0f, 1.0f, 1.0f};
const GlColor kBlack = {0.0f, 0.0f, 0.0f, 1.0f};
const GlColor kAmbient = {0.2f, 0.2f, 0.2f, 1.0f};
const GlColor kDiffuse = {0.8f, 0.8f, 0.8f, 1.0f};

bool DoubleBuffered(const GlContext *gc) { return gc->modes.doubleBufferMode != 0; }
bool ColorIndex(const GlContext *gc) { return gc->modes.colorIndexMode != 0; }

void ResetCurrent(GlContext *gc) {
  GlCurrentState &cur = gc->state.current;
  const GlConstants &c = gc->constants;
  cur.color = kWhite;
  cur.userColor = kWhite;
  cur.index = 1.0f;
  cur.edgeFlag = __GL_HAS_EDGEFLAG_BOUNDARY;

  GlVertex &rp = cur.rasterPos;
  rp.window.x = c.fviewportXAdjust;
  // On a top-down drawable the bottom row of the window is the last one.
  rp.window.y = c.yInverted ? (GLfloat(c.height) - c.viewportEpsilon) + c.fviewportYAdjust
                            : c.fviewportYAdjust;
  rp.window.w = 1.0f;
  rp.clip.w = 1.0f;  // the w GL_CURRENT_RASTER_POSITION reports
  rp.texture.w = 1.0f;
  rp.color = &rp.colors[__GL_FRONTFACE];
  if (ColorIndex(gc))
    rp.colors[__GL_FRONTFACE].r = 1.0f;
  else
    rp.colors[__GL_FRONTFACE] = kWhite;
  cur.validRasterPos = 1;
}

void ResetPrimitives(GlState &s) {
  s.point.requestedSize = 1.0f;
  s.point.smoothSize = 1.0f;
  s.point.aliasedSize = 1;
  s.line.requestedWidth = 1.0f;
  s.line.smoothWidth = 1.0f;
  s.line.aliasedWidth = 1;
  s.line.stipple = 0xFFFF;
  s.line.stippleRepeat = 1;
  s.polygon.frontMode = GL_FILL;
  s.polygon.backMode = GL_FILL;
  s.polygon.cull = GL_BACK;
  s.polygon.frontFaceDirection = GL_CCW;
  for (GLubyte &b : s.polygonStipple.stipple) b = 0xFF;
}

void ResetMaterial(GlMaterial &m) {
  m.ambient = kAmbient;
  m.diffuse = kDiffuse;
  m.specular = kBlack;
  m.emissive = kBlack;
  m.specularExponent = 0.0f;
  // Colour indexes: ambient 0, diffuse and specular 1.
  m.cmapa = 0.0f;
  m.cmapd = 1.0f;
  m.cmaps = 1.0f;
}

void ResetLighting(GlContext *gc) {
  GlLightState &l = gc->state.light;
  l.model.ambient = kAmbient;
  l.colorMaterialFace = GL_FRONT_AND_BACK;
  l.colorMaterialParam = GL_AMBIENT_AND_DIFFUSE;
  l.indexMaterialFace = GL_FRONT_AND_BACK;
  l.indexMaterialParam = GL_INDEX_OFFSET;
  l.shadingModel = GL_SMOOTH;
  ResetMaterial(l.front);
  l.back = l.front;
  for (GlMaterialCache &mc : gc->light.materialCache) {
    mc.specLut = nullptr;
    mc.specularExponent = -1.0f;  // matches no exponent: the first validation builds
  }
  for (int i = 0; i < gc->constants.numberOfLights; i++) {
    GlLight &light = l.source[i];
    light.ambient = kBlack;
    light.diffuse = i == 0 ? kWhite : kBlack;
    light.specular = i == 0 ? kWhite : kBlack;
    light.position = {0.0f, 0.0f, 1.0f, 0.0f};
    light.positionEye = light.position;
    light.direction = {0.0f, 0.0f, -1.0f, 0.0f};
    light.spotLightCutOffAngle = 180.0f;
    light.constantAttenuation = 1.0f;
    gc->light.lightCaches[i].spotLut = nullptr;
    // The spot rule reads the unit direction from the cache: a spot made
    // without glLight(GL_SPOT_DIRECTION) points down -z.
    gc->light.lightCaches[i].direction[2] = -1.0f;
  }
}

void ResetPerFragment(GlContext *gc) {
  GlState &s = gc->state;
  s.fog.mode = GL_EXP;
  s.fog.density = 1.0f;
  s.fog.end = 1.0f;

  s.depth.testFunc = GL_LESS;
  s.depth.writeEnable = 1;
  s.depth.clear = 1.0;

  uint32_t bits = gc->modes.stencilBits;
  uint16_t stencilMask = uint16_t(bits >= 16 ? 0xFFFFu : (1u << bits) - 1);
  s.stencil.testFunc = GL_ALWAYS;
  s.stencil.mask = stencilMask;
  s.stencil.writeMask = stencilMask;
  s.stencil.fail = GL_KEEP;
  s.stencil.depthFail = GL_KEEP;
  s.stencil.depthPass = GL_KEEP;

  GlRasterState &r = s.raster;
  r.alphaFunction = GL_ALWAYS;
  r.blendSrc = GL_ONE;
  r.blendDst = GL_ZERO;
  r.indexFunction = GL_ALWAYS;
  r.logicOp = GL_COPY;
  if (ColorIndex(gc) && gc->drawBuffer) r.writeMask = gc->drawBuffer->redMax;
  r.rMask = r.gMask = r.bMask = r.aMask = 1;
  r.drawBuffer = DoubleBuffered(gc) ? GL_BACK : GL_FRONT;
  r.drawBufferReturn = r.drawBuffer;
  // The read buffer follows the draw buffer.
  GlColorBuffer *drawn = DoubleBuffered(gc) && gc->back ? gc->back : gc->front;
  if (drawn) gc->drawBuffer = gc->readBuffer = drawn;
}

void ResetModes(GlContext *gc) {
  GlState &s = gc->state;
  s.hints.perspectiveCorrection = GL_DONT_CARE;
  s.hints.pointSmooth = GL_DONT_CARE;
  s.hints.lineSmooth = GL_DONT_CARE;
  s.hints.polygonSmooth = GL_DONT_CARE;
  s.hints.fog = GL_DONT_CARE;
  s.enables.general = __GL_DITHER_ENABLE;
  gc->renderMode = GL_RENDER;
  gc->feedback.type = GL_2D;
  gc->select.hit = 0;
  gc->select.sp = gc->select.stack;
}

}  // namespace

void __glResetStateGroups(GlContext *gc) {
  ResetCurrent(gc);
  ResetPrimitives(gc->state);
  ResetLighting(gc);
  ResetPerFragment(gc);
  ResetModes(gc);
}
