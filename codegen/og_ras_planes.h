// The setup's attribute planes: depth, colour or index, alpha, the flat
// colour and packed pixel, texture coordinates, and the per-triangle words.
#pragma once

#include <stdint.h>

#include "codegen/og_ras_setup.h"

namespace og_setup {

// Bias triples: added to the value at edge A, the per-pixel step and the
// per-row step, they leave the fixed-point form in the low word.
struct alignas(8) OgBiasTriple {
  double edge, dx, dy;
};
extern const OgBiasTriple alpha_bias, color_no_dither_bias, color_dither_bias, z_bias,
    affine_texture_bias, mmx_q_bias;
extern const float alpha_correction_factor;

void DepthAndColorPlanes(Gen &g);
void TexturePlanes(Gen &g);
void TriangleWords(Gen &g);  // texture level 0 and the spanlet-mode words
void PlaneSubroutines(Gen &g);
// Offsets in the span record of bEdge, gEdge and rEdge at words 1 to 3.
void WriteOffsetTable(Gen &g, uint8_t *table);

}  // namespace og_setup
