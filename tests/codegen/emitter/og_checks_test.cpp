// The encoder's checks: each refusal reports its text, writes nothing and
// returns the cursor unchanged, and the next instruction encodes as usual.
#include <string.h>

#include <string>
#include <vector>

#include "platform/control.h"
#include "tests/codegen/emitter/og_support.h"

namespace {

typedef OgCode *(*Build)(GlContext *gc);

struct Refusal {
  const char *what;
  Build build;
  const char *text;
};

OgCode *At(GlContext *gc, int32_t d, OgCode *base) { return mem2(gc, value(gc, d), base); }

const Refusal kRefusals[] = {
    // not an instruction, unknown instructions
    {"a value", [](GlContext *gc) { return value(gc, 1); }, "c->what == INSN"},
    {"a label", [](GlContext *gc) { return label(gc); }, "c->what == INSN"},
    {"no record", [](GlContext *) -> OgCode * { return nullptr; }, "c->what == INSN"},
    {"opcode 125", [](GlContext *gc) { return insn(gc, 125, eax, ecx); }, "0"},
    {"opcode ~0", [](GlContext *gc) { return insn(gc, 0xFFFFFFFFu, nullptr, nullptr); }, "0"},
    {"psraq", [](GlContext *gc) { return psraq(gc, mm0, mm1); }, "0"},
    {"psraq by 3", [](GlContext *gc) { return psraq(gc, mm0, value(gc, 3)); }, "0"},

    // operand combinations with no form
    {"mov eax, cl", [](GlContext *gc) { return mov(gc, eax, cl); }, "0"},
    {"mov cl, eax", [](GlContext *gc) { return mov(gc, cl, eax); }, "0"},
    {"mov mem, mem", [](GlContext *gc) { return mov(gc, At(gc, 0, esi), At(gc, 4, esi)); }, "0"},
    {"mov 5, eax", [](GlContext *gc) { return mov(gc, value(gc, 5), eax); }, "0"},
    {"mov eax, st0", [](GlContext *gc) { return mov(gc, eax, st0); }, "0"},
    {"mov mm0, eax", [](GlContext *gc) { return mov(gc, mm0, eax); }, "0"},
    {"mov eax, nothing", [](GlContext *gc) { return mov(gc, eax, nullptr); }, "0"},
    {"movsx eax, ecx", [](GlContext *gc) { return movsx(gc, eax, ecx); }, "0"},
    {"movzx mem, cl", [](GlContext *gc) { return movzx(gc, At(gc, 0, esi), cl); }, "0"},
    {"movzxw eax, ecx", [](GlContext *gc) { return movzxw(gc, eax, ecx); }, "0"},
    {"lea eax, ecx", [](GlContext *gc) { return lea(gc, eax, ecx); }, "0"},
    {"push st0", [](GlContext *gc) { return push(gc, st0); }, "0"},
    {"push cl", [](GlContext *gc) { return push(gc, cl); }, "0"},
    {"pop 1", [](GlContext *gc) { return pop(gc, value(gc, 1)); }, "0"},
    {"inc 1", [](GlContext *gc) { return inc(gc, value(gc, 1)); }, "0"},
    {"dec mm1", [](GlContext *gc) { return dec(gc, mm1); }, "0"},
    {"add mem, mem", [](GlContext *gc) { return add(gc, At(gc, 0, esi), At(gc, 0, edi)); }, "0"},
    {"add eax, cl", [](GlContext *gc) { return add(gc, eax, cl); }, "0"},
    {"add 1, eax", [](GlContext *gc) { return add(gc, value(gc, 1), eax); }, "0"},
    {"test eax, mem", [](GlContext *gc) { return test(gc, eax, At(gc, 0, esi)); }, "0"},
    {"cmp st0, 1", [](GlContext *gc) { return cmp(gc, st0, value(gc, 1)); }, "0"},
    {"imul mem, eax", [](GlContext *gc) { return imul(gc, At(gc, 0, esi), eax); }, "0"},
    {"imul eax, cl", [](GlContext *gc) { return imul(gc, eax, cl); }, "0"},
    {"idiv 3", [](GlContext *gc) { return idiv(gc, value(gc, 3)); }, "0"},
    {"idiv cl", [](GlContext *gc) { return idiv(gc, cl); }, "0"},
    {"je eax", [](GlContext *gc) { return je(gc, eax); }, "0"},
    {"jmp 5", [](GlContext *gc) { return jmp(gc, value(gc, 5)); }, "0"},
    {"call 5", [](GlContext *gc) { return call(gc, value(gc, 5)); }, "0"},
    {"jmpi label", [](GlContext *gc) { return jmpi(gc, label(gc)); }, "0"},
    {"retn eax", [](GlContext *gc) { return retn(gc, eax); }, "0"},
    {"fild st1", [](GlContext *gc) { return fild(gc, st1); }, "0"},
    {"fxch mem", [](GlContext *gc) { return fxch(gc, At(gc, 0, esi)); }, "0"},
    {"fstpq st1", [](GlContext *gc) { return fstpq(gc, st1); }, "0"},
    {"fldcw eax", [](GlContext *gc) { return fldcw(gc, eax); }, "0"},
    {"fld mm0", [](GlContext *gc) { return fld(gc, mm0); }, "0"},
    {"faddp mem, st0", [](GlContext *gc) { return faddp(gc, At(gc, 0, esi), st0); }, "0"},
    {"movd mm0, mm1", [](GlContext *gc) { return movd(gc, mm0, mm1); }, "0"},
    {"movd st0, mm1", [](GlContext *gc) { return movd(gc, st0, mm1); }, "0"},
    {"movq eax, mm0", [](GlContext *gc) { return movq(gc, eax, mm0); }, "0"},
    {"movq mm0, eax", [](GlContext *gc) { return movq(gc, mm0, eax); }, "0"},
    {"paddw eax, mm0", [](GlContext *gc) { return paddw(gc, eax, mm0); }, "0"},
    {"paddw mm0, eax", [](GlContext *gc) { return paddw(gc, mm0, eax); }, "0"},
    {"paddw mm0, 3", [](GlContext *gc) { return paddw(gc, mm0, value(gc, 3)); }, "0"},
    {"psllw eax, 3", [](GlContext *gc) { return psllw(gc, eax, value(gc, 3)); }, "0"},
    {"psllw mm0, eax", [](GlContext *gc) { return psllw(gc, mm0, eax); }, "0"},

    // the checks with texts of their own
    {"shl eax, ecx", [](GlContext *gc) { return shl(gc, eax, ecx); }, "is_imm(c->data.insn.op2)"},
    {"shr eax, nothing", [](GlContext *gc) { return shr(gc, eax, nullptr); },
     "is_imm(c->data.insn.op2)"},
    {"shl cl, 3", [](GlContext *gc) { return shl(gc, cl, value(gc, 3)); },
     "is_reg32(c->data.insn.op1)"},
    {"sar mem, 1", [](GlContext *gc) { return sar(gc, At(gc, 0, esi), value(gc, 1)); },
     "is_reg32(c->data.insn.op1)"},
    {"shl eax, 32", [](GlContext *gc) { return shl(gc, eax, value(gc, 32)); },
     "c->data.insn.op2->data.value < 32"},
    {"faddp st1, st1", [](GlContext *gc) { return faddp(gc, st1, st1); },
     "c->data.insn.op2 == st0"},
    {"fsubp st2", [](GlContext *gc) { return fsubp(gc, st2, nullptr); },
     "c->data.insn.op2 == st0"},
    {"fstpq [esi+4]", [](GlContext *gc) { return fstpq(gc, At(gc, 4, esi)); },
     "(c->data.insn.op1->data.mem.disp->data.value & 7) == 0"},
    {"faddq [esp+12]", [](GlContext *gc) { return faddq(gc, At(gc, 12, esp)); },
     "(c->data.insn.op1->data.mem.disp->data.value & 7) == 0"},
    {"fstpq [0x1004]", [](GlContext *gc) { return fstpq(gc, At(gc, 0x1004, nullptr)); },
     "(c->data.insn.op1->data.mem.disp->data.value & 7) == 0"},
    {"movd eax, eax", [](GlContext *gc) { return movd(gc, eax, eax); },
     "is_mmxreg(c->data.insn.op2)"},
    {"movq mem, eax", [](GlContext *gc) { return movq(gc, At(gc, 0, edi), eax); },
     "is_mmxreg(c->data.insn.op2)"},
    {"register as displacement", [](GlContext *gc) { return mov(gc, eax, mem2(gc, ecx, esi)); },
     "is_imm(op->data.mem.disp)"},
    {"empty memory operand",
     [](GlContext *gc) { return mov(gc, eax, mem(gc, nullptr, nullptr, nullptr, 1)); },
     "is_imm(op->data.mem.disp)"},
    {"index without base or displacement",
     [](GlContext *gc) { return mov(gc, eax, mem(gc, nullptr, nullptr, ecx, 4)); },
     "is_imm(op->data.mem.disp)"},
    {"byte register as base", [](GlContext *gc) { return mov(gc, eax, At(gc, 4, cl)); },
     "is_reg32(op->data.mem.reg1)"},
    {"MMX register as base", [](GlContext *gc) { return mov(gc, eax, mem2(gc, nullptr, mm0)); },
     "is_reg32(op->data.mem.reg1)"},
    {"byte register as index",
     [](GlContext *gc) { return mov(gc, eax, mem(gc, nullptr, esi, cl, 1)); },
     "is_reg32(op->data.mem.reg2)"},
    {"esp as index", [](GlContext *gc) { return mov(gc, eax, mem(gc, nullptr, eax, esp, 1)); },
     "op->data.mem.reg2 != esp"},
    {"esp as index, no base",
     [](GlContext *gc) { return lea(gc, eax, mem(gc, value(gc, 8), nullptr, esp, 2)); },
     "op->data.mem.reg2 != esp"},
    {"scale 3", [](GlContext *gc) { return mov(gc, eax, mem(gc, nullptr, eax, ecx, 3)); },
     "op->data.mem.scale is 1, 2, 4 or 8"},
    {"scale 0", [](GlContext *gc) { return mov(gc, eax, mem(gc, nullptr, eax, ecx, 0)); },
     "op->data.mem.scale is 1, 2, 4 or 8"},
    {"scale 16", [](GlContext *gc) { return lea(gc, eax, mem(gc, value(gc, 1), eax, ecx, 16)); },
     "op->data.mem.scale is 1, 2, 4 or 8"},
    {"mov al, 256", [](GlContext *gc) { return mov(gc, al, value(gc, 256)); },
     "c->data.insn.op2->data.value fits a byte"},
    {"add cl, -129", [](GlContext *gc) { return add(gc, cl, value(gc, -129)); },
     "c->data.insn.op2->data.value fits a byte"},
    {"psllw mm0, 256", [](GlContext *gc) { return psllw(gc, mm0, value(gc, 256)); },
     "c->data.insn.op2->data.value fits a byte"},
    {"psrlq mm0, -1", [](GlContext *gc) { return psrlq(gc, mm0, value(gc, -1)); },
     "c->data.insn.op2->data.value fits a byte"},
    {"retn 65536", [](GlContext *gc) { return retn(gc, value(gc, 65536)); },
     "c->data.insn.op1->data.value fits 16 bits"},
    {"retn -4", [](GlContext *gc) { return retn(gc, value(gc, -4)); },
     "c->data.insn.op1->data.value fits 16 bits"},
};

class CheckTest : public OgTest {
 protected:
  static constexpr uint8_t kUntouched = 0xF4;

  void Fresh() {
    Begin();
    memset(code, kUntouched, 64);
    PlatformClearDebugOutput();
  }
  bool Untouched(const uint8_t *from, size_t n) const {
    for (size_t i = 0; i < n; i++)
      if (from[i] != kUntouched) return false;
    return true;
  }
};

TEST_F(CheckTest, RefusalsWriteNothingAndNameTheirCheck) {
  for (const Refusal &r : kRefusals) {
    SCOPED_TRACE(r.what);
    Fresh();
    Emit(r.build(gc));
    EXPECT_EQ(cb, code) << "the cursor moved";
    EXPECT_TRUE(Untouched(code, 64)) << HexOf(code, 16);
    EXPECT_EQ(Failure(), r.text);
    EXPECT_EQ(gc->ogs.failures, 1u);
    EXPECT_NE(DebugOutput().find(std::string("Assertion failed: ") + r.text), std::string::npos)
        << DebugOutput();
    // A failed check is no reason to refuse the next instruction.
    Emit(nop(gc));
    EXPECT_EQ(cb, code + 1);
    EXPECT_EQ(code[0], 0x90);
  }
}

TEST_F(CheckTest, ShiftsByNothingWriteNothingAndFailNothing) {
  for (int32_t count : {0, -1, -40}) {
    Fresh();
    Emit(shl(gc, eax, value(gc, count)));
    Emit(sar(gc, cl, value(gc, count)));  // no operand check without a count
    EXPECT_EQ(cb, code);
    EXPECT_EQ(Failure(), "");
  }
}

TEST_F(CheckTest, TheFirstFailureStaysUntilTheNextWarmup) {
  Fresh();
  Emit(psraq(gc, mm0, mm0));
  Emit(shl(gc, eax, ecx));
  EXPECT_EQ(Failure(), "0");
  EXPECT_EQ(gc->ogs.failures, 2u);
  Fresh();
  EXPECT_EQ(Failure(), "");
  EXPECT_EQ(gc->ogs.failures, 0u);
}

// After the operand-size prefix the processor reads 16-bit immediates and
// truncates jump targets, and 66 0F turns MMX opcodes into SSE2 ones. The
// prefix holds until an instruction is written after it.
TEST_F(CheckTest, Size16RefusesFormsThePrefixWouldBreak) {
  const Refusal follows[] = {
      {"mov eax, imm32 (B8)", [](GlContext *gc) { return mov(gc, eax, value(gc, 5)); },
       "size16 before a form with a 32-bit immediate"},
      {"mov mem, imm32 (C7)", [](GlContext *gc) { return mov(gc, At(gc, 0, edi), value(gc, 5)); },
       "size16 before a form with a 32-bit immediate"},
      {"add eax, imm32 (81)", [](GlContext *gc) { return add(gc, eax, value(gc, 1)); },
       "size16 before a form with a 32-bit immediate"},
      {"cmp eax, 1000 (81)", [](GlContext *gc) { return cmp(gc, eax, value(gc, 1000)); },
       "size16 before a form with a 32-bit immediate"},
      {"test eax, imm32 (F7)", [](GlContext *gc) { return test(gc, eax, value(gc, 1)); },
       "size16 before a form with a 32-bit immediate"},
      {"push imm32 (68)", [](GlContext *gc) { return push(gc, value(gc, 1)); },
       "size16 before a form with a 32-bit immediate"},
      {"imul eax, imm32 (69)", [](GlContext *gc) { return imul(gc, eax, value(gc, 3)); },
       "size16 before a form with a 32-bit immediate"},
      {"jmp backwards", [](GlContext *gc) {
         OgCode *l = label(gc);
         l->data.label.where = gc->ogs.start;
         return jmp(gc, l);
       },
       "size16 before a jump, call or return"},
      {"je forwards", [](GlContext *gc) { return je(gc, near_label(gc)); },
       "size16 before a jump, call or return"},
      {"call eax", [](GlContext *gc) { return call(gc, eax); }, "size16 before a jump, call or return"},
      {"ret", [](GlContext *gc) { return ret(gc); }, "size16 before a jump, call or return"},
      {"movq mm0, [esi]", [](GlContext *gc) { return movq(gc, mm0, mem2(gc, nullptr, esi)); },
       "size16 before an MMX instruction"},
      {"paddw mm0, mm1", [](GlContext *gc) { return paddw(gc, mm0, mm1); },
       "size16 before an MMX instruction"},
      {"emms", [](GlContext *gc) { return emms(gc); }, "size16 before an MMX instruction"},
  };
  for (const Refusal &r : follows) {
    SCOPED_TRACE(r.what);
    Fresh();
    Emit(size16(gc));
    ASSERT_EQ(cb, code + 1);
    Emit(r.build(gc));
    EXPECT_EQ(cb, code + 1);
    EXPECT_TRUE(Untouched(code + 1, 32));
    EXPECT_EQ(Failure(), r.text);
    EXPECT_TRUE(gc->ogs.size16) << "the prefix still waits for its instruction";
  }
}

TEST_F(CheckTest, Size16GivesSixteenBitFormsOfTheOthers) {
  struct Sequence {
    const char *what;
    std::vector<OgCode *> (*build)(GlContext *gc);
    const char *bytes;
  };
  const Sequence sequences[] = {
      {"16-bit store", [](GlContext *gc) -> std::vector<OgCode *> {
         return {size16(gc), mov(gc, mem2(gc, nullptr, edi), eax)};
       },
       "66 89 07"},
      {"16-bit load", [](GlContext *gc) -> std::vector<OgCode *> {
         return {size16(gc), mov(gc, ecx, mem2(gc, value(gc, 2), esi))};
       },
       "66 8b 4e 02"},
      {"compare with a byte", [](GlContext *gc) -> std::vector<OgCode *> {
         return {size16(gc), cmp(gc, eax, value(gc, 5))};
       },
       "66 83 f8 05"},
      {"word string move", [](GlContext *gc) -> std::vector<OgCode *> {
         return {size16(gc), rep(gc), movsd(gc)};
       },
       "66 f3 a5"},
      {"shift by nothing keeps the prefix waiting", [](GlContext *gc) -> std::vector<OgCode *> {
         return {size16(gc), shl(gc, eax, value(gc, 0)), inc(gc, eax)};
       },
       "66 40"},
      {"the prefix is spent by one instruction", [](GlContext *gc) -> std::vector<OgCode *> {
         return {size16(gc), push(gc, eax), mov(gc, eax, value(gc, 5))};
       },
       "66 50 b8 05 00 00 00"},
  };
  for (const Sequence &s : sequences) {
    SCOPED_TRACE(s.what);
    Fresh();
    for (OgCode *c : s.build(gc)) Emit(c);
    const std::vector<uint8_t> want = ParseHex(s.bytes);
    EXPECT_EQ(HexOf(code, size_t(cb - code)), HexOf(want.data(), want.size()));
    EXPECT_EQ(Failure(), "");
  }
}

TEST_F(CheckTest, EveryWriteStaysInsideTheBuffer) {
  const char *kText = "cb >= ogs->start && cb + length <= ogs->end";
  Fresh();
  og_buffer(gc, code + 8, code + 11);
  cb = code + 8;
  Emit(mov(gc, eax, value(gc, 5)));  // 5 bytes into 3
  EXPECT_EQ(cb, code + 8);
  EXPECT_EQ(Failure(), kText);
  for (int i = 0; i < 3; i++) Emit(nop(gc));
  EXPECT_EQ(cb, code + 11);
  Emit(nop(gc));
  EXPECT_EQ(cb, code + 11) << "the byte after the end";
  cb = code + 7;
  Emit(nop(gc));
  EXPECT_EQ(cb, code + 7) << "the byte before the start";
  EXPECT_TRUE(Untouched(code, 8));
  EXPECT_TRUE(Untouched(code + 11, 53));
  EXPECT_EQ(gc->ogs.failures, 3u);

  // A forward jump that does not fit leaves no reference to patch later.
  OgCode *later = label(gc);
  cb = code + 9;
  Emit(jmp(gc, later));
  EXPECT_EQ(cb, code + 9);
  EXPECT_EQ(later->data.label.refs, nullptr);

  // Without a buffer nothing is written at all.
  og_warmup(gc);
  cb = code;
  Emit(nop(gc));
  EXPECT_EQ(cb, code);
  EXPECT_EQ(Failure(), kText);
  EXPECT_TRUE(Untouched(code, 8));
}

}  // namespace
