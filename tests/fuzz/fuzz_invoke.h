// Calling a slot's function with drawn arguments: each argument converted
// to the parameter's own C type, so every call is an ordinary typed call.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include <type_traits>
#include <utility>

struct FuzzArg {
  int64_t i = 0;
  double f = 0;
  void *p = nullptr;
};

template <class T>
T FuzzAs(const FuzzArg &a) {
  if constexpr (std::is_pointer_v<T>) {
    return static_cast<T>(a.p);
  } else if constexpr (std::is_floating_point_v<T>) {
    return T(a.f);
  } else {
    return T(uint64_t(a.i));
  }
}

template <class F>
struct FuzzInvoke;

template <class R, class... A>
struct FuzzInvoke<R(A...)> {
  static uint32_t Call(void *fn, const FuzzArg *args) {
    return Do(fn, args, std::index_sequence_for<A...>{});
  }
  template <size_t... I>
  static uint32_t Do(void *fn, const FuzzArg *args, std::index_sequence<I...>) {
    auto f = reinterpret_cast<R (*)(A...)>(fn);
    if constexpr (std::is_void_v<R>) {
      f(FuzzAs<A>(args[I])...);
      return 0;
    } else if constexpr (std::is_pointer_v<R>) {
      return uint32_t(uintptr_t(f(FuzzAs<A>(args[I])...)));
    } else {
      return uint32_t(f(FuzzAs<A>(args[I])...));
    }
  }
};

typedef uint32_t (*FuzzCaller)(void *fn, const FuzzArg *args);
