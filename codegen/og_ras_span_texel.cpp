// The textured pixel of the general span: the texel of the packed
// coordinate by the texture's base format (through the palette for an
// indexed texture in RGBA mode), combined with the colour by the
// environment, packed and stored; or the level's frame-buffer copy stored
// as it is. Every address is read at run time: the image from the span
// record, the palette through the context's current texture.
#include "codegen/og_ras_span.h"

#include "fastraster/fr_setup.h"
#include "fastraster/fr_tables.h"

namespace og_raster {
namespace {

const size_t kChannels[3] = {offsetof(FrSpan, r), offsetof(FrSpan, g), offsetof(FrSpan, b)};


// The byte layout of a texel (or palette entry) of a base format: its size
// and the byte each colour channel takes.
struct TexelLayout {
  uint32_t bytes;
  int32_t channel[3];
};

TexelLayout LayoutOf(uint32_t formatBits) {
  switch (formatBits) {
    case 1: return {2, {0, 0, 0}};  // luminance, alpha
    case 2: return {3, {0, 1, 2}};  // RGB
    case 3: return {4, {0, 1, 2}};  // RGBA
    default: return {1, {0, 0, 0}};  // luminance, intensity, alpha
  }
}

enum class Form {
  kFixed,  // 16.16 in buffer units
  kUnits,  // whole buffer units
  kLo8,    // an 8-bit component
};

uint32_t FormatBits(const Gen &g) { return (g.key2 >> kKeyBaseFormatShift) & 7; }
bool IndexedTexture(const Gen &g) { return (g.key2 & kKeyColorIndexTexture) != 0; }
bool DirectCopy(const Gen &g) { return (g.key2 & kKeyAuxImage) != 0; }
uint32_t BitCount(uint32_t max) { return uint32_t(log2(max)) + 1; }

// ebx = base + eax x bytes; eax is lost.
void Index(Gen &g, uint32_t bytes) {
  GlContext *gc = g.gc;
  switch (bytes) {
    case 1: g.E(add(gc, ebx, eax)); break;
    case 2: g.E(lea(gc, ebx, mem(gc, nullptr, ebx, eax, 2))); break;
    case 3:
      g.E(lea(gc, eax, mem(gc, nullptr, eax, eax, 2)));
      g.E(add(gc, ebx, eax));
      break;
    default: g.E(lea(gc, ebx, mem(gc, nullptr, ebx, eax, 4)));
  }
}

// ebx = the texel of the packed coordinate: the top heightLog2 bits of the
// upper half are the row, the top widthLog2 bits of the lower half the
// column, so that coordinates repeat across the texture.
void TexelAddress(Gen &g, uint32_t bytes) {
  GlContext *gc = g.gc;
  g.E(mov(gc, eax, PackedCoord(g)));
  if (g.heightLog2 > 0) {
    g.E(mov(gc, ecx, eax));
    g.E(shr(gc, ecx, g.V(32 - g.heightLog2)));
    if (g.widthLog2) g.E(shl(gc, ecx, g.V(g.widthLog2)));
  }
  g.E(and_(gc, eax, g.V(0xFFFF)));
  g.E(shr(gc, eax, g.V(16 - g.widthLog2)));
  if (g.heightLog2 > 0) g.E(or_(gc, eax, ecx));
  g.E(mov(gc, ebx, g.F(offsetof(FrSpan, texImage))));
  Index(g, bytes);
}

// ebx = the palette entry of the index byte at ebx; the index wraps at the
// table's width, so no index reads past the table.
void PaletteEntry(Gen &g, uint32_t bytes) {
  GlContext *gc = g.gc;
  g.E(movzx(gc, eax, mem2(gc, nullptr, ebx)));
  g.E(mov(gc, edx, g.Abs(&gc->texture.current)));
  g.E(mov(gc, ecx, mem2(gc, g.V(offsetof(GlTextureObject, colorTable.width)), edx)));
  g.E(dec(gc, ecx));
  g.E(and_(gc, eax, ecx));
  g.E(mov(gc, ebx, mem2(gc, g.V(offsetof(GlTextureObject, colorTable.table)), edx)));
  Index(g, bytes);
}

OgCode *TexelByte(Gen &g, int32_t offset) {
  return mem2(g.gc, offset ? g.V(offset) : nullptr, ebx);
}

// eax = S[c] + S[t] - S[c - t] over __glSquareTable2, within one of
// c x t / 255, for c in eax (0 to 255) and t in edx.
void SquareProduct(Gen &g) {
  GlContext *gc = g.gc;
  OgCode *middle = g.V(int32_t(uintptr_t(__glSquareTable2.data() + 256)));
  g.E(movzx(gc, ecx, mem2(gc, middle, eax)));
  g.E(sub(gc, eax, edx));
  g.E(movzx(gc, eax, mem2(gc, middle, eax)));
  g.E(sub(gc, ecx, eax));
  g.E(movzx(gc, eax, mem2(gc, middle, edx)));
  g.E(add(gc, eax, ecx));
}

// eax = channel c of the combined colour, in the form returned.
Form Combine(Gen &g, SpanLabels &l, int c, int32_t offset, uint32_t max) {
  GlContext *gc = g.gc;
  if (g.env == GL_REPLACE) {
    g.E(movzx(gc, eax, TexelByte(g, offset)));
    return Form::kLo8;
  }
  const Form product = g.dither ? Form::kLo8 : Form::kUnits;
  if (!g.colorIterated) {
    // The channel's __glBlendTab row, chosen once per triangle.
    g.E(mov(gc, eax, g.Local(g.blendRows + 4 * c)));
    g.E(movzx(gc, edx, TexelByte(g, offset)));
    g.E(movzx(gc, eax, mem(gc, nullptr, eax, edx, 1)));
    return product;
  }
  // With dither the colour's 8-bit value, else its buffer units.
  g.E(mov(gc, eax, g.F(kChannels[c])));
  g.E(sar(gc, eax, g.V(g.dither ? int32_t(BitCount(max)) + 8 : 16)));
  LimitChannel(g, l, g.dither ? 255 : max);
  g.E(movzx(gc, edx, TexelByte(g, offset)));
  SquareProduct(g);
  return product;
}

// eax, in `form`, limited, at its shift and gathered into the accumulator.
void Gather(Gen &g, SpanLabels &l, int c, Form form, uint32_t max, uint32_t shift) {
  GlContext *gc = g.gc;
  const int32_t bits = int32_t(BitCount(max));
  if (form == Form::kLo8 && !g.dither) {
    // The top bits of the byte, truncated.
    const int32_t low = 7 - log2(max);
    g.E(and_(gc, eax, g.V(int32_t(max << low))));
    g.cb = gobit(gc, g.cb, eax, low, int32_t(shift));
  } else {
    if (form == Form::kLo8) {
      // To the buffer's precision, then 16.16 for the dither.
      g.E(mov(gc, edx, eax));
      g.E(shr(gc, edx, g.V(bits)));
      g.E(sub(gc, eax, edx));
      g.E(shl(gc, eax, g.V(bits + 8)));
      form = Form::kFixed;
    }
    if (form == Form::kFixed) {
      if (g.dither) g.E(add(gc, eax, DitherWord(g)));
      g.E(sar(gc, eax, g.V(16)));
    }
    LimitChannel(g, l, max);
    if (shift) g.E(shl(gc, eax, g.V(int32_t(shift))));
  }
  OgCode *acc = PixelWord(g);
  g.E(c == 0 ? mov(gc, acc, eax) : or_(gc, acc, eax));
}

void DitherValue(Gen &g) {
  GlContext *gc = g.gc;
  g.E(mov(gc, eax, g.Local(g.ditherColumn)));
  g.E(mov(gc, ecx, g.F(offsetof(FrSpan, ditherRow))));
  g.E(mov(gc, ecx, mem(gc, nullptr, ecx, eax, 4)));
  g.E(mov(gc, DitherWord(g), ecx));
}

// Colour-index mode: the index byte is the texel; GL_ADD adds it to the
// index, inside the 16.16 value when dithering.
void IndexPixel(Gen &g) {
  GlContext *gc = g.gc;
  if (g.env == GL_ADD) {
    g.E(mov(gc, edx, g.F(offsetof(FrSpan, r))));
    g.E(movzx(gc, eax, TexelByte(g, 0)));
    if (g.dither) {
      g.E(shl(gc, eax, g.V(16)));
      g.E(add(gc, edx, eax));
      g.E(add(gc, edx, DitherWord(g)));
      g.E(shr(gc, edx, g.V(16)));
    } else {
      g.E(shr(gc, edx, g.V(16)));
      g.E(add(gc, edx, eax));
    }
  } else {
    g.E(movzx(gc, edx, TexelByte(g, 0)));
  }
  WrapIndex(g);
  StorePixel(g);
}

void CopyPixel(Gen &g) {
  GlContext *gc = g.gc;
  OgCode *from = TexelByte(g, 0);
  switch (g.bpp) {
    case 1: g.E(mov(gc, dl, from)); break;
    case 2: g.E(movzxw(gc, edx, from)); break;
    default: g.E(mov(gc, edx, from));
  }
  StorePixel(g);
}

// The environments and formats this code combines; the others (GL_DECAL
// on a texture with alpha, GL_BLEND, GL_ALPHA textures) draw the colour
// alone.
bool Combines(const Gen &g) {
  if (!g.rgba) return g.env == GL_REPLACE || g.env == GL_ADD;
  return (g.env == GL_REPLACE || g.env == GL_MODULATE) && FormatBits(g) != 5;
}

}  // namespace

void TexturePixel(Gen &g, SpanLabels &l) {
  GlContext *gc = g.gc;
  if (!Combines(g)) {
    SpanPixel(g, l);
    return;
  }
  if (DirectCopy(g)) {
    TexelAddress(g, g.bpp);
    CopyPixel(g);
    return;
  }
  const TexelLayout layout = LayoutOf(g.rgba ? FormatBits(g) : 0);
  const bool indexed = IndexedTexture(g) && g.rgba;
  TexelAddress(g, indexed || !g.rgba ? 1 : layout.bytes);
  if (indexed) PaletteEntry(g, layout.bytes);
  if (g.dither) DitherValue(g);
  if (!g.rgba) {
    IndexPixel(g);
    return;
  }
  const GlColorBuffer *cfb = gc->drawBuffer;
  const uint32_t max[3] = {cfb->redMax, cfb->greenMax, cfb->blueMax};
  const uint32_t shift[3] = {cfb->redShift, cfb->greenShift, cfb->blueShift};
  for (int c = 0; c < 3; c++) {
    const Form form = Combine(g, l, c, layout.channel[c], max[c]);
    Gather(g, l, c, form, max[c], shift[c]);
  }
  g.E(mov(gc, edx, PixelWord(g)));
  StorePixel(g);
}

}  // namespace og_raster
