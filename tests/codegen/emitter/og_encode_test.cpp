// Encoding of every instruction form: the bytes, compared with a table
// written from the processor manual's encodings, and the same bytes read
// back by objdump, instruction by instruction.
#include <string>
#include <vector>

#include "tests/codegen/emitter/og_operands.h"
#include "tests/codegen/emitter/og_support.h"

namespace {

struct EncodeCase {
  uint32_t op;
  OgOperand op1, op2;
  const char *bytes;
  const char *intel;  // as objdump -M intel prints it
};

#define OP(name) OG_OP_##name

const EncodeCase kCases[] = {
    // mov, in the order its forms are tried
    {OP(mov), R(eax), I(5), "b8 05 00 00 00", "mov eax,0x5"},
    {OP(mov), R(edi), I(-1), "bf ff ff ff ff", "mov edi,0xffffffff"},
    {OP(mov), R(esp), I(0x12345678), "bc 78 56 34 12", "mov esp,0x12345678"},
    {OP(mov), R(al), I(5), "b0 05", "mov al,0x5"},
    {OP(mov), R(bh), I(255), "b7 ff", "mov bh,0xff"},
    {OP(mov), R(cl), I(-1), "b1 ff", "mov cl,0xff"},
    {OP(mov), MD(esi, 8), I(5), "c7 46 08 05 00 00 00", "mov DWORD PTR [esi+0x8],0x5"},
    {OP(mov), A(0x12345678), I(1), "c7 05 78 56 34 12 01 00 00 00",
     "mov DWORD PTR ds:0x12345678,0x1"},
    {OP(mov), MSD(esp, nullptr, 1, 0x100), I(5), "c7 84 24 00 01 00 00 05 00 00 00",
     "mov DWORD PTR [esp+0x100],0x5"},
    {OP(mov), R(eax), R(ecx), "8b c1", "mov eax,ecx"},
    {OP(mov), R(ebp), R(esp), "8b ec", "mov ebp,esp"},
    {OP(mov), R(eax), M(esi), "8b 06", "mov eax,DWORD PTR [esi]"},
    {OP(mov), R(ecx), A(0x1000), "8b 0d 00 10 00 00", "mov ecx,DWORD PTR ds:0x1000"},
    {OP(mov), M(edi), R(eax), "89 07", "mov DWORD PTR [edi],eax"},
    {OP(mov), MSD(eax, ebx, 2, 0x7f), R(ebp), "89 6c 58 7f", "mov DWORD PTR [eax+ebx*2+0x7f],ebp"},
    {OP(mov), R(al), R(cl), "8a c1", "mov al,cl"},
    {OP(mov), R(ah), M(ebx), "8a 23", "mov ah,BYTE PTR [ebx]"},
    {OP(mov), MD(edx, 3), R(dh), "88 72 03", "mov BYTE PTR [edx+0x3],dh"},
    {OP(mov), A(0x2000), R(bl), "88 1d 00 20 00 00", "mov BYTE PTR ds:0x2000,bl"},

    // every addressing form, through mov eax / edi, r/m
    {OP(mov), R(eax), M(eax), "8b 00", "mov eax,DWORD PTR [eax]"},
    {OP(mov), R(eax), M(ecx), "8b 01", "mov eax,DWORD PTR [ecx]"},
    {OP(mov), R(eax), M(edx), "8b 02", "mov eax,DWORD PTR [edx]"},
    {OP(mov), R(eax), M(ebx), "8b 03", "mov eax,DWORD PTR [ebx]"},
    {OP(mov), R(eax), M(esp), "8b 04 24", "mov eax,DWORD PTR [esp]"},
    {OP(mov), R(eax), M(ebp), "8b 44 25 00", "mov eax,DWORD PTR [ebp+eiz*1+0x0]"},
    {OP(mov), R(eax), M(edi), "8b 07", "mov eax,DWORD PTR [edi]"},
    {OP(mov), R(eax), MD(esi, 0), "8b 46 00", "mov eax,DWORD PTR [esi+0x0]"},
    {OP(mov), R(eax), MD(esi, 127), "8b 46 7f", "mov eax,DWORD PTR [esi+0x7f]"},
    {OP(mov), R(eax), MD(esi, 128), "8b 86 80 00 00 00", "mov eax,DWORD PTR [esi+0x80]"},
    {OP(mov), R(eax), MD(esi, -127), "8b 46 81", "mov eax,DWORD PTR [esi-0x7f]"},
    {OP(mov), R(eax), MD(esi, -128), "8b 86 80 ff ff ff", "mov eax,DWORD PTR [esi-0x80]"},
    {OP(mov), R(eax), MD(esi, 0x12345), "8b 86 45 23 01 00", "mov eax,DWORD PTR [esi+0x12345]"},
    {OP(mov), R(eax), MD(ebp, 8), "8b 45 08", "mov eax,DWORD PTR [ebp+0x8]"},
    {OP(mov), R(eax), MD(ebp, -4), "8b 45 fc", "mov eax,DWORD PTR [ebp-0x4]"},
    {OP(mov), R(eax), MD(ebp, 0), "8b 45 00", "mov eax,DWORD PTR [ebp+0x0]"},
    {OP(mov), R(eax), MD(ebp, 0x1000), "8b 85 00 10 00 00", "mov eax,DWORD PTR [ebp+0x1000]"},
    {OP(mov), R(eax), MD(esp, 4), "8b 44 24 04", "mov eax,DWORD PTR [esp+0x4]"},
    {OP(mov), R(eax), MD(esp, 0), "8b 04 24", "mov eax,DWORD PTR [esp]"},
    {OP(mov), R(eax), MD(esp, -8), "8b 44 24 f8", "mov eax,DWORD PTR [esp-0x8]"},
    {OP(mov), R(eax), MD(esp, 0x200), "8b 84 24 00 02 00 00", "mov eax,DWORD PTR [esp+0x200]"},
    {OP(mov), R(eax), MS(eax, ecx, 1), "8b 04 08", "mov eax,DWORD PTR [eax+ecx*1]"},
    {OP(mov), R(eax), MS(eax, ecx, 2), "8b 04 48", "mov eax,DWORD PTR [eax+ecx*2]"},
    {OP(mov), R(eax), MS(edx, ebx, 4), "8b 04 9a", "mov eax,DWORD PTR [edx+ebx*4]"},
    {OP(mov), R(eax), MS(esi, edi, 8), "8b 04 fe", "mov eax,DWORD PTR [esi+edi*8]"},
    {OP(mov), R(eax), MSD(eax, ecx, 4, 0), "8b 04 88", "mov eax,DWORD PTR [eax+ecx*4]"},
    {OP(mov), R(eax), MSD(esi, edi, 8, 0x10), "8b 44 fe 10", "mov eax,DWORD PTR [esi+edi*8+0x10]"},
    {OP(mov), R(eax), MSD(esi, edi, 8, -0x10), "8b 44 fe f0", "mov eax,DWORD PTR [esi+edi*8-0x10]"},
    {OP(mov), R(eax), MSD(esi, edi, 8, 0x1000), "8b 84 fe 00 10 00 00",
     "mov eax,DWORD PTR [esi+edi*8+0x1000]"},
    {OP(mov), R(eax), MS(ebp, eax, 4), "8b 44 85 00", "mov eax,DWORD PTR [ebp+eax*4+0x0]"},
    {OP(mov), R(eax), MSD(ebp, eax, 4, 0x20), "8b 44 85 20", "mov eax,DWORD PTR [ebp+eax*4+0x20]"},
    {OP(mov), R(eax), MS(esp, eax, 2), "8b 04 44", "mov eax,DWORD PTR [esp+eax*2]"},
    {OP(mov), R(eax), MSD(esp, ebp, 1, 0x7f), "8b 44 2c 7f", "mov eax,DWORD PTR [esp+ebp*1+0x7f]"},
    {OP(mov), R(eax), MSD(nullptr, ecx, 4, 0x1000), "8b 04 8d 00 10 00 00",
     "mov eax,DWORD PTR [ecx*4+0x1000]"},
    {OP(mov), R(eax), MSD(nullptr, edi, 8, 0), "8b 04 fd 00 00 00 00",
     "mov eax,DWORD PTR [edi*8+0x0]"},
    {OP(mov), R(eax), MSD(nullptr, eax, 1, 0x10), "8b 04 05 10 00 00 00",
     "mov eax,DWORD PTR [eax*1+0x10]"},
    {OP(mov), R(edi), MD(ebx, 4), "8b 7b 04", "mov edi,DWORD PTR [ebx+0x4]"},
    {OP(mov), R(esi), MSD(ecx, edx, 2, -1), "8b 74 51 ff", "mov esi,DWORD PTR [ecx+edx*2-0x1]"},
    {OP(mov), R(ebp), A(-4), "8b 2d fc ff ff ff", "mov ebp,DWORD PTR ds:0xfffffffc"},

    // sign and zero extension, lea
    {OP(movsx), R(eax), R(cl), "0f be c1", "movsx eax,cl"},
    {OP(movsx), R(edx), MD(esi, 1), "0f be 56 01", "movsx edx,BYTE PTR [esi+0x1]"},
    {OP(movzx), R(eax), R(bh), "0f b6 c7", "movzx eax,bh"},
    {OP(movzx), R(ecx), MS(eax, ebx, 1), "0f b6 0c 18", "movzx ecx,BYTE PTR [eax+ebx*1]"},
    {OP(movsxw), R(ebx), MD(edi, 2), "0f bf 5f 02", "movsx ebx,WORD PTR [edi+0x2]"},
    {OP(movzxw), R(eax), MD(ebp, 8), "0f b7 45 08", "movzx eax,WORD PTR [ebp+0x8]"},
    {OP(movzxw), R(esi), A(0x2000), "0f b7 35 00 20 00 00", "movzx esi,WORD PTR ds:0x2000"},
    {OP(lea), R(eax), MS(eax, eax, 2), "8d 04 40", "lea eax,[eax+eax*2]"},
    {OP(lea), R(ecx), MSD(esi, edi, 4, 0x10), "8d 4c be 10", "lea ecx,[esi+edi*4+0x10]"},
    {OP(lea), R(edx), MD(esp, 8), "8d 54 24 08", "lea edx,[esp+0x8]"},
    {OP(lea), R(esi), MSD(nullptr, ebx, 8, 0), "8d 34 dd 00 00 00 00", "lea esi,[ebx*8+0x0]"},

    // stack
    {OP(push), I(5), kNo, "68 05 00 00 00", "push 0x5"},
    {OP(push), I(-1), kNo, "68 ff ff ff ff", "push 0xffffffff"},
    {OP(push), R(eax), kNo, "50", "push eax"},
    {OP(push), R(ebp), kNo, "55", "push ebp"},
    {OP(push), R(edi), kNo, "57", "push edi"},
    {OP(push), MD(esp, 4), kNo, "ff 74 24 04", "push DWORD PTR [esp+0x4]"},
    {OP(push), A(0x1000), kNo, "ff 35 00 10 00 00", "push DWORD PTR ds:0x1000"},
    {OP(pop), R(ebx), kNo, "5b", "pop ebx"},
    {OP(pop), R(esi), kNo, "5e", "pop esi"},
    {OP(pop), M(eax), kNo, "8f 00", "pop DWORD PTR [eax]"},
    {OP(pop), MD(ebp, -4), kNo, "8f 45 fc", "pop DWORD PTR [ebp-0x4]"},
    {OP(inc), R(eax), kNo, "40", "inc eax"},
    {OP(inc), R(edi), kNo, "47", "inc edi"},
    {OP(inc), R(cl), kNo, "fe c1", "inc cl"},
    {OP(inc), MD(esi, 4), kNo, "ff 46 04", "inc DWORD PTR [esi+0x4]"},
    {OP(dec), R(ecx), kNo, "49", "dec ecx"},
    {OP(dec), R(ebp), kNo, "4d", "dec ebp"},
    {OP(dec), R(ah), kNo, "fe cc", "dec ah"},
    {OP(dec), A(0x1000), kNo, "ff 0d 00 10 00 00", "dec DWORD PTR ds:0x1000"},

    // the ALU family: r/m <- reg, reg <- r/m, immediates
    {OP(add), R(eax), R(ecx), "01 c8", "add eax,ecx"},
    {OP(add), MD(esi, 4), R(edx), "01 56 04", "add DWORD PTR [esi+0x4],edx"},
    {OP(add), R(edx), MD(esi, 4), "03 56 04", "add edx,DWORD PTR [esi+0x4]"},
    {OP(add), R(eax), I(1), "81 c0 01 00 00 00", "add eax,0x1"},
    {OP(add), R(eax), I(-1), "81 c0 ff ff ff ff", "add eax,0xffffffff"},
    {OP(add), R(edi), I(8), "81 c7 08 00 00 00", "add edi,0x8"},
    {OP(add), M(edi), I(0x100), "81 07 00 01 00 00", "add DWORD PTR [edi],0x100"},
    {OP(add), MD(esi, 4), I(5), "81 46 04 05 00 00 00", "add DWORD PTR [esi+0x4],0x5"},
    {OP(add), R(al), I(5), "80 c0 05", "add al,0x5"},
    {OP(add), R(al), R(cl), "00 c8", "add al,cl"},
    {OP(add), R(bl), M(esi), "02 1e", "add bl,BYTE PTR [esi]"},
    {OP(add), M(esi), R(bl), "00 1e", "add BYTE PTR [esi],bl"},
    {OP(or_), R(ecx), R(edx), "09 d1", "or ecx,edx"},
    {OP(or_), R(eax), I(int32_t(0x80000000u)), "81 c8 00 00 00 80", "or eax,0x80000000"},
    {OP(or_), R(edx), MD(ebp, 8), "0b 55 08", "or edx,DWORD PTR [ebp+0x8]"},
    {OP(or_), R(dl), I(15), "80 ca 0f", "or dl,0xf"},
    {OP(or_), MS(eax, ecx, 4), R(esi), "09 34 88", "or DWORD PTR [eax+ecx*4],esi"},
    {OP(adc), R(eax), R(edx), "11 d0", "adc eax,edx"},
    {OP(adc), R(ecx), I(0), "81 d1 00 00 00 00", "adc ecx,0x0"},
    {OP(adc), R(esi), M(eax), "13 30", "adc esi,DWORD PTR [eax]"},
    {OP(adc), R(bh), R(ch), "10 ef", "adc bh,ch"},
    {OP(sbb), R(eax), R(eax), "19 c0", "sbb eax,eax"},
    {OP(sbb), M(ecx), R(ebx), "19 19", "sbb DWORD PTR [ecx],ebx"},
    {OP(sbb), R(edx), I(7), "81 da 07 00 00 00", "sbb edx,0x7"},
    {OP(sbb), R(edi), MD(esp, 12), "1b 7c 24 0c", "sbb edi,DWORD PTR [esp+0xc]"},
    {OP(and_), R(eax), I(0xff), "81 e0 ff 00 00 00", "and eax,0xff"},
    {OP(and_), R(esi), R(edi), "21 fe", "and esi,edi"},
    {OP(and_), R(ah), R(al), "20 c4", "and ah,al"},
    {OP(and_), MD(esp, 4), I(-16), "81 64 24 04 f0 ff ff ff", "and DWORD PTR [esp+0x4],0xfffffff0"},
    {OP(and_), R(ecx), MS(ebx, eax, 4), "23 0c 83", "and ecx,DWORD PTR [ebx+eax*4]"},
    {OP(and_), R(bl), I(0x80), "80 e3 80", "and bl,0x80"},
    {OP(sub), R(esp), I(16), "81 ec 10 00 00 00", "sub esp,0x10"},
    {OP(sub), R(eax), MS(esi, edi, 1), "2b 04 3e", "sub eax,DWORD PTR [esi+edi*1]"},
    {OP(sub), MD(edi, 8), R(ecx), "29 4f 08", "sub DWORD PTR [edi+0x8],ecx"},
    {OP(sub), R(cl), I(1), "80 e9 01", "sub cl,0x1"},
    {OP(sub), R(edx), R(ebx), "29 da", "sub edx,ebx"},
    {OP(xor_), R(eax), R(eax), "31 c0", "xor eax,eax"},
    {OP(xor_), R(edx), I(0x12345678), "81 f2 78 56 34 12", "xor edx,0x12345678"},
    {OP(xor_), R(bl), M(ecx), "32 19", "xor bl,BYTE PTR [ecx]"},
    {OP(xor_), A(0x1000), R(eax), "31 05 00 10 00 00", "xor DWORD PTR ds:0x1000,eax"},
    {OP(cmp), R(eax), I(1), "83 f8 01", "cmp eax,0x1"},
    {OP(cmp), R(eax), I(-128), "83 f8 80", "cmp eax,0xffffff80"},
    {OP(cmp), R(eax), I(127), "83 f8 7f", "cmp eax,0x7f"},
    {OP(cmp), R(eax), I(128), "81 f8 80 00 00 00", "cmp eax,0x80"},
    {OP(cmp), R(eax), I(-129), "81 f8 7f ff ff ff", "cmp eax,0xffffff7f"},
    {OP(cmp), R(edi), I(0), "83 ff 00", "cmp edi,0x0"},
    {OP(cmp), MD(esi, 4), I(0), "83 7e 04 00", "cmp DWORD PTR [esi+0x4],0x0"},
    {OP(cmp), MD(esi, 4), I(1000), "81 7e 04 e8 03 00 00", "cmp DWORD PTR [esi+0x4],0x3e8"},
    {OP(cmp), R(cl), I(10), "80 f9 0a", "cmp cl,0xa"},
    {OP(cmp), R(al), I(-1), "80 f8 ff", "cmp al,0xff"},
    {OP(cmp), R(al), I(200), "80 f8 c8", "cmp al,0xc8"},
    {OP(cmp), R(ecx), R(edx), "39 d1", "cmp ecx,edx"},
    {OP(cmp), R(edx), MD(esp, 8), "3b 54 24 08", "cmp edx,DWORD PTR [esp+0x8]"},
    {OP(cmp), M(eax), R(bl), "38 18", "cmp BYTE PTR [eax],bl"},
    {OP(cmp), R(dh), MD(ebp, -1), "3a 75 ff", "cmp dh,BYTE PTR [ebp-0x1]"},
    {OP(test), R(eax), R(eax), "85 c0", "test eax,eax"},
    {OP(test), R(ecx), I(1), "f7 c1 01 00 00 00", "test ecx,0x1"},
    {OP(test), M(esi), I(0x80), "f7 06 80 00 00 00", "test DWORD PTR [esi],0x80"},
    {OP(test), R(al), I(4), "f6 c0 04", "test al,0x4"},
    {OP(test), R(bl), R(cl), "84 cb", "test bl,cl"},
    {OP(test), MD(edi, 4), R(edx), "85 57 04", "test DWORD PTR [edi+0x4],edx"},

    // multiply, divide, shifts
    {OP(imul), R(eax), R(ecx), "0f af c1", "imul eax,ecx"},
    {OP(imul), R(edx), MD(esi, 8), "0f af 56 08", "imul edx,DWORD PTR [esi+0x8]"},
    {OP(imul), R(ecx), I(10), "69 c9 0a 00 00 00", "imul ecx,ecx,0xa"},
    {OP(imul), R(eax), I(-3), "69 c0 fd ff ff ff", "imul eax,eax,0xfffffffd"},
    {OP(idiv), R(ecx), kNo, "f7 f9", "idiv ecx"},
    {OP(idiv), MD(ebp, 8), kNo, "f7 7d 08", "idiv DWORD PTR [ebp+0x8]"},
    {OP(rol), R(eax), I(8), "c1 c0 08", "rol eax,0x8"},
    {OP(shl), R(ecx), I(1), "c1 e1 01", "shl ecx,0x1"},
    {OP(shl), R(esi), I(31), "c1 e6 1f", "shl esi,0x1f"},
    {OP(shr), R(edx), I(16), "c1 ea 10", "shr edx,0x10"},
    {OP(sar), R(edi), I(31), "c1 ff 1f", "sar edi,0x1f"},
    {OP(sar), R(ebx), I(2), "c1 fb 02", "sar ebx,0x2"},

    // one and two fixed bytes
    {OP(int3), kNo, kNo, "cc", "int3"},
    {OP(wait), kNo, kNo, "9b", "fwait"},
    {OP(size16), kNo, kNo, "66", "data16"},
    {OP(rep), kNo, kNo, "f3", "repz"},
    {OP(movsd), kNo, kNo, "a5", "movs DWORD PTR es:[edi],DWORD PTR ds:[esi]"},
    {OP(nop), kNo, kNo, "90", "nop"},
    {OP(ret), kNo, kNo, "c3", "ret"},
    {OP(retn), I(8), kNo, "c2 08 00", "ret 0x8"},
    {OP(retn), I(0x1234), kNo, "c2 34 12", "ret 0x1234"},
    {OP(rdtsc), kNo, kNo, "0f 31", "rdtsc"},
    {OP(emms), kNo, kNo, "0f 77", "emms"},

    // indirect transfers
    {OP(call), R(eax), kNo, "ff d0", "call eax"},
    {OP(call), A(0x1000), kNo, "ff 15 00 10 00 00", "call DWORD PTR ds:0x1000"},
    {OP(call), MD(ecx, 0x40), kNo, "ff 51 40", "call DWORD PTR [ecx+0x40]"},
    {OP(jmpi), R(edx), kNo, "ff e2", "jmp edx"},
    {OP(jmpi), MSD(nullptr, eax, 4, 0x1000), kNo, "ff 24 85 00 10 00 00",
     "jmp DWORD PTR [eax*4+0x1000]"},
    {OP(jmpi), MD(esi, 8), kNo, "ff 66 08", "jmp DWORD PTR [esi+0x8]"},

    // x87: stack-register and memory forms
    {OP(fld), R(st0), kNo, "d9 c0", "fld st(0)"},
    {OP(fld), R(st1), kNo, "d9 c1", "fld st(1)"},
    {OP(fld), M(esi), kNo, "d9 06", "fld DWORD PTR [esi]"},
    {OP(fld), A(0x1000), kNo, "d9 05 00 10 00 00", "fld DWORD PTR ds:0x1000"},
    {OP(fldq), R(st3), kNo, "d9 c3", "fld st(3)"},
    {OP(fldq), MD(ebp, 8), kNo, "dd 45 08", "fld QWORD PTR [ebp+0x8]"},
    {OP(fild), MD(esp, 4), kNo, "db 44 24 04", "fild DWORD PTR [esp+0x4]"},
    {OP(fildq), M(esi), kNo, "df 2e", "fild QWORD PTR [esi]"},
    {OP(fxch), R(st1), kNo, "d9 c9", "fxch st(1)"},
    {OP(fxch), R(st7), kNo, "d9 cf", "fxch st(7)"},
    {OP(fst), R(st2), kNo, "dd d2", "fst st(2)"},
    {OP(fst), M(edi), kNo, "d9 17", "fst DWORD PTR [edi]"},
    {OP(fstp), R(st1), kNo, "dd d9", "fstp st(1)"},
    {OP(fstp), MD(edi, 4), kNo, "d9 5f 04", "fstp DWORD PTR [edi+0x4]"},
    {OP(fstpq), MD(edi, 8), kNo, "dd 5f 08", "fstp QWORD PTR [edi+0x8]"},
    {OP(fstpq), M(edi), kNo, "dd 1f", "fstp QWORD PTR [edi]"},
    {OP(fistp), M(esp), kNo, "db 1c 24", "fistp DWORD PTR [esp]"},
    {OP(fist), M(eax), kNo, "db 10", "fist DWORD PTR [eax]"},
    {OP(fistpq), MD(esi, 16), kNo, "df 7e 10", "fistp QWORD PTR [esi+0x10]"},
    {OP(fmul), R(st3), kNo, "d8 cb", "fmul st,st(3)"},
    {OP(fmul), M(esi), kNo, "d8 0e", "fmul DWORD PTR [esi]"},
    {OP(fmulp), R(st1), R(st0), "de c9", "fmulp st(1),st"},
    {OP(fadd), R(st1), kNo, "d8 c1", "fadd st,st(1)"},
    {OP(fadd), MD(ebx, 4), kNo, "d8 43 04", "fadd DWORD PTR [ebx+0x4]"},
    {OP(faddp), R(st2), R(st0), "de c2", "faddp st(2),st"},
    {OP(fsub), R(st1), kNo, "d8 e1", "fsub st,st(1)"},
    {OP(fsub), M(ecx), kNo, "d8 21", "fsub DWORD PTR [ecx]"},
    {OP(fdivr), R(st2), kNo, "d8 fa", "fdivr st,st(2)"},
    {OP(fdivr), M(edx), kNo, "d8 3a", "fdivr DWORD PTR [edx]"},
    {OP(fdiv), R(st1), kNo, "d8 f1", "fdiv st,st(1)"},
    {OP(fdiv), A(0x1000), kNo, "d8 35 00 10 00 00", "fdiv DWORD PTR ds:0x1000"},
    {OP(fldpi), kNo, kNo, "d9 eb", "fldpi"},
    {OP(fabsolute), kNo, kNo, "d9 e1", "fabs"},
    {OP(fchs), kNo, kNo, "d9 e0", "fchs"},
    {OP(fldcw), M(esp), kNo, "d9 2c 24", "fldcw WORD PTR [esp]"},
    {OP(fstcw), MD(ebp, -4), kNo, "d9 7d fc", "fnstcw WORD PTR [ebp-0x4]"},
    {OP(fsubp), R(st1), R(st0), "de e9", "fsubp st(1),st"},
    {OP(fsubrp), R(st1), R(st0), "de e1", "fsubrp st(1),st"},
    {OP(fsubrp), R(st3), R(st0), "de e3", "fsubrp st(3),st"},
    {OP(faddq), MD(esi, 8), kNo, "dc 46 08", "fadd QWORD PTR [esi+0x8]"},
    {OP(faddq), M(eax), kNo, "dc 00", "fadd QWORD PTR [eax]"},

    // MMX moves
    {OP(movd), R(mm0), R(eax), "0f 6e c0", "movd mm0,eax"},
    {OP(movd), R(mm3), MD(esi, 4), "0f 6e 5e 04", "movd mm3,DWORD PTR [esi+0x4]"},
    {OP(movd), R(ecx), R(mm2), "0f 7e d1", "movd ecx,mm2"},
    {OP(movd), M(edi), R(mm7), "0f 7e 3f", "movd DWORD PTR [edi],mm7"},
    {OP(movq), R(mm1), R(mm2), "0f 6f ca", "movq mm1,mm2"},
    {OP(movq), R(mm0), M(esi), "0f 6f 06", "movq mm0,QWORD PTR [esi]"},
    {OP(movq), R(mm5), MD(esp, 8), "0f 6f 6c 24 08", "movq mm5,QWORD PTR [esp+0x8]"},
    {OP(movq), MD(edi, 8), R(mm0), "0f 7f 47 08", "movq QWORD PTR [edi+0x8],mm0"},
    {OP(movq), A(0x1000), R(mm4), "0f 7f 25 00 10 00 00", "movq QWORD PTR ds:0x1000,mm4"},

    // MMX shifts: immediate, register and memory counts
    {OP(psllw), R(mm1), I(3), "0f 71 f1 03", "psllw mm1,0x3"},
    {OP(pslld), R(mm2), I(4), "0f 72 f2 04", "pslld mm2,0x4"},
    {OP(psllq), R(mm3), I(32), "0f 73 f3 20", "psllq mm3,0x20"},
    {OP(psrlw), R(mm0), I(8), "0f 71 d0 08", "psrlw mm0,0x8"},
    {OP(psrld), R(mm7), I(1), "0f 72 d7 01", "psrld mm7,0x1"},
    {OP(psrlq), R(mm6), I(16), "0f 73 d6 10", "psrlq mm6,0x10"},
    {OP(psraw), R(mm5), I(15), "0f 71 e5 0f", "psraw mm5,0xf"},
    {OP(psrad), R(mm4), I(31), "0f 72 e4 1f", "psrad mm4,0x1f"},
    {OP(psllw), R(mm1), R(mm2), "0f f1 ca", "psllw mm1,mm2"},
    {OP(pslld), R(mm0), R(mm7), "0f f2 c7", "pslld mm0,mm7"},
    {OP(psllq), R(mm2), R(mm3), "0f f3 d3", "psllq mm2,mm3"},
    {OP(psrlw), R(mm4), R(mm5), "0f d1 e5", "psrlw mm4,mm5"},
    {OP(psrld), R(mm1), R(mm1), "0f d2 c9", "psrld mm1,mm1"},
    {OP(psrlq), R(mm0), R(mm1), "0f d3 c1", "psrlq mm0,mm1"},
    {OP(psraw), R(mm3), R(mm4), "0f e1 dc", "psraw mm3,mm4"},
    {OP(psrad), R(mm6), R(mm5), "0f e2 f5", "psrad mm6,mm5"},
    {OP(psllw), R(mm0), M(esi), "0f f1 06", "psllw mm0,QWORD PTR [esi]"},
    {OP(psrad), R(mm1), MD(eax, 8), "0f e2 48 08", "psrad mm1,QWORD PTR [eax+0x8]"},
    {OP(psrlq), R(mm2), A(0x1000), "0f d3 15 00 10 00 00", "psrlq mm2,QWORD PTR ds:0x1000"},

    // the other MMX instructions, register and memory sources
    {OP(packssdw), R(mm0), R(mm1), "0f 6b c1", "packssdw mm0,mm1"},
    {OP(packsswb), R(mm2), M(esi), "0f 63 16", "packsswb mm2,QWORD PTR [esi]"},
    {OP(packuswb), R(mm3), R(mm3), "0f 67 db", "packuswb mm3,mm3"},
    {OP(punpckhbw), R(mm0), R(mm1), "0f 68 c1", "punpckhbw mm0,mm1"},
    {OP(punpckhdq), R(mm1), R(mm2), "0f 6a ca", "punpckhdq mm1,mm2"},
    {OP(punpckhwd), R(mm2), MD(ebx, 8), "0f 69 53 08", "punpckhwd mm2,QWORD PTR [ebx+0x8]"},
    {OP(punpcklbw), R(mm0), R(mm7), "0f 60 c7", "punpcklbw mm0,mm7"},
    {OP(punpckldq), R(mm0), R(mm0), "0f 62 c0", "punpckldq mm0,mm0"},
    {OP(punpcklwd), R(mm4), MD(edi, 8), "0f 61 67 08", "punpcklwd mm4,DWORD PTR [edi+0x8]"},
    {OP(paddb), R(mm0), R(mm1), "0f fc c1", "paddb mm0,mm1"},
    {OP(paddd), R(mm2), M(eax), "0f fe 10", "paddd mm2,QWORD PTR [eax]"},
    {OP(paddsb), R(mm3), R(mm4), "0f ec dc", "paddsb mm3,mm4"},
    {OP(paddsw), R(mm5), R(mm6), "0f ed ee", "paddsw mm5,mm6"},
    {OP(paddusb), R(mm7), R(mm0), "0f dc f8", "paddusb mm7,mm0"},
    {OP(paddusw), R(mm1), MS(esi, ecx, 8), "0f dd 0c ce", "paddusw mm1,QWORD PTR [esi+ecx*8]"},
    {OP(paddw), R(mm2), R(mm3), "0f fd d3", "paddw mm2,mm3"},
    {OP(pand), R(mm4), R(mm5), "0f db e5", "pand mm4,mm5"},
    {OP(pandn), R(mm6), M(edx), "0f df 32", "pandn mm6,QWORD PTR [edx]"},
    {OP(pcmpeqb), R(mm0), R(mm1), "0f 74 c1", "pcmpeqb mm0,mm1"},
    {OP(pcmpeqd), R(mm1), R(mm2), "0f 76 ca", "pcmpeqd mm1,mm2"},
    {OP(pcmpeqw), R(mm2), R(mm3), "0f 75 d3", "pcmpeqw mm2,mm3"},
    {OP(pcmpgtb), R(mm3), R(mm4), "0f 64 dc", "pcmpgtb mm3,mm4"},
    {OP(pcmpgtw), R(mm4), R(mm5), "0f 65 e5", "pcmpgtw mm4,mm5"},
    {OP(pcmpgtd), R(mm5), MD(ebp, -8), "0f 66 6d f8", "pcmpgtd mm5,QWORD PTR [ebp-0x8]"},
    {OP(pmaddwd), R(mm6), R(mm7), "0f f5 f7", "pmaddwd mm6,mm7"},
    {OP(pmulhw), R(mm7), R(mm0), "0f e5 f8", "pmulhw mm7,mm0"},
    {OP(pmullw), R(mm0), A(0x1000), "0f d5 05 00 10 00 00", "pmullw mm0,QWORD PTR ds:0x1000"},
    {OP(psubb), R(mm1), R(mm2), "0f f8 ca", "psubb mm1,mm2"},
    {OP(psubw), R(mm2), R(mm3), "0f f9 d3", "psubw mm2,mm3"},
    {OP(psubd), R(mm3), R(mm4), "0f fa dc", "psubd mm3,mm4"},
    {OP(psubsb), R(mm4), R(mm5), "0f e8 e5", "psubsb mm4,mm5"},
    {OP(psubsw), R(mm5), R(mm6), "0f e9 ee", "psubsw mm5,mm6"},
    {OP(psubusb), R(mm6), R(mm7), "0f d8 f7", "psubusb mm6,mm7"},
    {OP(psubusw), R(mm7), MD(esp, 16), "0f d9 7c 24 10", "psubusw mm7,QWORD PTR [esp+0x10]"},
    {OP(por), R(mm0), R(mm7), "0f eb c7", "por mm0,mm7"},
    {OP(pxor), R(mm1), R(mm1), "0f ef c9", "pxor mm1,mm1"},
};

#undef OP

class EncodeTest : public OgTest {
 protected:
  // Emits the case into a fresh generation and returns its bytes.
  std::vector<uint8_t> Encode(const EncodeCase &c) {
    Begin();
    uint8_t *start = cb;
    Emit(insn(gc, c.op, Build(gc, c.op1), Build(gc, c.op2)));
    return std::vector<uint8_t>(start, cb);
  }
};

TEST_F(EncodeTest, BytesMatchTheManual) {
  for (const EncodeCase &c : kCases) {
    const std::vector<uint8_t> got = Encode(c);
    const std::vector<uint8_t> want = ParseHex(c.bytes);
    EXPECT_EQ(HexOf(got.data(), got.size()), HexOf(want.data(), want.size())) << c.intel;
    EXPECT_EQ(Failure(), "") << c.intel;
  }
}

TEST_F(EncodeTest, ObjdumpReadsEachInstructionBack) {
  if (!HaveObjdump()) GTEST_SKIP() << "objdump is not installed";
  std::vector<std::vector<uint8_t>> chunks;
  for (const EncodeCase &c : kCases) chunks.push_back(Encode(c));
  std::vector<std::vector<std::string>> texts;
  ASSERT_TRUE(Disassemble(chunks, &texts));
  for (size_t i = 0; i < chunks.size(); i++) {
    ASSERT_EQ(texts[i].size(), 1u) << kCases[i].intel;
    EXPECT_EQ(texts[i][0], kCases[i].intel) << HexOf(chunks[i].data(), chunks[i].size());
  }
}

// The opcode numbers' families, each with one form per kind of operand, so
// that every constructor's number reaches an encoder.
TEST_F(EncodeTest, EveryInstructionButPsraqHasAForm) {
  std::vector<bool> seen(OG_OPCODE_COUNT, false);
  for (const EncodeCase &c : kCases) seen[c.op] = true;
  for (uint32_t op = 0; op < OG_OPCODE_COUNT; op++) {
    // Jumps and calls to labels are covered by the label tests.
    const bool labelled = (op >= OG_OP_ja && op <= OG_OP_jns) || op == OG_OP_jmp;
    if (op == OG_OP_psraq || labelled) continue;
    EXPECT_TRUE(seen[op]) << "no encoding case for opcode " << op;
  }
}

}  // namespace
