// The instruction set: word layout, opcode numbers and the mode byte of each opcode, which the
// code generator, the lister and the verifier consult.
//
//   31      24 23        15 14         6 5      0
//  +----------+------------+------------+--------+
//  |    A     |     B      |     C      |   op   |   iABC
//  +----------+------------+------------+--------+
//  |    A     |          Bx (unsigned)  |   op   |   iABx
//  +----------+-------------------------+--------+
//  |    A     |   sBx = Bx - 131071     |   op   |   iAsBx
//  +----------+-------------------------+--------+
//
// R(x) is register x, K(x) constant x, RK(x) a register when x < 250, else constant x - 250.
#pragma once

#include "tvlib/script/Limits.h"

namespace tvs {

constexpr int kSizeOp = 6, kSizeA = 8, kSizeB = 9, kSizeC = 9, kSizeBx = kSizeB + kSizeC;
constexpr int kPosOp = 0, kPosC = kPosOp + kSizeOp, kPosB = kPosC + kSizeC, kPosA = kPosB + kSizeB,
              kPosBx = kPosC;
constexpr int kMaxArgA = (1 << kSizeA) - 1;
constexpr int kMaxArgB = (1 << kSizeB) - 1;
constexpr int kMaxArgC = (1 << kSizeC) - 1;
// "No register" for A of a test that keeps no value; patched before the function is closed.
constexpr int kNoReg = kMaxArgA;

enum OpCode : int {
  OP_MOVE,       // A B     R(A) := R(B)
  OP_LOADK,      // A Bx    R(A) := K(Bx)
  OP_LOADBOOL,   // A B C   R(A) := (B != 0); if C then pc++
  OP_LOADNIL,    // A B     R(A) .. R(B) := nil
  OP_GETUPVAL,   // A B     R(A) := upvalue B
  OP_GETGLOBAL,  // A Bx    R(A) := globals[K(Bx)]
  OP_GETTABLE,   // A B C   R(A) := R(B)[RK(C)]
  OP_SETGLOBAL,  // A Bx    globals[K(Bx)] := R(A)
  OP_SETUPVAL,   // A B     upvalue B := R(A)
  OP_SETTABLE,   // A B C   R(A)[RK(B)] := RK(C)
  OP_NEWTABLE,   // A B C   R(A) := {} with array size fb(B), hash size 2^C (0: none)
  OP_SELF,       // A B C   R(A+1) := R(B); R(A) := R(B)[RK(C)]
  OP_ADD,        // A B C   R(A) := RK(B) + RK(C)
  OP_SUB,        // A B C   R(A) := RK(B) - RK(C)
  OP_MUL,        // A B C   R(A) := RK(B) * RK(C)
  OP_DIV,        // A B C   R(A) := RK(B) / RK(C)
  OP_BAND,       // A B C   R(A) := RK(B) & RK(C)   (32 bits, numbers only)
  OP_BOR,        // A B C   R(A) := RK(B) | RK(C)
  OP_SHL,        // A B C   R(A) := RK(B) << (RK(C) mod 32)
  OP_SHR,        // A B C   R(A) := RK(B) >> (RK(C) mod 32), zero filled
  OP_POW,        // A B C   two numbers: RK(B) xor RK(C); otherwise the global __pow
  OP_UNM,        // A B     R(A) := -R(B)
  OP_NOT,        // A B     R(A) := not R(B)
  OP_CONCAT,     // A B C   R(A) := R(B) .. ... .. R(C)
  OP_JMP,        // sBx     pc += sBx
  OP_EQ,         // A B C   if ((RK(B) == RK(C)) ~= A) then pc++
  OP_LT,         // A B C   if ((RK(B) <  RK(C)) ~= A) then pc++
  OP_LE,         // A B C   if ((RK(B) <= RK(C)) ~= A) then pc++
  OP_TEST,       // A B C   if (R(B) is false) == C then pc++ else R(A) := R(B) (then jump)
  OP_CALL,       // A B C   R(A) .. R(A+C-2) := R(A)(R(A+1) .. R(A+B-1)); 0 = up to top
  OP_TAILCALL,   // A B C   return R(A)(R(A+1) .. R(A+B-1))
  OP_RETURN,     // A B     return R(A) .. R(A+B-2); B = 0: up to top
  OP_FORLOOP,    // A sBx   R(A) += R(A+2); if R(A) <?= R(A+1) then pc += sBx
  OP_TFORLOOP,   // A C     R(A+2) .. R(A+2+C) := R(A)(R(A+1), R(A+2)); if R(A+2) ~= nil pc++
  OP_TFORPREP,   // A sBx   if R(A) is a table: R(A+1) := R(A), R(A) := next; pc += sBx
  OP_SETLIST,    // A Bx    R(A)[Bx-Bx%32+i] := R(A+i), 1 <= i <= Bx%32+1
  OP_SETLISTO,   // A Bx    the same up to the stack top
  OP_CLOSE,      // A       close upvalues from R(A) up
  OP_CLOSURE,    // A Bx    R(A) := closure of KPROTO[Bx], then one MOVE/GETUPVAL per upvalue
  kNumOpcodes
};

enum OpFormat { iABC = 0, iABx = 1, iAsBx = 2 };
// Mode byte: bits 0-1 format; bit 2 B is a register; bit 3 B is RK; bit 4 C is RK; bit 5 sets
// register A; bit 6 Bx is a constant index; bit 7 test (the next instruction is a jump).
constexpr uint8_t kModeBReg = 1 << 2, kModeBRK = 1 << 3, kModeCRK = 1 << 4, kModeSetsA = 1 << 5,
                  kModeKBx = 1 << 6, kModeTest = 1 << 7;
extern const uint8_t kOpModes[kNumOpcodes];
extern const char* const kOpNames[kNumOpcodes];

inline OpCode GetOp(Instruction i) {
  return static_cast<OpCode>(i & 0x3F);
}
inline int GetA(Instruction i) {
  return static_cast<int>(i >> kPosA);
}
inline int GetB(Instruction i) {
  return static_cast<int>((i >> kPosB) & kMaxArgB);
}
inline int GetC(Instruction i) {
  return static_cast<int>((i >> kPosC) & kMaxArgC);
}
inline int GetBx(Instruction i) {
  return static_cast<int>((i >> kPosBx) & kMaxArgBx);
}
inline int GetSBx(Instruction i) {
  return GetBx(i) - kMaxArgSBx;
}
inline OpFormat GetFormat(OpCode op) {
  return static_cast<OpFormat>(kOpModes[op] & 3);
}
inline bool TestMode(OpCode op, uint8_t m) {
  return (kOpModes[op] & m) != 0;
}
inline bool IsK(int rk) {
  return rk >= kRkConstBase;
}

inline Instruction CreateABC(OpCode op, int a, int b, int c) {
  return static_cast<Instruction>(op) | static_cast<Instruction>(a) << kPosA |
         static_cast<Instruction>(b) << kPosB | static_cast<Instruction>(c) << kPosC;
}
inline Instruction CreateABx(OpCode op, int a, int bx) {
  return static_cast<Instruction>(op) | static_cast<Instruction>(a) << kPosA |
         static_cast<Instruction>(bx) << kPosBx;
}
inline void SetA(Instruction* i, int a) {
  *i = (*i & ~(Instruction{0xFF} << kPosA)) | static_cast<Instruction>(a) << kPosA;
}
inline void SetB(Instruction* i, int b) {
  *i = (*i & ~(Instruction{kMaxArgB} << kPosB)) | static_cast<Instruction>(b) << kPosB;
}
inline void SetC(Instruction* i, int c) {
  *i = (*i & ~(Instruction{kMaxArgC} << kPosC)) | static_cast<Instruction>(c) << kPosC;
}
inline void SetBx(Instruction* i, int bx) {
  *i = (*i & ~(Instruction{kMaxArgBx} << kPosBx)) | static_cast<Instruction>(bx) << kPosBx;
}
inline void SetSBx(Instruction* i, int sbx) {
  SetBx(i, sbx + kMaxArgSBx);
}

// Array sizes in NEWTABLE's B: a "floating byte" eeeeexxx meaning (xxx) * 2^eeeee (values
// below 8 stored as they are). Decoded sizes above 2^24 are a "table overflow".
int EncodeFloatByte(unsigned x);
// The decoded size, or -1 when it exceeds the array limit.
long DecodeFloatByte(int fb);

}  // namespace tvs
