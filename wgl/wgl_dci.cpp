// The DCI library binding: "DCIMAN32.DLL" loaded by the first user, its
// provider and primary surface shared by every DCI front buffer of the
// process, all given back when the last user closes.
#include <stddef.h>
#include <string.h>

#include "wgl/wgl_dci.h"
#include "wgl/wgl_dci_binding.h"
#include "wgl/wgl_message.h"

namespace wgl {
HMODULE hDCIManLibrary;
int32_t cDCICount;
HDC hDCIMan;
LPDCISURFACEINFO lpDCIPrimarySurface;
WglDciTable DCI;
}  // namespace wgl

namespace {

struct DciFuncName {
  const char *name;
  size_t slot;  // offset in WglDciTable
};

const DciFuncName DCIFuncNames[] = {
    {"DCIOpenProvider", offsetof(WglDciTable, openProvider)},
    {"DCICloseProvider", offsetof(WglDciTable, closeProvider)},
    {"DCICreatePrimary", offsetof(WglDciTable, createPrimary)},
    {"DCIDestroy", offsetof(WglDciTable, destroy)},
    {"WinWatchOpen", offsetof(WglDciTable, winWatchOpen)},
    {"WinWatchClose", offsetof(WglDciTable, winWatchClose)},
    {"WinWatchGetClipList", offsetof(WglDciTable, winWatchGetClipList)},
    {"WinWatchDidStatusChange", offsetof(WglDciTable, winWatchDidStatusChange)},
    {"DCIBeginAccess", offsetof(WglDciTable, beginAccess)},
    {"DCIEndAccess", offsetof(WglDciTable, endAccess)},
};
static_assert(sizeof DCIFuncNames / sizeof DCIFuncNames[0] * sizeof(FARPROC) == sizeof(WglDciTable),
              "one name for every slot of the table");

// Fills the table; false, with the table cleared, when a function is missing.
bool FillTable(HMODULE library) {
  for (const DciFuncName &f : DCIFuncNames) {
    FARPROC proc = GetProcAddress(library, f.name);
    if (proc == nullptr) {
      memset(&wgl::DCI, 0, sizeof wgl::DCI);
      return false;
    }
    memcpy(reinterpret_cast<char *>(&wgl::DCI) + f.slot, &proc, sizeof proc);
  }
  return true;
}

}  // namespace

bool __wglDCIOpen(void) {
  using namespace wgl;
  if (++cDCICount > 1) return true;
  if (hDCIManLibrary == nullptr) {
    hDCIManLibrary = LoadLibraryA("DCIMAN32.DLL");
    if (hDCIManLibrary == nullptr) {
      __wglDCIClose();
      return false;
    }
    if (!FillTable(hDCIManLibrary)) {
      __wglError("__wglInitializeDCI: GetProcAddress failed");
      __wglDCIClose();
      return false;
    }
  }
  if (hDCIMan == nullptr) {
    hDCIMan = DCI.openProvider();
    if (hDCIMan == nullptr) {
      __wglError("__wglInitializeDCI: DCIOpenProvider failed");
      __wglDCIClose();
      return false;
    }
  }
  if (lpDCIPrimarySurface == nullptr) {
    if (DCI.createPrimary(hDCIMan, &lpDCIPrimarySurface) < 0 || lpDCIPrimarySurface == nullptr) {
      lpDCIPrimarySurface = nullptr;
      __wglError("__wglInitializeDCI: DCICreatePrimary failed");
      __wglDCIClose();
      return false;
    }
  }
  return true;
}

// A failed open has already closed, so a close the caller still makes finds
// the count at 0 and does nothing.
bool __wglDCIClose(void) {
  using namespace wgl;
  if (cDCICount <= 0) return true;
  if (--cDCICount > 0) return true;
  if (lpDCIPrimarySurface != nullptr) DCI.destroy(lpDCIPrimarySurface);
  lpDCIPrimarySurface = nullptr;
  if (hDCIMan != nullptr) DCI.closeProvider(hDCIMan);
  hDCIMan = nullptr;
  if (hDCIManLibrary != nullptr) FreeLibrary(hDCIManLibrary);
  hDCIManLibrary = nullptr;
  memset(&DCI, 0, sizeof DCI);
  return true;
}
