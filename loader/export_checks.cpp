// The public declarations of the loader's exports are those of the export
// table, so that the table, the export map made from it and the functions
// applications call cannot drift apart.
#include <type_traits>

#include "loader/export_table.h"
#include "platform/vlxdesktop.h"

#define CHECK_LOADER_EXPORT(name, convention, Ret, params)                          \
  static_assert(std::is_same_v<decltype(&name), Ret(convention *) params>, #name \
                " is declared as in the export table");
LOADER_EXPORTS(CHECK_LOADER_EXPORT)
#undef CHECK_LOADER_EXPORT
