// The chain picker: from a transfer's record and request, the stages of its
// chain in order (source side, conversion, expansion, destination side),
// the reader that starts a chain from the frame buffer and the renderer
// that ends one there, with the shortcuts that let table-driven renderers
// read unsigned bytes, shorts and ints in place.
#include "core/context.h"
#include "core/gl_assert.h"
#include "pixels/px_enums.h"
#include "pixels/px_modify.h"
#include "pixels/px_packer.h"
#include "pixels/px_span_procs.h"
#include "raster/s_depth.h"

namespace {

bool IsColorFormat(GLenum f) {
  return (f >= GL_RED && f <= GL_LUMINANCE_ALPHA) || f == GL_ABGR_EXT || f == GL_BGR_EXT ||
         f == GL_BGRA_EXT || f == __GL_RED_ALPHA;
}

bool Equivalent(GLenum a, GLenum b) {
  auto pair = [a, b](GLenum x, GLenum y) { return (a == x && b == y) || (a == y && b == x); };
  return a == b || pair(GL_LUMINANCE_ALPHA, __GL_RED_ALPHA) || pair(GL_LUMINANCE, GL_RED);
}

bool AllOnes(uint32_t v) { return v != 0 && (v & (v + 1)) == 0; }

// The stored depth bits of the depth buffer when its largest word is all
// ones in stored units, else 0.
int32_t DepthBits(GlContext *gc) {
  GlDepthBuffer *dfb = &gc->depthBuffer;
  const GlDepthBufferPrivate *rec = __glDepthPrivate(dfb);
  if (rec == nullptr) return 0;
  const uint32_t top = dfb->scale >> rec->shift;
  return AllOnes(top) ? 32 - __builtin_clz(top) : 0;
}

// The stages appended so far.
struct Chain {
  GlPixelSpanInfo *info;
  void Add(GlSpanModifier stage) {
    __GL_ASSERT(info->numSpanMods < __GL_MAX_SPAN_MODIFIERS, "numSpanMods < 13", "px_paths");
    info->spanModifier[info->numSpanMods++] = stage;
  }
  // The last stage must be the unpack or pack stage a shortcut drops.
  void DropLast() { info->numSpanMods--; }
};

// What every rule of the picker derives from the record and the request.
struct Derived {
  bool render1to1, noShrink, readInPlace, skip, srcSwap, dstSwap, modify, expand;
  bool srcMisaligned, dstMisaligned, srcConvert, dstConvert, clampPre, clampPost;
};

// The modify flag of a source format, as the request applies it.
bool ModifyFlag(const GlPixelModifyState &m, GLenum format) {
  switch (format) {
    case GL_COLOR_INDEX:
      return m.modifyCI;
    case GL_STENCIL_INDEX:
      return m.modifyStencil;
    case GL_DEPTH_COMPONENT:
      return m.modifyDepth;
    default:
      return IsColorFormat(format) && m.modifyRGBA;
  }
}

bool Misaligned(GLenum type, const void *image, int32_t elementSize) {
  return type != GL_BITMAP && elementSize > 0 && uintptr_t(image) % uint32_t(elementSize) != 0;
}

Derived Derive(GlContext *gc, const GlPixelSpanInfo *info, const GlSpanPickRequest *req) {
  const GlPixelModifyState &m = gc->pixel.modify;
  const bool toFrameBuffer = req->destination == __GL_SPAN_FRAMEBUFFER;
  const GLfloat z = toFrameBuffer ? gc->pixel.transferMode.zoomX : 1.0f;
  const bool copyImage = req->path == __GL_SPAN_PATH_COPY_IMAGE;
  Derived d;
  d.render1to1 = z >= -1.0f && z <= 1.0f;
  d.noShrink = !(z > -1.0f && z < 1.0f);
  d.readInPlace = info->srcPackedData && d.noShrink;
  d.skip = !d.noShrink && info->srcType != GL_BITMAP;
  d.srcSwap = info->srcSwapBytes && info->srcElementSize > 1;
  d.dstSwap = info->dstSwapBytes && info->dstElementSize > 1;
  d.modify = req->applyModify && ModifyFlag(m, info->srcFormat);
  d.expand = !(copyImage && !d.modify && Equivalent(info->srcFormat, info->dstFormat));
  d.srcMisaligned = Misaligned(info->srcType, info->srcImage, info->srcElementSize);
  d.dstMisaligned = Misaligned(info->dstType, info->dstImage, info->dstElementSize);
  d.srcConvert = info->srcType != GL_FLOAT && !info->nonComponent &&
                 (copyImage || info->dstType != GL_BITMAP);
  d.dstConvert = info->dstType != GL_FLOAT && !info->nonComponent &&
                 (copyImage || info->srcType != GL_BITMAP);
  // Sources that the transfer will modify keep their range for it; the
  // flags count only when the request applies the transfer.
  const GLenum t = info->srcType;
  const bool integral =
      t == GL_BITMAP || t == GL_UNSIGNED_BYTE || t == GL_UNSIGNED_SHORT || t == GL_UNSIGNED_INT;
  const bool indexed = info->srcFormat == GL_COLOR_INDEX || info->srcFormat == GL_STENCIL_INDEX;
  const bool modified = req->applyModify && (info->srcFormat == GL_DEPTH_COMPONENT
                                                 ? m.modifyDepth
                                                 : m.modifyRGBA);
  d.clampPre = info->applyClamp && req->source != __GL_SPAN_FRAMEBUFFER && !integral &&
               !indexed && !modified;
  d.clampPost = req->applyModify && d.clampPre;
  return d;
}

// Direct packers of unsigned-byte texels, by internal packed type and
// component count; null where none exists.
GlSpanModifier TexelPacker(GLenum type, int32_t components) {
  switch (type) {
    case __GL_PACKED_565:
      return components == 1   ? __glSpanPackL8ToRGB565
             : components == 3 ? __glSpanPackRGB8ToRGB565
             : components == 4 ? __glSpanPackRGBA8ToRGB565
                               : nullptr;
    case __GL_PACKED_X555:
      return components == 1   ? __glSpanPackL8ToXRGB1555
             : components == 3 ? __glSpanPackRGB8ToXRGB1555
             : components == 4 ? __glSpanPackRGBA8ToXRGB1555
                               : nullptr;
    case __GL_PACKED_1555:
      return components == 2   ? __glSpanPackLA8ToARGB1555
             : components == 4 ? __glSpanPackRGBA8ToARGB1555
                               : nullptr;
    case __GL_PACKED_4444:
      return components == 2   ? __glSpanPackLA8ToARGB4
             : components == 4 ? __glSpanPackRGBA8ToARGB4
                               : nullptr;
    default:
      return nullptr;
  }
}

// True when the transfer needs no general chain: unsigned-byte texels
// copied as they are or packed by one direct packer.
bool PickTexelPacker(const GlPixelSpanInfo *info, const Derived &d, Chain &chain,
                     const GlSpanPickRequest *req) {
  if (req->path != __GL_SPAN_PATH_COPY_IMAGE || info->srcType != GL_UNSIGNED_BYTE) return false;
  if (info->dstType != GL_UNSIGNED_BYTE && !isPackedType(info->dstType)) return false;
  if (d.skip || d.modify || d.srcMisaligned || d.dstMisaligned || d.clampPre || d.clampPost)
    return false;
  if (info->dstType == GL_UNSIGNED_BYTE) return !d.expand;
  GlSpanModifier packer = TexelPacker(info->dstType, info->srcComponents);
  if (packer == nullptr) return false;
  chain.Add(packer);
  return true;
}

// ---- Source side ----

GlPixelSpanProc Reader(GlContext *gc, int slot, const Derived &d) {
  return gc->procs.readSpans[slot + (d.noShrink ? 1 : 0)];
}

// A frame-buffer source: the reader and the transfer of what it reads.
GlPixelSpanProc PickFrameBufferSource(GlContext *gc, const GlPixelSpanInfo *info,
                                      const GlSpanPickRequest *req, const Derived &d,
                                      Chain &chain, bool &dropPack) {
  const GlPixelModifyState &m = gc->pixel.modify;
  const bool apply = req->applyModify != 0;
  const GLenum format = info->dstFormat;
  GlPixelSpanProc reader = nullptr;
  if (format == GL_STENCIL_INDEX) {
    reader = Reader(gc, __GL_SPAN_STENCIL, d);
    if (apply && m.modifyStencil) chain.Add(__glSpanModifyStencil);
  } else if (format == GL_DEPTH_COMPONENT) {
    reader = Reader(gc, __GL_SPAN_DEPTH, d);
    if (apply && m.modifyDepth) chain.Add(__glSpanModifyDepth);
  } else if (format == GL_COLOR_INDEX) {
    reader = Reader(gc, __GL_SPAN_CI, d);
    if (apply && m.modifyCI) chain.Add(__glSpanModifyCI);
  } else if (IsColorFormat(format) || format == GL_INTENSITY) {
    if (gc->modes.colorIndexMode) {
      reader = Reader(gc, __GL_SPAN_CI, d);
      chain.Add(__glSpanModifyCI);
    } else {
      reader = Reader(gc, __GL_SPAN_RGBA, d);
      if (apply && m.modifyRGBA) {
        chain.Add(__glSpanPreUnscaleRGBA);
        chain.Add(__glSpanModifyRGBA);
      }
    }
  }
  __GL_ASSERT(reader != nullptr, "spanReader", "px_paths");
  // Unsigned-int depth straight from the buffer's bits.
  if (req->path == __GL_SPAN_PATH_READ && info->dstType == GL_UNSIGNED_INT &&
      format == GL_DEPTH_COMPONENT && !(apply && m.modifyDepth) && DepthBits(gc) != 0) {
    __GL_ASSERT(d.dstConvert, "dstConvert", "px_paths");
    reader = __glSpanReadDepthUint2;
    dropPack = true;
  }
  return reader;
}

GlSpanModifier UnpackStage(GLenum format, GLenum type, int32_t &spanComponents) {
  const bool indexed = format == GL_COLOR_INDEX || format == GL_STENCIL_INDEX;
  switch (type) {
    case GL_BYTE:
      return indexed ? __glSpanUnpackByteI : __glSpanUnpackByte;
    case GL_UNSIGNED_BYTE:
      return indexed ? __glSpanUnpackUbyteI : __glSpanUnpackUbyte;
    case GL_SHORT:
      return indexed ? __glSpanUnpackShortI : __glSpanUnpackShort;
    case GL_UNSIGNED_SHORT:
      return indexed ? __glSpanUnpackUshortI : __glSpanUnpackUshort;
    case GL_INT:
      return indexed ? __glSpanUnpackIntI : __glSpanUnpackInt;
    case GL_UNSIGNED_INT:
      return indexed ? __glSpanUnpackUintI : __glSpanUnpackUint;
    default:
      break;
  }
  struct Packed {
    GLenum type;
    GlSpanModifier stage;
    int32_t components;
  };
  static constexpr Packed kPacked[] = {
      {GL_UNSIGNED_BYTE_3_3_2_EXT, __glSpanUnpack332Ubyte, 3},
      {GL_UNSIGNED_SHORT_4_4_4_4_EXT, __glSpanUnpack4444Ushort, 4},
      {GL_UNSIGNED_SHORT_5_5_5_1_EXT, __glSpanUnpack5551Ushort, 4},
      {GL_UNSIGNED_INT_8_8_8_8_EXT, __glSpanUnpack8888Uint, 4},
      {GL_UNSIGNED_INT_10_10_10_2_EXT, __glSpanUnpack_10_10_10_2_Uint, 4},
      {__GL_PACKED_565, __glSpanUnpack565Ushort, 3},
      {__GL_PACKED_X555, __glSpanUnpackX555Ushort, 3},
      {__GL_PACKED_1555, __glSpanUnpack1555Ushort, 4},
      {__GL_PACKED_4444, __glSpanUnpackARGB4444Ushort, 4},
  };
  for (const Packed &p : kPacked)
    if (p.type == type) {
      spanComponents = p.components;
      return p.stage;
    }
  return nullptr;
}

// Stage of step 5: the format's components to RGBA groups, or its transfer.
struct ExpandRow {
  GLenum format;
  GlSpanModifier modify, scaled, unscaled;
  bool zeroFill;
};
constexpr ExpandRow kExpand[] = {
    {GL_INTENSITY, nullptr, __glSpanExpandIntensity, __glSpanExpandIntensityNS, true},
    {GL_BGR_EXT, __glSpanModifyBGR, __glSpanExpandBGR, __glSpanExpandBGRNS, true},
    {GL_BGRA_EXT, __glSpanModifyBGRA, __glSpanScaleBGRA, __glSpanPreReorderBGRA, false},
    {GL_ABGR_EXT, __glSpanModifyABGR, __glSpanScaleABGR, __glSpanPreReorderABGR, false},
    {GL_RED, __glSpanModifyRed, __glSpanExpandRed, __glSpanExpandRedNS, true},
    {GL_GREEN, __glSpanModifyGreen, __glSpanExpandGreen, __glSpanExpandGreenNS, true},
    {GL_BLUE, __glSpanModifyBlue, __glSpanExpandBlue, __glSpanExpandBlueNS, true},
    {GL_ALPHA, __glSpanModifyAlpha, __glSpanExpandAlpha, __glSpanExpandAlphaNS, false},
    {GL_RGB, __glSpanModifyRGB, __glSpanExpandRGB, __glSpanExpandRGBNS, true},
    {GL_RGBA, __glSpanModifyRGBA, __glSpanScaleRGBA, nullptr, false},
    {GL_LUMINANCE, __glSpanModifyLuminance, __glSpanExpandLuminance, __glSpanExpandLuminanceNS,
     true},
    {GL_LUMINANCE_ALPHA, __glSpanModifyLuminanceAlpha, __glSpanExpandLuminanceAlpha,
     __glSpanExpandLuminanceAlphaNS, false},
    {__GL_RED_ALPHA, __glSpanModifyRedAlpha, __glSpanExpandRedAlpha, __glSpanExpandRedAlphaNS,
     false},
};

void PickExpand(GlPixelSpanInfo *info, const Derived &d, Chain &chain) {
  const GLenum format = info->srcFormat;
  if (format == GL_STENCIL_INDEX) {
    if (d.modify) chain.Add(__glSpanModifyStencil);
    return;
  }
  if (format == GL_DEPTH_COMPONENT) {
    if (d.modify) chain.Add(__glSpanModifyDepth);
    return;
  }
  if (format == GL_COLOR_INDEX) {
    if (d.modify) chain.Add(__glSpanModifyCI);
    return;
  }
  for (const ExpandRow &row : kExpand) {
    if (row.format != format) continue;
    GlSpanModifier stage =
        d.modify && row.modify ? row.modify : info->applyScale ? row.scaled : row.unscaled;
    if (stage) chain.Add(stage);
    if (row.zeroFill && info->zeroFillAlpha) chain.Add(__glSpanZeroFillAlpha);
    return;
  }
  __GL_ASSERT(false, "expand format", "px_paths");
}

// A memory source: byte order and sampling, conversion to floats, clamp,
// bitmap bits and expansion, in this order.
void PickMemorySource(GlPixelSpanInfo *info, const Derived &d, Chain &chain) {
  const bool two = info->srcElementSize == 2;
  if (d.srcSwap) {
    chain.Add(d.skip ? (two ? __glSpanSwapAndSkipBytes2 : __glSpanSwapAndSkipBytes4)
                     : (two ? __glSpanSwapBytes2 : __glSpanSwapBytes4));
  } else if (!d.srcMisaligned) {
    if (d.skip)
      chain.Add(info->srcElementSize == 1 ? __glSpanSkipPixels1
                : two                     ? __glSpanSkipPixels2
                                          : __glSpanSkipPixels4);
  } else {
    chain.Add(d.skip ? (two ? __glSpanSlowSkipPixels2 : __glSpanSlowSkipPixels4)
                     : (two ? __glSpanAlignPixels2 : __glSpanAlignPixels4));
  }
  if (d.srcConvert) {
    if (info->srcType != GL_BITMAP) {
      int32_t components = info->srcSpanComponents;
      GlSpanModifier unpack = UnpackStage(info->srcFormat, info->srcType, components);
      __GL_ASSERT(unpack != nullptr, "unpack type", "px_paths");
      info->srcSpanComponents = components;
      chain.Add(unpack);
    }
  } else if (info->nonComponent) {
    chain.Add(__glSpanUnpackNonCompUint);
  }
  if (d.clampPre) chain.Add(__glSpanClampPreFloat);
  if (info->srcType == GL_BITMAP)
    chain.Add(d.noShrink ? __glSpanUnpackBitmap2 : __glSpanUnpackBitmap);
  if (d.expand) PickExpand(info, d, chain);
}

// ---- Destination side ----

// The draw path's table-driven renderers: they read the client's unsigned
// bytes (sampled by one stage when the zoom shrinks), shorts or ints.
GlPixelSpanProc PickDrawShortcut(GlContext *gc, GlPixelSpanInfo *info, const Derived &d,
                                 int32_t first, Chain &chain, GlPixelSpanProc renderer) {
  GlPixelModifyState &m = gc->pixel.modify;
  const GLenum format = info->srcFormat, type = info->srcType;
  const bool oneToOne = d.render1to1;
  // Restarts the chain with at most the sampling stage.
  auto reset = [&](GlSpanModifier sample) {
    __GL_ASSERT(d.readInPlace || !d.noShrink, "!zoomx2", "px_paths");
    info->numSpanMods = first;
    if (!d.readInPlace) chain.Add(sample);
  };
  auto dropUnpack = [&]() {
    __GL_ASSERT(d.srcConvert, "srcConvert", "px_paths");
    chain.DropLast();
  };
  auto setTables = [&m](GLfloat *const *tables, int count) {
    for (int i = 0; i < count; i++) m.currentTables[i] = tables[i];
  };
  if (type == GL_UNSIGNED_BYTE) {
    if (format == GL_COLOR_INDEX) {
      if (!m.modifyCI) {
        setTables(&m.colorScale[__GL_PIXEL_TABLE_INDEX], 1);
        reset(__glSpanUnpackIndexUbyte);
        return oneToOne ? __glSpanRenderCIubyte2 : __glSpanRenderCIubyte;
      }
      if (!gc->modes.colorIndexMode) {
        if (!m.itoRgbaValid && !__glBuildItoRGBAModifyTables(gc, &m)) return renderer;
        setTables(m.itoRgbaTables, 4);
        reset(__glSpanUnpackIndexUbyte);
        return oneToOne ? __glSpanRenderCIubyte4 : __glSpanRenderCIubyte3;
      }
      if (!m.itoiValid && !__glBuildItoIModifyTables(gc, &m)) return renderer;
      setTables(&m.itoiTable, 1);
      reset(__glSpanUnpackIndexUbyte);
      return oneToOne ? __glSpanRenderCIubyte2 : __glSpanRenderCIubyte;
    }
    if (format == GL_STENCIL_INDEX) {
      if (m.modifyStencil) return renderer;
      reset(__glSpanUnpackIndexUbyte);
      return oneToOne ? __glSpanRenderStencilUbyte2 : __glSpanRenderStencilUbyte;
    }
    if (format == GL_RGB || format == GL_RGBA) {
      if (m.modifyRGBA) {
        if (!m.rgbaValid && !__glBuildRGBAModifyTables(gc, &m)) return renderer;
        setTables(m.rgbaTables, 4);
      } else {
        setTables(m.colorScale, 4);
      }
      if (format == GL_RGB) {
        reset(__glSpanUnpackRGBubyte);
        return oneToOne ? __glSpanRenderRGBubyte2 : __glSpanRenderRGBubyte;
      }
      reset(__glSpanUnpackRGBAubyte);
      return oneToOne ? __glSpanRenderRGBAubyte2 : __glSpanRenderRGBAubyte;
    }
    return renderer;
  }
  if (type == GL_UNSIGNED_SHORT) {
    if (format == GL_COLOR_INDEX && !m.modifyCI) {
      dropUnpack();
      return oneToOne ? __glSpanRenderCIushort2 : __glSpanRenderCIushort;
    }
    if (format == GL_STENCIL_INDEX && !m.modifyStencil) {
      dropUnpack();
      return oneToOne ? __glSpanRenderStencilUshort2 : __glSpanRenderStencilUshort;
    }
    return renderer;
  }
  if (type == GL_UNSIGNED_INT) {
    if (format == GL_COLOR_INDEX && !m.modifyCI) {
      dropUnpack();
      return oneToOne ? __glSpanRenderCIuint2 : __glSpanRenderCIuint;
    }
    const GlDepthBufferPrivate *rec = __glDepthPrivate(&gc->depthBuffer);
    if (format == GL_DEPTH_COMPONENT && !m.modifyDepth && rec && AllOnes(rec->depthMask) &&
        DepthBits(gc) != 0) {
      dropUnpack();
      return oneToOne ? __glSpanRenderDepthUint2 : __glSpanRenderDepthUint;
    }
  }
  return renderer;
}

GlPixelSpanProc PickFrameBufferDestination(GlContext *gc, GlPixelSpanInfo *info,
                                           const GlSpanPickRequest *req, const Derived &d,
                                           int32_t first, Chain &chain) {
  const GLenum format = info->dstFormat;
  int slot = format == GL_COLOR_INDEX       ? __GL_SPAN_CI
             : format == GL_STENCIL_INDEX   ? __GL_SPAN_STENCIL
             : format == GL_DEPTH_COMPONENT ? __GL_SPAN_DEPTH
                                            : __GL_SPAN_RGBA;
  GlPixelSpanProc renderer = gc->procs.renderSpans[slot + (d.render1to1 ? 1 : 0)];
  if (req->path == __GL_SPAN_PATH_DRAW)
    renderer = PickDrawShortcut(gc, info, d, first, chain, renderer);
  return renderer;
}

GlSpanModifier ReduceStage(GLenum format, const GlSpanPickRequest *req, bool scale) {
  const bool read = req->path == __GL_SPAN_PATH_READ;
  switch (format) {
    case GL_RED:
    case GL_INTENSITY:
      return scale ? __glSpanReduceRed : __glSpanReduceRedNS;
    case GL_GREEN:
      return scale ? __glSpanReduceGreen : __glSpanReduceGreenNS;
    case GL_BLUE:
      return scale ? __glSpanReduceBlue : __glSpanReduceBlueNS;
    case GL_ALPHA:
      return scale ? __glSpanReduceAlpha : __glSpanReduceAlphaNS;
    case GL_RGB:
      return scale ? __glSpanReduceRGB : __glSpanReduceRGBNS;
    case GL_RGBA:
      return scale ? __glSpanPostUnscaleRGBA : nullptr;
    case GL_LUMINANCE:
      if (read) return scale ? __glSpanReduceLuminance : __glSpanReduceRedNS;
      return scale ? __glSpanReduceRed : __glSpanReduceRedNS;
    case GL_LUMINANCE_ALPHA:
      if (read) return scale ? __glSpanReduceLuminanceAlpha : __glSpanReduceRedAlphaNS;
      return scale ? __glSpanReduceRedAlpha : __glSpanReduceRedAlphaNS;
    case GL_ABGR_EXT:
      return scale ? __glSpanReorderABGR : __glSpanReorderABGRNS;
    case GL_BGR_EXT:
      return scale ? __glSpanReduceBGR : __glSpanReduceBGRNS;
    case GL_BGRA_EXT:
      return scale ? __glSpanReorderBGRA : __glSpanReorderBGRANS;
    case __GL_RED_ALPHA:
      return scale ? __glSpanReduceRedAlpha : __glSpanReduceRedAlphaNS;
    default:
      return nullptr;
  }
}

GlSpanModifier PackStage(GlPixelSpanInfo *info) {
  const GLenum type = info->dstType;
  const GLenum format = info->dstFormat;
  if (format == GL_COLOR_INDEX || format == GL_STENCIL_INDEX) {
    switch (type) {
      case GL_BITMAP: return __glSpanPackBitmap;
      case GL_BYTE: return __glSpanPackByteI;
      case GL_UNSIGNED_BYTE: return __glSpanPackUbyteI;
      case GL_SHORT: return __glSpanPackShortI;
      case GL_UNSIGNED_SHORT: return __glSpanPackUshortI;
      case GL_INT: return __glSpanPackIntI;
      case GL_UNSIGNED_INT: return __glSpanPackUintI;
      default: return nullptr;
    }
  }
  struct Row {
    GLenum type;
    GlSpanModifier stage;
    int32_t components;  // 0: as the format has them
  };
  static constexpr Row kPack[] = {
      {GL_BYTE, __glSpanPackByte, 0},
      {GL_UNSIGNED_BYTE, __glSpanPackUbyte, 0},
      {GL_SHORT, __glSpanPackShort, 0},
      {GL_UNSIGNED_SHORT, __glSpanPackUshort, 0},
      {GL_INT, __glSpanPackInt, 0},
      {GL_UNSIGNED_INT, __glSpanPackUint, 0},
      {GL_UNSIGNED_BYTE_3_3_2_EXT, __glSpanPack332Ubyte, 3},
      {GL_UNSIGNED_SHORT_4_4_4_4_EXT, __glSpanPack4444Ushort, 4},
      {GL_UNSIGNED_SHORT_5_5_5_1_EXT, __glSpanPack5551Ushort, 4},
      {GL_UNSIGNED_INT_8_8_8_8_EXT, __glSpanPack8888Uint, 4},
      {GL_UNSIGNED_INT_10_10_10_2_EXT, __glSpanPack_10_10_10_2_Uint, 4},
      {__GL_PACKED_565, __glSpanPack565Ushort, 3},
      {__GL_PACKED_X555, __glSpanPackX555Ushort, 3},
      {__GL_PACKED_1555, __glSpanPack1555Ushort, 4},
      {__GL_PACKED_4444, __glSpanPackARGB4444Ushort, 4},
  };
  for (const Row &r : kPack)
    if (r.type == type) {
      if (r.components) info->dstSpanComponents = r.components;
      return r.stage;
    }
  return nullptr;
}

GlSpanModifier NonComponentPack(GLenum type) {
  switch (type) {
    case GL_BYTE: return __glSpanPackNonCompByte;
    case GL_UNSIGNED_BYTE: return __glSpanPackNonCompUbyte;
    case GL_SHORT: return __glSpanPackNonCompShort;
    case GL_UNSIGNED_SHORT: return __glSpanPackNonCompUshort;
    case GL_INT: return __glSpanPackNonCompInt;
    case GL_UNSIGNED_INT: return __glSpanPackNonCompUint;
    default: return nullptr;
  }
}

void PickMemoryDestination(GlPixelSpanInfo *info, const GlSpanPickRequest *req, const Derived &d,
                           bool dropPack, Chain &chain) {
  if (d.expand) {
    if (GlSpanModifier reduce = ReduceStage(info->dstFormat, req, info->applyScale != 0))
      chain.Add(reduce);
  }
  if (d.clampPost) {
    const GLenum t = info->srcType;
    if (t == GL_BYTE || t == GL_SHORT || t == GL_INT) chain.Add(__glSpanClampSigned);
    if (t == GL_FLOAT) chain.Add(__glSpanClampPostFloat);
  }
  if (!d.dstConvert) {
    if (info->nonComponent) {
      GlSpanModifier pack = NonComponentPack(info->dstType);
      __GL_ASSERT(pack != nullptr, "pack type", "px_paths");
      chain.Add(pack);
    }
  } else if (!dropPack) {
    GlSpanModifier pack = PackStage(info);
    __GL_ASSERT(pack != nullptr, "pack type", "px_paths");
    chain.Add(pack);
  }
  const bool two = info->dstElementSize == 2;
  if (d.dstSwap)
    chain.Add(two ? __glSpanSwapBytes2Dst : __glSpanSwapBytes4Dst);
  else if (d.dstMisaligned)
    chain.Add(two ? __glSpanAlignPixels2Dst : __glSpanAlignPixels4Dst);
}

}  // namespace

void PickSpanModifiers(GlContext *gc, GlPixelSpanInfo *info, GlSpanPickRequest *req) {
  Chain chain{info};
  const int32_t first = info->numSpanMods;
  const Derived d = Derive(gc, info, req);
  req->reader = nullptr;
  req->renderer = nullptr;
  info->spanWidth = info->width;
  __GL_ASSERT(req->source == __GL_SPAN_FRAMEBUFFER || req->source == __GL_SPAN_MEMORY,
              "source kind", "px_paths");
  __GL_ASSERT(req->destination == __GL_SPAN_FRAMEBUFFER || req->destination == __GL_SPAN_MEMORY,
              "destination kind", "px_paths");
  if (PickTexelPacker(info, d, chain, req)) return;

  bool dropPack = false;
  if (req->source == __GL_SPAN_FRAMEBUFFER)
    req->reader = PickFrameBufferSource(gc, info, req, d, chain, dropPack);
  else
    PickMemorySource(info, d, chain);

  if (req->destination == __GL_SPAN_FRAMEBUFFER)
    req->renderer = PickFrameBufferDestination(gc, info, req, d, first, chain);
  else
    PickMemoryDestination(info, req, d, dropPack, chain);
}
