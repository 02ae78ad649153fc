// The texture codes of the colour key (key >> 2): which texel entry a code
// reads and how it combines the texel with the fragment colour, per R, G, B
// and per A. Colour-generation and pixel-generation kernels share them.
#pragma once

#include <stdint.h>

#include "fastraster/fr_tables.h"

enum class FrColorRule : uint8_t {
  kNone,      // the code has no kernel
  kFragment,  // Cf
  kReplace,   // min(Ct, ceiling)
  kModulate,  // P(Ct, Cf)
  kBlend,     // P(255 - Ct, Cf) + P(Ct, Cc)
  kDecal,     // min(P(At, Ct) + P(255 - At, Cf), ceiling)
};
enum class FrAlphaRule : uint8_t {
  kFragment,  // Af
  kTexel,     // At
  kModulate,  // P(At, Af)
  kBlend,     // P(255 - At, Af) + P(At, Ac)
};

struct FrTexCode {
  uint8_t texelBytes;  // 0: no texel (no extraction call); 1 A; 3 R, G, B; 4 R, G, B, A
  FrColorRule color;
  FrAlphaRule alpha;
};

// Code 5 is never picked; it is kept as code 4, as the fused kernels do.
// Codes 2 and 6 to 8 have no kernel.
inline constexpr FrTexCode kFrTexCodes[16] = {
    /* 0 */ {0, FrColorRule::kFragment, FrAlphaRule::kFragment},
    /* 1 */ {3, FrColorRule::kReplace, FrAlphaRule::kFragment},
    /* 2 */ {0, FrColorRule::kNone, FrAlphaRule::kFragment},
    /* 3 */ {3, FrColorRule::kModulate, FrAlphaRule::kFragment},
    /* 4 */ {3, FrColorRule::kBlend, FrAlphaRule::kFragment},
    /* 5 */ {3, FrColorRule::kBlend, FrAlphaRule::kFragment},
    /* 6 */ {0, FrColorRule::kNone, FrAlphaRule::kFragment},
    /* 7 */ {0, FrColorRule::kNone, FrAlphaRule::kFragment},
    /* 8 */ {0, FrColorRule::kNone, FrAlphaRule::kFragment},
    /* 9 */ {4, FrColorRule::kReplace, FrAlphaRule::kTexel},
    /* 10 */ {4, FrColorRule::kDecal, FrAlphaRule::kFragment},
    /* 11 */ {4, FrColorRule::kModulate, FrAlphaRule::kModulate},
    /* 12 */ {4, FrColorRule::kBlend, FrAlphaRule::kModulate},
    /* 13 */ {4, FrColorRule::kBlend, FrAlphaRule::kBlend},
    /* 14 */ {1, FrColorRule::kFragment, FrAlphaRule::kTexel},
    /* 15 */ {1, FrColorRule::kFragment, FrAlphaRule::kModulate},
};

// The code's colour rule reads the fragment colour (so an iterated kernel
// steps R, G and B) or the environment colour.
constexpr bool FrUsesFragmentColor(FrColorRule r) {
  return r != FrColorRule::kReplace && r != FrColorRule::kNone;
}
constexpr bool FrUsesFragmentAlpha(FrAlphaRule r) { return r != FrAlphaRule::kTexel; }

// One component of R, G, B (index C of the class) by the code's rule: Cf the
// fragment byte, Ct the texel byte, At the texel alpha, Cc the environment
// colour byte. Every product goes through the byte product.
template <class Class, int C, FrColorRule Rule>
inline uint32_t FrTexColor(uint32_t cf, uint32_t ct, uint32_t at, uint32_t cc) {
  constexpr uint32_t ceiling = Class::Ceiling(C);
  if constexpr (Rule == FrColorRule::kFragment) {
    return cf;
  } else if constexpr (Rule == FrColorRule::kReplace) {
    return ct < ceiling ? ct : ceiling;
  } else if constexpr (Rule == FrColorRule::kModulate) {
    return __glFRProduct(ct, cf);
  } else if constexpr (Rule == FrColorRule::kBlend) {
    return __glFRProduct(255 - ct, cf) + __glFRProduct(ct, cc);
  } else {
    static_assert(Rule == FrColorRule::kDecal);
    const uint32_t v = __glFRProduct(at, ct) + __glFRProduct(255 - at, cf);
    return v < ceiling ? v : ceiling;
  }
}

// The alpha byte by the code's rule: Af the fragment alpha, At the texel
// alpha, Ac the environment alpha.
template <FrAlphaRule Rule>
inline uint32_t FrTexAlpha(uint32_t af, uint32_t at, uint32_t ac) {
  if constexpr (Rule == FrAlphaRule::kFragment) return af;
  else if constexpr (Rule == FrAlphaRule::kTexel) return at;
  else if constexpr (Rule == FrAlphaRule::kModulate) return __glFRProduct(at, af);
  else return __glFRProduct(255 - at, af) + __glFRProduct(at, ac);
}
