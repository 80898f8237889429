// The designed numbers of the software rendering device, in one place.
//
// The display handler, the textures, the cursor and the vector rasteriser are written against
// these values: result codes (HRESULT-style, negative = failure), surface description and caps
// bits, pixel-format flags, blit and lock flags, render-state and texture-stage-state ids with
// their values, vertex-format bits and primitive types. Where the engine's code depends on a value
// (a result code it compares, a caps word it passes) the value is the one the engine was written
// for; the rest only need to be distinct.
#pragma once

#include <cstdint>

namespace sd {

using HR = int32_t;

constexpr bool Failed(HR hr) {
  return hr < 0;
}
constexpr bool Succeeded(HR hr) {
  return hr >= 0;
}

// ---- Result codes -------------------------------------------------------------------------------
constexpr HR kOk = 0;
constexpr HR kErrFail = static_cast<HR>(0x80004005u);               // generic failure
constexpr HR kErrPointer = static_cast<HR>(0x80004003u);            // missing object or out pointer
constexpr HR kErrInvalidArg = static_cast<HR>(0x80070057u);         // bad argument
constexpr HR kErrOutOfMemory = static_cast<HR>(0x8007000Eu);        // system memory exhausted
constexpr HR kErrCurrentlyNotAvail = static_cast<HR>(0x88760028u);  // e.g. a 16-bit render target
constexpr HR kErrInvalidRect = static_cast<HR>(0x88760096u);        // rectangle outside the surface
constexpr HR kErrNoExclusiveMode = static_cast<HR>(0x887600E1u);
constexpr HR kErrOutOfVideoMemory = static_cast<HR>(0x8876017Cu);
constexpr HR kErrSurfaceBusy = static_cast<HR>(0x887601AEu);  // already locked
constexpr HR kErrSurfaceLost = static_cast<HR>(0x887601C2u);
constexpr HR kErrWasStillDrawing = static_cast<HR>(0x8876021Cu);
constexpr HR kErrNeedTrueColour = static_cast<HR>(0x8876023Cu);  // device creation: desktop depth
constexpr HR kErrExclusiveModeAlreadySet = static_cast<HR>(0x88760245u);
constexpr HR kErrNotLocked = static_cast<HR>(0x88760248u);
constexpr HR kErrWrongMode = static_cast<HR>(0x8876024Bu);
constexpr HR kErrUnsupportedMode = static_cast<HR>(0x8876024Eu);
constexpr HR kErrNeedVideoMemoryBack =
    static_cast<HR>(0x887602EBu);  // device creation: back buffer
constexpr HR kErrSceneEndFailed = static_cast<HR>(0x887602FBu);

// ---- Surface descriptions ----------------------------------------------------------------------
// Which fields of a TSurfaceDesc are given.
constexpr uint32_t kDescCaps = 0x1;
constexpr uint32_t kDescHeight = 0x2;
constexpr uint32_t kDescWidth = 0x4;
constexpr uint32_t kDescPitch = 0x8;
constexpr uint32_t kDescBackBufferCount = 0x20;
constexpr uint32_t kDescPixelFormat = 0x1000;
constexpr uint32_t kDescMipMapCount = 0x20000;
constexpr uint32_t kDescTextureStage = 0x100000;

// Surface caps (first caps word).
constexpr uint32_t kCapsBackBuffer = 0x4;
constexpr uint32_t kCapsComplex = 0x8;
constexpr uint32_t kCapsFlip = 0x10;
constexpr uint32_t kCapsFrontBuffer = 0x20;
constexpr uint32_t kCapsOffscreenPlain = 0x40;
constexpr uint32_t kCapsPrimarySurface = 0x200;
constexpr uint32_t kCapsSystemMemory = 0x800;
constexpr uint32_t kCapsTexture = 0x1000;
constexpr uint32_t kCaps3dDevice = 0x2000;
constexpr uint32_t kCapsVideoMemory = 0x4000;
constexpr uint32_t kCapsZBuffer = 0x20000;
constexpr uint32_t kCapsMipMap = 0x400000;
// Second caps word: ask for an alpha channel on the flip chain (accepted, always granted).
constexpr uint32_t kCaps2EnableAlphaChannel = 0x00100000;

// Pixel-format flags.
constexpr uint32_t kPfAlphaPixels = 0x1;
constexpr uint32_t kPfPaletteIndexed8 = 0x20;
constexpr uint32_t kPfRgb = 0x40;
constexpr uint32_t kPfZBuffer = 0x400;
constexpr uint32_t kPfLuminance = 0x20000;

// ---- Display object -----------------------------------------------------------------------------
constexpr uint32_t kCoopFullScreen = 0x1;
constexpr uint32_t kCoopNormal = 0x8;
constexpr uint32_t kCoopExclusive = 0x10;

// Blt flags.
constexpr uint32_t kBltColorFill = 0x400;
constexpr uint32_t kBltDdFx = 0x800;
constexpr uint32_t kBltWait = 0x1000000;
constexpr uint32_t kBltKeySrc = 0x8000;
constexpr uint32_t kBltFxNoTearing = 0x8;
// BltFast flags.
constexpr uint32_t kBltFastNoColorKey = 0x0;
constexpr uint32_t kBltFastSrcColorKey = 0x1;
constexpr uint32_t kBltFastWait = 0x10;
// Lock flags; the device never has to wait, so waiting and not waiting are the same.
constexpr uint32_t kLockWait = 0x1;
// Colour-key kind.
constexpr uint32_t kColorKeySrcBlt = 0x8;
// Flip status query.
constexpr uint32_t kFlipStatusIsFlipDone = 0x2;
// Palette caps: 8-bit, all 256 entries usable.
constexpr uint32_t kPaletteCaps8BitAllow256 = 0x44;

// Display caps bits.
constexpr uint32_t kColorKeyCapsSrcBlt = 0x200;

// ---- 3-D device capabilities --------------------------------------------------------------------
constexpr uint32_t kDevCapsSeparateTextureMemories = 0x4000;
constexpr uint32_t kDevCapsHwTransformAndLight = 0x10000;
constexpr uint32_t kDevCapsHwRasterization = 0x80000;
constexpr uint32_t kShadeCapsColorGouraudRgb = 0x8;
constexpr uint32_t kShadeCapsSpecularGouraudRgb = 0x200;
constexpr uint32_t kTextureCapsSquareOnly = 0x20;
constexpr uint32_t kBitDepth8 = 0x800;
constexpr uint32_t kBitDepth16 = 0x400;
constexpr uint32_t kBitDepth24 = 0x200;
constexpr uint32_t kBitDepth32 = 0x100;

// ---- Render states ------------------------------------------------------------------------------
enum TRenderState : uint32_t {
  kRsZEnable = 7,
  kRsShadeMode = 9,
  kRsZWriteEnable = 14,
  kRsAlphaTestEnable = 15,
  kRsSrcBlend = 19,
  kRsDestBlend = 20,
  kRsCullMode = 22,
  kRsZFunc = 23,
  kRsAlphaRef = 24,
  kRsAlphaFunc = 25,
  kRsAlphaBlendEnable = 27,
  kRsSpecularEnable = 29,
  kRsTextureFactor = 60,
  kRsWrap0 = 128,
  kRsClipping = 136,
  kRsLighting = 137,
  kRsAmbient = 139,
  kRsColorVertex = 141,
  kRsNormalizeNormals = 143,
  kRsDiffuseMaterialSource = 145,
  kRsSpecularMaterialSource = 146,
  kRsAmbientMaterialSource = 147,
  kRsEmissiveMaterialSource = 148,
  kRsCount = 160,  // size of the state table; ids at or above it are refused
};

// Texture-stage states (stage 0 is the only stage the engine uses; stage 1 is accepted and
// ignored so that a second stage stays disabled).
enum TTextureStageState : uint32_t {
  kTssColorOp = 1,
  kTssColorArg1 = 2,
  kTssColorArg2 = 3,
  kTssAlphaOp = 4,
  kTssAlphaArg1 = 5,
  kTssAlphaArg2 = 6,
  kTssAddressU = 13,
  kTssAddressV = 14,
  kTssMagFilter = 16,
  kTssMinFilter = 17,
  kTssMipFilter = 18,
  kTssCount = 32,
};

// Texture operations and arguments.
constexpr uint32_t kTopDisable = 1;
constexpr uint32_t kTopSelectArg1 = 2;
constexpr uint32_t kTopSelectArg2 = 3;
constexpr uint32_t kTopModulate = 4;
constexpr uint32_t kTaDiffuse = 0;
constexpr uint32_t kTaCurrent = 1;
constexpr uint32_t kTaTexture = 2;
constexpr uint32_t kTaTFactor = 3;
constexpr uint32_t kTaSpecular = 4;

// Filters: magnification, minification, mip.
constexpr uint32_t kTfgPoint = 1;
constexpr uint32_t kTfgLinear = 2;
constexpr uint32_t kTfnPoint = 1;
constexpr uint32_t kTfnLinear = 2;
constexpr uint32_t kTfpNone = 1;
constexpr uint32_t kTfpPoint = 2;
constexpr uint32_t kTfpLinear = 3;

// Texture addressing.
constexpr uint32_t kTaddressWrap = 1;
constexpr uint32_t kTaddressMirror = 2;
constexpr uint32_t kTaddressClamp = 3;

// Blend factors.
constexpr uint32_t kBlendZero = 1;
constexpr uint32_t kBlendOne = 2;
constexpr uint32_t kBlendSrcColor = 3;
constexpr uint32_t kBlendInvSrcColor = 4;
constexpr uint32_t kBlendSrcAlpha = 5;
constexpr uint32_t kBlendInvSrcAlpha = 6;
constexpr uint32_t kBlendDestAlpha = 7;
constexpr uint32_t kBlendInvDestAlpha = 8;
constexpr uint32_t kBlendDestColor = 9;
constexpr uint32_t kBlendInvDestColor = 10;

// Comparison functions (alpha test, Z test).
constexpr uint32_t kCmpNever = 1;
constexpr uint32_t kCmpLess = 2;
constexpr uint32_t kCmpEqual = 3;
constexpr uint32_t kCmpLessEqual = 4;
constexpr uint32_t kCmpGreater = 5;
constexpr uint32_t kCmpNotEqual = 6;
constexpr uint32_t kCmpGreaterEqual = 7;
constexpr uint32_t kCmpAlways = 8;

constexpr uint32_t kCullNone = 1;
constexpr uint32_t kCullCw = 2;
constexpr uint32_t kCullCcw = 3;
constexpr uint32_t kShadeFlat = 1;
constexpr uint32_t kShadeGouraud = 2;
constexpr uint32_t kMcsMaterial = 0;
constexpr uint32_t kMcsColor1 = 1;
constexpr uint32_t kMcsColor2 = 2;

// Transform slots.
constexpr uint32_t kTransformWorld = 1;
constexpr uint32_t kTransformView = 2;
constexpr uint32_t kTransformProjection = 3;

// Primitive types.
constexpr uint32_t kPtPointList = 1;
constexpr uint32_t kPtLineList = 2;
constexpr uint32_t kPtLineStrip = 3;
constexpr uint32_t kPtTriangleList = 4;
constexpr uint32_t kPtTriangleStrip = 5;
constexpr uint32_t kPtTriangleFan = 6;

// Clear flags.
constexpr uint32_t kClearTarget = 0x1;
constexpr uint32_t kClearZBuffer = 0x2;

// Light types (the device's own numbering).
constexpr uint32_t kLightPoint = 1;
constexpr uint32_t kLightSpot = 2;
constexpr uint32_t kLightDirectional = 3;

// Vertex-format bits. The engine uses 0x1C4 (screen space: x, y, z, rhw, diffuse, specular, u, v),
// 0x1E2 (x, y, z, reserved, diffuse, specular, u, v) and 0x112 (x, y, z, normal, u, v).
constexpr uint32_t kFvfXyz = 0x2;
constexpr uint32_t kFvfXyzRhw = 0x4;
constexpr uint32_t kFvfNormal = 0x10;
constexpr uint32_t kFvfReserved1 = 0x20;
constexpr uint32_t kFvfDiffuse = 0x40;
constexpr uint32_t kFvfSpecular = 0x80;
constexpr uint32_t kFvfTexCountMask = 0xF00;
constexpr uint32_t kFvfTexCountShift = 8;
constexpr uint32_t kFvfTex1 = 0x100;
constexpr uint32_t kFvfTLVertex = 0x1C4;
constexpr uint32_t kFvfLVertex = 0x1E2;
constexpr uint32_t kFvfVertex = 0x112;

// ---- Texture helpers ----------------------------------------------------------------------------
// Formats asked of the texture creation helper.
enum TTexFormat : uint32_t {
  kSfUnknown = 0,
  kSfR8G8B8 = 1,
  kSfA8R8G8B8 = 2,
  kSfX8R8G8B8 = 3,
  kSfR5G6B5 = 4,
  kSfX1R5G5B5 = 5,
  kSfA1R5G5B5 = 6,
  kSfA4R4G4B4 = 10,
};
constexpr uint32_t kTexNoMipMap = 0x100;  // creation flag: one level only
constexpr uint32_t kFilterPoint = 1;      // load filter: nearest source pixel
constexpr uint32_t kFilterLinear = 2;     // load filter: box/bilinear

}  // namespace sd
