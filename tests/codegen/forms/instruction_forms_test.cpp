// Every instruction crossed with every kind of operand. For each pair the
// emitter either writes bytes that objdump reads back as the very
// instruction that was asked for, or refuses with a check's text and writes
// nothing. The expected reading is built here from the operands alone, so
// an encoder that picks the wrong family, width, register field or
// addressing form is caught wherever it accepts a form.
#include <stdlib.h>
#include <string.h>

#include <algorithm>
#include <initializer_list>
#include <string>
#include <vector>

#include "platform/control.h"
#include "tests/codegen/emitter/og_operands.h"
#include "tests/codegen/emitter/og_support.h"

namespace {

// ---- The instruction set, as objdump names it ---------------------------------------

struct Instruction {
  uint32_t op;
  const char *name;
  uint32_t operands;
};

const Instruction kInstructions[] = {
#define OG_ROW(number, name, operands, family) {number, #name, operands},
    OG_INSTRUCTIONS(OG_ROW)
#undef OG_ROW
};

// What objdump prints for the instructions without operands.
const char *FixedText(const std::string &name) {
  static const struct {
    const char *name, *text;
  } kTexts[] = {
      {"int3", "int3"},      {"wait", "fwait"},
      {"size16", "data16"},  {"rep", "repz"},
      {"nop", "nop"},        {"ret", "ret"},
      {"rdtsc", "rdtsc"},    {"emms", "emms"},
      {"fldpi", "fldpi"},    {"fchs", "fchs"},
      {"fabsolute", "fabs"}, {"movsd", "movs DWORD PTR es:[edi],DWORD PTR ds:[esi]"},
  };
  for (const auto &t : kTexts)
    if (name == t.name) return t.text;
  return nullptr;
}

// objdump's mnemonic: the constructor's name, with the width or flavour
// that the name carries dropped.
std::string Mnemonic(const std::string &name) {
  static const struct {
    const char *name, *mnemonic;
  } kRenamed[] = {
      {"movsxw", "movsx"}, {"movzxw", "movzx"}, {"jmpi", "jmp"},   {"retn", "ret"},
      {"fldq", "fld"},     {"faddq", "fadd"},   {"fstpq", "fstp"}, {"fildq", "fild"},
      {"fistpq", "fistp"}, {"fstcw", "fnstcw"},
  };
  for (const auto &r : kRenamed)
    if (name == r.name) return r.mnemonic;
  if (!name.empty() && name.back() == '_') return name.substr(0, name.size() - 1);
  return name;
}

bool OneOf(const std::string &name, std::initializer_list<const char *> names) {
  for (const char *n : names)
    if (name == n) return true;
  return false;
}

bool IsShift(const std::string &name) {
  return OneOf(name, {"rol", "shl", "shr", "sar", "psllw", "pslld", "psllq", "psraw", "psrad",
                      "psraq", "psrlw", "psrld", "psrlq"});
}

// The x87 arithmetic whose register form reads "op st,st(i)".
bool IsFpArithmetic(const std::string &name) {
  return OneOf(name, {"fadd", "fmul", "fsub", "fdiv", "fdivr"});
}

// ---- Operand samples: one or more of every kind ----------------------------------------

enum LabelKind { kNoLabel, kAhead, kFarAhead, kBehind, kFarBehind, kUnplacedNear, kUnplacedFar };

struct Sample {
  const char *text;
  OgOperand operand;
  LabelKind label;
};

constexpr int32_t kAheadBy = 40;
constexpr int32_t kFarAheadBy = 1000;
constexpr int32_t kBehindBy = -20;
constexpr int32_t kFarBehindBy = -300;
constexpr int32_t kResolvedAt = 60;  // where unplaced labels are placed afterwards

const Sample kSamples[] = {
    {"nothing", kNo, kNoLabel},
    {"3", I(3), kNoLabel},
    {"-128", I(-128), kNoLabel},
    {"200", I(200), kNoLabel},
    {"0x12345678", I(0x12345678), kNoLabel},
    {"ecx", R(ecx), kNoLabel},
    {"esi", R(esi), kNoLabel},
    {"dl", R(dl), kNoLabel},
    {"bh", R(bh), kNoLabel},
    {"st0", R(st0), kNoLabel},
    {"st3", R(st3), kNoLabel},
    {"mm2", R(mm2), kNoLabel},
    {"mm5", R(mm5), kNoLabel},
    {"[edi]", M(edi), kNoLabel},
    {"[esi+0]", MD(esi, 0), kNoLabel},
    {"[ebp]", M(ebp), kNoLabel},
    {"[esp+8]", MD(esp, 8), kNoLabel},
    {"[ebp-128]", MD(ebp, -128), kNoLabel},
    {"[eax+ebx*4+16]", MSD(eax, ebx, 4, 16), kNoLabel},
    {"[ecx*8+32]", MSD(nullptr, ecx, 8, 32), kNoLabel},
    {"[0x1000]", A(0x1000), kNoLabel},
    {"[esi+esp*2]", MS(esi, esp, 2), kNoLabel},  // esp cannot be an index
    {"label ahead", kNo, kAhead},
    {"label far ahead", kNo, kFarAhead},
    {"label behind", kNo, kBehind},
    {"label far behind", kNo, kFarBehind},
    {"unplaced near_label", kNo, kUnplacedNear},
    {"unplaced label", kNo, kUnplacedFar},
};

const char *const kReg32[8] = {"eax", "ecx", "edx", "ebx", "esp", "ebp", "esi", "edi"};
const char *const kReg8[8] = {"al", "cl", "dl", "bl", "ah", "ch", "dh", "bh"};

std::string RegisterName(const OgCode *r) {
  const uint32_t n = uint32_t(r->data.value);
  switch (r->what) {
    case REG32: return kReg32[n];
    case REG8: return kReg8[n];
    case FPREG: return "st(" + std::to_string(n) + ")";
    case MMXREG: return "mm" + std::to_string(n);
    default: return "?";
  }
}

// ---- objdump's operands, read back ------------------------------------------------------

struct Operand {
  enum Kind { kRegister, kNumber, kMemory } kind = kNumber;
  std::string reg;      // kRegister; "st" is read as st(0)
  uint32_t number = 0;  // kNumber: an immediate or a jump target
  std::string size;     // kMemory: "BYTE", "WORD", "DWORD", "QWORD" or "" (lea)
  std::string base, index;
  uint32_t scale = 1;
  int32_t disp = 0;
};

bool ReadHex(const std::string &s, uint32_t *v) {
  if (s.compare(0, 2, "0x") != 0 || s.size() == 2) return false;
  char *end = nullptr;
  *v = uint32_t(strtoul(s.c_str() + 2, &end, 16));
  return *end == 0;
}

bool ReadAddress(const std::string &inside, Operand *o) {
  size_t at = 0;
  while (at < inside.size()) {
    const bool minus = inside[at] == '-';
    if (inside[at] == '+' || inside[at] == '-') at++;
    size_t end = inside.find_first_of("+-", at);
    if (end == std::string::npos) end = inside.size();
    const std::string term = inside.substr(at, end - at);
    at = end;
    uint32_t v;
    const size_t star = term.find('*');
    if (star != std::string::npos) {
      if (term.substr(0, star) != "eiz") o->index = term.substr(0, star);
      o->scale = uint32_t(atoi(term.c_str() + star + 1));
    } else if (ReadHex(term, &v)) {
      o->disp = minus ? -int32_t(v) : int32_t(v);
    } else {
      o->base = term;
    }
  }
  return true;
}

bool ReadOperand(std::string s, Operand *o) {
  const size_t ptr = s.find(" PTR ");
  if (ptr != std::string::npos) {
    o->size = s.substr(0, ptr);
    s = s.substr(ptr + 5);
  }
  const bool segment = s.compare(0, 3, "ds:") == 0 || s.compare(0, 3, "es:") == 0;
  if (segment) s = s.substr(3);
  if (!s.empty() && s[0] == '[' && s.back() == ']') {
    o->kind = Operand::kMemory;
    return ReadAddress(s.substr(1, s.size() - 2), o);
  }
  uint32_t v;
  if (ReadHex(s, &v)) {
    o->kind = segment || ptr != std::string::npos ? Operand::kMemory : Operand::kNumber;
    if (o->kind == Operand::kMemory)
      o->disp = int32_t(v);
    else
      o->number = v;
    return true;
  }
  o->kind = Operand::kRegister;
  o->reg = s == "st" ? "st(0)" : s;
  return !s.empty();
}

bool ReadInstruction(const std::string &text, std::string *mnemonic, std::vector<Operand> *ops) {
  const size_t space = text.find(' ');
  *mnemonic = text.substr(0, space);
  ops->clear();
  if (space == std::string::npos) return true;
  const std::string rest = text.substr(space + 1);
  size_t at = 0;
  while (at <= rest.size()) {
    size_t comma = rest.find(',', at);
    if (comma == std::string::npos) comma = rest.size();
    Operand o;
    if (!ReadOperand(rest.substr(at, comma - at), &o)) return false;
    ops->push_back(o);
    at = comma + 1;
  }
  return true;
}

// ---- What the instruction asked for -------------------------------------------------------

bool IsKind(const Sample *s, uint32_t what) {
  return s && s->label == kNoLabel && s->operand.kind == OgOperand::kReg &&
         s->operand.reg->what == what;
}

// The width objdump gives a memory operand of `name`; `other` is the other
// operand, which decides between byte and doubleword forms.
std::string MemorySize(const std::string &name, const Sample *other) {
  if (name == "lea") return "";
  if (OneOf(name, {"movsx", "movzx"})) return "BYTE";
  if (OneOf(name, {"movsxw", "movzxw", "fldcw", "fstcw"})) return "WORD";
  if (OneOf(name, {"fldq", "fstpq", "faddq", "fildq", "fistpq"})) return "QWORD";
  if (OneOf(name, {"movd", "punpcklbw", "punpcklwd", "punpckldq"})) return "DWORD";
  if (name[0] == 'p' && name != "push" && name != "pop") return "QWORD";
  if (name == "movq") return "QWORD";
  return IsKind(other, REG8) ? "BYTE" : "DWORD";
}

// The mask of an immediate's width: what objdump shows of it.
uint32_t ImmediateMask(const std::string &name, const Sample *op1) {
  if (name == "retn") return 0xFFFF;
  if (IsShift(name) || IsKind(op1, REG8)) return 0xFF;
  return 0xFFFFFFFF;
}

// Where a label sample lies, from the instruction's first byte.
int32_t Target(LabelKind kind) {
  switch (kind) {
    case kAhead: return kAheadBy;
    case kFarAhead: return kFarAheadBy;
    case kBehind: return kBehindBy;
    case kFarBehind: return kFarBehindBy;
    default: return kResolvedAt;
  }
}

struct Case {
  const Instruction *insn;
  const Sample *s1, *s2;  // null past the instruction's operand count
  std::vector<uint8_t> bytes;

  std::string Describe() const {
    std::string d = insn->name;
    if (s1) d += std::string(" ") + s1->text;
    if (s2) d += std::string(", ") + s2->text;
    return d + "  [" + HexOf(bytes.data(), bytes.size()) + "]";
  }
};

// Compares one operand objdump read with the sample it came from; "" when
// they agree.
std::string Mismatch(const Case &c, const Operand &got, const Sample &want, const Sample *other) {
  const std::string name = c.insn->name;
  if (want.label != kNoLabel) {
    if (got.kind != Operand::kNumber || got.number != uint32_t(Target(want.label)))
      return "expected target " + std::to_string(Target(want.label));
    return "";
  }
  const OgOperand &o = want.operand;
  switch (o.kind) {
    case OgOperand::kReg:
      if (got.kind != Operand::kRegister || got.reg != RegisterName(o.reg))
        return "expected register " + RegisterName(o.reg);
      return "";
    case OgOperand::kImm: {
      const uint32_t v = uint32_t(o.v) & ImmediateMask(name, c.s1);
      if (got.kind != Operand::kNumber || got.number != v)
        return "expected immediate " + std::to_string(v);
      return "";
    }
    case OgOperand::kMem:
      if (got.kind != Operand::kMemory) return "expected a memory operand";
      if (got.size != MemorySize(name, other))
        return "expected size \"" + MemorySize(name, other) + "\", read \"" + got.size + "\"";
      if (got.base != (o.base ? RegisterName(o.base) : "")) return "wrong base";
      if (got.index != (o.index ? RegisterName(o.index) : "")) return "wrong index";
      if (o.index && got.scale != o.scale) return "wrong scale";
      if (got.disp != (o.hasDisp ? o.v : 0)) return "wrong displacement";
      return "";
    default: return "unexpected operand";
  }
}

bool Present(const Sample *s) {
  return s && (s->label != kNoLabel || s->operand.kind != OgOperand::kNone);
}

// "" when objdump's text is the instruction the case asked for.
std::string Check(const Case &c, const std::string &text) {
  const std::string name = c.insn->name;
  if (c.insn->operands == 0) {
    const char *want = FixedText(name);
    return want && text == want ? "" : std::string("expected \"") + (want ? want : "?") + "\"";
  }
  std::string mnemonic;
  std::vector<Operand> got;
  if (!ReadInstruction(text, &mnemonic, &got)) return "unreadable";
  if (mnemonic != Mnemonic(name)) return "expected mnemonic " + Mnemonic(name);

  // The operands in Intel order, as objdump writes them.
  static const Sample kSt0 = {"st0", R(st0), kNoLabel};
  struct Want {
    const Sample *sample, *other;
  };
  std::vector<Want> want;
  if (Present(c.s1)) want.push_back({c.s1, c.s2});
  if (Present(c.s2)) want.push_back({c.s2, c.s1});
  if (name == "imul" && Present(c.s2) && c.s2->operand.kind == OgOperand::kImm)
    want.insert(want.begin(), {c.s1, nullptr});  // imul r, r, imm
  if (IsFpArithmetic(name) && IsKind(c.s1, FPREG))
    want.insert(want.begin(), {&kSt0, nullptr});  // op st, st(i)
  if (got.size() != want.size()) return "expected " + std::to_string(want.size()) + " operands";
  for (size_t i = 0; i < want.size(); i++) {
    const std::string m = Mismatch(c, got[i], *want[i].sample, want[i].other);
    if (!m.empty()) return "operand " + std::to_string(i + 1) + ": " + m;
  }
  return "";
}

class InstructionFormsTest : public OgTest {
 protected:
  static constexpr uint32_t kAt = 1024;  // room for labels behind the instruction
  static constexpr uint32_t kWatch = 32;
  static constexpr uint8_t kFill = 0xF4;

  // A label operand placed (or not) relative to the instruction at `at`.
  OgCode *MakeLabel(LabelKind kind, uint8_t *at) {
    OgCode *l = kind == kUnplacedNear ? near_label(gc) : label(gc);
    if (kind != kUnplacedNear && kind != kUnplacedFar) l->data.label.where = at + Target(kind);
    return l;
  }

  OgCode *MakeOperand(const Sample *s, uint8_t *at) {
    if (s == nullptr) return nullptr;
    if (s->label != kNoLabel) return MakeLabel(s->label, at);
    return Build(gc, s->operand);
  }

  // Emits the case at code + kAt and resolves its unplaced labels. False,
  // with the reason in `why`, when the emitter wrote outside what it
  // reports, or neither wrote nor refused with a reason.
  bool Run(Case *c, bool *accepted, std::string *why) {
    Begin();
    PlatformClearDebugOutput();  // every refusal writes a line there
    uint8_t *at = code + kAt;
    memset(at, kFill, kWatch);
    OgCode *op1 = MakeOperand(c->s1, at);
    OgCode *op2 = MakeOperand(c->s2, at);
    uint8_t *end = emit_code(gc, at, insn(gc, c->insn->op, op1, op2));
    for (OgCode *op : {op1, op2})
      if (end != at && op && op->what == LABEL && op->data.label.where == nullptr)
        resolve(gc, op, at + kResolvedAt);
    c->bytes.assign(at, end);
    const std::string failure = Failure();
    *accepted = end != at && failure.empty();
    if (end != at && !failure.empty()) {
      *why = "wrote bytes and failed \"" + failure + "\"";
      return false;
    }
    for (uint32_t i = uint32_t(end - at); i < kWatch; i++) {
      if (at[i] != kFill) {
        *why = "wrote past the cursor it returned";
        return false;
      }
    }
    if (end != at) return true;
    // A shift by a count of zero or less is nothing to do.
    const bool nothingToShift = OneOf(c->insn->name, {"rol", "shl", "shr", "sar"}) && c->s2 &&
                                c->s2->operand.kind == OgOperand::kImm && c->s2->operand.v <= 0;
    if (failure.empty() && !nothingToShift) {
      *why = "wrote nothing and gave no reason";
      return false;
    }
    return true;
  }
};

TEST_F(InstructionFormsTest, EveryFormIsReadBackOrRefused) {
  const size_t sampleCount = sizeof kSamples / sizeof kSamples[0];
  std::vector<Case> accepted;
  std::vector<uint32_t> acceptedPerOp(OG_OPCODE_COUNT, 0);
  for (const Instruction &insn : kInstructions) {
    const size_t n1 = insn.operands > 0 ? sampleCount : 1;
    const size_t n2 = insn.operands > 1 ? sampleCount : 1;
    for (size_t i = 0; i < n1; i++) {
      for (size_t j = 0; j < n2; j++) {
        Case c{&insn,
               insn.operands > 0 ? &kSamples[i] : nullptr,
               insn.operands > 1 ? &kSamples[j] : nullptr,
               {}};
        bool ok = false;
        std::string why;
        if (!Run(&c, &ok, &why)) ADD_FAILURE() << c.Describe() << ": " << why;
        if (ok) {
          accepted.push_back(c);
          acceptedPerOp[insn.op]++;
        }
      }
    }
  }

  // Every instruction but psraq, which has no encoding, has a form.
  for (const Instruction &insn : kInstructions) {
    if (insn.op == OG_OP_psraq)
      EXPECT_EQ(acceptedPerOp[insn.op], 0u) << insn.name;
    else
      EXPECT_GT(acceptedPerOp[insn.op], 0u) << insn.name << " accepts no form";
  }

  if (!HaveObjdump()) GTEST_SKIP() << "objdump is not installed";
  // objdump is run on a few hundred files at a time: one shell command
  // line holds at most 128 KiB.
  constexpr size_t kBatch = 500;
  for (size_t first = 0; first < accepted.size(); first += kBatch) {
    const size_t last = std::min(accepted.size(), first + kBatch);
    std::vector<std::vector<uint8_t>> chunks;
    for (size_t k = first; k < last; k++) chunks.push_back(accepted[k].bytes);
    std::vector<std::vector<std::string>> texts;
    ASSERT_TRUE(Disassemble(chunks, &texts));
    for (size_t k = first; k < last; k++) {
      const Case &c = accepted[k];
      const std::vector<std::string> &t = texts[k - first];
      if (t.size() != 1) {
        ADD_FAILURE() << c.Describe() << ": objdump read " << t.size() << " instructions"
                      << (t.empty() ? "" : ", first \"" + t[0] + "\"");
        continue;
      }
      const std::string why = Check(c, t[0]);
      EXPECT_EQ(why, "") << c.Describe() << " read as \"" << t[0] << "\"";
    }
  }
}

}  // namespace
