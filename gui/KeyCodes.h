// The key codes that the frame window passes to keyPressed and the shortcut table: a character below 256
// or a key number, in the low 9 bits, with the modifier bits or-ed in. Ctrl with a letter arrives as the
// lower-case letter with KEY_CTRL.
#pragma once

#include <cstdint>

enum KEY_CODE : int32_t {
    KEY_BACKSPACE = 8,
    KEY_TAB = 9,
    KEY_ENTER = 13,
    KEY_ESCAPE = 27,
    KEY_F1 = 256, // F1 to F12 in order
    KEY_F12 = 267,
    KEY_UP = 268,
    KEY_LEFT = 269,
    KEY_RIGHT = 270,
    KEY_DOWN = 271,
    KEY_INSERT = 272,
    KEY_DELETE = 273,
    // The cursor block.
    KEY_HOME = 274,
    KEY_END = 275,
    KEY_PAGE_UP = 276,
    KEY_PAGE_DOWN = 277,
    // The number block with Num Lock off: its 1, 3, 7 and 9.
    KEY_PAD_END = 278,
    KEY_PAD_PAGE_DOWN = 279,
    KEY_PAD_HOME = 280,
    KEY_PAD_PAGE_UP = 281,
};

// The modifier bits, also those of the mouse events' Flags.
inline constexpr int32_t KEY_SHIFT = 0x200;
inline constexpr int32_t KEY_CTRL = 0x400;
inline constexpr int32_t KEY_ALT = 0x800;
inline constexpr int32_t KEY_MODIFIERS = KEY_SHIFT | KEY_CTRL | KEY_ALT;
inline constexpr int32_t KEY_CODE_MASK = 0x1FF; // the key without its modifiers
