#include "tests/fuzz/fuzz_params.h"

#include <sstream>

#include "tests/fuzz/fuzz_gl.h"

namespace {

int TypeBytes(const std::string &t) {
  if (t == "GLbyte" || t == "GLubyte" || t == "GLboolean" || t == "GLvoid") return 1;
  if (t == "GLshort" || t == "GLushort") return 2;
  if (t == "GLdouble" || t == "GLclampd") return 8;
  return 4;
}

FuzzParam Parse(std::string text) {
  FuzzParam p{};
  const bool isConst = text.find("const ") != std::string::npos;
  int stars = 0;
  for (char &c : text) {
    if (c == '*') stars++, c = ' ';
  }
  std::istringstream words(text);
  std::string word, type;
  while (words >> word) {
    if (word == "const") continue;
    if (type.empty()) {
      type = word;
    } else {
      p.name = word;
    }
  }
  p.glType = type;
  p.elementBytes = stars > 1 ? 4 : TypeBytes(type);
  if (stars > 0) {
    p.type = FuzzType::Pointer;
    p.output = !isConst;
  } else if (type == "GLenum") {
    p.type = FuzzType::Enum;
  } else if (type == "GLbitfield") {
    p.type = FuzzType::Bitfield;
  } else if (type == "GLboolean") {
    p.type = FuzzType::Boolean;
  } else if (type == "GLfloat" || type == "GLdouble" || type == "GLclampf" ||
             type == "GLclampd") {
    p.type = FuzzType::Float;
  } else {
    p.type = FuzzType::Int;
  }
  return p;
}

std::vector<FuzzParam> ParseList(const char *text) {
  std::string s(text);
  s = s.substr(1, s.size() - 2);  // the parentheses
  std::vector<FuzzParam> params;
  if (s == "void") return params;
  size_t start = 0;
  while (start <= s.size()) {
    size_t comma = s.find(',', start);
    if (comma == std::string::npos) comma = s.size();
    params.push_back(Parse(s.substr(start, comma - start)));
    start = comma + 1;
  }
  return params;
}

}  // namespace

const std::vector<FuzzEntry> &FuzzEntries() {
  static const std::vector<FuzzEntry> entries = [] {
    std::vector<FuzzEntry> list;
#define FUZZ_ENTRY(s, Name, words, kind, Ret, params) list.push_back({s, #Name, ParseList(#params)});
    GL_SLOTS(FUZZ_ENTRY)
#undef FUZZ_ENTRY
    return list;
  }();
  return entries;
}

int FuzzSlotOf(const std::string &name) {
  for (const FuzzEntry &e : FuzzEntries()) {
    if (name == e.name) return e.slot;
  }
  return -1;
}
