// Base64 with the standard alphabet, "=" padding and no line breaks.
//
// Decoding never fails: characters outside the alphabet read as zero bits, and a text whose
// length is not a multiple of 4 is read as if padded with "=".
#pragma once

// ceil(n / 3) * 4.
int Base64EncodedSize(int n);
// Writes the encoding of `bytes` (no NUL); returns the characters written.
int Base64Encode(char* out, const void* bytes, int n);
// n rounded up to a multiple of 4, then / 4 * 3: room enough for any text of n characters.
int Base64DecodedSize(int n);
// Decodes `n` characters into `out` (Base64DecodedSize(n) bytes); returns the bytes given.
int Base64Decode(void* out, const char* text, int n);
