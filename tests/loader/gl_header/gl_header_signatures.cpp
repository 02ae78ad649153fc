// Compile-time proof that the loader's GL exports are what the system's GL
// header declares: every slot's function is declared again here from the
// slot table, after the header. A GL 1.1 function whose parameter or result
// types differed from the header's would be a conflicting declaration, and
// this file would not compile. (The extension names are declared too; the
// header does not prototype them, so they only add declarations.)
#include <GL/gl.h>

// Only the functions are compared here; this constant differs between the
// header (newer GL) and the driver's GL 1.1 definitions.
#undef GL_ALL_ATTRIB_BITS

#include "core/gl_slots.h"

extern "C" {
#define REDECLARE(s, Name, words, list, Ret, params) Ret gl##Name params;
GL_SLOTS(REDECLARE)
#undef REDECLARE
}
