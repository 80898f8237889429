// The record of vertices handed to the display handler: a format code, the caller's vertex
// array (not owned) and a count. Every format is 32 bytes a vertex; the display handler
// gives each code its layout.
#pragma once

enum TVertexFormat : int {
  kVertexLit = 0,           // lit 3-D vertex
  kVertexUnlit = 1,         // unlit 3-D vertex
  kVertexScreenScaled = 2,  // screen-space vertex, scaled with the game area when embedded
  kVertexScreen = 3,        // screen-space vertex, never scaled
};

inline constexpr int kVertexSize = 32;

class TVertexSet {
 public:
  // A set of screen-space vertices scaled with the game area (particles, animation frames).
  TVertexSet(const void* vertices, int count) : TVertexSet(kVertexScreenScaled, vertices, count) {}
  // A set of screen-space vertices never scaled (the vector rasteriser's output).
  static TVertexSet TVertexSet3(const void* vertices, int count) {
    return TVertexSet(kVertexScreen, vertices, count);
  }
  TVertexSet(TVertexFormat format, const void* vertices, int count)
      : mFormat(format), mVertices(vertices), mCount(count) {}

  TVertexFormat GetFormat() const { return mFormat; }
  const void* GetVertices() const { return mVertices; }
  int GetCount() const { return mCount; }
  void SetCount(int count) { mCount = count; }

 private:
  TVertexFormat mFormat;
  const void* mVertices;
  int mCount;
};
