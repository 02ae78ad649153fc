// The sixteen named extraction spanlets: each family in each variant.
#include "fastraster/fr_tex.h"

#include "fastraster/fr_tex_extract.h"

namespace {

constexpr FrTexFamily kFamily__glGenericExtractTexels = FrTexFamily::kAffine;
constexpr FrTexFamily kFamily__glGenericExtractTexelsPC = FrTexFamily::kPC;
constexpr FrTexFamily kFamily__glGenericExtractTexelsPCRho = FrTexFamily::kPCRho;
constexpr FrTexFamily kFamily__glGenericExtractTexelsPCMipmap = FrTexFamily::kPCMipmap;

}  // namespace

#define FR_DEFINE_EXTRACT(family, variant)                                 \
  void GLFASTCALL family##_##variant(uint32_t mask, FrSpan *span) {        \
    FrExtractTexels<kFamily##family, kFrTex##variant>(mask, span);         \
  }
FR_EXTRACT_FAMILIES(FR_DEFINE_EXTRACT)
#undef FR_DEFINE_EXTRACT
