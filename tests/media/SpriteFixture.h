// Test set-up for sprites, animations and particles: the display fixture of the renderer's
// tests with a display handler that records every texture selection, blend mode and vertex
// draw, indexed or not (and still draws), helpers that write sheet images and files into the assets
// folder, and a clock step that runs the platform's task list.
#pragma once

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "tests/render/DisplayFixture.h"
#include "tests/render/TestImages.h"
#include "tvlib/core/TTaskList.h"
#include "tvlib/media/TSpriteQuad.h"
#include "tvlib/render/TTexture.h"

struct TRecordedDraw {
  int primitive = 0;
  TTexture* texture = nullptr;  // the texture selected when the draw was made
  int blend = 0;                // the blend mode then
  std::vector<TSpriteVertex> vertices;
  std::vector<uint16_t> indices;  // of an indexed draw
};

class TRecordingDx : public TDx3dDisplayHandler {
 public:
  using TDx3dDisplayHandler::TDx3dDisplayHandler;
  void SetTexture(std::shared_ptr<TTexture> texture) override {
    mTexture = texture.get();
    TDx3dDisplayHandler::SetTexture(texture);
  }
  void SetBlendMode(int mode) override {
    mBlend = mode;
    mBlendCalls.push_back(mode);
    TDx3dDisplayHandler::SetBlendMode(mode);
  }
  void DrawVertices(int primitive, const TVertexSet& set) override {
    const auto* v = static_cast<const TSpriteVertex*>(set.GetVertices());
    draws.push_back(TRecordedDraw{primitive, mTexture, mBlend, {v, v + set.GetCount()}, {}});
    TDx3dDisplayHandler::DrawVertices(primitive, set);
  }
  void DrawIndexedVertices(int primitive, const TVertexSet& set, const uint16_t* indices,
                           int indexCount) override {
    const auto* v = static_cast<const TSpriteVertex*>(set.GetVertices());
    draws.push_back(TRecordedDraw{
        primitive, mTexture, mBlend, {v, v + set.GetCount()}, {indices, indices + indexCount}});
    TDx3dDisplayHandler::DrawIndexedVertices(primitive, set, indices, indexCount);
  }
  std::vector<TRecordedDraw> draws;
  std::vector<int> mBlendCalls;

 private:
  TTexture* mTexture = nullptr;
  int mBlend = 0;
};

class SpriteTest : public DisplayTest {
 protected:
  void SetUp() override {
    DisplayTest::SetUp();
    auto presenter = std::make_unique<sd::THeadlessPresenter>(sd::TDisplayMode{1920, 1080, 32});
    recorder = new TRecordingDx(std::move(presenter), platform.get());
    handler = recorder;
    platform->SetDisplayHandler(recorder);
    recorder->SetDisplay(800, 600, false, false, false, false);
  }
  // Writes a file below the assets folder and indexes it.
  void PutFile(const std::string& name, const std::string& bytes) {
    const std::filesystem::path path = dir / ("assets/" + name);
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
    Mount();
  }
  void PutSheet(const std::string& name, int width, int height, uint32_t rgba = 0xFFFFFFFF) {
    const std::filesystem::path path = dir / ("assets/" + name);
    std::filesystem::create_directories(path.parent_path());
    ASSERT_TRUE(WritePng(path.string(), SolidRgba(width, height, rgba)));
    Mount();
  }
  // The vertex draws made by `draw` inside one 2-D pass.
  template <class F>
  std::vector<TRecordedDraw> Drawn(F draw) {
    recorder->draws.clear();
    platform->Begin2d();
    draw();
    platform->End2d();
    return recorder->draws;
  }
  // Moves the platform clock on and runs one timer pass of the task list.
  void Step(uint32_t ms) {
    clock.now += ms;
    platform->GetTaskList()->Run(kTimerPhase);
  }

  TRecordingDx* recorder = nullptr;
};
