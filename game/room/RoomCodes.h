// The numbers by which room objects and the level talk: object-type codes that clickable
// objects carry, the click codes of characters and the codes of planner problem events.
#pragma once

// Object-type codes the level's loader gives its clickable objects; -1 until given.
inline constexpr int kObjectNone = -1;
inline constexpr int kObjectGuestTable = 1301;
inline constexpr int kObjectMusicTable = 1302;
inline constexpr int kObjectHeadTable = 1303;
inline constexpr int kObjectChefStation = 1304;
inline constexpr int kObjectHeroine = 1306;
inline constexpr int kObjectDishBin = 1307;
// The one object that may be clicked again while it is already a server's last target.
inline constexpr int kObjectWineTable = 1308;

// Click codes of characters.
inline constexpr int kClickGuest = 1500;
inline constexpr int kClickGuestBusy = 1501;
inline constexpr int kClickCharacter = 1900;

// Codes of planner problem events, handled where the object-type codes are.
inline constexpr int kEventCakeTipped = 1002;
inline constexpr int kEventSpeaker = 1003;
inline constexpr int kEventHeadTable = 1004;
inline constexpr int kEventTissue = 1005;
inline constexpr int kEventCoffee = 1006;
