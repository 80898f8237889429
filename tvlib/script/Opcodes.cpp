// Opcode names and mode bytes (the numbers are part of the chunk format).
#include "tvlib/script/Opcodes.h"

namespace tvs {

const uint8_t kOpModes[kNumOpcodes] = {
    0x24, 0x61, 0x20, 0x24, 0x20, 0x61, 0x34, 0x41, 0x00, 0x18,  // MOVE .. SETTABLE
    0x20, 0x34, 0x38, 0x38, 0x38, 0x38, 0x38, 0x38, 0x38, 0x38,  // NEWTABLE .. SHR
    0x38, 0x24, 0x24, 0x34, 0x02, 0x98, 0x98, 0x98, 0xa4, 0x00,  // POW .. CALL
    0x00, 0x00, 0x02, 0x80, 0x02, 0x01, 0x01, 0x00, 0x21,        // TAILCALL .. CLOSURE
};

const char* const kOpNames[kNumOpcodes] = {
    "MOVE",     "LOADK",    "LOADBOOL", "LOADNIL", "GETUPVAL", "GETGLOBAL", "GETTABLE", "SETGLOBAL",
    "SETUPVAL", "SETTABLE", "NEWTABLE", "SELF",    "ADD",      "SUB",       "MUL",      "DIV",
    "BAND",     "BOR",      "SHL",      "SHR",     "POW",      "UNM",       "NOT",      "CONCAT",
    "JMP",      "EQ",       "LT",       "LE",      "TEST",     "CALL",      "TAILCALL", "RETURN",
    "FORLOOP",  "TFORLOOP", "TFORPREP", "SETLIST", "SETLISTO", "CLOSE",     "CLOSURE",
};

int EncodeFloatByte(unsigned x) {
  int e = 0;
  while (x >= 8) {
    x = (x + 1) >> 1;
    e++;
  }
  return (e << 3) | static_cast<int>(x);
}

long DecodeFloatByte(int fb) {
  const int e = fb >> 3;
  if (e > kMaxArrayBits) return -1;
  const long size = static_cast<long>(fb & 7) << e;
  return size > (1L << kMaxArrayBits) ? -1 : size;
}

}  // namespace tvs
