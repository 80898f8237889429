// The outline program of a vector glyph: a byte stream of opcodes with little-endian
// operands, coordinates being signed 16-bit values in 1/128 outline units. Shared by the
// font loader (which checks programs), the rasteriser (which runs them) and the converter
// (which writes them).
#pragma once

#include <cstdint>

enum TVecOp : uint8_t {
  kOpNewGroup = 1,      // start a new layer; its colours count from the colours defined so far
  kOpLeftColour = 2,    // u8 colour of the following edges' left side
  kOpRightColour = 3,   // u8 colour of the following edges' right side
  kOpMove = 4,          // x, y
  kOpLine = 5,          // x, y
  kOpCurve = 6,         // quadratic: control x, y; end x, y
  kOpDefineColour = 7,  // u8 red, green, blue of the next colour index
  kOpEnd = 8,
};

// Bytes an opcode takes with its operands; 0 for a byte that is not an opcode.
inline int VecOpLength(uint8_t op) {
  static constexpr int kLengths[9] = {0, 1, 2, 2, 5, 5, 9, 4, 1};
  return op < 9 ? kLengths[op] : 0;
}

inline int16_t ReadS16(const uint8_t* p) {
  return static_cast<int16_t>(p[0] | (p[1] << 8));
}
inline uint16_t ReadU16(const uint8_t* p) {
  return static_cast<uint16_t>(p[0] | (p[1] << 8));
}
inline uint32_t ReadU32(const uint8_t* p) {
  return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}
