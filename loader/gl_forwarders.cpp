// The 336 exported GL functions, the 22 extension thunks and the loader's
// no-op table, generated from the slot table in assembly.
//
// An application calls a GL function with the C convention (the caller pops
// the arguments); the driver's entries are callee-pops. So a forwarder cannot
// simply jump: it copies the caller's argument words into a frame of its own
// (16-byte aligned, as the C ABI wants at a call), calls the entry, which
// pops them, and returns with the caller's arguments still in place. ESP is
// taken back from EBP afterwards, so an entry that pops the wrong number of
// words cannot unbalance the application's stack. EAX and EDX carry the
// result back untouched.
//
//   glName:   movl $s, %eax ; movl $words, %ecx ; jmp __vlxglForwardCore
//   thunk:    movl $s, %eax ; movl $words, %ecx ; jmp __vlxglForwardExtension
//
// The core forwarder looks the entry up in the calling thread's table, the
// extension forwarder in __vlxglExtensionEntries; both go through a C++
// helper first, which is also where a thread's first call attaches it.
#include "loader/gl_forwarders.h"

#include "core/dispatch.h"
#include "loader/driver.h"

extern "C" {

__attribute__((used, visibility("hidden"))) const GlDispatchState *__vlxglThreadTable(void) {
  return LoaderThreadEnter().table;
}

__attribute__((used, visibility("hidden"))) const GlDispatchState *__vlxglExtensionTable(void) {
  LoaderThreadEnter();
  return &__vlxglExtensionEntries;
}

}  // extern "C"

#define LOADER_STRING2(x) #x
#define LOADER_STRING(x) LOADER_STRING2(x)

// One forwarder per slot: an exported function for the GL 1.1 slots, a
// local thunk and a word of __vlxglExtensionThunks for the extension slots.
#define LOADER_FORWARDER_ASM(s, Name, words, list, Ret, params)    \
  ".if " #s " < " LOADER_STRING(GL_SLOT_CORE_COUNT) "\n"           \
  ".globl gl" #Name "\n"                                           \
  ".type gl" #Name ", @function\n"                                 \
  ".p2align 4\n"                                                   \
  "gl" #Name ":\n"                                                 \
  "\tmovl $" #s ", %eax\n"                                         \
  "\tmovl $" #words ", %ecx\n"                                     \
  "\tjmp __vlxglForwardCore\n"                                     \
  ".size gl" #Name ", . - gl" #Name "\n"                           \
  ".else\n"                                                        \
  ".type __vlxglThunk_" #Name ", @function\n"                      \
  ".p2align 4\n"                                                   \
  "__vlxglThunk_" #Name ":\n"                                      \
  "\tmovl $" #s ", %eax\n"                                         \
  "\tmovl $" #words ", %ecx\n"                                     \
  "\tjmp __vlxglForwardExtension\n"                                \
  ".size __vlxglThunk_" #Name ", . - __vlxglThunk_" #Name "\n"     \
  ".pushsection .data.rel.ro.__vlxglExtensionThunks, \"aw\"\n"     \
  "\t.long __vlxglThunk_" #Name "\n"                               \
  ".popsection\n"                                                  \
  ".endif\n"

// A forwarder's start: its frame, the slot and the word count kept on the
// stack, and the table asked of `lookup` (C++, answers in EAX); the shared
// tail goes on from there.
#define LOADER_FORWARD_HEAD_ASM(name, lookup) \
  ".p2align 4\n"                              \
  ".type " name ", @function\n"               \
  name ":\n"                                  \
  "\tpushl %ebp\n"                            \
  "\tmovl %esp, %ebp\n"                       \
  "\tpushl %esi\n"                            \
  "\tpushl %edi\n"                            \
  "\tpushl %ecx\n"                            \
  "\tpushl %eax\n"                            \
  "\tcall " lookup "\n"                       \
  "\tjmp __vlxglForwardTail\n"                \
  ".size " name ", . - " name "\n"

// The loader's no-op entries, by argument words: pop them, return 0.
#define LOADER_NOP_ASM(n)                      \
  ".type __vlxglNop" #n ", @function\n"        \
  ".p2align 4\n"                               \
  "__vlxglNop" #n ":\n"                        \
  "\txorl %eax, %eax\n"                        \
  "\txorl %edx, %edx\n"                        \
  "\tret $(4 * " #n ")\n"                      \
  ".size __vlxglNop" #n ", . - __vlxglNop" #n "\n"

#define LOADER_NOP_WORD(s, Name, words, list, Ret, params) "\t.long __vlxglNop" #words "\n"

// A dispatch table of no-ops: the count, the 358 slots, three zero words.
#define LOADER_NOP_TABLE_ASM(name, section)                   \
  ".pushsection " section ", \"aw\"\n"                        \
  ".p2align 2\n"                                              \
  ".globl " name "\n"                                         \
  ".hidden " name "\n"                                        \
  ".type " name ", @object\n"                                 \
  name ":\n"                                                  \
  "\t.long " LOADER_STRING(GL_SLOT_CORE_COUNT) "\n"           \
  GL_SLOTS(LOADER_NOP_WORD)                                   \
  "\t.long 0, 0, 0\n"                                         \
  ".size " name ", . - " name "\n"                            \
  ".popsection\n"

asm(".pushsection .data.rel.ro.__vlxglExtensionThunks, \"aw\"\n"
    ".p2align 2\n"
    ".globl __vlxglExtensionThunks\n"
    ".hidden __vlxglExtensionThunks\n"
    ".type __vlxglExtensionThunks, @object\n"
    "__vlxglExtensionThunks:\n"
    ".popsection\n"
    ".text\n"
    GL_SLOTS(LOADER_FORWARDER_ASM)
    ".pushsection .data.rel.ro.__vlxglExtensionThunks, \"aw\"\n"
    ".size __vlxglExtensionThunks, . - __vlxglExtensionThunks\n"
    ".popsection\n"

    LOADER_FORWARD_HEAD_ASM("__vlxglForwardCore", "__vlxglThreadTable")
    LOADER_FORWARD_HEAD_ASM("__vlxglForwardExtension", "__vlxglExtensionTable")

    // EAX = the table; the slot and the word count come off the stack.
    ".p2align 4\n"
    ".type __vlxglForwardTail, @function\n"
    "__vlxglForwardTail:\n"
    "\tpopl %edx\n"
    "\tpopl %ecx\n"
    "\tmovl 4(%eax,%edx,4), %eax\n"
    "\tleal 8(%ebp), %esi\n"
    "\tleal 0(,%ecx,4), %edx\n"
    "\tsubl %edx, %esp\n"
    "\tandl $-16, %esp\n"
    "\tmovl %esp, %edi\n"
    "\trep movsl\n"
    "\tcall *%eax\n"
    "\tleal -8(%ebp), %esp\n"
    "\tpopl %edi\n"
    "\tpopl %esi\n"
    "\tpopl %ebp\n"
    "\tret\n"
    ".size __vlxglForwardTail, . - __vlxglForwardTail\n"

    LOADER_NOP_ASM(0) LOADER_NOP_ASM(1) LOADER_NOP_ASM(2) LOADER_NOP_ASM(3)
    LOADER_NOP_ASM(4) LOADER_NOP_ASM(5) LOADER_NOP_ASM(6) LOADER_NOP_ASM(7)
    LOADER_NOP_ASM(8) LOADER_NOP_ASM(9) LOADER_NOP_ASM(10) LOADER_NOP_ASM(11)
    LOADER_NOP_ASM(12) LOADER_NOP_ASM(13) LOADER_NOP_ASM(14)

    LOADER_NOP_TABLE_ASM("__vlxglNopTable", ".data.rel.ro.__vlxglNopTable")
    LOADER_NOP_TABLE_ASM("__vlxglExtensionEntries", ".data.__vlxglExtensionEntries"));
