// UTF-8 text from the system (text input, the clipboard) to Unicode code points.
//
// Malformed sequences (stray continuation bytes, truncated sequences, overlong forms,
// surrogates, values past U+10FFFF) are dropped byte by byte, so every code point handed on
// is a valid scalar value.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

std::vector<uint32_t> DecodeUtf8(const char* text, size_t size);
