// Frame drawing: the frame bracket, 2-D states, viewports and their stack, render targets and
// their stack, texture binding, colour fills, span batches, blend, filter and address modes, and
// the choice of vertex format.
#include <algorithm>
#include <mutex>

#include "tvlib/core/Clock.h"
#include "tvlib/core/DebugLog.h"
#include "tvlib/platform/render/TDeviceMath.h"
#include "tvlib/render/TDxDisplayHandler.h"
#include "tvlib/render/TDxDisplayHandlerData.h"
#include "tvlib/render/TDxTextureData.h"
#include "tvlib/render/TTexture.h"

namespace {

bool IsEmbedded(const TRenderHost* host) {
  float scale = 1.0f;
  return host && host->GetDisplayScale(&scale);
}

float DisplayScale(const TRenderHost* host) {
  float scale = 1.0f;
  if (host) host->GetDisplayScale(&scale);
  return scale;
}

}  // namespace

void TDxDisplayHandler::MarkDeviceBroken() {
  mData->broken = true;
  mData->brokenTime = RenderTime(mData->host);
}

bool TDxDisplayHandler::BeginDraw(bool prepare) {
  TDxDisplayHandlerData& d = *mData;
  if (!d.device || d.broken) return false;
  TRenderHost* host = d.host;
  if (host && !host->IsVisible()) {
    ClockSleep(200);
    return false;
  }
  // What the cursor thread drew since the last frame reaches the screen here, on this thread,
  // under the mouse mutex so the thread is not drawing into the image being shown.
  {
    std::lock_guard<std::recursive_timed_mutex> lock(d.context.mouseMutex);
    d.directDraw->ShowPending();
  }
  if (prepare && !d.context.PrepareBackBuffer()) return false;
  sd::HR hr = d.device->BeginScene();
  if (hr == sd::kErrSurfaceLost) {
    DebugLog("TPlatform::BeginDraw: DDERR_SURFACELOST on BeginScene");
    if (d.restoring) return false;
    d.restoring = true;
    Restore();
    d.restoring = false;
    if (d.broken || !d.device) {
      d.inScene = false;
      return false;
    }
    hr = d.device->BeginScene();
    if (sd::Failed(hr)) {
      MarkDeviceBroken();
      d.inScene = false;
      return false;
    }
  } else if (hr != sd::kOk) {
    d.inScene = false;
    return false;
  }
  ++d.workingCount;
  const int clip[4] = {d.displayRect.left, d.displayRect.top, d.displayRect.right,
                       d.displayRect.bottom};
  ApplyViewport(d.displayRect.left, d.displayRect.top, d.displayRect.right, d.displayRect.bottom,
                clip);
  d.context.Clear(sd::kClearZBuffer);
  ApplyViewport(d.viewport.left, d.viewport.top, d.viewport.right, d.viewport.bottom, clip);
  d.inScene = true;
  return true;
}

void TDxDisplayHandler::EndDraw(bool present) {
  TDxDisplayHandlerData& d = *mData;
  if (!d.device || !d.inScene) return;
  d.inScene = false;
  sd::HR hr = d.device->EndScene();
  if (hr == sd::kErrSceneEndFailed) {
    MarkDeviceBroken();
    return;
  }
  TRenderHost* host = d.host;
  bool drawingDisabled = host && host->IsDrawingDisabled();
  if (present && !drawingDisabled && sd::Succeeded(hr)) hr = d.context.Present();
  if (hr == sd::kErrSurfaceLost) {
    Restore();
    return;
  }
  if (sd::Succeeded(hr)) return;
  DebugLog("TPlatform::EndDraw: Unexpected error (see above) on UpdateFrame or EndScene");
  Restore();
}

bool TDxDisplayHandler::Begin2d() {
  SetModulateStage(sd::kTaDiffuse);
  SetStageState(sd::kTssMagFilter, sd::kTfgLinear);
  SetStageState(sd::kTssMinFilter, sd::kTfnLinear);
  SetTextureAddressMode(0, 0);
  SetRenderState(sd::kRsSrcBlend, sd::kBlendSrcAlpha);
  SetRenderState(sd::kRsDestBlend, sd::kBlendInvSrcAlpha);
  SetRenderState(sd::kRsAlphaBlendEnable, 1);
  SetRenderState(sd::kRsZEnable, 0);
  SetRenderState(sd::kRsSpecularEnable, 0);
  SetRenderState(sd::kRsWrap0, 0);
  SetRenderState(sd::kRsCullMode, sd::kCullNone);
  SetRenderState(sd::kRsZWriteEnable, 0);
  SetRenderState(sd::kRsClipping, 0);
  return true;
}

void TDxDisplayHandler::DrawCoverage(std::span<const sd::TRasterCoverageGlyph> glyphs) {
  sd::TDevice3d* device = mData->device;
  if (!device) return;
  sd::HR hr = device->DrawCoverage(glyphs.data(), static_cast<uint32_t>(glyphs.size()));
  if (hr != sd::kOk) {
    Check(hr);
    MarkDeviceBroken();
  }
}

void TDxDisplayHandler::End2d() {
  if (mData->device) Check(mData->device->SetTexture(0, nullptr));
}

sd::HR TDxDisplayHandler::ApplyViewport(int left, int top, int right, int bottom,
                                        const int clip[4]) {
  int clipWidth = clip[2] - clip[0];
  int clipHeight = clip[3] - clip[1];
  left = std::max(left, 0);
  top = std::max(top, 0);
  right = std::max(right, left);
  bottom = std::max(bottom, top);
  left = std::min(left, clipWidth - 1);
  top = std::min(top, clipHeight - 1);
  right = std::min(right, clipWidth);
  bottom = std::min(bottom, clipHeight);
  sd::TViewport vp;
  vp.x = static_cast<uint32_t>(std::max(left, 0));
  vp.y = static_cast<uint32_t>(std::max(top, 0));
  vp.width = static_cast<uint32_t>(std::max(right - left, 0));
  vp.height = static_cast<uint32_t>(std::max(bottom - top, 0));
  if (IsEmbedded(mData->host)) {
    float scale = DisplayScale(mData->host);
    auto scaled = [scale](uint32_t v) { return static_cast<uint32_t>(v * scale + 0.5f); };
    vp.x = scaled(vp.x);
    vp.y = scaled(vp.y);
    vp.width = scaled(vp.width);
    vp.height = scaled(vp.height);
    if (scale != 0.0f) {
      int displayWidth = 0, displayHeight = 0;
      GetDisplaySize(&displayWidth, &displayHeight, nullptr);
      if ((vp.x + vp.width) / scale > displayWidth)
        vp.width = static_cast<uint32_t>(displayWidth * scale) - vp.x;
      if ((vp.y + vp.height) / scale > displayHeight)
        vp.height = static_cast<uint32_t>(displayHeight * scale) - vp.y;
    }
  }
  if (!mData->device) return sd::kErrPointer;
  return Check(mData->device->SetViewport(vp));
}

void TDxDisplayHandler::SetViewport(int left, int top, int right, int bottom) {
  TDxDisplayHandlerData& d = *mData;
  if (!d.device) return;
  d.viewport = {left, top, right, bottom};
  const int clip[4] = {d.displayRect.left, d.displayRect.top, d.displayRect.right,
                       d.displayRect.bottom};
  if (sd::Failed(ApplyViewport(left, top, right, bottom, clip)))
    DebugLog("Bad viewport: %d, %d, %d, %d", left, top, right, bottom);
}

void TDxDisplayHandler::GetViewport(int* left, int* top, int* right, int* bottom) {
  *left = mData->viewport.left;
  *top = mData->viewport.top;
  *right = mData->viewport.right;
  *bottom = mData->viewport.bottom;
}

void TDxDisplayHandler::PushViewport(int left, int top, int right, int bottom) {
  mData->viewports.push_front(mData->viewport);
  SetViewport(left, top, right, bottom);
}

void TDxDisplayHandler::PopViewport() {
  TDxDisplayHandlerData& d = *mData;
  if (d.viewports.empty()) {
    DebugLog("PopViewport: the viewport stack is empty");
    return;
  }
  d.viewport = d.viewports.front();
  d.viewports.pop_front();
  const int clip[4] = {d.displayRect.left, d.displayRect.top, d.displayRect.right,
                       d.displayRect.bottom};
  ApplyViewport(d.viewport.left, d.viewport.top, d.viewport.right, d.viewport.bottom, clip);
}

bool TDxDisplayHandler::PushRenderTarget(std::shared_ptr<TTexture> target) {
  TDxDisplayHandlerData& d = *mData;
  if (!d.device || d.broken || !target || d.renderTargets.empty()) return false;
  TDxTextureData* data = target->GetData();
  if (!data || !(data->flags & kTextureRenderTarget) || !data->surface) return false;
  SwitchRenderTarget(d.renderTargets.front()->surface, data->surface);
  auto entry = std::make_shared<TDxDisplayHandlerData::SRenderTarget>();
  entry->surface = data->surface;
  entry->right = target->GetWidth();
  entry->bottom = target->GetHeight();
  d.renderTargets.push_front(entry);
  // The frame drawn on the back buffer is still open: its scene flag comes back at the pop.
  bool outerScene = d.inScene;
  if (!BeginDraw(false)) {
    // Back to the surface drawn on before, as if the push had not happened.
    d.renderTargets.pop_front();
    SwitchRenderTarget(data->surface, d.renderTargets.front()->surface);
    d.inScene = outerScene;
    return false;
  }
  d.outerScenes.push_back(outerScene);
  return true;
}

bool TDxDisplayHandler::PopRenderTarget() {
  TDxDisplayHandlerData& d = *mData;
  if (d.renderTargets.size() < 2) return false;
  EndDraw(false);
  if (!d.outerScenes.empty()) {
    d.inScene = d.outerScenes.back();
    d.outerScenes.pop_back();
  }
  std::shared_ptr<TDxDisplayHandlerData::SRenderTarget> removed = d.renderTargets.front();
  d.renderTargets.pop_front();
  return SwitchRenderTarget(removed->surface, d.renderTargets.front()->surface);
}

bool TDxDisplayHandler::SwitchRenderTarget(const sd::TSurfacePtr& from, const sd::TSurfacePtr& to) {
  TDxDisplayHandlerData& d = *mData;
  if (from == to || !d.device || !to) return true;
  sd::HR hr = d.device->SetRenderTarget(to, 0);
  TDxDisplayHandlerData::SViewport saved = d.displayRect;
  float scale = DisplayScale(mData->host);
  d.displayRect = {0, 0, static_cast<int>(to->Width() / scale + 0.5f),
                   static_cast<int>(to->Height() / scale + 0.5f)};
  d.viewport = d.displayRect;
  int clip[4] = {0, 0, d.displayRect.right, d.displayRect.bottom};
  if (sd::Succeeded(hr) && sd::Succeeded(ApplyViewport(0, 0, clip[2], clip[3], clip))) return true;
  d.displayRect = saved;
  if (sd::Succeeded(hr)) {
    DebugLog("Bad viewport in switching render target!");
    d.viewport = d.displayRect;
    const int back[4] = {saved.left, saved.top, saved.right, saved.bottom};
    hr = ApplyViewport(saved.left, saved.top, saved.right, saved.bottom, back);
    if (sd::Succeeded(hr)) return true;
  }
  if (hr == sd::kErrOutOfVideoMemory) {
    HandleOutOfVideoMemory();
  } else if (hr == sd::kErrCurrentlyNotAvail) {
    if (to->Format().bitCount == 16) {
      DebugLog("Failed to SetRenderTarget with bit depth 16");
      d.context.noRenderTarget16 = true;
      MarkDeviceBroken();
    } else if (!d.alphaTargetMessageShown) {
      d.alphaTargetMessageShown = true;
      DebugLog("Failed to SetRenderTarget with alpha bit depth %d",
               static_cast<int>(to->Format().bitCount));
    }
  }
  return true;
}

void TDxDisplayHandler::SetTexture(std::shared_ptr<TTexture> texture) {
  TDxDisplayHandlerData& d = *mData;
  if (!IsDeviceValid()) return;
  TDxTextureData* data = texture ? texture->GetData() : nullptr;
  Check(d.device->SetTexture(0, data ? data->surface : nullptr));
  d.currentTexture = texture;
}

void TDxDisplayHandler::FillRect(int left, int top, int right, int bottom, const float colour[4],
                                 std::shared_ptr<TTexture> target) {
  TDxDisplayHandlerData& d = *mData;
  sd::TSurfacePtr surface;
  if (target) {
    if (TDxTextureData* data = target->GetData()) surface = data->surface;
  } else {
    surface = d.context.GetBackBuffer();
  }
  if (!surface) return;
  // Clamped to the surface filled, in game units: a small target inside a large display must
  // not be filled past its own edge.
  float scale = (!target && IsEmbedded(mData->host)) ? DisplayScale(mData->host) : 1.0f;
  int width = target ? surface->Width() : static_cast<int>(surface->Width() / scale);
  int height = target ? surface->Height() : static_cast<int>(surface->Height() / scale);
  auto clampEdge = [](int v, int limit, bool far) {
    if (v < 0) return far ? limit : 0;
    return std::min(v, limit);
  };
  left = clampEdge(left, width, false);
  right = clampEdge(right, width, true);
  top = clampEdge(top, height, false);
  bottom = clampEdge(bottom, height, true);
  if (left > right || top > bottom) return;
  if (scale != 1.0f) {
    left = static_cast<int>(left * scale);
    top = static_cast<int>(top * scale);
    right = static_cast<int>(right * scale);
    bottom = static_cast<int>(bottom * scale);
  }
  const sd::TPixelFormat& f = surface->Format();
  auto part = [](float c, uint32_t mask) {
    return static_cast<uint32_t>(static_cast<double>(c) * mask) & mask;
  };
  uint32_t value = part(colour[3], f.aMask) + part(colour[2], f.bMask) + part(colour[1], f.gMask) +
                   part(colour[0], f.rMask);
  sd::TRect rect{left, top, right, bottom};
  Check(surface->Blt(&rect, nullptr, nullptr, sd::kBltColorFill, value));
}

void TDxDisplayHandler::SetBlendMode(int mode) {
  auto additive = [this](uint32_t src, uint32_t dest) {
    SetRenderState(sd::kRsSrcBlend, src);
    SetRenderState(sd::kRsDestBlend, dest);
    SetRenderState(sd::kRsAlphaBlendEnable, 1);
    SetStageState(sd::kTssColorArg1, sd::kTaTexture);
    SetStageState(sd::kTssColorOp, sd::kTopModulate);
    SetStageState(sd::kTssAlphaArg1, sd::kTaTexture);
    SetStageState(sd::kTssAlphaOp, sd::kTopModulate);
  };
  switch (mode) {
    case 0: {
      SetStageState(sd::kTssColorArg1, sd::kTaTexture);
      SetStageState(sd::kTssColorArg2, sd::kTaCurrent);
      SetStageState(sd::kTssAlphaArg1, sd::kTaTexture);
      SetStageState(sd::kTssAlphaOp, sd::kTopModulate);
      SetRenderState(sd::kRsSrcBlend, sd::kBlendSrcAlpha);
      SetRenderState(sd::kRsDestBlend, sd::kBlendInvSrcAlpha);
      SetRenderState(sd::kRsAlphaBlendEnable, 1);
      SetStageState(sd::kTssColorOp, sd::kTopModulate);
      TRenderHost* host = mData->host;
      if (host && host->IsIn2d()) {
        SetStageState(sd::kTssAlphaArg2, sd::kTaDiffuse);
        SetRenderState(sd::kRsSpecularEnable, 0);
      } else {
        if (!mData->noSpecular) SetRenderState(sd::kRsSpecularEnable, 1);
        SetStageState(sd::kTssColorArg2, sd::kTaCurrent);
        SetStageState(sd::kTssAlphaArg2, sd::kTaCurrent);
      }
      break;
    }
    case 1:
      SetRenderState(sd::kRsAlphaBlendEnable, 0);
      SetRenderState(sd::kRsTextureFactor, 0xFFFFFFFFu);
      SetStageState(sd::kTssColorArg1, sd::kTaTexture);
      SetStageState(sd::kTssColorOp, sd::kTopModulate);
      SetStageState(sd::kTssAlphaArg1, sd::kTaTFactor);
      SetStageState(sd::kTssAlphaOp, sd::kTopSelectArg1);
      break;
    case 2:
      additive(sd::kBlendOne, sd::kBlendOne);
      break;
    case 3:
      additive(sd::kBlendSrcAlpha, sd::kBlendOne);
      break;
    case 4:
      additive(sd::kBlendInvSrcAlpha, sd::kBlendInvSrcColor);
      break;
    default:
      break;
  }
}

void TDxDisplayHandler::SetTextureFilter(int mode) {
  if (mode == 0) {
    SetStageState(sd::kTssMinFilter, sd::kTfnPoint);
    SetStageState(sd::kTssMagFilter, sd::kTfgPoint);
  } else if (mode == 1) {
    SetStageState(sd::kTssMinFilter, sd::kTfnLinear);
    SetStageState(sd::kTssMagFilter, sd::kTfgLinear);
  }
}

void TDxDisplayHandler::SetTextureAddressMode(int modeU, int modeV) {
  auto address = [](int mode) {
    return mode == 1 ? sd::kTaddressWrap : mode == 2 ? sd::kTaddressMirror : sd::kTaddressClamp;
  };
  SetStageState(sd::kTssAddressU, address(modeU));
  SetStageState(sd::kTssAddressV, address(modeV));
}

uint32_t TDxDisplayHandler::SelectVertexFormat(int format) {
  TDxDisplayHandlerData& d = *mData;
  SetRenderState(sd::kRsLighting, format == kVertexUnlit || format == kVertexScreenScaled ? 0 : 1);
  if (format == kVertexUnlit) return sd::kFvfLVertex;
  if (format == kVertexScreen) return sd::kFvfTLVertex;
  if (format != kVertexScreenScaled) return sd::kFvfVertex;
  if (!IsEmbedded(mData->host)) return sd::kFvfTLVertex;
  GetWorldMatrix(&d.savedWorld);
  GetViewMatrix(&d.savedView);
  GetProjectionMatrix(&d.savedProjection);
  sd::TMatrix ortho = sd::MatrixOrthoOffCenterLH(
      static_cast<float>(d.viewport.left), static_cast<float>(d.viewport.right),
      static_cast<float>(d.viewport.bottom), static_cast<float>(d.viewport.top), d.nearZ, d.farZ);
  // z passes unchanged: the vertices already carry their depth.
  ortho.m[2][2] = 1.0f;
  ortho.m[2][3] = 0.0f;
  ortho.m[3][2] = 0.0f;
  ortho.m[3][3] = 1.0f;
  TMat4 projection;
  for (int r = 0; r < 4; ++r) {
    projection.rows[r] = TVec4{ortho.m[r][0], ortho.m[r][1], ortho.m[r][2], ortho.m[r][3]};
  }
  SetWorldMatrix(TMat4{});
  SetViewMatrix(TMat4{});
  SetProjectionMatrix(projection);
  return sd::kFvfLVertex;
}

void TDxDisplayHandler::RestoreVertexTransforms(int format) {
  if (format != kVertexScreenScaled || !IsEmbedded(mData->host)) return;
  SetWorldMatrix(mData->savedWorld);
  SetViewMatrix(mData->savedView);
  SetProjectionMatrix(mData->savedProjection);
}
