// The end-of-level dialog's windows: building them, the couple's pictures, the background and
// the scores. The pages are laid out in TLevelDialogPages.cpp.
#include "game/level/TLevelDialog.h"

#include "game/level/LevelDialogMessages.h"
#include "game/level/LevelDialogStyles.h"
#include "game/level/TImageButton.h"
#include "tvlib/core/TPrefs.h"
#include "tvlib/render/TTexture.h"
#include "tvlib/ui/TImage.h"
#include "tvlib/ui/TText.h"

namespace {

struct TButtonLooks {
  const char* idle;
  const char* highlight;
  const char* pressed;
};
constexpr TButtonLooks kLongLooks{"buttons/btn_idle_long", "buttons/btn_hl_long",
                                  "buttons/btn_down_long"};
constexpr TButtonLooks kPlanLooks{"assets/buttons/planner_btn_idle",
                                  "assets/buttons/planner_btn_hl",
                                  "assets/buttons/planner_btn_down"};

constexpr char kCoupleFolder[] = "images/character/Brides and Grooms/";
constexpr char kExpertBadgeImage[] = "images/expertbadge";
// The couple's defaults: the first generic bride and groom.
constexpr int kDefaultBride = 11;
constexpr int kDefaultGroom = 14;

// Set-up places.
constexpr int kHeadingX = 265, kHeadingY = 101;
constexpr int kOutroX = 490, kOutroY = 201;
constexpr int kScoreLinesX = 300, kScoreLinesDrop = 151;
constexpr int kContinueX = 350, kContinueY = 420;
constexpr int kPlanX = 190, kPlanY = 538;
constexpr int kRestartDrop = 70, kButtonGap = 5;
constexpr int kNoteX = 580, kNoteY = 260;
constexpr int kBrideX = 174, kBrideY = 443;
constexpr int kGroomX = 305, kGroomY = 426;
constexpr int kOptionalX = 645, kOptionalY = 395;
constexpr int kBadgeX = 208, kBadgeY = 390;
constexpr int kCaptionX = 141, kCaptionY = 339;
constexpr int kMoodX = 100, kMoodY = 0;

std::shared_ptr<TTexture> Texture(const TString& name) {
  return name.Length() != 0 ? TTexture::Get(name, 0) : nullptr;
}

// One look of an image button: its picture, with its own copy of the label over it.
void AddButtonLook(TImageButton* button, int layer, const char* image, const TString& label) {
  button->SelectLayer(layer);
  auto* picture = new TImage;
  picture->SetTexture(Texture(image), kDialogScale);
  button->AddChild(picture, true);
  auto* text = new TText;
  SetStyledText(text, label, button->GetWidth(), button->GetHeight(), kButtonLabelStyle);
  button->AddChild(text, true);
}

// A push button that sends `key`, as large as its idle picture at five thirds, with its
// looks idle, pressed and highlighted on layers 0, 1 and 2, named "buttonname" (the plan
// button "lets_plan", which the level finds by that name).
void BuildImageButton(TImageButton* button, const TButtonLooks& looks, const char* key) {
  button->SetType(kButtonPush);
  button->SetMessageName(key);
  const std::shared_ptr<TTexture> idle = Texture(looks.idle);
  const double scale = 1.6666666;
  const int width = idle ? static_cast<int>(idle->GetWidth() * scale) : 0;
  const int height = idle ? static_cast<int>(idle->GetHeight() * scale) : 0;
  button->SetSize(width, height);
  const TString label = LookUpString(key);
  AddButtonLook(button, 0, looks.idle, label);
  AddButtonLook(button, 1, looks.pressed, label);
  AddButtonLook(button, 2, looks.highlight, label);
  button->SelectLayer(0);
  button->SetName(TString(key) == TString(kMessageLetsPlan) ? "lets_plan" : "buttonname");
  button->SetSize(width, height);
}

// The couple's pictures by the player's choices: brides 0 to 3 and 11 to 13, grooms 4 to 7
// and 14 to 16; any other value has none.
TString BridePicture(int bride) {
  if (bride >= 0 && bride <= 3) return TString::Format("%sbfg%d_normal", kCoupleFolder, bride + 1);
  if (bride >= 11 && bride <= 13)
    return TString::Format("%sgen_b%d_normal", kCoupleFolder, bride - 10);
  return TString();
}

TString GroomPicture(int groom) {
  if (groom >= 4 && groom <= 7) return TString::Format("%sgmg%d_normal", kCoupleFolder, groom - 3);
  if (groom >= 14 && groom <= 16)
    return TString::Format("%sgen_g%d_normal", kCoupleFolder, groom - 13);
  return TString();
}

const char* MoodPicture(int score, int goal, int expertGoal) {
  if (score < goal) return "assets/images/Velka_poor";
  if (score < expertGoal) return "assets/images/Velka_normal";
  return "assets/images/Velka_expert";
}

}  // namespace

TLevelDialog::TLevelDialog()
    : mBackground(std::make_unique<TImage>()),
      mMood(std::make_unique<TImage>()),
      mContinue(std::make_unique<TImageButton>()),
      mPlan(std::make_unique<TImageButton>()),
      mRestart(std::make_unique<TImageButton>()),
      mMainMenu(std::make_unique<TImageButton>()),
      mHeading(std::make_unique<TText>()),
      mOutroText(std::make_unique<TText>()),
      mNote(std::make_unique<TText>()),
      mBride(std::make_unique<TImage>()),
      mGroom(std::make_unique<TImage>()),
      mOptional(std::make_unique<TImage>()),
      mExpertBadge(std::make_unique<TImage>()),
      mExpertCaption(std::make_unique<TText>()) {
  for (auto& line : mScoreLines) line = std::make_unique<TText>();
}

TLevelDialog::~TLevelDialog() {
  for (TWindow* part : std::initializer_list<TWindow*>{
           mBackground.get(), mMood.get(), mContinue.get(), mPlan.get(), mRestart.get(),
           mMainMenu.get(), mHeading.get(), mOutroText.get(), mNote.get(), mBride.get(),
           mGroom.get(), mOptional.get(), mExpertBadge.get(), mExpertCaption.get()}) {
    Detach(part);
  }
  for (auto& line : mScoreLines) Detach(line.get());
}

void TLevelDialog::Attach(TWindow* window, int x, int y) {
  window->SetPosition(x, y);
  if (window->GetParent() != this) AddChild(window, true);
}

void TLevelDialog::Detach(TWindow* window) {
  if (window->GetParent() == this) RemoveChild(window);
}

void TLevelDialog::Setup(const TLevelDialogSetup& setup) {
  mBackground->SetTexture(Texture(setup.background), 1.0f);
  Attach(mBackground.get(), 0, 0);
  SetStyledText(mHeading.get(), TString(), 270, 120, kHeadingStyle);
  mHeading->SetPosition(kHeadingX, kHeadingY);
  SetStyledText(mOutroText.get(), TString(), 250, 120, kOutroStyle);
  mOutroText->SetPosition(kOutroX, kOutroY);
  for (size_t i = 0; i < mScoreLines.size(); ++i) {
    SetStyledText(mScoreLines[i].get(), TString(), 180, 22, *kScoreLineStyles[i]);
  }
  PlaceScoreLines(kScoreLinesX, mHeading->GetHeight() + kScoreLinesDrop);
  mTexts = setup.texts;
  BuildButtons();
  SetStyledText(mNote.get(), TString(), 215, 150, kNoteStyle);
  mNote->SetPosition(kNoteX, kNoteY);
  mPlayer = CurrentPlayer();
  mHasOptional = setup.optionalPicture.Length() != 0;
  if (mHasOptional) mOptional->SetTexture(Texture(setup.optionalPicture), kDialogScale);
  mExpertBadge->SetTexture(Texture(kExpertBadgeImage), kDialogScale);
  SetStyledText(mExpertCaption.get(), LookUpString("expert"), 230, 150, kExpertCaptionStyle);
  mEndless = setup.endless;
  ChooseCouplePictures();
  mBride->SetPosition(kBrideX, kBrideY);
  mGroom->SetPosition(kGroomX, kGroomY);
  mOptional->SetPosition(kOptionalX, kOptionalY);
  mExpertBadge->SetPosition(kBadgeX, kBadgeY);
  mExpertCaption->SetPosition(kCaptionX, kCaptionY);
}

void TLevelDialog::BuildButtons() {
  BuildImageButton(mContinue.get(), kLongLooks, kMessageContinue);
  mContinue->SetPosition(kContinueX, kContinueY);
  BuildImageButton(mPlan.get(), kPlanLooks, kMessageLetsPlan);
  mPlan->SetPosition(kPlanX, kPlanY);
  BuildImageButton(mRestart.get(), kLongLooks, kMessageRestart);
  const TRect& lastLine = mScoreLines.back()->GetRect();
  mRestart->SetPosition(400 - mRestart->GetWidth() / 2, lastLine.bottom + kRestartDrop);
  BuildImageButton(mMainMenu.get(), kLongLooks, kMessageMainMenu);
  mMainMenu->SetPosition(400 - mMainMenu->GetWidth() / 2,
                         mRestart->GetRect().top + mRestart->GetHeight() + kButtonGap);
}

void TLevelDialog::ChooseCouplePictures() {
  TPrefs* prefs = ProfilePrefs();
  const int bride = prefs ? prefs->GetInt("FutureBride", kDefaultBride, mPlayer) : kDefaultBride;
  const int groom = prefs ? prefs->GetInt("FutureGroom", kDefaultGroom, mPlayer) : kDefaultGroom;
  mBride->SetTexture(Texture(BridePicture(bride)), 1.0f);
  mGroom->SetTexture(Texture(GroomPicture(groom)), 1.0f);
}

void TLevelDialog::PlaceScoreLines(int x, int top) {
  for (auto& line : mScoreLines) {
    line->SetPosition(x, top);
    top += line->GetHeight();
  }
}

void TLevelDialog::SetBackground(const TString& image) {
  mBackground->SetTexture(Texture(image), kDialogScale);
  Attach(mBackground.get(), 0, 0);
}

void TLevelDialog::SetScores(int score, int goal, int expertGoal) {
  mExpert = false;
  TPrefs* prefs = ProfilePrefs();
  const int total = prefs ? prefs->GetInt("totalScore", 0, mPlayer) : 0;
  // The number is written after the label's text, never through it as a format.
  const std::array<std::pair<const char*, int>, 4> lines{{{"yourscore", score},
                                                          {"passscore", goal},
                                                          {"masterscore", expertGoal},
                                                          {"totalscore", total}}};
  for (size_t i = 0; i < lines.size(); ++i) {
    mScoreLines[i]->SetText(LookUpString(lines[i].first) + TString::Format("%d", lines[i].second));
  }
  mMood->SetTexture(Texture(MoodPicture(score, goal, expertGoal)), kDialogScale);
  mMood->SetPosition(kMoodX, kMoodY);
  mExpert = score >= expertGoal;
}

bool TLevelDialog::OnMessage(TMessage* message) {
  if (TWindow* parent = GetParent()) parent->OnMessage(message);
  return true;
}
