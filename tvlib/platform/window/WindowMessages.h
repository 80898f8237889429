// The window-message numbers and codes of the engine's message layer.
//
// The engine's window procedure and event pump were designed against these numbers, so the
// message layer keeps them (they are also what the host program and the launcher control
// exchange). Only the messages and codes the engine produces or handles are listed.
#pragma once

#include <cstdint>

// Messages.
inline constexpr uint32_t WM_DESTROY = 0x0002;
inline constexpr uint32_t WM_SIZE = 0x0005;
inline constexpr uint32_t WM_PAINT = 0x000F;
inline constexpr uint32_t WM_CLOSE = 0x0010;
inline constexpr uint32_t WM_QUIT = 0x0012;
inline constexpr uint32_t WM_ERASEBKGND = 0x0014;
inline constexpr uint32_t WM_ACTIVATEAPP = 0x001C;
inline constexpr uint32_t WM_SETCURSOR = 0x0020;
inline constexpr uint32_t WM_MOUSEACTIVATE = 0x0021;
inline constexpr uint32_t WM_WINDOWPOSCHANGED = 0x0047;
inline constexpr uint32_t WM_CONTEXTMENU = 0x007B;
inline constexpr uint32_t WM_DISPLAYCHANGE = 0x007E;
inline constexpr uint32_t WM_NCHITTEST = 0x0084;
inline constexpr uint32_t WM_KEYDOWN = 0x0100;
inline constexpr uint32_t WM_KEYUP = 0x0101;
inline constexpr uint32_t WM_CHAR = 0x0102;
inline constexpr uint32_t WM_SYSKEYDOWN = 0x0104;
inline constexpr uint32_t WM_SYSKEYUP = 0x0105;
inline constexpr uint32_t WM_TIMER = 0x0113;
inline constexpr uint32_t WM_MOUSEMOVE = 0x0200;
inline constexpr uint32_t WM_LBUTTONDOWN = 0x0201;
inline constexpr uint32_t WM_LBUTTONUP = 0x0202;
inline constexpr uint32_t WM_RBUTTONDOWN = 0x0204;
inline constexpr uint32_t WM_RBUTTONUP = 0x0205;
inline constexpr uint32_t WM_MBUTTONDOWN = 0x0207;
inline constexpr uint32_t WM_MBUTTONUP = 0x0208;
inline constexpr uint32_t WM_MOUSEWHEEL = 0x020A;
inline constexpr uint32_t WM_XBUTTONDOWN = 0x020B;
inline constexpr uint32_t WM_XBUTTONUP = 0x020C;
inline constexpr uint32_t WM_CAPTURECHANGED = 0x0215;
inline constexpr uint32_t WM_MOUSEHOVER = 0x02A1;
inline constexpr uint32_t WM_MOUSELEAVE = 0x02A3;
inline constexpr uint32_t WM_USER = 0x0400;

// WM_SIZE wParam.
inline constexpr uintptr_t SIZE_RESTORED = 0;
inline constexpr uintptr_t SIZE_MINIMIZED = 1;
inline constexpr uintptr_t SIZE_MAXIMIZED = 2;
inline constexpr uintptr_t SIZE_MAXSHOW = 3;

// Hit-test codes (WM_SETCURSOR lParam low word, WM_NCHITTEST answers).
inline constexpr intptr_t HTNOWHERE = 0;
inline constexpr intptr_t HTCLIENT = 1;
// The sizing frame and the maximise box (HTLEFT to HTBORDER: the frame's edges and corners).
inline constexpr intptr_t HTSIZE = 4;
inline constexpr intptr_t HTMAXBUTTON = 9;
inline constexpr intptr_t HTLEFT = 10;
inline constexpr intptr_t HTBORDER = 18;

// Button state bits in mouse messages' wParam.
inline constexpr uintptr_t MK_XBUTTON1 = 0x0020;
inline constexpr uintptr_t MK_XBUTTON2 = 0x0040;

// WM_WINDOWPOSCHANGED flags.
inline constexpr uint32_t SWP_NOSIZE = 0x0001;

// TrackMouseEvent flags.
inline constexpr uint32_t TME_HOVER = 0x0001;
inline constexpr uint32_t TME_LEAVE = 0x0002;

// Time the pointer must rest before a hover message, and how far it may stray meanwhile.
inline constexpr uint32_t kHoverTimeMs = 400;
inline constexpr int kHoverSlopPx = 4;

// Key-message lParam bits.
inline constexpr intptr_t kKeyExtendedBit = intptr_t{1} << 24;
inline constexpr intptr_t kKeyAltBit = intptr_t{1} << 29;

// Virtual-key codes. Letters are their upper-case ASCII codes (0x41..0x5A), digits theirs
// (0x30..0x39).
inline constexpr uint32_t VK_BACK = 0x08;
inline constexpr uint32_t VK_TAB = 0x09;
inline constexpr uint32_t VK_RETURN = 0x0D;
inline constexpr uint32_t VK_SHIFT = 0x10;
inline constexpr uint32_t VK_CONTROL = 0x11;
inline constexpr uint32_t VK_MENU = 0x12;  // Alt
inline constexpr uint32_t VK_PAUSE = 0x13;
inline constexpr uint32_t VK_CAPITAL = 0x14;
inline constexpr uint32_t VK_ESCAPE = 0x1B;
inline constexpr uint32_t VK_SPACE = 0x20;
inline constexpr uint32_t VK_PRIOR = 0x21;
inline constexpr uint32_t VK_NEXT = 0x22;
inline constexpr uint32_t VK_END = 0x23;
inline constexpr uint32_t VK_HOME = 0x24;
inline constexpr uint32_t VK_LEFT = 0x25;
inline constexpr uint32_t VK_UP = 0x26;
inline constexpr uint32_t VK_RIGHT = 0x27;
inline constexpr uint32_t VK_DOWN = 0x28;
inline constexpr uint32_t VK_SNAPSHOT = 0x2C;
inline constexpr uint32_t VK_INSERT = 0x2D;
inline constexpr uint32_t VK_DELETE = 0x2E;
inline constexpr uint32_t VK_LWIN = 0x5B;
inline constexpr uint32_t VK_RWIN = 0x5C;
inline constexpr uint32_t VK_APPS = 0x5D;
inline constexpr uint32_t VK_NUMPAD0 = 0x60;  // ..0x69
inline constexpr uint32_t VK_MULTIPLY = 0x6A;
inline constexpr uint32_t VK_ADD = 0x6B;
inline constexpr uint32_t VK_SUBTRACT = 0x6D;
inline constexpr uint32_t VK_DECIMAL = 0x6E;
inline constexpr uint32_t VK_DIVIDE = 0x6F;
inline constexpr uint32_t VK_F1 = 0x70;  // ..VK_F12 0x7B
inline constexpr uint32_t VK_F4 = 0x73;
inline constexpr uint32_t VK_NUMLOCK = 0x90;
inline constexpr uint32_t VK_SCROLL = 0x91;
inline constexpr uint32_t VK_OEM_1 = 0xBA;  // ;
inline constexpr uint32_t VK_OEM_PLUS = 0xBB;
inline constexpr uint32_t VK_OEM_COMMA = 0xBC;
inline constexpr uint32_t VK_OEM_MINUS = 0xBD;
inline constexpr uint32_t VK_OEM_PERIOD = 0xBE;
inline constexpr uint32_t VK_OEM_2 = 0xBF;  // /
inline constexpr uint32_t VK_OEM_3 = 0xC0;  // `
inline constexpr uint32_t VK_OEM_4 = 0xDB;  // [
inline constexpr uint32_t VK_OEM_5 = 0xDC;  // backslash
inline constexpr uint32_t VK_OEM_6 = 0xDD;  // ]
inline constexpr uint32_t VK_OEM_7 = 0xDE;  // '

// Modifier bits a backend reports (TWindowBackend::GetModifiers).
inline constexpr uint32_t kModShift = 1;
inline constexpr uint32_t kModCtrl = 2;
inline constexpr uint32_t kModAlt = 4;

// Packs a client position into a mouse message's lParam (signed 16-bit x low, y high).
inline intptr_t MakePointParam(int x, int y) {
  return static_cast<intptr_t>((static_cast<uint32_t>(static_cast<uint16_t>(y)) << 16) |
                               static_cast<uint16_t>(x));
}
inline int PointParamX(intptr_t lParam) {
  return static_cast<int16_t>(lParam & 0xFFFF);
}
inline int PointParamY(intptr_t lParam) {
  return static_cast<int16_t>((lParam >> 16) & 0xFFFF);
}
