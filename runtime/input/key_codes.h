// Names for the scan-code numbers of a 105-key keyboard, as KeyDown and ScanCodeToChar take them.
#pragma once

#include <cstdint>

constexpr int32_t kKeyEscape = 1;
constexpr int32_t kKey1 = 2, kKey2 = 3, kKey3 = 4, kKey4 = 5, kKey5 = 6, kKey6 = 7, kKey7 = 8, kKey8 = 9, kKey9 = 10,
                  kKey0 = 11;
constexpr int32_t kKeyMinus = 12, kKeyEquals = 13, kKeyBackspace = 14, kKeyTab = 15;
constexpr int32_t kKeyQ = 16, kKeyW = 17, kKeyE = 18, kKeyR = 19, kKeyT = 20, kKeyY = 21, kKeyU = 22, kKeyI = 23,
                  kKeyO = 24, kKeyP = 25;
constexpr int32_t kKeyLeftBracket = 26, kKeyRightBracket = 27, kKeyEnter = 28, kKeyLeftControl = 29;
constexpr int32_t kKeyA = 30, kKeyS = 31, kKeyD = 32, kKeyF = 33, kKeyG = 34, kKeyH = 35, kKeyJ = 36, kKeyK = 37,
                  kKeyL = 38;
constexpr int32_t kKeySemicolon = 39, kKeyApostrophe = 40, kKeyGrave = 41, kKeyLeftShift = 42, kKeyBackslash = 43;
constexpr int32_t kKeyZ = 44, kKeyX = 45, kKeyC = 46, kKeyV = 47, kKeyB = 48, kKeyN = 49, kKeyM = 50;
constexpr int32_t kKeyComma = 51, kKeyPeriod = 52, kKeySlash = 53, kKeyRightShift = 54;
constexpr int32_t kKeyLeftAlt = 56, kKeySpace = 57, kKeyCapsLock = 58;
constexpr int32_t kKeyF1 = 59, kKeyF2 = 60, kKeyF3 = 61, kKeyF4 = 62, kKeyF5 = 63, kKeyF6 = 64, kKeyF7 = 65,
                  kKeyF8 = 66, kKeyF9 = 67, kKeyF10 = 68, kKeyF11 = 87, kKeyF12 = 88;
constexpr int32_t kKeyNumLock = 69, kKeyScrollLock = 70, kKeyPrintScreen = 183, kKeyPause = 197;
// The key between left Shift and Z on European keyboards.
constexpr int32_t kKeyNonUsBackslash = 86;

// ---- Keypad
constexpr int32_t kKeyPad7 = 71, kKeyPad8 = 72, kKeyPad9 = 73, kKeyPad4 = 75, kKeyPad5 = 76, kKeyPad6 = 77,
                  kKeyPad1 = 79, kKeyPad2 = 80, kKeyPad3 = 81, kKeyPad0 = 82;
constexpr int32_t kKeyPadMultiply = 55, kKeyPadMinus = 74, kKeyPadPlus = 78, kKeyPadPeriod = 83, kKeyPadEnter = 156,
                  kKeyPadDivide = 181;

// ---- Right-hand modifiers, the editing block and the arrows
constexpr int32_t kKeyRightControl = 157, kKeyRightAlt = 184;
constexpr int32_t kKeyHome = 199, kKeyUp = 200, kKeyPageUp = 201, kKeyLeft = 203, kKeyRight = 205, kKeyEnd = 207,
                  kKeyDown = 208, kKeyPageDown = 209, kKeyInsert = 210, kKeyDelete = 211;
constexpr int32_t kKeyLeftWindows = 219, kKeyRightWindows = 220, kKeyMenu = 221;
