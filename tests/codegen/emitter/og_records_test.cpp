// The records: constructors and their fixed numbers, the register records,
// labels, memory operands, the record pool and warm-up.
#include <string.h>

#include <string>

#include "tests/codegen/emitter/og_support.h"

namespace {

using RecordTest = OgTest;

struct Constructor0 {
  const char *name;
  OgCode *(*make)(GlContext *);
  uint32_t op;
};
struct Constructor1 {
  const char *name;
  OgCode *(*make)(GlContext *, OgCode *);
  uint32_t op;
};
struct Constructor2 {
  const char *name;
  OgCode *(*make)(GlContext *, OgCode *, OgCode *);
  uint32_t op;
};

// The numbering every generator and the encoder agree on.
const Constructor0 kNoOperand[] = {
    {"ret", ret, 27},     {"int3", int3, 44},   {"wait", wait, 45},
    {"size16", size16, 46}, {"rep", rep, 47},   {"movsd", movsd, 48},
    {"nop", nop, 49},     {"fldpi", fldpi, 67}, {"fabsolute", fabsolute, 68},
    {"fchs", fchs, 75},   {"rdtsc", rdtsc, 76}, {"emms", emms, 77},
};

const Constructor1 kOneOperand[] = {
    {"push", push, 6},     {"pop", pop, 7},       {"inc", inc, 8},       {"dec", dec, 9},
    {"ja", ja, 10},        {"jae", jae, 11},      {"jb", jb, 12},        {"jbe", jbe, 13},
    {"jge", jge, 14},      {"jl", jl, 15},        {"jle", jle, 16},      {"jg", jg, 17},
    {"je", je, 18},        {"jne", jne, 19},      {"jo", jo, 20},        {"jno", jno, 21},
    {"js", js, 22},        {"jns", jns, 23},      {"call", call, 24},    {"jmp", jmp, 25},
    {"jmpi", jmpi, 26},    {"retn", retn, 28},    {"idiv", idiv, 33},    {"fld", fld, 50},
    {"fild", fild, 51},    {"fildq", fildq, 52},  {"fxch", fxch, 53},    {"fst", fst, 54},
    {"fstp", fstp, 55},    {"fstpq", fstpq, 56},  {"fistp", fistp, 57},  {"fist", fist, 58},
    {"fistpq", fistpq, 59}, {"fmul", fmul, 60},   {"fadd", fadd, 62},    {"fsub", fsub, 64},
    {"fdivr", fdivr, 65},  {"fdiv", fdiv, 66},    {"fldcw", fldcw, 69},  {"fstcw", fstcw, 70},
    {"fldq", fldq, 73},    {"faddq", faddq, 74},
};

const Constructor2 kTwoOperands[] = {
    {"mov", mov, 0},           {"movsx", movsx, 1},         {"movzx", movzx, 2},
    {"movsxw", movsxw, 3},     {"movzxw", movzxw, 4},       {"lea", lea, 5},
    {"cmp", cmp, 29},          {"add", add, 30},            {"adc", adc, 31},
    {"imul", imul, 32},        {"sub", sub, 34},            {"sbb", sbb, 35},
    {"and", and_, 36},         {"or", or_, 37},             {"xor", xor_, 38},
    {"rol", rol, 39},          {"shl", shl, 40},            {"shr", shr, 41},
    {"sar", sar, 42},          {"test", test, 43},          {"fmulp", fmulp, 61},
    {"faddp", faddp, 63},      {"fsubp", fsubp, 71},        {"fsubrp", fsubrp, 72},
    {"movd", movd, 78},        {"movq", movq, 79},          {"packssdw", packssdw, 80},
    {"packsswb", packsswb, 81}, {"packuswb", packuswb, 82}, {"pslld", pslld, 83},
    {"psllq", psllq, 84},      {"psllw", psllw, 85},        {"psrad", psrad, 86},
    {"psraq", psraq, 87},      {"psraw", psraw, 88},        {"psrld", psrld, 89},
    {"psrlq", psrlq, 90},      {"psrlw", psrlw, 91},        {"punpckhbw", punpckhbw, 92},
    {"punpckhdq", punpckhdq, 93}, {"punpckhwd", punpckhwd, 94}, {"punpcklbw", punpcklbw, 95},
    {"punpckldq", punpckldq, 96}, {"punpcklwd", punpcklwd, 97}, {"paddb", paddb, 98},
    {"paddd", paddd, 99},      {"paddsb", paddsb, 100},     {"paddsw", paddsw, 101},
    {"paddusb", paddusb, 102}, {"paddusw", paddusw, 103},   {"paddw", paddw, 104},
    {"pand", pand, 105},       {"pandn", pandn, 106},       {"pcmpeqb", pcmpeqb, 107},
    {"pcmpeqd", pcmpeqd, 108}, {"pcmpeqw", pcmpeqw, 109},   {"pcmpgtb", pcmpgtb, 110},
    {"pcmpgtw", pcmpgtw, 111}, {"pcmpgtd", pcmpgtd, 112},   {"pmaddwd", pmaddwd, 113},
    {"pmulhw", pmulhw, 114},   {"pmullw", pmullw, 115},     {"psubb", psubb, 116},
    {"psubw", psubw, 117},     {"psubd", psubd, 118},       {"psubsb", psubsb, 119},
    {"psubsw", psubsw, 120},   {"psubusb", psubusb, 121},   {"psubusw", psubusw, 122},
    {"por", por, 123},         {"pxor", pxor, 124},
};

void ExpectInsn(const OgCode *c, uint32_t op, const OgCode *op1, const OgCode *op2,
                const char *name) {
  ASSERT_NE(c, nullptr) << name;
  EXPECT_EQ(c->what, uint32_t(INSN)) << name;
  EXPECT_EQ(c->data.insn.op, op) << name;
  EXPECT_EQ(c->data.insn.op1, op1) << name;
  EXPECT_EQ(c->data.insn.op2, op2) << name;
}

TEST_F(RecordTest, EveryConstructorStoresItsNumberAndOperands) {
  std::vector<int> made(OG_OPCODE_COUNT, 0);
  OgCode *a = value(gc, 1);
  OgCode *b = value(gc, 2);
  for (const Constructor0 &k : kNoOperand) {
    ExpectInsn(k.make(gc), k.op, nullptr, nullptr, k.name);
    made[k.op]++;
  }
  for (const Constructor1 &k : kOneOperand) {
    ExpectInsn(k.make(gc, a), k.op, a, nullptr, k.name);
    made[k.op]++;
  }
  for (const Constructor2 &k : kTwoOperands) {
    ExpectInsn(k.make(gc, a, b), k.op, a, b, k.name);
    made[k.op]++;
  }
  for (uint32_t op = 0; op < OG_OPCODE_COUNT; op++)
    EXPECT_EQ(made[op], 1) << "instruction number " << op;
  EXPECT_EQ(Failure(), "");
}

TEST_F(RecordTest, ConstructorsTakeAnyOperandsTheEncoderJudges) {
  OgCode *odd = mov(gc, st0, mm1);  // no such form: still a record
  ExpectInsn(odd, OG_OP_mov, st0, mm1, "mov st0, mm1");
  OgCode *raw = insn(gc, 200, nullptr, nullptr);
  EXPECT_EQ(raw->data.insn.op, 200u);
  EXPECT_EQ(Failure(), "");
}

TEST_F(RecordTest, RegisterRecordsAreNumberedByKind) {
  struct Set {
    OgCode *const *regs[8];
    uint32_t what;
  };
  const Set sets[] = {
      {{&eax, &ecx, &edx, &ebx, &esp, &ebp, &esi, &edi}, REG32},
      {{&al, &cl, &dl, &bl, &ah, &ch, &dh, &bh}, REG8},
      {{&st0, &st1, &st2, &st3, &st4, &st5, &st6, &st7}, FPREG},
      {{&mm0, &mm1, &mm2, &mm3, &mm4, &mm5, &mm6, &mm7}, MMXREG},
  };
  std::vector<const OgCode *> all;
  for (const Set &s : sets) {
    for (int32_t i = 0; i < 8; i++) {
      const OgCode *r = *s.regs[i];
      EXPECT_EQ(r->what, s.what);
      EXPECT_EQ(r->data.value, i);
      all.push_back(r);
    }
  }
  for (size_t i = 0; i < all.size(); i++)
    for (size_t j = i + 1; j < all.size(); j++) EXPECT_NE(all[i], all[j]);
}

TEST_F(RecordTest, LabelsStartUnplacedAndDifferOnlyInWidth) {
  OgCode *far = label(gc);
  OgCode *near = near_label(gc);
  for (OgCode *l : {far, near}) {
    EXPECT_EQ(l->what, uint32_t(LABEL));
    EXPECT_EQ(l->data.label.refs, nullptr);
    EXPECT_EQ(l->data.label.where, nullptr);
    EXPECT_EQ(l->data.label.name, nullptr);
  }
  EXPECT_EQ(far->data.label.far, 1u);
  EXPECT_EQ(near->data.label.far, 0u);
}

TEST_F(RecordTest, MemoryOperands) {
  OgCode *d = value(gc, 12);
  OgCode *full = mem(gc, d, esi, ecx, 4);
  EXPECT_EQ(full->what, uint32_t(MEM));
  EXPECT_EQ(full->data.mem.disp, d);
  EXPECT_EQ(full->data.mem.reg1, esi);
  EXPECT_EQ(full->data.mem.reg2, ecx);
  EXPECT_EQ(full->data.mem.scale, 4u);
  OgCode *two = mem2(gc, d, ebp);
  OgCode *same = mem(gc, d, ebp, nullptr, 1);
  EXPECT_EQ(memcmp(two, same, sizeof(OgCode)), 0);
  EXPECT_EQ(value(gc, -7)->data.value, -7);
}

// Records are handed out in order from `ready`; the pool gives at most
// 7999 between warm-ups and then fails its check, and every emit after it
// is refused, so nothing is built from a reused record.
TEST_F(RecordTest, PoolHandsOutRecordsInOrderUpToItsLimit) {
  OgState &ogs = gc->ogs;
  EXPECT_EQ(value(gc, 1), &ogs.ready[0]);
  EXPECT_EQ(value(gc, 2), &ogs.ready[1]);
  for (int i = 2; i < OG_RECORD_COUNT - 1; i++) value(gc, i);
  EXPECT_EQ(Failure(), "") << "7999 records fit";
  EXPECT_EQ(ogs.next, &ogs.ready[OG_RECORD_COUNT - 1]);

  OgCode *over = value(gc, 5);
  EXPECT_EQ(Failure(), "(char*)ogs->next < ((char*)ogs->ready + sizeof(ogs->ready))");
  EXPECT_GE(over, &ogs.ready[0]);
  EXPECT_LT(over, &ogs.ready[OG_RECORD_COUNT]);
  EXPECT_EQ(ogs.next, &ogs.ready[OG_RECORD_COUNT - 1]);

  code[0] = 0xAB;
  Emit(nop(gc));
  EXPECT_EQ(cb, code) << "nothing is emitted once the pool ran out";
  EXPECT_EQ(code[0], 0xAB);
  EXPECT_NE(DebugOutput().find("Assertion failed: (char*)ogs->next"), std::string::npos);

  // Warm-up frees every record and forgets the failure.
  Begin();
  EXPECT_EQ(Failure(), "");
  EXPECT_EQ(value(gc, 9), &ogs.ready[0]);
  Emit(nop(gc));
  EXPECT_EQ(cb, code + 1);
  EXPECT_EQ(code[0], 0x90);
}

TEST_F(RecordTest, WarmupKeepsTheConstantPools) {
  const int32_t one = fpk(gc, 1.0)->data.mem.disp->data.value;
  const uint32_t used = gc->ogs.fpconstant_next;
  Begin();
  EXPECT_EQ(gc->ogs.fpconstant_next, used);
  EXPECT_EQ(fpk(gc, 1.0)->data.mem.disp->data.value, one);
}

}  // namespace
