// DirectDraw buffers: the process-wide DirectDraw object and primary surface,
// the colour, depth and primary buffer kinds, surface restoration, the clip
// list, the two swap procedures and the error report.
#pragma once

#include "platform/ddraw.h"
#include "wgl/wgl_drawable.h"

extern HMODULE hDirectDraw;
extern LPDIRECTDRAW lpDirectDraw;
extern int32_t lpDirectDrawCount;
extern LPDIRECTDRAWSURFACE lpPrimarySurface;
extern void *lpPrimaryBase;

LPDIRECTDRAW __wglAllocateDDrawObject(void);
void __wglFreeDDrawObject(LPDIRECTDRAW object);
bool __wglDDrawOpen(void);
bool __wglDDrawClose(void);
LPDIRECTDRAW __wglGetDDrawObject(void);
void *__wglDDrawGetPrimaryBase(void);

void __wglInitDDraw(GlDrawableBuffer *buffer, WglDrawablePrivate *drawable, uint32_t depth,
                    WglBufferInitProc fallback);
void __wglInitDDrawDepth(GlDrawableBuffer *buffer, WglDrawablePrivate *drawable, uint32_t depth,
                         WglBufferInitProc fallback);
void __wglInitDDrawPrimary(GlDrawableBuffer *buffer, WglDrawablePrivate *drawable);

void __wglDDrawRestoreSurface(GlDrawableBuffer *buffer, WglDrawablePrivate *drawable);
void __wglDDrawUpdateClipList(GlDrawable *drawable);
BOOL __wglDDrawDDrawSwapBuffers(WglDrawablePrivate *drawable);
BOOL __wglDDrawMemSwapBuffers(WglDrawablePrivate *drawable);
void __wglDDrawUpdateDrawablePalette(WglDrawablePrivate *drawable);
// "WGL: %s: DDERROR = %s\n" with the code's name ("Unknown" when not listed).
void __wglDDrawError(const char *prefix, HRESULT code);
// The name of a DirectDraw error code, or "Unknown".
const char *__wglDDrawErrorName(HRESULT code);
