// Test set-up for the room's objects: the sprite fixture (headless display, fake clock, task
// list, assets in a temporary folder) with helpers that write the small pictures and
// animations the tests name, and the recording level.
#pragma once

#include <string>

#include "tests/game/room/RecordingLevel.h"
#include "tests/media/SpriteFixture.h"
#include "tvlib/core/TRandom.h"
#include "tvlib/ui/TWindowManager.h"
#include "tvlib/ui/TWindowScript.h"

class RoomTest : public SpriteTest {
 protected:
  void SetUp() override {
    SpriteTest::SetUp();
    TvSrand(1);
  }
  void TearDown() override {
    data->windowManager->AttachScript(nullptr);  // its task leaves while the platform lives
    SpriteTest::TearDown();
  }
  // A window script running the Lua text, as the level's screen scripts define styles.
  void RunWindowScript(const char* lua) {
    if (!data->windowManager->GetWindowScript())
      data->windowManager->AttachScript(new TWindowScript());
    data->windowManager->GetWindowScript()->DoLuaString(lua);
  }
  // An animation of `frames` frames of w x h with the registration point at (regX, regY),
  // the default script unless `script` is given.
  void PutAnimation(const std::string& name, int frames, int w, int h, int regX, int regY,
                    const std::string& script = "") {
    const std::string sheet = name + "_sheet.png";
    PutSheet(sheet, w * frames, h);
    std::string xml = "<sequence><img name=\"" + Leaf(sheet) + "\"/><framelist>";
    for (int i = 0; i < frames; ++i) {
      xml += "<frame x=\"" + std::to_string(i * w) + "\" w=\"" + std::to_string(w) + "\" h=\"" +
             std::to_string(h) + "\" regx=\"" + std::to_string(regX) + "\" regy=\"" +
             std::to_string(regY) + "\"/>";
    }
    xml += "</framelist>";
    if (!script.empty()) xml += "<script>" + script + "</script>";
    PutFile(name + ".xml", xml + "</sequence>");
  }

  TRecordingLevel level;

 private:
  static std::string Leaf(const std::string& path) { return path.substr(path.rfind('/') + 1); }
};
