// A packed 32-bit colour: alpha in bits 24-31, then red, green and blue.
#pragma once

#include <cstdint>

class TColor32 {
 public:
  TColor32() = default;  // transparent black
  explicit TColor32(uint32_t argb) : mValue(argb) {}
  TColor32(uint8_t red, uint8_t green, uint8_t blue, uint8_t alpha)
      : mValue(Pack(alpha, red, green, blue)) {}
  // Components in 0..1, each scaled by 255 and truncated toward zero.
  TColor32(float red, float green, float blue, float alpha)
      : mValue(Pack(ToByte(alpha), ToByte(red), ToByte(green), ToByte(blue))) {}

  uint32_t GetValue() const { return mValue; }
  uint8_t GetAlpha() const { return static_cast<uint8_t>(mValue >> 24); }
  uint8_t GetRed() const { return static_cast<uint8_t>(mValue >> 16); }
  uint8_t GetGreen() const { return static_cast<uint8_t>(mValue >> 8); }
  uint8_t GetBlue() const { return static_cast<uint8_t>(mValue); }
  void SetAlpha(uint8_t v) { SetByte(24, v); }
  void SetRed(uint8_t v) { SetByte(16, v); }
  void SetGreen(uint8_t v) { SetByte(8, v); }
  void SetBlue(uint8_t v) { SetByte(0, v); }
  bool operator==(const TColor32& other) const { return mValue == other.mValue; }

 private:
  static uint32_t Pack(uint32_t a, uint32_t r, uint32_t g, uint32_t b) {
    return (a << 24) | (r << 16) | (g << 8) | b;
  }
  // Out-of-range components are clamped; the designed truncation holds inside 0..1.
  static uint8_t ToByte(float v) {
    float scaled = v * 255.0f;
    return scaled <= 0.0f ? 0 : scaled >= 255.0f ? 255 : static_cast<uint8_t>(scaled);
  }
  void SetByte(int shift, uint8_t v) {
    mValue = (mValue & ~(0xFFu << shift)) | (static_cast<uint32_t>(v) << shift);
  }

  uint32_t mValue = 0;
};
