// The numbers by which guests, the level and the tutorial talk about a guest: its desire
// codes, its special states, the codes its update answers, its types and its animation
// states.
#pragma once

// Desire codes; the tutorial knows 0 to 10 by the names in the comments.
inline constexpr int kDesireNone = -3;      // no desire shown yet
inline constexpr int kDesireSeatWait = -1;  // seated, waiting for its seat neighbours
inline constexpr int kDesireSit = 0;        // "WANT_SIT"
inline constexpr int kDesireGift = 1;       // "WANT_GIFT"
inline constexpr int kDesireAppetizer = 2;  // "WANT_APPETIZER"
inline constexpr int kDesireDinner = 3;     // "WANT_DINNER"
inline constexpr int kDesireCake = 4;       // "WANT_CAKE"
inline constexpr int kDesireMusic = 5;      // "WANT_MUSIC"
inline constexpr int kDesireDrink = 6;      // "WANT_DRINK"
inline constexpr int kDesireResit = 7;      // "WANT_MATCH" / "WANT_RESIT"
inline constexpr int kDesireTissue = 8;     // "WANT_TISSUE"
inline constexpr int kDesireCoffee = 9;     // "WANT_COFFEE"
inline constexpr int kDesireDance = 10;     // "WANT_DANCE"
// The level's own waiting desire, also set with special state 17.
inline constexpr int kDesireLevelWait = 16;

// Special states: the first two are the guest's own, the others the level's.
inline constexpr int kSpecialChoose = -3;   // choose the next desire once the step timer ran out
inline constexpr int kSpecialWaiting = -2;  // a desire is current and waited on
inline constexpr int kSpecialFrozen = 11;   // the guest's update changes nothing
inline constexpr int kSpecialLevel12 = 12;  // the level's; no desire is chosen meanwhile
inline constexpr int kSpecialLevel17 = 17;  // the level's; the update answers 17
inline constexpr int kSpecialLevel18 = 18;  // the level's; the update answers 18

// What a guest's update answers besides a new desire code and the two level states.
inline constexpr int kGuestNothing = -3;
inline constexpr int kGuestPatienceOut = 14;
inline constexpr int kGuestRequestOut = 15;

// Guest types: four women (0-3), four men (4-7), the uncle and the aunt.
inline constexpr int kGuestTypeCount = 10;
inline constexpr int kGuestUncle = 8;  // the only one who asks for coffee
inline constexpr int kGuestAunt = 9;   // the only one who asks for a tissue

// Animation states in the order they are loaded.
inline constexpr int kAnimIdle = 0;
inline constexpr int kAnimImpatient = 1;
inline constexpr int kAnimEating = 2;
inline constexpr int kAnimStanding = 3;
inline constexpr int kAnimHappy = 4;
inline constexpr int kAnimSeated = 5;   // also the warning mood
inline constexpr int kAnimUpset = 6;    // also the alert mood
inline constexpr int kAnimProblem = 7;  // the uncle's and the aunt's only
