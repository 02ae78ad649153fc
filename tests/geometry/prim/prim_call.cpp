#include "tests/geometry/prim/prim_call.h"

#include <stdio.h>

std::string Describe(const PrimCall &call, bool full) {
  std::string s;
  if (full) s += "@" + std::to_string(call.during) + " ";
  s += call.kind + "(";
  for (size_t i = 0; i < call.ids.size(); ++i) s += (i ? "," : "") + std::to_string(call.ids[i]);
  s += ")";
  char hex[32];
  if (call.hasOr) {
    snprintf(hex, sizeof hex, " or=%#x", call.orCodes);
    s += hex;
  }
  if (call.needs) {
    snprintf(hex, sizeof hex, " needs=%#x", call.needs);
    s += hex;
  }
  if (!call.edges.empty()) s += " e" + call.edges;
  if (!full) return s;
  if (call.provoking >= 0) s += " prov" + std::to_string(call.provoking);
  if (call.stipple >= 0) s += " stip" + std::to_string(call.stipple);
  s += " lock" + std::to_string(call.lockDepth) + "#" + std::to_string(call.lockCalls);
  return s;
}

std::vector<std::string> Describe(const std::vector<PrimCall> &calls, bool full) {
  std::vector<std::string> out;
  for (const PrimCall &c : calls) out.push_back(Describe(c, full));
  return out;
}
