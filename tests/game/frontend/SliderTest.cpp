// The slider: its value, the knob's place and its notices as a table, and the drag through the
// window manager (ends of the rail, capture and release, roll-over), also without a rail.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "tests/game/frontend/MenuScreenFixture.h"
#include "tvlib/render/TTexture.h"
#include "tvlib/ui/TImage.h"
#include "tvlib/ui/TMessage.h"

namespace {

// Takes every message that reaches it and notes its type and name.
class TRecordingHost : public TWindow {
 public:
  static TWindow* Create() { return new TRecordingHost; }
  bool OnMessage(TMessage* message) override {
    notes.push_back(std::to_string(message->mType) + ":" + message->mName.c_str());
    return true;
  }
  std::vector<std::string> notes;
};

class SliderTest : public MenuScreenTest {
 protected:
  static constexpr int kTravel = 240 - 24;  // the rail's width less the knob's

  // A slider at (120, 210) on the screen inside a recording host.
  TSlider* MakeSlider(const std::string& rail = "images/options/slider_rail") {
    Script().RegisterWindowType("RecordingHost", &TRecordingHost::Create);
    Lua("PushModal('slidertest') MakeDialog{ RecordingHost{ name = 'host', x = 100, y = 200, "
        "w = 400, h = 60, Slider{ name = 'volume', x = 20, y = 10, railimage = '" +
        rail +
        "', sliderimage = 'images/options/slider_knob', "
        "sliderrollimage = 'images/options/slider_roll' } } }");
    host = Find<TRecordingHost>("host");
    return Find<TSlider>("volume");
  }
  bool Captured(TWindow* window) {
    for (TWindow* w : Manager().GetCapture()) {
      if (w == window) return true;
    }
    return false;
  }
  TRecordingHost* host = nullptr;
};

TEST_F(SliderTest, TheStyleGivesTheImagesTheNameAndTheSize) {
  TSlider* slider = MakeSlider();
  ASSERT_NE(slider, nullptr);
  EXPECT_EQ(slider->GetName(), TString("volume"));
  ASSERT_NE(slider->GetKnob()->GetTexture(), nullptr);
  EXPECT_EQ(slider->GetWidth(), slider->GetRail()->GetWidth());
  EXPECT_EQ(slider->GetHeight(),
            std::max(slider->GetRail()->GetHeight(), slider->GetKnob()->GetHeight()));
  EXPECT_EQ(slider->GetRail()->GetWidth() - slider->GetKnob()->GetWidth(), kTravel);
  EXPECT_FLOAT_EQ(slider->GetValue(), 0.0f);
}

TEST_F(SliderTest, ValuesAreClampedAndPlaceTheKnobAndAreAnnounced) {
  TSlider* slider = MakeSlider();
  ASSERT_NE(slider, nullptr);
  struct Case {
    float set, value;
    int knobX;
  };
  const Case cases[] = {
      {0.5f, 0.5f, kTravel / 2},
      {1.0f, 1.0f, kTravel},
      {0.4999f, 0.4999f, 107},  // 107.98, truncated
      {1.5f, 1.0f, kTravel},
      {-0.2f, 0.0f, 0},
      {std::numeric_limits<float>::quiet_NaN(), 0.0f, 0},
      {std::numeric_limits<float>::infinity(), 1.0f, kTravel},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.set);
    host->notes.clear();
    slider->SetValue(c.set);
    EXPECT_FLOAT_EQ(slider->GetValue(), c.value);
    EXPECT_EQ(slider->GetKnob()->GetRect().left, c.knobX);
    EXPECT_EQ(slider->GetKnob()->GetRect().top, 0);
    // Every set is announced once, also one that changes nothing.
    EXPECT_EQ(host->notes, std::vector<std::string>{"1000:volume"});
  }
}

TEST_F(SliderTest, DraggingTheKnobFollowsThePointerToTheRailsEnds) {
  TSlider* slider = MakeSlider();
  ASSERT_NE(slider, nullptr);
  const std::shared_ptr<TTexture> normal = slider->GetKnob()->GetTexture();
  // Over the knob: the roll-over look, and the slider holds the mouse.
  Send(kEventMouseMove, 132, 218);
  EXPECT_NE(slider->GetKnob()->GetTexture(), normal);
  EXPECT_TRUE(Captured(slider));
  Send(kEventLeftDown, 132, 218);
  EXPECT_TRUE(slider->IsDragging());
  Send(kEventMouseMove, 120 + 120, 218);
  EXPECT_FLOAT_EQ(slider->GetValue(), 0.5f);
  EXPECT_EQ(slider->GetKnob()->GetRect().left, kTravel / 2);
  // Beyond either end, well off the slider: 1 and 0, the knob at the rail's end.
  Send(kEventMouseMove, 700, 300);
  EXPECT_FLOAT_EQ(slider->GetValue(), 1.0f);
  EXPECT_EQ(slider->GetKnob()->GetRect().left, kTravel);
  Send(kEventMouseMove, 5, 100);
  EXPECT_FLOAT_EQ(slider->GetValue(), 0.0f);
  EXPECT_EQ(slider->GetKnob()->GetRect().left, 0);
  // Dropped over the rail: the capture stays.
  Send(kEventMouseMove, 180, 218);
  Send(kEventLeftUp, 180, 218);
  EXPECT_FALSE(slider->IsDragging());
  EXPECT_TRUE(Captured(slider));
  EXPECT_FLOAT_EQ(slider->GetValue(), 0.25f);
  // Dropped away from the rail: released, the knob's normal look.
  Send(kEventLeftDown, 180, 218);  // on the knob, now at 54 to 78 of the rail
  ASSERT_TRUE(slider->IsDragging());
  Send(kEventMouseMove, 300, 400);
  EXPECT_FLOAT_EQ(slider->GetValue(), 0.75f);
  Send(kEventLeftUp, 300, 400);
  EXPECT_FALSE(slider->IsDragging());
  EXPECT_FALSE(Captured(slider));
  EXPECT_EQ(slider->GetKnob()->GetTexture(), normal);
  // Away from the rail without a drag, the slider lets the mouse go.
  Send(kEventMouseMove, 200, 219);
  EXPECT_TRUE(Captured(slider));
  Send(kEventMouseMove, 200, 500);
  EXPECT_FALSE(Captured(slider));
}

TEST_F(SliderTest, APressBesideTheKnobIsNotADrag) {
  TSlider* slider = MakeSlider();
  ASSERT_NE(slider, nullptr);
  Send(kEventMouseMove, 300, 214);
  Send(kEventLeftDown, 300, 214);
  EXPECT_FALSE(slider->IsDragging());
  Send(kEventMouseMove, 320, 214);
  EXPECT_FLOAT_EQ(slider->GetValue(), 0.0f);
}

TEST_F(SliderTest, WithoutARailADragChangesNothing) {
  TSlider* slider = MakeSlider("");
  ASSERT_NE(slider, nullptr);
  EXPECT_EQ(slider->GetRail()->GetTexture(), nullptr);
  EXPECT_EQ(slider->GetWidth(), 0);
  host->notes.clear();
  TPoint down{5, 5};
  ASSERT_TRUE(slider->OnMouseDown(&down));
  TPoint away{150, 5};
  EXPECT_TRUE(slider->OnMouseMove(&away));
  EXPECT_FALSE(std::isnan(slider->GetValue()));
  EXPECT_FLOAT_EQ(slider->GetValue(), 0.0f);
  EXPECT_TRUE(host->notes.empty());
}

}  // namespace
