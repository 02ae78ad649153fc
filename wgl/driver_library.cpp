// The driver library's own translation unit: the exported entries, checked
// against the types the loader calls them by, so that a changed argument list
// fails here rather than as a corrupted stack at run time.
#include <type_traits>

#include "wgl/driver_interface.h"
#include "wgl/wgl_attach.h"
#include "wgl/wgl_entries.h"

#define CHECK_DRIVER_ENTRY_TYPE(Name, Ret, params)                      \
  static_assert(std::is_same_v<decltype(&Name), Vlx##Name##Proc>, #Name \
                " is called as Vlx" #Name "Proc");
DRIVER_ENTRIES(CHECK_DRIVER_ENTRY_TYPE)
#undef CHECK_DRIVER_ENTRY_TYPE
