// Limits shared by the script runtime's modules, each with the reason it has the value it has.
// Limits private to one module sit at the top of that module instead.
#pragma once

#include <cstddef>
#include <cstdint>

#include "tvlib/script/NumberConversion.h"

namespace tvs {

// One instruction word; the layout is drawn in Opcodes.h.
using Instruction = uint32_t;
// Script numbers are IEEE doubles.
using Number = double;

// Registers of one function: the A field has 8 bits and RK operands from 250 on name constants.
constexpr int kMaxStack = 250;
// RK operands at or above this value name constant (operand - kRkConstBase).
constexpr int kRkConstBase = kMaxStack;
// The largest constant index an RK operand can hold (9-bit B and C fields).
constexpr int kMaxRkIndex = 511 - kRkConstBase;
// Local variables active at once in one function ("local variables").
constexpr int kMaxVars = 200;
// Upvalues of one function ("upvalues").
constexpr int kMaxUpvalues = 32;
// Parameters of one function ("parameters").
constexpr int kMaxParams = 100;
// Nested syntactic constructs ("too many syntax levels") and nested C calls: keeps the C stack
// bounded when scripts recurse through the parser or through native functions.
constexpr int kMaxCalls = 200;
// Values stored per SETLIST flush (the low 5 bits of Bx count them).
constexpr int kFieldsPerFlush = 32;
// Lines in one chunk, counts of code, constants and constructor fields: fit an int with room.
constexpr int kMaxIntLimit = 2147483645;
// Largest Bx (18 bits) and the bias of sBx.
constexpr int kMaxArgBx = (1 << 18) - 1;
constexpr int kMaxArgSBx = kMaxArgBx >> 1;
// Instructions in a `while' condition that is copied after the loop body.
constexpr int kMaxWhileCond = 100;
// Loop count of `break N' and `continue N'.
constexpr int kMaxLoopCount = 100;
// Chained __index / __newindex steps before "loop in gettable" / "loop in settable".
constexpr int kMaxTagLoop = 100;
// Stack: first size (40 usable plus spare), slots guaranteed to a native function, and the
// spare kept above every frame so that metamethod calls need no check.
constexpr int kBasicStackSize = 40;
constexpr int kExtraStack = 5;
constexpr int kMinCStack = 20;
constexpr int kBasicCiSize = 8;
// Stack slots per thread at most: beyond it a runaway recursion is a "stack overflow".
constexpr int kMaxStackSize = 1000000;
// Hash part of a table at most 2^24 nodes ("table overflow").
constexpr int kMaxHashBits = 24;
// Array part counts slices of powers of two up to 2^kMaxArrayBits.
constexpr int kMaxArrayBits = 24;
// Interned strings start with this many buckets.
constexpr int kMinStrTable = 32;
// Allocation requests of this size or more fail with "block too big" (fits a 32-bit size).
constexpr size_t kMaxBlockSize = 4294967293u;
// Strings and concatenations longer than this fail with "string size overflow".
constexpr size_t kMaxStringSize = 4294967293u;
// Chunk identifiers in messages ("%s:%d:") hold at most this many characters.
constexpr int kIdSize = 60;

}  // namespace tvs
