// glEnable and glDisable in a list: the client-array capabilities are
// client state, applied at once through the client-array entries (which
// mark the vertex-array pickers) and never recorded; every other
// capability, valid or not, is recorded and replayed as it was given.
#include <utility>

#include "core/context.h"
#include "core/current.h"
#include "core/gl_entries.h"
#include "dlist/dl_op_kinds.h"
#include "dlist/dl_opcodes.h"
#include "dlist/dl_ops.h"

namespace {

using EnableOp = DlValueOp<&GlDispatchState::Enable, GlSig_Enable, std::index_sequence<0>>;
using DisableOp = DlValueOp<&GlDispatchState::Disable, GlSig_Disable, std::index_sequence<0>>;

constexpr DlOpRow kEnableRow = {GL_DLOP_Enable, 0, __glle_Enable};
constexpr DlOpRow kDisableRow = {GL_DLOP_Disable, 0, __glle_Disable};

bool IsClientArray(GLenum cap) { return cap >= GL_VERTEX_ARRAY && cap <= GL_EDGE_FLAG_ARRAY; }

}  // namespace

void GLENTRY __gllc_Enable(GLenum cap) {
  if (IsClientArray(cap))
    __glGetTLSCXValue()->dispatchState->EnableClientState(cap);
  else
    EnableOp::Compile(kEnableRow, cap);
}

void GLENTRY __gllc_Disable(GLenum cap) {
  if (IsClientArray(cap))
    __glGetTLSCXValue()->dispatchState->DisableClientState(cap);
  else
    DisableOp::Compile(kDisableRow, cap);
}

const GLubyte *__glle_Enable(const GLubyte *data) { return EnableOp::Execute(data); }
const GLubyte *__glle_Disable(const GLubyte *data) { return DisableOp::Execute(data); }
