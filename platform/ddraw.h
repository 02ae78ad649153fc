// DirectDraw of the platform: the COM-style interfaces (a table of stdcall
// methods in the platform's documented order, the interface pointer first),
// the records, flags and HRESULT codes, declared from their documented names
// and values. "DDRAW.DLL" exports DirectDrawCreate.
//
// What the stand-in does beyond the platform's own documentation:
// - Surfaces keep their address for their whole life, so GetSurfaceDesc always
//   reports it (DDSD_LPSURFACE) with the pitch, and Lock gives the same one.
// - Every surface has 16 spare bytes before its first pixel and after its last.
// - Where a surface lies shows in its caps: DDSCAPS_SYSTEMMEMORY, or
//   DDSCAPS_VIDEOMEMORY with DDSCAPS_LOCALVIDMEM or DDSCAPS_NONLOCALVIDMEM.
//   For a surface in non-local video memory, GetSurfaceDesc's dwReserved holds
//   the address the chip uses: its offset in the non-local aperture.
// - A 24-bit z-buffer keeps each depth in a 32-bit word; depth fills write the
//   whole word.
// - Releasing the DirectDraw object releases every surface and clipper made
//   through it, and releasing the top of a mipmap chain releases the chain.
// - Calls on an object already released answer DDERR_INVALIDOBJECT.
// - Failure on demand (PlatformArmFault): the call is the method's name
//   ("CreateSurface", "Lock", "Blt", ...) or "DirectDrawCreate"; the key is the
//   object's kind: "DirectDraw", "clipper", "primary", "offscreen", "zbuffer"
//   or "texture". A surface's "Release" made to fail keeps the reference and
//   answers the count still held.
#pragma once

#include "platform/gdi.h"
#include "platform/win_types.h"

typedef LONG HRESULT;
typedef LONG *LPLONG;

typedef struct GUID {
  DWORD Data1;
  WORD Data2;
  WORD Data3;
  BYTE Data4[8];
} GUID, IID;
typedef const IID *REFIID;

#define S_OK ((HRESULT)0)
#define S_FALSE ((HRESULT)1)
#define E_NOINTERFACE ((HRESULT)0x80004002L)
#define CLASS_E_NOAGGREGATION ((HRESULT)0x80040110L)

// ---- Records --------------------------------------------------------------------------
typedef struct DDSCAPS {
  DWORD dwCaps;
} DDSCAPS, *LPDDSCAPS;

typedef struct DDCOLORKEY {
  DWORD dwColorSpaceLowValue;
  DWORD dwColorSpaceHighValue;
} DDCOLORKEY, *LPDDCOLORKEY;

typedef struct DDPIXELFORMAT {
  DWORD dwSize;  // 32
  DWORD dwFlags;
  DWORD dwFourCC;
  union {
    DWORD dwRGBBitCount;
    DWORD dwYUVBitCount;
    DWORD dwZBufferBitDepth;
    DWORD dwAlphaBitDepth;
  };
  union {
    DWORD dwRBitMask;
    DWORD dwYBitMask;
  };
  union {
    DWORD dwGBitMask;
    DWORD dwUBitMask;
  };
  union {
    DWORD dwBBitMask;
    DWORD dwVBitMask;
  };
  union {
    DWORD dwRGBAlphaBitMask;
    DWORD dwYUVAlphaBitMask;
  };
} DDPIXELFORMAT, *LPDDPIXELFORMAT;

typedef struct DDSURFACEDESC {
  DWORD dwSize;  // 108
  DWORD dwFlags;
  DWORD dwHeight;
  DWORD dwWidth;
  union {
    LONG lPitch;
    DWORD dwLinearSize;
  };
  DWORD dwBackBufferCount;
  union {
    DWORD dwMipMapCount;
    DWORD dwZBufferBitDepth;
    DWORD dwRefreshRate;
  };
  DWORD dwAlphaBitDepth;
  DWORD dwReserved;
  LPVOID lpSurface;
  DDCOLORKEY ddckCKDestOverlay;
  DDCOLORKEY ddckCKDestBlt;
  DDCOLORKEY ddckCKSrcOverlay;
  DDCOLORKEY ddckCKSrcBlt;
  DDPIXELFORMAT ddpfPixelFormat;
  DDSCAPS ddsCaps;
} DDSURFACEDESC, *LPDDSURFACEDESC;

typedef struct IDirectDrawSurface IDirectDrawSurface, *LPDIRECTDRAWSURFACE;

typedef struct DDBLTFX {
  DWORD dwSize;  // 100
  DWORD dwDDFX;
  DWORD dwROP;
  DWORD dwDDROP;
  DWORD dwRotationAngle;
  DWORD dwZBufferOpCode;
  DWORD dwZBufferLow;
  DWORD dwZBufferHigh;
  DWORD dwZBufferBaseDest;
  DWORD dwZDestConstBitDepth;
  union {
    DWORD dwZDestConst;
    LPDIRECTDRAWSURFACE lpDDSZBufferDest;
  };
  DWORD dwZSrcConstBitDepth;
  union {
    DWORD dwZSrcConst;
    LPDIRECTDRAWSURFACE lpDDSZBufferSrc;
  };
  DWORD dwAlphaEdgeBlendBitDepth;
  DWORD dwAlphaEdgeBlend;
  DWORD dwReserved;
  DWORD dwAlphaDestConstBitDepth;
  union {
    DWORD dwAlphaDestConst;
    LPDIRECTDRAWSURFACE lpDDSAlphaDest;
  };
  DWORD dwAlphaSrcConstBitDepth;
  union {
    DWORD dwAlphaSrcConst;
    LPDIRECTDRAWSURFACE lpDDSAlphaSrc;
  };
  union {
    DWORD dwFillColor;
    DWORD dwFillDepth;
    DWORD dwFillPixel;
    LPDIRECTDRAWSURFACE lpDDSPattern;
  };
  DDCOLORKEY ddckDestColorkey;
  DDCOLORKEY ddckSrcColorkey;
} DDBLTFX, *LPDDBLTFX;

// ---- Flags ------------------------------------------------------------------------------
#define DDSD_CAPS 0x00000001u
#define DDSD_HEIGHT 0x00000002u
#define DDSD_WIDTH 0x00000004u
#define DDSD_PITCH 0x00000008u
#define DDSD_BACKBUFFERCOUNT 0x00000020u
#define DDSD_ZBUFFERBITDEPTH 0x00000040u
#define DDSD_ALPHABITDEPTH 0x00000080u
#define DDSD_LPSURFACE 0x00000800u
#define DDSD_PIXELFORMAT 0x00001000u
#define DDSD_CKDESTOVERLAY 0x00002000u
#define DDSD_CKDESTBLT 0x00004000u
#define DDSD_CKSRCOVERLAY 0x00008000u
#define DDSD_CKSRCBLT 0x00010000u
#define DDSD_MIPMAPCOUNT 0x00020000u
#define DDSD_REFRESHRATE 0x00040000u
#define DDSD_LINEARSIZE 0x00080000u

#define DDSCAPS_ALPHA 0x00000002u
#define DDSCAPS_BACKBUFFER 0x00000004u
#define DDSCAPS_COMPLEX 0x00000008u
#define DDSCAPS_FLIP 0x00000010u
#define DDSCAPS_FRONTBUFFER 0x00000020u
#define DDSCAPS_OFFSCREENPLAIN 0x00000040u
#define DDSCAPS_OVERLAY 0x00000080u
#define DDSCAPS_PALETTE 0x00000100u
#define DDSCAPS_PRIMARYSURFACE 0x00000200u
#define DDSCAPS_SYSTEMMEMORY 0x00000800u
#define DDSCAPS_TEXTURE 0x00001000u
#define DDSCAPS_3DDEVICE 0x00002000u
#define DDSCAPS_VIDEOMEMORY 0x00004000u
#define DDSCAPS_VISIBLE 0x00008000u
#define DDSCAPS_WRITEONLY 0x00010000u
#define DDSCAPS_ZBUFFER 0x00020000u
#define DDSCAPS_OWNDC 0x00040000u
#define DDSCAPS_LIVEVIDEO 0x00080000u
#define DDSCAPS_HWCODEC 0x00100000u
#define DDSCAPS_MODEX 0x00200000u
#define DDSCAPS_MIPMAP 0x00400000u
#define DDSCAPS_ALLOCONLOAD 0x04000000u
#define DDSCAPS_VIDEOPORT 0x08000000u
#define DDSCAPS_LOCALVIDMEM 0x10000000u
#define DDSCAPS_NONLOCALVIDMEM 0x20000000u

#define DDPF_ALPHAPIXELS 0x00000001u
#define DDPF_ALPHA 0x00000002u
#define DDPF_FOURCC 0x00000004u
#define DDPF_PALETTEINDEXED4 0x00000008u
#define DDPF_PALETTEINDEXEDTO8 0x00000010u
#define DDPF_PALETTEINDEXED8 0x00000020u
#define DDPF_RGB 0x00000040u
#define DDPF_COMPRESSED 0x00000080u
#define DDPF_RGBTOYUV 0x00000100u
#define DDPF_YUV 0x00000200u
#define DDPF_ZBUFFER 0x00000400u
#define DDPF_PALETTEINDEXED1 0x00000800u
#define DDPF_PALETTEINDEXED2 0x00001000u
#define DDPF_ZPIXELS 0x00002000u

#define DDSCL_FULLSCREEN 0x00000001u
#define DDSCL_ALLOWREBOOT 0x00000002u
#define DDSCL_NOWINDOWCHANGES 0x00000004u
#define DDSCL_NORMAL 0x00000008u
#define DDSCL_EXCLUSIVE 0x00000010u
#define DDSCL_ALLOWMODEX 0x00000040u

#define DDLOCK_SURFACEMEMORYPTR 0x00000000u
#define DDLOCK_WAIT 0x00000001u
#define DDLOCK_EVENT 0x00000002u
#define DDLOCK_READONLY 0x00000010u
#define DDLOCK_WRITEONLY 0x00000020u
#define DDLOCK_NOSYSLOCK 0x00000800u

#define DDBLT_ASYNC 0x00000200u
#define DDBLT_COLORFILL 0x00000400u
#define DDBLT_DDFX 0x00000800u
#define DDBLT_KEYDEST 0x00002000u
#define DDBLT_KEYSRC 0x00008000u
#define DDBLT_ROP 0x00020000u
#define DDBLT_ZBUFFER 0x00080000u
#define DDBLT_WAIT 0x01000000u
#define DDBLT_DEPTHFILL 0x02000000u

#define DDGBS_CANBLT 0x00000001u
#define DDGBS_ISBLTDONE 0x00000002u
#define DDWAITVB_BLOCKBEGIN 0x00000001u

// DirectDrawCreate's driver argument besides null (the primary display driver).
#define DDCREATE_HARDWAREONLY ((GUID *)1)
#define DDCREATE_EMULATIONONLY ((GUID *)2)

// ---- Result codes -----------------------------------------------------------------------
#define MAKE_DDHRESULT(code) ((HRESULT)(0x88760000u | (code)))
#define DD_OK ((HRESULT)0)
#define DD_FALSE S_FALSE
#define DDERR_ALREADYINITIALIZED MAKE_DDHRESULT(5)
#define DDERR_CANNOTATTACHSURFACE MAKE_DDHRESULT(10)
#define DDERR_CANNOTDETACHSURFACE MAKE_DDHRESULT(20)
#define DDERR_CURRENTLYNOTAVAIL MAKE_DDHRESULT(40)
#define DDERR_EXCEPTION MAKE_DDHRESULT(55)
#define DDERR_GENERIC ((HRESULT)0x80004005L)
#define DDERR_HEIGHTALIGN MAKE_DDHRESULT(90)
#define DDERR_INCOMPATIBLEPRIMARY MAKE_DDHRESULT(95)
#define DDERR_INVALIDCAPS MAKE_DDHRESULT(100)
#define DDERR_INVALIDCLIPLIST MAKE_DDHRESULT(110)
#define DDERR_INVALIDMODE MAKE_DDHRESULT(120)
#define DDERR_INVALIDOBJECT MAKE_DDHRESULT(130)
#define DDERR_INVALIDPARAMS ((HRESULT)0x80070057L)
#define DDERR_INVALIDPIXELFORMAT MAKE_DDHRESULT(145)
#define DDERR_INVALIDRECT MAKE_DDHRESULT(150)
#define DDERR_LOCKEDSURFACES MAKE_DDHRESULT(160)
#define DDERR_NO3D MAKE_DDHRESULT(170)
#define DDERR_NOALPHAHW MAKE_DDHRESULT(180)
#define DDERR_NOCLIPLIST MAKE_DDHRESULT(205)
#define DDERR_NOCOLORCONVHW MAKE_DDHRESULT(210)
#define DDERR_NOCOOPERATIVELEVELSET MAKE_DDHRESULT(212)
#define DDERR_NOCOLORKEY MAKE_DDHRESULT(215)
#define DDERR_NOCOLORKEYHW MAKE_DDHRESULT(220)
#define DDERR_NODIRECTDRAWSUPPORT MAKE_DDHRESULT(222)
#define DDERR_NOEXCLUSIVEMODE MAKE_DDHRESULT(225)
#define DDERR_NOFLIPHW MAKE_DDHRESULT(230)
#define DDERR_NOGDI MAKE_DDHRESULT(240)
#define DDERR_NOMIRRORHW MAKE_DDHRESULT(250)
#define DDERR_NOTFOUND MAKE_DDHRESULT(255)
#define DDERR_NOOVERLAYHW MAKE_DDHRESULT(260)
#define DDERR_NORASTEROPHW MAKE_DDHRESULT(280)
#define DDERR_NOROTATIONHW MAKE_DDHRESULT(290)
#define DDERR_NOSTRETCHHW MAKE_DDHRESULT(310)
#define DDERR_NOT4BITCOLOR MAKE_DDHRESULT(316)
#define DDERR_NOT4BITCOLORINDEX MAKE_DDHRESULT(317)
#define DDERR_NOT8BITCOLOR MAKE_DDHRESULT(320)
#define DDERR_NOTEXTUREHW MAKE_DDHRESULT(330)
#define DDERR_NOVSYNCHW MAKE_DDHRESULT(335)
#define DDERR_NOZBUFFERHW MAKE_DDHRESULT(340)
#define DDERR_NOZOVERLAYHW MAKE_DDHRESULT(350)
#define DDERR_OUTOFCAPS MAKE_DDHRESULT(360)
#define DDERR_OUTOFMEMORY ((HRESULT)0x8007000EL)
#define DDERR_OUTOFVIDEOMEMORY MAKE_DDHRESULT(380)
#define DDERR_OVERLAYCANTCLIP MAKE_DDHRESULT(382)
#define DDERR_OVERLAYCOLORKEYONLYONEACTIVE MAKE_DDHRESULT(384)
#define DDERR_PALETTEBUSY MAKE_DDHRESULT(387)
#define DDERR_COLORKEYNOTSET MAKE_DDHRESULT(400)
#define DDERR_SURFACEALREADYATTACHED MAKE_DDHRESULT(410)
#define DDERR_SURFACEALREADYDEPENDENT MAKE_DDHRESULT(420)
#define DDERR_SURFACEBUSY MAKE_DDHRESULT(430)
#define DDERR_CANTLOCKSURFACE MAKE_DDHRESULT(435)
#define DDERR_SURFACEISOBSCURED MAKE_DDHRESULT(440)
#define DDERR_SURFACELOST MAKE_DDHRESULT(450)
#define DDERR_SURFACENOTATTACHED MAKE_DDHRESULT(460)
#define DDERR_TOOBIGHEIGHT MAKE_DDHRESULT(470)
#define DDERR_TOOBIGSIZE MAKE_DDHRESULT(480)
#define DDERR_TOOBIGWIDTH MAKE_DDHRESULT(490)
#define DDERR_UNSUPPORTED ((HRESULT)0x80004001L)
#define DDERR_UNSUPPORTEDFORMAT MAKE_DDHRESULT(510)
#define DDERR_UNSUPPORTEDMASK MAKE_DDHRESULT(520)
#define DDERR_VERTICALBLANKINPROGRESS MAKE_DDHRESULT(537)
#define DDERR_WASSTILLDRAWING MAKE_DDHRESULT(540)
#define DDERR_XALIGN MAKE_DDHRESULT(560)
#define DDERR_INVALIDDIRECTDRAWGUID MAKE_DDHRESULT(561)
#define DDERR_DIRECTDRAWALREADYCREATED MAKE_DDHRESULT(562)
#define DDERR_NODIRECTDRAWHW MAKE_DDHRESULT(563)
#define DDERR_PRIMARYSURFACEALREADYEXISTS MAKE_DDHRESULT(564)
#define DDERR_NOEMULATION MAKE_DDHRESULT(565)
#define DDERR_REGIONTOOSMALL MAKE_DDHRESULT(566)
#define DDERR_CLIPPERISUSINGHWND MAKE_DDHRESULT(567)
#define DDERR_NOCLIPPERATTACHED MAKE_DDHRESULT(568)
#define DDERR_NOHWND MAKE_DDHRESULT(569)
#define DDERR_HWNDSUBCLASSED MAKE_DDHRESULT(570)
#define DDERR_HWNDALREADYSET MAKE_DDHRESULT(571)
#define DDERR_NOPALETTEATTACHED MAKE_DDHRESULT(572)
#define DDERR_NOPALETTEHW MAKE_DDHRESULT(573)
#define DDERR_BLTFASTCANTCLIP MAKE_DDHRESULT(574)
#define DDERR_NOBLTHW MAKE_DDHRESULT(575)
#define DDERR_NODDROPSHW MAKE_DDHRESULT(576)
#define DDERR_OVERLAYNOTVISIBLE MAKE_DDHRESULT(577)
#define DDERR_NOOVERLAYDEST MAKE_DDHRESULT(578)
#define DDERR_INVALIDPOSITION MAKE_DDHRESULT(579)
#define DDERR_NOTAOVERLAYSURFACE MAKE_DDHRESULT(580)
#define DDERR_EXCLUSIVEMODEALREADYSET MAKE_DDHRESULT(581)
#define DDERR_NOTFLIPPABLE MAKE_DDHRESULT(582)
#define DDERR_CANTDUPLICATE MAKE_DDHRESULT(583)
#define DDERR_NOTLOCKED MAKE_DDHRESULT(584)
#define DDERR_CANTCREATEDC MAKE_DDHRESULT(585)
#define DDERR_NODC MAKE_DDHRESULT(586)
#define DDERR_WRONGMODE MAKE_DDHRESULT(587)
#define DDERR_IMPLICITLYCREATED MAKE_DDHRESULT(588)
#define DDERR_NOTPALETTIZED MAKE_DDHRESULT(589)
#define DDERR_UNSUPPORTEDMODE MAKE_DDHRESULT(590)

// ---- Interfaces -------------------------------------------------------------------------
typedef struct IUnknown IUnknown;
typedef struct IDirectDraw IDirectDraw, *LPDIRECTDRAW;
typedef struct IDirectDrawClipper IDirectDrawClipper, *LPDIRECTDRAWCLIPPER;
typedef struct IDirectDrawPalette IDirectDrawPalette, *LPDIRECTDRAWPALETTE;
typedef void *LPDDCAPS;        // capability queries are not offered
typedef HRESULT(WINAPI *LPDDENUMMODESCALLBACK)(LPDDSURFACEDESC, LPVOID);
typedef HRESULT(WINAPI *LPDDENUMSURFACESCALLBACK)(LPDIRECTDRAWSURFACE, LPDDSURFACEDESC, LPVOID);

#define DD_UNKNOWN_METHODS(T)                                   \
  HRESULT(WINAPI *QueryInterface)(T *self, REFIID iid, LPVOID *out); \
  ULONG(WINAPI *AddRef)(T *self);                               \
  ULONG(WINAPI *Release)(T *self);

typedef struct IDirectDrawVtbl {
  DD_UNKNOWN_METHODS(IDirectDraw)
  HRESULT(WINAPI *Compact)(IDirectDraw *self);
  HRESULT(WINAPI *CreateClipper)(IDirectDraw *self, DWORD flags, LPDIRECTDRAWCLIPPER *out,
                                 IUnknown *outer);
  HRESULT(WINAPI *CreatePalette)(IDirectDraw *self, DWORD flags, LPPALETTEENTRY entries,
                                 LPDIRECTDRAWPALETTE *out, IUnknown *outer);
  HRESULT(WINAPI *CreateSurface)(IDirectDraw *self, LPDDSURFACEDESC desc, LPDIRECTDRAWSURFACE *out,
                                 IUnknown *outer);
  HRESULT(WINAPI *DuplicateSurface)(IDirectDraw *self, LPDIRECTDRAWSURFACE surface,
                                    LPDIRECTDRAWSURFACE *out);
  HRESULT(WINAPI *EnumDisplayModes)(IDirectDraw *self, DWORD flags, LPDDSURFACEDESC desc,
                                    LPVOID context, LPDDENUMMODESCALLBACK callback);
  HRESULT(WINAPI *EnumSurfaces)(IDirectDraw *self, DWORD flags, LPDDSURFACEDESC desc,
                                LPVOID context, LPDDENUMSURFACESCALLBACK callback);
  HRESULT(WINAPI *FlipToGDISurface)(IDirectDraw *self);
  HRESULT(WINAPI *GetCaps)(IDirectDraw *self, LPDDCAPS driverCaps, LPDDCAPS emulationCaps);
  HRESULT(WINAPI *GetDisplayMode)(IDirectDraw *self, LPDDSURFACEDESC desc);
  HRESULT(WINAPI *GetFourCCCodes)(IDirectDraw *self, LPDWORD count, LPDWORD codes);
  HRESULT(WINAPI *GetGDISurface)(IDirectDraw *self, LPDIRECTDRAWSURFACE *out);
  HRESULT(WINAPI *GetMonitorFrequency)(IDirectDraw *self, LPDWORD frequency);
  HRESULT(WINAPI *GetScanLine)(IDirectDraw *self, LPDWORD line);
  HRESULT(WINAPI *GetVerticalBlankStatus)(IDirectDraw *self, BOOL *inBlank);
  HRESULT(WINAPI *Initialize)(IDirectDraw *self, GUID *driver);
  HRESULT(WINAPI *RestoreDisplayMode)(IDirectDraw *self);
  HRESULT(WINAPI *SetCooperativeLevel)(IDirectDraw *self, HWND window, DWORD flags);
  HRESULT(WINAPI *SetDisplayMode)(IDirectDraw *self, DWORD width, DWORD height, DWORD bitsPerPixel);
  HRESULT(WINAPI *WaitForVerticalBlank)(IDirectDraw *self, DWORD flags, HANDLE event);
} IDirectDrawVtbl;

struct IDirectDraw {
  const IDirectDrawVtbl *lpVtbl;
};

typedef struct IDirectDrawSurfaceVtbl {
  DD_UNKNOWN_METHODS(IDirectDrawSurface)
  HRESULT(WINAPI *AddAttachedSurface)(IDirectDrawSurface *self, LPDIRECTDRAWSURFACE surface);
  HRESULT(WINAPI *AddOverlayDirtyRect)(IDirectDrawSurface *self, LPRECT rect);
  HRESULT(WINAPI *Blt)(IDirectDrawSurface *self, LPRECT destRect, LPDIRECTDRAWSURFACE source,
                       LPRECT sourceRect, DWORD flags, LPDDBLTFX fx);
  HRESULT(WINAPI *BltBatch)(IDirectDrawSurface *self, LPVOID batch, DWORD count, DWORD flags);
  HRESULT(WINAPI *BltFast)(IDirectDrawSurface *self, DWORD x, DWORD y, LPDIRECTDRAWSURFACE source,
                           LPRECT sourceRect, DWORD flags);
  HRESULT(WINAPI *DeleteAttachedSurface)(IDirectDrawSurface *self, DWORD flags,
                                         LPDIRECTDRAWSURFACE surface);
  HRESULT(WINAPI *EnumAttachedSurfaces)(IDirectDrawSurface *self, LPVOID context,
                                        LPDDENUMSURFACESCALLBACK callback);
  HRESULT(WINAPI *EnumOverlayZOrders)(IDirectDrawSurface *self, DWORD flags, LPVOID context,
                                      LPDDENUMSURFACESCALLBACK callback);
  HRESULT(WINAPI *Flip)(IDirectDrawSurface *self, LPDIRECTDRAWSURFACE target, DWORD flags);
  HRESULT(WINAPI *GetAttachedSurface)(IDirectDrawSurface *self, LPDDSCAPS caps,
                                      LPDIRECTDRAWSURFACE *out);
  HRESULT(WINAPI *GetBltStatus)(IDirectDrawSurface *self, DWORD flags);
  HRESULT(WINAPI *GetCaps)(IDirectDrawSurface *self, LPDDSCAPS caps);
  HRESULT(WINAPI *GetClipper)(IDirectDrawSurface *self, LPDIRECTDRAWCLIPPER *out);
  HRESULT(WINAPI *GetColorKey)(IDirectDrawSurface *self, DWORD flags, LPDDCOLORKEY key);
  HRESULT(WINAPI *GetDC)(IDirectDrawSurface *self, HDC *dc);
  HRESULT(WINAPI *GetFlipStatus)(IDirectDrawSurface *self, DWORD flags);
  HRESULT(WINAPI *GetOverlayPosition)(IDirectDrawSurface *self, LPLONG x, LPLONG y);
  HRESULT(WINAPI *GetPalette)(IDirectDrawSurface *self, LPDIRECTDRAWPALETTE *out);
  HRESULT(WINAPI *GetPixelFormat)(IDirectDrawSurface *self, LPDDPIXELFORMAT format);
  HRESULT(WINAPI *GetSurfaceDesc)(IDirectDrawSurface *self, LPDDSURFACEDESC desc);
  HRESULT(WINAPI *Initialize)(IDirectDrawSurface *self, LPDIRECTDRAW owner, LPDDSURFACEDESC desc);
  HRESULT(WINAPI *IsLost)(IDirectDrawSurface *self);
  HRESULT(WINAPI *Lock)(IDirectDrawSurface *self, LPRECT rect, LPDDSURFACEDESC desc, DWORD flags,
                        HANDLE event);
  HRESULT(WINAPI *ReleaseDC)(IDirectDrawSurface *self, HDC dc);
  HRESULT(WINAPI *Restore)(IDirectDrawSurface *self);
  HRESULT(WINAPI *SetClipper)(IDirectDrawSurface *self, LPDIRECTDRAWCLIPPER clipper);
  HRESULT(WINAPI *SetColorKey)(IDirectDrawSurface *self, DWORD flags, LPDDCOLORKEY key);
  HRESULT(WINAPI *SetOverlayPosition)(IDirectDrawSurface *self, LONG x, LONG y);
  HRESULT(WINAPI *SetPalette)(IDirectDrawSurface *self, LPDIRECTDRAWPALETTE palette);
  HRESULT(WINAPI *Unlock)(IDirectDrawSurface *self, LPVOID address);
  HRESULT(WINAPI *UpdateOverlay)(IDirectDrawSurface *self, LPRECT sourceRect,
                                 LPDIRECTDRAWSURFACE dest, LPRECT destRect, DWORD flags,
                                 LPVOID fx);
  HRESULT(WINAPI *UpdateOverlayDisplay)(IDirectDrawSurface *self, DWORD flags);
  HRESULT(WINAPI *UpdateOverlayZOrder)(IDirectDrawSurface *self, DWORD flags,
                                       LPDIRECTDRAWSURFACE reference);
} IDirectDrawSurfaceVtbl;

struct IDirectDrawSurface {
  const IDirectDrawSurfaceVtbl *lpVtbl;
};

typedef struct IDirectDrawClipperVtbl {
  DD_UNKNOWN_METHODS(IDirectDrawClipper)
  HRESULT(WINAPI *GetClipList)(IDirectDrawClipper *self, LPRECT clip, LPRGNDATA data, LPDWORD size);
  HRESULT(WINAPI *GetHWnd)(IDirectDrawClipper *self, HWND *window);
  HRESULT(WINAPI *Initialize)(IDirectDrawClipper *self, LPDIRECTDRAW owner, DWORD flags);
  HRESULT(WINAPI *IsClipListChanged)(IDirectDrawClipper *self, BOOL *changed);
  HRESULT(WINAPI *SetClipList)(IDirectDrawClipper *self, LPRGNDATA data, DWORD flags);
  HRESULT(WINAPI *SetHWnd)(IDirectDrawClipper *self, DWORD flags, HWND window);
} IDirectDrawClipperVtbl;

struct IDirectDrawClipper {
  const IDirectDrawClipperVtbl *lpVtbl;
};

#undef DD_UNKNOWN_METHODS

PLATFORM_API const IID IID_IUnknown;
PLATFORM_API const IID IID_IDirectDraw;
PLATFORM_API const IID IID_IDirectDrawSurface;
PLATFORM_API const IID IID_IDirectDrawClipper;

// `driver`: null (the primary display driver), DDCREATE_HARDWAREONLY or
// DDCREATE_EMULATIONONLY; there is one display.
PLATFORM_API HRESULT WINAPI DirectDrawCreate(GUID *driver, LPDIRECTDRAW *out, IUnknown *outer);

#ifdef __cplusplus
static_assert(sizeof(DDSCAPS) == 4, "DDSCAPS is 4 bytes");
static_assert(sizeof(DDCOLORKEY) == 8, "DDCOLORKEY is 8 bytes");
static_assert(sizeof(DDPIXELFORMAT) == 32, "DDPIXELFORMAT is 32 bytes");
static_assert(offsetof(DDPIXELFORMAT, dwRGBBitCount) == 12 && offsetof(DDPIXELFORMAT, dwRBitMask) == 16 &&
                  offsetof(DDPIXELFORMAT, dwRGBAlphaBitMask) == 28,
              "DDPIXELFORMAT layout");
static_assert(sizeof(DDSURFACEDESC) == 108, "DDSURFACEDESC is 108 bytes");
static_assert(offsetof(DDSURFACEDESC, lPitch) == 16 && offsetof(DDSURFACEDESC, dwMipMapCount) == 24 &&
                  offsetof(DDSURFACEDESC, dwReserved) == 32 && offsetof(DDSURFACEDESC, lpSurface) == 36 &&
                  offsetof(DDSURFACEDESC, ddpfPixelFormat) == 72 &&
                  offsetof(DDSURFACEDESC, ddsCaps) == 104,
              "DDSURFACEDESC layout");
static_assert(sizeof(DDBLTFX) == 100 && offsetof(DDBLTFX, dwFillColor) == 80, "DDBLTFX layout");
static_assert(sizeof(GUID) == 16, "GUID is 16 bytes");
static_assert(sizeof(IDirectDrawVtbl) == 23 * 4, "IDirectDraw has 23 methods");
static_assert(sizeof(IDirectDrawSurfaceVtbl) == 36 * 4, "IDirectDrawSurface has 36 methods");
static_assert(sizeof(IDirectDrawClipperVtbl) == 9 * 4, "IDirectDrawClipper has 9 methods");
#endif
