#pragma once
// The program's key codes: one byte per physical key, the scan-code numbering
// that the options table and the save file store. SDL scancodes are
// translated into these at the edge (DikFromScancode); everything above the
// device layer speaks only these codes.
#include <SDL2/SDL_scancode.h>

#include <cstddef>

inline constexpr unsigned char DIK_ESCAPE = 0x01;
inline constexpr unsigned char DIK_1 = 0x02;
inline constexpr unsigned char DIK_2 = 0x03;
inline constexpr unsigned char DIK_3 = 0x04;
inline constexpr unsigned char DIK_4 = 0x05;
inline constexpr unsigned char DIK_5 = 0x06;
inline constexpr unsigned char DIK_6 = 0x07;
inline constexpr unsigned char DIK_7 = 0x08;
inline constexpr unsigned char DIK_8 = 0x09;
inline constexpr unsigned char DIK_9 = 0x0A;
inline constexpr unsigned char DIK_0 = 0x0B;
inline constexpr unsigned char DIK_MINUS = 0x0C;
inline constexpr unsigned char DIK_EQUALS = 0x0D;
inline constexpr unsigned char DIK_BACK = 0x0E;
inline constexpr unsigned char DIK_TAB = 0x0F;
inline constexpr unsigned char DIK_Q = 0x10;
inline constexpr unsigned char DIK_W = 0x11;
inline constexpr unsigned char DIK_E = 0x12;
inline constexpr unsigned char DIK_R = 0x13;
inline constexpr unsigned char DIK_T = 0x14;
inline constexpr unsigned char DIK_Y = 0x15;
inline constexpr unsigned char DIK_U = 0x16;
inline constexpr unsigned char DIK_I = 0x17;
inline constexpr unsigned char DIK_O = 0x18;
inline constexpr unsigned char DIK_P = 0x19;
inline constexpr unsigned char DIK_LBRACKET = 0x1A;
inline constexpr unsigned char DIK_RBRACKET = 0x1B;
inline constexpr unsigned char DIK_RETURN = 0x1C;
inline constexpr unsigned char DIK_LCONTROL = 0x1D;
inline constexpr unsigned char DIK_A = 0x1E;
inline constexpr unsigned char DIK_S = 0x1F;
inline constexpr unsigned char DIK_D = 0x20;
inline constexpr unsigned char DIK_F = 0x21;
inline constexpr unsigned char DIK_G = 0x22;
inline constexpr unsigned char DIK_H = 0x23;
inline constexpr unsigned char DIK_J = 0x24;
inline constexpr unsigned char DIK_K = 0x25;
inline constexpr unsigned char DIK_L = 0x26;
inline constexpr unsigned char DIK_SEMICOLON = 0x27;
inline constexpr unsigned char DIK_APOSTROPHE = 0x28;
inline constexpr unsigned char DIK_GRAVE = 0x29;
inline constexpr unsigned char DIK_LSHIFT = 0x2A;
inline constexpr unsigned char DIK_BACKSLASH = 0x2B;
inline constexpr unsigned char DIK_Z = 0x2C;
inline constexpr unsigned char DIK_X = 0x2D;
inline constexpr unsigned char DIK_C = 0x2E;
inline constexpr unsigned char DIK_V = 0x2F;
inline constexpr unsigned char DIK_B = 0x30;
inline constexpr unsigned char DIK_N = 0x31;
inline constexpr unsigned char DIK_M = 0x32;
inline constexpr unsigned char DIK_COMMA = 0x33;
inline constexpr unsigned char DIK_PERIOD = 0x34;
inline constexpr unsigned char DIK_SLASH = 0x35;
inline constexpr unsigned char DIK_RSHIFT = 0x36;
inline constexpr unsigned char DIK_MULTIPLY = 0x37;
inline constexpr unsigned char DIK_LMENU = 0x38;
inline constexpr unsigned char DIK_SPACE = 0x39;
inline constexpr unsigned char DIK_CAPITAL = 0x3A;
inline constexpr unsigned char DIK_F1 = 0x3B;
inline constexpr unsigned char DIK_F2 = 0x3C;
inline constexpr unsigned char DIK_F3 = 0x3D;
inline constexpr unsigned char DIK_F4 = 0x3E;
inline constexpr unsigned char DIK_F5 = 0x3F;
inline constexpr unsigned char DIK_F6 = 0x40;
inline constexpr unsigned char DIK_F7 = 0x41;
inline constexpr unsigned char DIK_F8 = 0x42;
inline constexpr unsigned char DIK_F9 = 0x43;
inline constexpr unsigned char DIK_F10 = 0x44;
inline constexpr unsigned char DIK_NUMLOCK = 0x45;
inline constexpr unsigned char DIK_SCROLL = 0x46;
inline constexpr unsigned char DIK_NUMPAD7 = 0x47;
inline constexpr unsigned char DIK_NUMPAD8 = 0x48;
inline constexpr unsigned char DIK_NUMPAD9 = 0x49;
inline constexpr unsigned char DIK_SUBTRACT = 0x4A;
inline constexpr unsigned char DIK_NUMPAD4 = 0x4B;
inline constexpr unsigned char DIK_NUMPAD5 = 0x4C;
inline constexpr unsigned char DIK_NUMPAD6 = 0x4D;
inline constexpr unsigned char DIK_ADD = 0x4E;
inline constexpr unsigned char DIK_NUMPAD1 = 0x4F;
inline constexpr unsigned char DIK_NUMPAD2 = 0x50;
inline constexpr unsigned char DIK_NUMPAD3 = 0x51;
inline constexpr unsigned char DIK_NUMPAD0 = 0x52;
inline constexpr unsigned char DIK_DECIMAL = 0x53;
inline constexpr unsigned char DIK_OEM_102 = 0x56;
inline constexpr unsigned char DIK_F11 = 0x57;
inline constexpr unsigned char DIK_F12 = 0x58;
inline constexpr unsigned char DIK_F13 = 0x64;
inline constexpr unsigned char DIK_F14 = 0x65;
inline constexpr unsigned char DIK_F15 = 0x66;
inline constexpr unsigned char DIK_KANA = 0x70;
inline constexpr unsigned char DIK_ABNT_C1 = 0x73;
inline constexpr unsigned char DIK_CONVERT = 0x79;
inline constexpr unsigned char DIK_NOCONVERT = 0x7B;
inline constexpr unsigned char DIK_YEN = 0x7D;
inline constexpr unsigned char DIK_ABNT_C2 = 0x7E;
inline constexpr unsigned char DIK_NUMPADEQUALS = 0x8D;
inline constexpr unsigned char DIK_PREVTRACK = 0x90;
inline constexpr unsigned char DIK_AT = 0x91;
inline constexpr unsigned char DIK_COLON = 0x92;
inline constexpr unsigned char DIK_UNDERLINE = 0x93;
inline constexpr unsigned char DIK_KANJI = 0x94;
inline constexpr unsigned char DIK_STOP = 0x95;
inline constexpr unsigned char DIK_AX = 0x96;
inline constexpr unsigned char DIK_UNLABELED = 0x97;
inline constexpr unsigned char DIK_NEXTTRACK = 0x99;
inline constexpr unsigned char DIK_NUMPADENTER = 0x9C;
inline constexpr unsigned char DIK_RCONTROL = 0x9D;
inline constexpr unsigned char DIK_MUTE = 0xA0;
inline constexpr unsigned char DIK_CALCULATOR = 0xA1;
inline constexpr unsigned char DIK_PLAYPAUSE = 0xA2;
inline constexpr unsigned char DIK_MEDIASTOP = 0xA4;
inline constexpr unsigned char DIK_VOLUMEDOWN = 0xAE;
inline constexpr unsigned char DIK_VOLUMEUP = 0xB0;
inline constexpr unsigned char DIK_WEBHOME = 0xB2;
inline constexpr unsigned char DIK_NUMPADCOMMA = 0xB3;
inline constexpr unsigned char DIK_DIVIDE = 0xB5;
inline constexpr unsigned char DIK_SYSRQ = 0xB7;
inline constexpr unsigned char DIK_RMENU = 0xB8;
inline constexpr unsigned char DIK_PAUSE = 0xC5;
inline constexpr unsigned char DIK_HOME = 0xC7;
inline constexpr unsigned char DIK_UP = 0xC8;
inline constexpr unsigned char DIK_PRIOR = 0xC9;
inline constexpr unsigned char DIK_LEFT = 0xCB;
inline constexpr unsigned char DIK_RIGHT = 0xCD;
inline constexpr unsigned char DIK_END = 0xCF;
inline constexpr unsigned char DIK_DOWN = 0xD0;
inline constexpr unsigned char DIK_NEXT = 0xD1;
inline constexpr unsigned char DIK_INSERT = 0xD2;
inline constexpr unsigned char DIK_DELETE = 0xD3;
inline constexpr unsigned char DIK_LWIN = 0xDB;
inline constexpr unsigned char DIK_RWIN = 0xDC;
inline constexpr unsigned char DIK_APPS = 0xDD;
inline constexpr unsigned char DIK_POWER = 0xDE;
inline constexpr unsigned char DIK_SLEEP = 0xDF;
inline constexpr unsigned char DIK_WAKE = 0xE3;
inline constexpr unsigned char DIK_WEBSEARCH = 0xE5;
inline constexpr unsigned char DIK_WEBFAVORITES = 0xE6;
inline constexpr unsigned char DIK_WEBREFRESH = 0xE7;
inline constexpr unsigned char DIK_WEBSTOP = 0xE8;
inline constexpr unsigned char DIK_WEBFORWARD = 0xE9;
inline constexpr unsigned char DIK_WEBBACK = 0xEA;
inline constexpr unsigned char DIK_MYCOMPUTER = 0xEB;
inline constexpr unsigned char DIK_MAIL = 0xEC;
inline constexpr unsigned char DIK_MEDIASELECT = 0xED;

// One named key code. The name table lists every name in byte order of the
// names, two left-hand aliases included, so that building a map in list
// order leaves the later name standing on a shared code.
struct DIKName {
    unsigned char code;
    const char* name;
};
extern const DIKName DIKNames[];
extern const std::size_t DIKNameCount;

// One SDL scancode and the key code it stands for.
struct ScancodeDIK {
    SDL_Scancode scancode;
    unsigned char code;
};
extern const ScancodeDIK ScancodeDIKTable[];
extern const std::size_t ScancodeDIKCount;

// The key code of an SDL scancode, 0 for a key the program has no code for.
unsigned char DikFromScancode(SDL_Scancode scancode);
