// The display handler: construction, "common:display.xml", and the small slots that forward
// to the device context.
#include "tvlib/render/TDxDisplayHandler.h"

#include <atomic>
#include <string>

#include "tvlib/core/Clock.h"
#include "tvlib/core/DebugLog.h"
#include "tvlib/core/TFile.h"
#include "tvlib/core/TFileData.h"
#include "tvlib/core/TXmlNode.h"
#include "tvlib/platform/headless/THeadlessPresenter.h"
#include "tvlib/platform/window/TWindowBackend.h"
#include "tvlib/render/TDxDisplayHandlerData.h"
#include "tvlib/render/TDxTextureData.h"
#include "tvlib/render/TTexture.h"

namespace {

// "common:display.xml" holds one element; anything near this size is not the program's.
constexpr int kMaxDisplaySettings = 64 << 10;

// Read by the cursor thread's texture users as well as the UI thread.
std::atomic<TDisplayHandler*> gCurrentHandler{nullptr};
std::atomic<TRenderHost*> gCurrentHost{nullptr};

// Frames are shown in the host's main window; without one, in memory.
std::unique_ptr<sd::TPresenter> MainWindowPresenter(TRenderHost* host) {
  TWindowBackend* backend = host ? host->GetWindowBackend() : nullptr;
  if (backend) return backend->CreatePresenter();
  return std::make_unique<sd::THeadlessPresenter>();
}

}  // namespace

TDisplayHandler* GetCurrentDisplayHandler() {
  return gCurrentHandler;
}

void SetCurrentDisplayHandler(TDisplayHandler* handler, TRenderHost* host) {
  gCurrentHandler = handler;
  gCurrentHost = handler ? host : nullptr;
}

TRenderHost* GetCurrentRenderHost() {
  return gCurrentHost;
}

uint32_t RenderTime(const TRenderHost* host) {
  return host ? host->GetEngineTime() : ClockMilliseconds();
}

TDxDisplayHandler::TDxDisplayHandler(std::unique_ptr<sd::TPresenter> presenter, TRenderHost* host)
    : mPresenter(presenter ? std::move(presenter) : MainWindowPresenter(host)),
      mData(std::make_unique<TDxDisplayHandlerData>(mPresenter.get(), host)) {
  mData->context.onOutOfVideoMemory = [this] { HandleOutOfVideoMemory(); };
  mData->context.onDeviceBroken = [this] { MarkDeviceBroken(); };
  std::string bytes;
  if (FileReadAll("common:display.xml", kFileReadBinary, kMaxDisplaySettings, &bytes) &&
      ReadDisplaySettings(bytes.data(), bytes.size(), &mData->lowMemoryVideo))
    DebugLog("Low memory video card setting enabled!");
}

bool ReadDisplaySettings(const char* bytes, size_t size, bool* lowMemoryVideo) {
  TXmlNode document;
  document.LoadBuffer(bytes, size);
  TXmlNode* settings = document.FindChild("Settings");
  if (!settings) return false;
  *lowMemoryVideo = settings->GetAttribute("LowMemoryVideo").ToInt() != 0;
  return true;
}

TDxDisplayHandler::~TDxDisplayHandler() {
  mData->viewports.clear();
  mData->renderTargets.clear();
  mData->currentTexture.reset();
  mData.reset();
}

TDxDisplayHandler* TDxDisplayHandler::GetInstance() {
  return dynamic_cast<TDxDisplayHandler*>(GetCurrentDisplayHandler());
}

sd::HR TDxDisplayHandler::Check(sd::HR hr) {
  if (hr == sd::kErrOutOfVideoMemory) HandleOutOfVideoMemory();
  return hr;
}

void TDxDisplayHandler::SetRenderState(uint32_t state, uint32_t value) {
  if (mData->device) Check(mData->device->SetRenderState(state, value));
}

void TDxDisplayHandler::SetStageState(uint32_t state, uint32_t value) {
  if (mData->device) Check(mData->device->SetTextureStageState(0, state, value));
}

void TDxDisplayHandler::SetModulateStage(uint32_t alphaArg2) {
  SetStageState(sd::kTssColorArg1, sd::kTaTexture);
  SetStageState(sd::kTssColorArg2, sd::kTaCurrent);
  SetStageState(sd::kTssColorOp, sd::kTopModulate);
  SetStageState(sd::kTssAlphaArg1, sd::kTaTexture);
  SetStageState(sd::kTssAlphaArg2, alphaArg2);
  SetStageState(sd::kTssAlphaOp, sd::kTopModulate);
}

TString TDxDisplayHandler::GetDeviceDescription() {
  return mData->context.info;
}

void TDxDisplayHandler::GetDisplaySize(int* width, int* height, bool* fullScreen) {
  if (width) *width = mData->displayRect.right - mData->displayRect.left;
  if (height) *height = mData->displayRect.bottom - mData->displayRect.top;
  if (fullScreen) *fullScreen = mData->fullScreen;
}

bool TDxDisplayHandler::IsFullscreen() {
  return mData->fullScreen;
}

void TDxDisplayHandler::PresentRect(const int destination[4], const int source[4]) {
  mData->context.PresentRect(
      sd::TRect{destination[0], destination[1], destination[2], destination[3]},
      sd::TRect{source[0], source[1], source[2], source[3]});
}

void TDxDisplayHandler::OnDisplayChange() {
  mData->context.ReadDesktop();
}

void TDxDisplayHandler::ResetWorkingCount() {
  mData->workingCount = 0;
}

bool TDxDisplayHandler::IsFlipDone() {
  const sd::TSurfacePtr& back = mData->context.GetBackBuffer();
  return !back || back->GetFlipStatus(sd::kFlipStatusIsFlipDone) != sd::kErrWasStillDrawing;
}

bool TDxDisplayHandler::RequiresSquareTextures() {
  return mData->squareTexturesOnly;
}

TDxTextureData* TDxDisplayHandler::CreateTextureData() {
  return new TDxTextureData();
}

bool TDxDisplayHandler::IsRenderingToScreen() {
  return mData->renderTargets.size() == 1;
}

void TDxDisplayHandler::SetShadeMode(int mode) {
  SetRenderState(sd::kRsShadeMode, mode == 2 ? sd::kShadeGouraud : sd::kShadeFlat);
}

void TDxDisplayHandler::SetZWriteEnable(bool enable) {
  SetRenderState(sd::kRsZWriteEnable, enable ? 1 : 0);
}

void TDxDisplayHandler::SetZEnable(bool enable) {
  SetRenderState(sd::kRsZEnable, enable ? 1 : 0);
}

TRenderHost* TDxDisplayHandler::GetHost() const {
  return mData->host;
}
