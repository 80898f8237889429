// The text styles of the end-of-level dialog's windows (font, size, colour, alignment), shared
// by its set-up and its pages, which lay texts out anew in each page's box.
#pragma once

#include "game/level/DialogParts.h"

inline constexpr TTextStyle kHeadingStyle{"fonts/arial.mvec", 24, {0.1f, 0.1f, 0.3f, 1}, 1};
inline constexpr TTextStyle kOutroStyle{
    "fonts/monotype_corsiva.mvec", 20, {0.1f, 0.1f, 0.3f, 1}, 1};
inline constexpr TTextStyle kYourScoreStyle{"fonts/arial.mvec", 22, {0, 0, 0, 1}, 1};
inline constexpr TTextStyle kGoalStyle{"fonts/arial.mvec", 22, {0.2f, 0.2f, 0.2f, 1}, 1};
inline constexpr TTextStyle kTotalScoreStyle{"fonts/arial.mvec", 22, {1, 0, 0, 1}, 1};
inline constexpr TTextStyle kNoteStyle{
    "fonts/monotype_corsiva.mvec", 20, {0.66f, 0.15f, 0.14f, 1}, 5};
inline constexpr TTextStyle kExpertCaptionStyle{"fonts/monotype_corsiva.mvec", 20, {0, 0, 0, 1}, 5};
inline constexpr TTextStyle kButtonLabelStyle{"fonts/arial.mvec", 22, {0, 0, 0, 1}, 5};

// The score lines' styles, in line order: your score, goal, expert goal, total score.
inline constexpr const TTextStyle* kScoreLineStyles[4] = {&kYourScoreStyle, &kGoalStyle,
                                                          &kGoalStyle, &kTotalScoreStyle};
