#include "tests/dlist/ops/op_args.h"

#include <string.h>

#include <type_traits>
#include <utility>

#include "core/gl_slots.h"

namespace {

struct ParamInfo {
  unsigned size;  // of the value, or of the element pointed to
  bool pointer;
  bool floating;
};

template <typename T>
ParamInfo Info() {
  if constexpr (std::is_pointer_v<T>) {
    using E = std::remove_const_t<std::remove_pointer_t<T>>;
    if constexpr (std::is_void_v<E>)
      return {1, true, false};
    else
      return {unsigned(sizeof(E)), true, std::is_floating_point_v<E>};
  } else {
    return {unsigned(sizeof(T)), false, std::is_floating_point_v<T>};
  }
}

template <typename T>
T As(const OpArg &a) {
  if constexpr (std::is_pointer_v<T>) {
    return a.null ? nullptr : reinterpret_cast<T>(const_cast<uint8_t *>(a.data.data()));
  } else {
    T v;
    memcpy(&v, &a.bits, sizeof v);
    return v;
  }
}

template <typename F>
struct Shape;
template <typename R, typename... A>
struct Shape<R(A...)> {
  static std::vector<ParamInfo> Params() { return {Info<A>()...}; }
  template <size_t... I>
  static void CallWith(GlDispatchWord word, const std::vector<OpArg> &args,
                       std::index_sequence<I...>) {
    reinterpret_cast<R(GLENTRY *)(A...)>(word)(As<A>(args[I])...);
  }
  static void Call(GlDispatchWord word, const std::vector<OpArg> &args) {
    CallWith(word, args, std::index_sequence_for<A...>{});
  }
};

struct SlotInfo {
  const char *name;
  std::vector<ParamInfo> (*params)();
  void (*call)(GlDispatchWord, const std::vector<OpArg> &);
};

#define SLOT_INFO(s, Name, words, list, Ret, params) \
  {#Name, &Shape<GlSig_##Name>::Params, &Shape<GlSig_##Name>::Call},
const SlotInfo kSlots[GL_SLOT_COUNT] = {GL_SLOTS(SLOT_INFO)};
#undef SLOT_INFO

// Values whose bits show any conversion, truncation or reordering. NaNs are
// quiet: an x87 load, which the calling convention uses for float results,
// quiets a signalling one.
uint64_t Pattern(const ParamInfo &p, int k) {
  static const uint32_t kFloats[] = {0x7FC12345u, 0x80000000u, 0x00000123u,
                                     0x3FC00000u, 0xC0100000u, 0x7FE00001u};
  static const uint64_t kDoubles[] = {0x7FF8000012345678ull, 0x8000000000000000ull,
                                      0x0000000000000123ull, 0x3FF8000000000000ull,
                                      0xC002000000000000ull, 0x7FFC000000000001ull};
  if (p.floating) return p.size == 8 ? kDoubles[k % 6] : kFloats[k % 6];
  switch (p.size) {
    case 1: return (0x80u + 0x13u * k) & 0xFFu;
    case 2: return (0x8000u + 0x1357u * k) & 0xFFFFu;
    case 8: return 0x8000000000000000ull + 0x0101010101010101ull * (k + 1);
    default: return 0x80000000u + 0x01020304u * (k + 1);
  }
}

struct Family {
  const char *prefix;
  GLenum target;  // the enum before the pname, or 0
  std::vector<std::pair<GLenum, int>> pnames;
};

const Family *FamilyOf(const std::string &name) {
  static const Family kFamilies[] = {
      {"LightModel", 0, {{0x0B51, 1}, {0x0B52, 1}, {0x0B53, 4}}},
      {"Light",
       GL_LIGHT0,
       {{0x1200, 4}, {0x1201, 4}, {0x1202, 4}, {0x1203, 4}, {0x1204, 3}, {0x1205, 1}, {0x1206, 1},
        {0x1207, 1}, {0x1208, 1}, {0x1209, 1}}},
      {"Material",
       GL_FRONT,
       {{0x1200, 4}, {0x1201, 4}, {0x1202, 4}, {0x1600, 4}, {0x1602, 4}, {0x1601, 1}, {0x1603, 3}}},
      {"TexParameter",
       GL_TEXTURE_2D,
       {{0x2800, 1}, {0x2801, 1}, {0x2802, 1}, {0x2803, 1}, {0x1004, 4}, {0x8066, 1}}},
      {"TexEnv", 0x2300, {{0x2200, 1}, {0x2201, 4}}},
      {"TexGen", 0x2000, {{0x2500, 1}, {0x2501, 4}, {0x2502, 4}}},
      {"Fog", 0, {{0x0B61, 1}, {0x0B62, 1}, {0x0B63, 1}, {0x0B64, 1}, {0x0B65, 1}, {0x0B66, 4}}},
  };
  if (name == "Fogf" || name == "Fogi") return nullptr;  // no pname check: plain ops
  for (const Family &f : kFamilies)
    if (name.rfind(f.prefix, 0) == 0) return &f;
  return nullptr;
}

bool IsVectorForm(int slot) {
  return slot > 0 && SlotName(slot) == SlotName(slot - 1) + "v";
}

// Elements behind pointer argument `index`.
int PointerCount(int slot, const Family *family, int pnameCount) {
  const std::string name = SlotName(slot);
  if (family) return pnameCount;
  if (name.rfind("PixelMap", 0) == 0 || name == "PrioritizeTextures") return 3;
  if (name == "ClipPlane") return 4;
  if (name.find("Matrix") != std::string::npos) return 16;
  if (name.rfind("Rect", 0) == 0) return 2;
  if (IsVectorForm(slot)) return int(kSlots[slot - 1].params().size());
  return 1;
}

OpCase MakeCase(int slot, const Family *family, GLenum pname, int pnameCount) {
  const std::vector<ParamInfo> params = kSlots[slot].params();
  const std::string name = SlotName(slot);
  const bool shininess = family && pname == GL_SHININESS && name.rfind("Material", 0) == 0;
  OpCase c{slot, pname, {}};
  int k = slot;
  for (size_t i = 0; i < params.size(); ++i) {
    const ParamInfo &p = params[i];
    OpArg a;
    if (p.pointer) {
      a.size = 4;
      a.pointer = true;
      const int count = PointerCount(slot, family, pnameCount);
      for (int e = 0; e < count; ++e) {
        uint64_t bits = Pattern(p, k++);
        if (shininess) bits = p.floating ? 0x41200000u : 10u;  // 10: a valid exponent
        const size_t at = a.data.size();
        a.data.resize(at + p.size);
        memcpy(a.data.data() + at, &bits, p.size);
      }
    } else {
      a.size = p.size;
      a.bits = Pattern(p, k++);
    }
    c.args.push_back(a);
  }
  if (family) {
    size_t lead = family->target ? 2 : 1;
    if (family->target) c.args[0].bits = family->target;
    c.args[lead - 1].bits = pname;
    if (shininess && !params.back().pointer) c.args.back().bits = params.back().floating ? 0x41200000u : 10u;
  }
  if (name == "Begin") c.args[0].bits = GL_TRIANGLES;
  if (name.rfind("PixelMap", 0) == 0) c.args[1].bits = 3;
  if (name == "PrioritizeTextures") c.args[0].bits = 3;
  return c;
}

}  // namespace

std::string SlotName(int slot) { return kSlots[slot].name; }

std::vector<OpCase> CasesOf(int slot) {
  const Family *family = FamilyOf(SlotName(slot));
  if (family == nullptr) return {MakeCase(slot, nullptr, 0, 0)};
  const bool scalar = !kSlots[slot].params().back().pointer;
  std::vector<OpCase> cases;
  for (const auto &[pname, count] : family->pnames)
    if (!scalar || count == 1) cases.push_back(MakeCase(slot, family, pname, count));
  return cases;
}

void CallSlot(int slot, GlDispatchWord word, const std::vector<OpArg> &args) {
  kSlots[slot].call(word, args);
}

int ReplaySlot(int slot) {
  const std::string name = SlotName(slot);
  if (name == "Fogf" || name == "Fogi") return slot;
  return slot + 1 < GL_SLOT_COUNT && IsVectorForm(slot + 1) ? slot + 1 : slot;
}

bool HoldsDoubles(int slot) {
  for (const ParamInfo &p : kSlots[slot].params())
    if (p.floating && p.size == 8) return true;
  return false;
}

bool IsPointerArg(int slot, int index) {
  const std::vector<ParamInfo> params = kSlots[slot].params();
  return index < int(params.size()) && params[size_t(index)].pointer;
}

std::vector<OpArg> ReplayView(int slot, const std::vector<OpArg> &args) {
  const int replay = ReplaySlot(slot);
  if (replay == slot) return args;
  const std::vector<ParamInfo> params = kSlots[replay].params();
  auto bytesOf = [](const OpArg &a) {
    std::vector<uint8_t> b(a.size);
    memcpy(b.data(), &a.bits, a.size);
    return b;
  };
  std::vector<OpArg> view;
  if (!params.front().pointer) {
    // Enums, then the one value behind a pointer.
    view.assign(args.begin(), args.end() - 1);
    OpArg p;
    p.pointer = true;
    p.data = bytesOf(args.back());
    view.push_back(p);
    return view;
  }
  // One pointer per group of values (two corners for glRect).
  const size_t groups = params.size(), per = args.size() / groups;
  for (size_t g = 0; g < groups; ++g) {
    OpArg p;
    p.pointer = true;
    for (size_t i = 0; i < per; ++i) {
      const std::vector<uint8_t> b = bytesOf(args[g * per + i]);
      p.data.insert(p.data.end(), b.begin(), b.end());
    }
    view.push_back(p);
  }
  return view;
}

bool SameCall(const LoggedCall &call, const std::vector<OpArg> &expected) {
  if (call.count != int(expected.size())) return false;
  for (size_t i = 0; i < expected.size(); ++i) {
    const OpArg &e = expected[i];
    if (e.pointer) {
      const void *p = reinterpret_cast<const void *>(uintptr_t(call.bits[i]));
      if (p == nullptr || memcmp(p, e.data.data(), e.data.size()) != 0) return false;
    } else {
      const uint64_t mask = e.size == 8 ? ~0ull : (1ull << (8 * e.size)) - 1;
      if (call.sizes[i] != e.size || (call.bits[i] & mask) != (e.bits & mask)) return false;
    }
  }
  return true;
}
