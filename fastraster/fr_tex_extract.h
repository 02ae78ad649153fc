// The texel-extraction spanlets as one template over the coordinate family
// and the entry variant (the named procedures of fr_tex.h instantiate it).
// The reciprocal is a policy so that a test can count the divisions.
#pragma once

#include <stdint.h>

#include "core/context.h"
#include "fastraster/fr_setup.h"
#include "fastraster/fr_setup_fixed.h"
#include "pixels/px_texture.h"

enum class FrTexFamily { kAffine, kPC, kPCRho, kPCMipmap };

// Which filter bytes an entry takes: `first` and `count` of R, G, B, A.
struct FrTexVariant {
  int first, count;
};
inline constexpr FrTexVariant kFrTexA{3, 1}, kFrTex1{0, 1}, kFrTex3{0, 3}, kFrTex4{0, 4};

struct FrPlainReciprocal {
  static float Of(float q) { return 1.0f / q; }
};

// lambda in 16.16 from the bits of rho: a piecewise-linear log2 of rho with
// 15 fraction bits, which read as 16.16 is half of it.
inline uint32_t FrLambdaOfRho(float rho) {
  const uint32_t b = FrFloatBits(rho);
  return ((((b & 0x7F800000u) >> 23) - 127u) << 15) | ((b & 0x7FFF00u) >> 8);
}

// q read as a signed integer below this is negative, zero or a tiny
// denormal: a segment end there is not divided by.
constexpr int32_t kFrSmallestQBits = 0x3FFFFF;

template <FrTexVariant V>
inline uint8_t *FrStoreTexel(uint8_t *out, const uint8_t texel[4]) {
  for (int c = 0; c < V.count; c++) out[c] = texel[V.first + c];
  return out + V.count;
}

// Walks the mask from bit 31, stepping s and t (and rho) for every pixel,
// live or not, until no live pixel is left; returns the next entry.
template <FrTexFamily F, FrTexVariant V>
uint8_t *FrExtractRun(GlContext *gc, GlTextureObject *tex, uint32_t mask, int32_t s,
                      int32_t t, int32_t dsdx, int32_t dtdx, float rho, float drho,
                      uint8_t *out) {
  const FrTexelFilterProc minify = gc->procs.texMinFilter;
  const FrTexelFilterProc magnify = gc->procs.texMagFilter;
  const float switchover = tex->switchover;
  for (; mask; mask <<= 1) {
    if (mask & 0x80000000u) {
      uint8_t texel[4] = {};
      if constexpr (F == FrTexFamily::kAffine || F == FrTexFamily::kPC) {
        minify(tex, 0, s, t, texel);
      } else if (switchover >= rho) {
        magnify(tex, 0, s, t, texel);
      } else if constexpr (F == FrTexFamily::kPCMipmap) {
        minify(tex, FrLambdaOfRho(rho), s, t, texel);
      } else {
        minify(tex, 0, s, t, texel);
      }
      out = FrStoreTexel<V>(out, texel);
    }
    s = int32_t(uint32_t(s) + uint32_t(dsdx));
    t = int32_t(uint32_t(t) + uint32_t(dtdx));
    if constexpr (F == FrTexFamily::kPCRho || F == FrTexFamily::kPCMipmap) rho += drho;
  }
  return out;
}

template <FrTexFamily F, FrTexVariant V, class Reciprocal = FrPlainReciprocal>
void FrExtractTexels(uint32_t mask, FrSpan *span) {
  GlContext *gc = span->gc;
  GlTextureObject *tex = gc->texture.current;
  uint8_t *out = reinterpret_cast<uint8_t *>(span->texels);
  if constexpr (F == FrTexFamily::kAffine) {
    FrExtractRun<F, V>(gc, tex, mask, span->s, span->t, span->dsdx, span->dtdx, 0.0f, 0.0f,
                       out);
  } else {
    constexpr bool withRho = F != FrTexFamily::kPC;
    float sf = span->sf, tf = span->tf, q = span->qf, rq = span->rho;
    float r = Reciprocal::Of(q);
    float s0 = sf * r, t0 = tf * r, rho0 = withRho ? rq * r : 0.0f;
    // The first segment always, the second only when one of its pixels
    // is live, moved into the top half.
    uint32_t segment = mask & 0xFFFF0000u;
    const uint32_t second = mask << 16;
    for (int half = 0; half < 2; half++) {
      q += span->dqfdxHalf;
      sf += span->dsfdxHalf;
      tf += span->dtfdxHalf;
      if constexpr (withRho) rq += span->drhodxHalf;
      float s1 = 0.0f, t1 = 0.0f, rho1 = 0.0f;
      // Behind the eye the segment end moves towards 0 instead.
      if (int32_t(FrFloatBits(q)) >= kFrSmallestQBits) {
        r = Reciprocal::Of(q);
        s1 = sf * r;
        t1 = tf * r;
        if constexpr (withRho) rho1 = rq * r;
      }
      const float ds = (s1 - s0) * 0.0625f, dt = (t1 - t0) * 0.0625f;
      span->dsdx = FrFixed16(ds);
      span->dtdx = FrFixed16(dt);
      float drho = 0.0f;
      if constexpr (withRho) {
        drho = (rho1 - rho0) * 0.0625f;
        span->drhodxSeg = drho;
      }
      out = FrExtractRun<F, V>(gc, tex, segment, FrFixed16(s0), FrFixed16(t0), span->dsdx,
                               span->dtdx, rho0, drho, out);
      s0 = s1;
      t0 = t1;
      rho0 = rho1;
      if (second == 0) break;
      segment = second;
    }
  }
}
