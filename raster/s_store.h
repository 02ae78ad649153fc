// The fragment store: single fragments (points, bitmaps, antialiased
// triangles, pixel drawing) clipped, tested and written through
// procs.store and procs.cfbStore.
#pragma once

#include "raster/s_buffers.h"

struct GlContext;

// Clip box, then the tests the name spells (A alpha, S stencil, D depth,
// I colour index), then procs.cfbStore.
void __glDoStore(GlColorBuffer *cfb, const GlFragment *frag);
void __glDoStore_A(GlColorBuffer *cfb, const GlFragment *frag);
void __glDoStore_S(GlColorBuffer *cfb, const GlFragment *frag);
void __glDoStore_AS(GlColorBuffer *cfb, const GlFragment *frag);
void __glDoStore_D(GlColorBuffer *cfb, const GlFragment *frag);
void __glDoStore_AD(GlColorBuffer *cfb, const GlFragment *frag);
void __glDoStore_SD(GlColorBuffer *cfb, const GlFragment *frag);
void __glDoStore_ASD(GlColorBuffer *cfb, const GlFragment *frag);
void __glDoStore_I(GlColorBuffer *cfb, const GlFragment *frag);
void __glDoStore_SI(GlColorBuffer *cfb, const GlFragment *frag);
void __glDoStore_DI(GlColorBuffer *cfb, const GlFragment *frag);
void __glDoStore_SDI(GlColorBuffer *cfb, const GlFragment *frag);

// Indexed by: 1 alpha test, 2 stencil, 4 depth, 8 index test.
extern void (*const storeProcs[16])(GlColorBuffer *cfb, const GlFragment *frag);

// procs.cfbStore for GL_NONE, and for front and back at once.
void __glDoNullStore(GlColorBuffer *cfb, const GlFragment *frag);
void __glDoDoubleStore(GlColorBuffer *cfb, const GlFragment *frag);

// Picks procs.store and procs.cfbStore (the pickStoreProcs slot).
void __glGenericPickStoreProcs(GlContext *gc);
