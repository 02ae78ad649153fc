#include "tests/pixels/tex_env/env_model.h"

namespace {

// The texel as OpenGL 1.1 names it: a colour Ct (luminance and intensity
// repeat one byte) and an alpha At, each present or not.
struct Texel {
  bool hasColor, hasAlpha, intensity;
  double ct[3], at;
};

Texel FromBytes(GLenum format, const GlTexel &t, const double fraction[256]) {
  Texel x = {};
  double l = fraction[t.r];
  switch (format) {
    case GL_ALPHA:
      x.hasAlpha = true;
      x.at = fraction[t.a];
      break;
    case GL_LUMINANCE:
      x.hasColor = true;
      x.ct[0] = x.ct[1] = x.ct[2] = l;
      break;
    case GL_LUMINANCE_ALPHA:
      x.hasColor = x.hasAlpha = true;
      x.ct[0] = x.ct[1] = x.ct[2] = l;
      x.at = fraction[t.a];
      break;
    case GL_INTENSITY:
      x.hasColor = x.hasAlpha = x.intensity = true;
      x.ct[0] = x.ct[1] = x.ct[2] = x.at = l;
      break;
    case GL_RGB:
    case GL_RGBA:
      x.hasColor = true;
      x.ct[0] = fraction[t.r];
      x.ct[1] = fraction[t.g];
      x.ct[2] = fraction[t.b];
      x.hasAlpha = format == GL_RGBA;
      x.at = fraction[t.a];
      break;
  }
  return x;
}

}  // namespace

EnvModelResult EnvModel(GLenum mode, GLenum format, const double f[4], const GlTexel &texel,
                        const double cc[4], const double fraction[256]) {
  EnvModelResult r = {{f[0], f[1], f[2], f[3]}, {}};
  if (format == GL_COLOR_INDEX) {
    double x = fraction[texel.r];
    r.changed[0] = true;
    if (mode == GL_MODULATE) r.c[0] = f[0] * x;
    if (mode == GL_REPLACE) r.c[0] = x;
    if (mode == GL_ADD) r.c[0] = f[0] + x;
    return r;
  }
  Texel t = FromBytes(format, texel, fraction);
  for (int i = 0; i < 3 && t.hasColor; ++i) {
    switch (mode) {
      case GL_MODULATE: r.c[i] = f[i] * t.ct[i]; break;
      case GL_REPLACE: r.c[i] = t.ct[i]; break;
      case GL_BLEND: r.c[i] = f[i] * (1 - t.ct[i]) + cc[i] * t.ct[i]; break;
      case GL_DECAL:
        // Undefined for formats other than RGB and RGBA: left alone here.
        if (format == GL_RGB) r.c[i] = t.ct[i];
        if (format == GL_RGBA) r.c[i] = f[i] * (1 - t.at) + t.ct[i] * t.at;
        break;
    }
    r.changed[i] = mode != GL_DECAL || format == GL_RGB || format == GL_RGBA;
  }
  if (t.hasAlpha && mode != GL_DECAL) {
    r.changed[3] = true;
    if (mode == GL_MODULATE) r.c[3] = f[3] * t.at;
    if (mode == GL_REPLACE) r.c[3] = t.at;
    if (mode == GL_BLEND) r.c[3] = t.intensity ? f[3] * (1 - t.at) + cc[3] * t.at : f[3] * t.at;
  }
  return r;
}
