// The table of procedures picked for the current state (the context's
// `procs`). Every slot is plain cdecl unless it says otherwise and takes the
// context first (the arena procedures take the arena, the matrix helpers the
// matrices, the fragment stores the colour buffer). Slots that generated code
// fills or calls are fastcall (GLFASTCALL). The order is fixed: generated
// code addresses slots by offset from the context.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include "core/calling.h"
#include "core/gl_defs.h"
#include "raster/s_span_procs.h"

struct GlContext;
struct GlVertex;
struct GlArena;
struct GlMatrix;
struct GlTransform;
struct GlMaterial;
struct GlMaterialCache;
struct GlColor;
struct GlColorBuffer;
struct GlFragment;
struct GlEdgeWalker;
struct GlBitmap;
struct GlPixelSpanInfo;
struct GlTextureObject;
struct FrSpan;

typedef void (*GlContextProc)(GlContext *gc);
typedef void (*GlPickMatrixProc)(GlContext *gc, GlMatrix *m);
typedef void (*GlVertexProc)(GlContext *gc, GlVertex *v);
typedef void (*GlLineProc)(GlContext *gc, GlVertex *a, GlVertex *b);
typedef void(GLFASTCALL *GlTriangleProc)(GlContext *gc, GlVertex *a, GlVertex *b, GlVertex *c);
typedef void(GLFASTCALL *GlFillTriangleProc)(GlContext *gc, GlVertex *a, GlVertex *b,
                                             GlVertex *c);
// The colour of one vertex for one face (0 front, 1 back).
typedef void (*GlCalcColorProc)(GlContext *gc, GLint face, GlVertex *v);
// A clip-made vertex: dst = b + t (a - b) for every attribute in use (t runs
// from the inside end b towards the outside end a).
typedef void (*GlClipParamProc)(GlContext *gc, GlVertex *dst, const GlVertex *a,
                                const GlVertex *b, GLfloat t);
// A spanlet of the fast rasterizer: mask in ECX, span record in EDX.
typedef void(GLFASTCALL *FrSpanletProc)(uint32_t mask, FrSpan *span);
// A texel filter of the fast rasterizer: one texel of the texture at 16.16
// (s, t) into out as R, G, B, A bytes; lod is the level value or level
// index the filter asks for. Only compiled code calls it.
typedef void (*FrTexelFilterProc)(GlTextureObject *tex, uint32_t lod, int32_t s, int32_t t,
                                  uint8_t out[4]);
typedef void (*GlFragmentStoreProc)(GlColorBuffer *cfb, const GlFragment *frag);
// One pixel tested (and stored when it passes and writes are on).
typedef GLbool8 (*GlDepthTestPixelProc)(GlContext *gc, void *address, uint32_t z);
typedef void (*GlBlendProc)(GlContext *gc, const GlColor *a, const GlColor *b, GlColor *out);
// Moves one span of a pixel rectangle between the frame buffer and memory.
typedef void (*GlPixelSpanProc)(GlContext *gc, GlPixelSpanInfo *info, void *span);

typedef struct GlBlendProcs {
  // Front end: fetches the destination and blends into out.
  void (*blend)(GlContext *gc, GlColorBuffer *cfb, const GlFragment *frag, GlColor *out);
  GlBlendProc blendColor;
  GlBlendProc blendSrc;  // out = source x source factor
  GlBlendProc blendDst;  // out += destination x destination factor
  GlBlendProc blendAdd;  // out += term
} GlBlendProcs;

// The pixel-path block: what the pixel picker chooses for drawing pixels.
typedef struct GlPixelPathProcs {
  GlFragmentStoreProc drawPixelsStore;
} GlPixelPathProcs;

typedef struct GlProcs {
  // ---- 1-4 ----
  void (*flush)(GlContext *gc);
  void (*finish)(GlContext *gc);
  // Called by __glSetError after recording, when set. Nothing installs one:
  // it is a hook for debugging builds.
  void (*errorHook)(GlContext *gc, GLenum code);
  // Waits until the hardware no longer touches the frame buffer.
  void (*waitIdle)(GlContext *gc);
  void (*validate)(GlContext *gc);

  // ---- 5. Pickers, run by pickAllProcs in its fixed order ----
  GlContextProc pickBlendProcs;
  GlContextProc pickColorMaterialProcs;
  GlContextProc pickTextureProcs;
  GlContextProc pickCalcTextureProcs;
  GlContextProc pickFogProcs;
  GlContextProc pickTransformProcs;
  GlContextProc pickPointProcs;
  GlContextProc pickLineProcs;
  GlContextProc pickTriangleProcs;
  GlContextProc pickRenderBitmapProcs;
  GlContextProc pickPixelProcs;
  GlContextProc pickClipProcs;
  GlContextProc pickParameterClipProcs;
  GlContextProc pickBufferProcs;
  GlContextProc pickStoreProcs;
  GlContextProc pickSpanProcs;
  GlContextProc pickVertexProcs;
  GlContextProc pickVertexArrayProcs;
  GlPickMatrixProc pickMatrixProcs;
  GlPickMatrixProc pickInvTransposeProcs;
  GlPickMatrixProc pickMvpMatrixProcs;
  GlContextProc pickDepthProcs;
  GlContextProc pickAllProcs;

  // ---- 6. Matrix helpers ----
  void (*copyMatrix)(GlMatrix *dst, const GlMatrix *src);
  void (*invertTransposeMatrix)(GlMatrix *dst, const GlMatrix *src);
  void (*makeIdentity)(GlMatrix *m);
  void (*multMatrix)(GlMatrix *result, const GlMatrix *a, const GlMatrix *b);
  // The variants of the stack of the current matrix mode.
  GlContextProc pushMatrix;
  GlContextProc popMatrix;
  GlContextProc loadIdentity;
  void (*computeInverseTranspose)(GlContext *gc, GlTransform *tr);
  void (*normalize)(GLfloat dst[3], const GLfloat src[3]);

  // ---- 7. Viewport and scissor: the back end's operations ----
  GLbool8 (*applyScissor)(GlContext *gc);
  GLbool8 (*applyViewport)(GlContext *gc);
  GlContextProc computeClipBox;

  // ---- 8. Vertex processing (the vertex picker) ----
  GlVertexProc v;  // saves the current attributes into a new vertex
  // By size class 2, 3, 4: the clip codes of a vertex.
  uint32_t (*clipCheck[3])(GlContext *gc, GlVertex *v);
  // The per-vertex procedure of the primitive state machine: __glNop2
  // between glEnd and the next glBegin.
  GlVertexProc primVertex;
  // The steady procedures the pickers choose; entries 4 and 12 are end
  // procedures, called with the context alone.
  GlVertexProc primSteady[13];
  // By size class 0..3: completes the fields `needs` asks for; the new `has`.
  uint32_t (*validateVertex[4])(GlContext *gc, GlVertex *v, uint32_t needs);

  // ---- 9. Evaluators: [0] one parameter (v unused), [1] two ----
  void (*evalCoord[2])(GlContext *gc, GLfloat u, GLfloat v);

  // ---- 10. Texture coordinates ----
  GlVertexProc calcTexture;
  GlVertexProc calcTextureBase;  // what the perspective variants call
  GlVertexProc calcRasterPosTexture;

  // ---- 11. Colour ----
  // Called after every change of the current colour.
  GlContextProc applyColor;
  GlCalcColorProc calcColor;
  GlCalcColorProc calcLitColor;  // the lit colour before per-vertex fog
  GlCalcColorProc calcRasterPosColor;

  // ---- 12 ----
  // Copies the current colour into the material glColorMaterial chose.
  void (*changeMaterial)(GlContext *gc, GlMaterial *mat, GlMaterialCache *cache);
  GlContextProc matValidate;
  GlDepthTestPixelProc depthTestPixel;

  // ---- 13. Primitive state machine ----
  // Indexed by the primitive mode, GL_POINTS .. GL_POLYGON.
  void (*beginPrim[10])(GlContext *gc);
  void (*endPrim)(GlContext *gc);

  // ---- 14. Triangles ----
  GlTriangleProc renderTriangle;
  // What the window-space clipper hands each clipped triangle to (also known
  // as the wrapped render-triangle procedure).
  GlTriangleProc renderClippedTriangle;
  GlFillTriangleProc fillTriangle;
  // The fill behind the flat-fog fill (also known as the wrapped fill).
  GlFillTriangleProc fillTriangleUnfogged;
  GlTriangleProc renderTriangleTrap;
  GlTriangleProc renderTrianglePicked;  // what the trap installs

  // ---- 15. The fast rasterizer's block; the spanlet slots in chain order ----
  const void *fillTriangleSpans;  // entered only by the generated setup's jump, never called
  FrSpanletProc fillTriangleSpan;  // head of the chain
  FrSpanletProc extractTexels;
  FrSpanletProc afterMask;
  FrSpanletProc afterStipple;
  FrSpanletProc afterDepthTest;
  FrSpanletProc afterColors;
  FrSpanletProc afterAlphaTest;
  FrSpanletProc afterIndexTest;
  FrSpanletProc afterStencilTest;
  FrSpanletProc stencilOpSFail;
  FrSpanletProc stencilOpZFail;
  FrSpanletProc stencilOpZPass;
  FrSpanletProc afterStencilCleanup;
  FrSpanletProc doubleStoreSpan;
  FrTexelFilterProc texMinFilter;
  FrTexelFilterProc texMagFilter;

  // ---- 16. Clipping and rectangles ----
  // a, b, c in winding order; the OR of their clip codes.
  void (*clipTriangle)(GlContext *gc, GlVertex *a, GlVertex *b, GlVertex *c, uint32_t orCodes);
  void (*clipPolygon)(GlContext *gc, GlVertex *first, int32_t count);
  GlClipParamProc polygonClipParam;
  void (*rect)(GlContext *gc, GLfloat x0, GLfloat y0, GLfloat x1, GLfloat y1);

  // ---- 17-18. Span and line stages ----
  GlSpanProcs span;
  GlLineProcs line;

  // ---- 19. Pixel spans: read CI, CI2, RGBA, RGBA2, Depth, Depth2, Stencil,
  //          Stencil2, then render in the same order ----
  GlPixelSpanProc readSpans[8];
  GlPixelSpanProc renderSpans[8];

  // ---- 20. Lines ----
  GlLineProc renderLine;
  GlLineProc renderLineUnfogged;  // behind the flat-fog line
  GlLineProc renderLineTrap;
  GlLineProc renderLinePicked;
  GlLineProc clipLine;
  GlClipParamProc lineClipParam;
  GlTriangleProc renderTriangleLines;  // polygon mode GL_LINE
  uint32_t lineSpare;

  // ---- 21. Points ----
  GlVertexProc renderPoint;
  GlVertexProc renderPointUnfogged;  // behind the flat-fog point
  GlVertexProc renderPointTrap;
  GlVertexProc renderPointPicked;
  GlTriangleProc renderTrianglePoints;  // polygon mode GL_POINT

  // ---- 22. Bitmaps ----
  void (*drawBitmap)(GlContext *gc, GLsizei width, GLsizei height, GLfloat xorig,
                     GLfloat yorig, GLfloat xmove, GLfloat ymove, const GLubyte *bits);
  void (*renderBitmap)(GlContext *gc, const GlBitmap *bitmap, const GLubyte *bits);

  // ---- 23. Texturing per fragment ----
  GLfloat (*texRho)(GlContext *gc, GLfloat s, GLfloat t, GLfloat q);  // lines and points
  GLfloat (*calcPolygonRho)(GlContext *gc, const GlEdgeWalker *walker, GLfloat s, GLfloat t,
                            GLfloat q);
  // Textures one colour in place.
  void (*texture)(GlContext *gc, GlColor *color, GLfloat s, GLfloat t, GLfloat rho);
  void (*textureRaster)(GlContext *gc, GlColor *color, GLfloat s, GLfloat t, GLfloat rho);

  // ---- 24. Fog ----
  void (*fogFragment)(GlContext *gc, GlFragment *frag, GLfloat eyeDistance);
  void (*fogColor)(GlContext *gc, GlColor *out, const GlColor *in, GLfloat fog);
  GLfloat (*fogVertex)(GlContext *gc, GlVertex *v);  // the vertex's fog factor

  // ---- 25. Blending ----
  GlBlendProcs blend;

  // ---- 26. Pixel paths ----
  void (*drawPixels)(GlContext *gc, GLsizei width, GLsizei height, GLenum format, GLenum type,
                     const void *pixels, GLbool8 packed);
  void (*copyPixels)(GlContext *gc, GLint x, GLint y, GLsizei width, GLsizei height,
                     GLenum format);
  void (*readPixels)(GlContext *gc, GLint x, GLint y, GLsizei width, GLsizei height,
                     GLenum format, GLenum type, void *pixels);
  void (*pickCopyImage)(GlContext *gc, GlPixelSpanInfo *info, GLbool8 applyModify);
  void (*pickStoreTexture)(GlContext *gc, GlTextureObject *tex, GlPixelSpanInfo *info,
                           GLbool8 applyModify);
  void (*pickGetTexture)(GlContext *gc, GlTextureObject *tex, GlPixelSpanInfo *info,
                         GLbool8 applyModify);
  void (*pickReadImage)(GlContext *gc, GlTextureObject *tex, GlPixelSpanInfo *info);
  GlPixelPathProcs pixel;

  // ---- 27. Fragment store ----
  GlFragmentStoreProc store;     // tests, then the colour-buffer store
  GlFragmentStoreProc cfbStore;  // the draw buffer's store, double or null store

  // ---- 28. Raster position, for 2, 3 and 4 coordinates ----
  void (*rasterPos[3])(GlContext *gc, const GLfloat *v);

  // ---- 29. The arena procedures of list compilation ----
  // (filled by early initialisation: __glNewArena, __glDeleteArena,
  // __glArenaAlloc, __glArenaFreeAll, core/s_arena.h)
  GlArena *(*newArena)(GlContext *gc);
  void (*deleteArena)(GlArena *arena);
  void *(*arenaAlloc)(GlArena *arena, size_t size);
  void (*arenaFreeAll)(GlArena *arena);
  GlContextProc convertStipple;
  void (*colorTableEXT)(GlContext *gc, GLenum target, GLenum internalFormat, GLsizei width,
                        GLenum format, GLenum type, const void *table, GLbool8 packed);
  void (*colorSubTableEXT)(GlContext *gc, GLenum target, GLsizei start, GLsizei count,
                           GLenum format, GLenum type, const void *entries, GLbool8 packed);
} GlProcs;

// The fast rasterizer's chain slots are one pointer each, in chain order.
static_assert(offsetof(GlProcs, texMagFilter) - offsetof(GlProcs, fillTriangleSpans) == 16 * 4,
              "spanlet slots are contiguous");
