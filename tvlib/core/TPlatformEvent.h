// The engine event: what TPlatform::GetEvent hands the window manager, one per call.
#pragma once

#include <cstdint>

// Event codes (0, 3 and 16 are never produced).
inline constexpr uint32_t kEventTick = 1;  // no message was waiting
inline constexpr uint32_t kEventNothing =
    2;  // ignored: a swallowed click, a lost device, a quiet message
inline constexpr uint32_t kEventClose = 4;  // close requested (close box, Alt+F4)
inline constexpr uint32_t kEventQuit = 5;   // quit message read; in screensaver mode also any input
inline constexpr uint32_t kEventLeftDown = 6;     // position
inline constexpr uint32_t kEventOtherButton = 7;  // param: kButton* below; position
inline constexpr uint32_t kEventLeftUp = 8;       // position
inline constexpr uint32_t kEventMouseMove = 9;    // position
inline constexpr uint32_t kEventMouseLeave =
    10;  // position, (0, 0) when another window took the capture
inline constexpr uint32_t kEventMouseHover = 11;  // position
inline constexpr uint32_t kEventKeyDown = 12;     // param: virtual key; param2: kKeyMod* bits
inline constexpr uint32_t kEventKeyUp = 13;       // param: virtual key
inline constexpr uint32_t kEventChar = 14;        // param: Unicode code point
inline constexpr uint32_t kEventPaint = 15;       // the window must be redrawn
inline constexpr uint32_t kEventDisplayModeChanged = 17;
inline constexpr uint32_t kEventVisibility =
    18;  // param: 1 restored or active, 0 minimised or inactive
inline constexpr uint32_t kEventFullscreenSwitch =
    19;  // param: 1 now full screen, 0 windowed (Alt+Enter)

// param of kEventOtherButton.
inline constexpr uint32_t kButtonRightUp = 0;
inline constexpr uint32_t kButtonRightDown = 1;
inline constexpr uint32_t kButtonMiddleUp = 2;
inline constexpr uint32_t kButtonMiddleDown = 3;
inline constexpr uint32_t kButtonExtra1Down = 4;
inline constexpr uint32_t kButtonExtra2Down = 5;

// param2 of kEventKeyDown.
inline constexpr uint32_t kKeyModShift = 1;
inline constexpr uint32_t kKeyModCtrl = 2;
inline constexpr uint32_t kKeyModAlt = 4;
inline constexpr uint32_t kKeyModExtended = 8;

struct TPlatformEvent {
  uint32_t type = 0;
  uint32_t param = 0;
  int32_t x = 0;  // game coordinates
  int32_t y = 0;
  uint32_t param2 = 0;
};

inline void MakePlatformEvent(TPlatformEvent* event, uint32_t type, int32_t x, int32_t y,
                              uint32_t param, uint32_t param2) {
  *event = {type, param, x, y, param2};
}
