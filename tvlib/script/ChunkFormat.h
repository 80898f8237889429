// The header of precompiled chunks, shared by the writer and the loader.
#pragma once

#include <cstdint>

namespace tvs {

constexpr uint8_t kChunkSignature[4] = {0x1B, 'L', 'u', 'a'};
constexpr uint8_t kChunkVersion = 0x50;
constexpr uint8_t kChunkLittleEndian = 1;
// Sizes as stored: int, size_t, Instruction, then bits of OP, A, B, C, then number. Integers
// and sizes are 4 bytes whatever the machine's own types are.
constexpr uint8_t kChunkSizes[8] = {4, 4, 4, 6, 8, 9, 9, 8};
constexpr const char* kChunkSizeNames[8] = {"int", "size_t", "Instruction", "OP",
                                            "A",   "B",      "C",           "number"};
constexpr double kChunkTestNumber = 31415926.535897933;
constexpr int kChunkTestInteger = 31415926;
// Constant type bytes.
constexpr uint8_t kChunkNil = 0, kChunkNumber = 3, kChunkString = 4, kChunkWString = 9;

}  // namespace tvs
