#include <cctype>
#include <map>
#include <set>
#include <string>

#include "InputFixture.h"
#include "framework/Options.h"

using namespace inputtest;

namespace {
class InputKeyNames : public InputTest {};
}  // namespace

TEST_F(InputKeyNames, NameTableHoldsTheNamedCodesAndTheLaterAliases) {
    std::set<int> named;
    for (int code = 0; code < 256; ++code)
        if (inputEngine.GetMappedString(code) != "UNKNOWN") named.insert(code);
    EXPECT_EQ(named.size(), 144u);

    const std::map<int, std::string> spot = {
        {0x01, "ESCAPE"},  {0x0B, "0"},           {0x1C, "RETURN"},   {0x38, "LMENU"},   {0xB8, "RMENU"},
        {0x3A, "CAPITAL"}, {0x0E, "BACK"},        {0x37, "MULTIPLY"}, {0xC8, "UP"},      {0xD1, "NEXT"},
        {0x56, "OEM_102"}, {0xED, "MEDIASELECT"}, {0x54, "UNKNOWN"},  {0xFF, "UNKNOWN"}, {0x00, "UNKNOWN"},
        {-1, "UNKNOWN"},   {0x100, "UNKNOWN"},
    };
    for (const auto& [code, name] : spot) EXPECT_EQ(inputEngine.GetMappedString(code), name) << std::hex << code;
}

TEST_F(InputKeyNames, MappedKeysKeepTheirLowByte) {
    Input_ input;
    EXPECT_EQ(input.GetMappedKey(7), 0);
    input.SetMappedKey(7, 0x1CB);
    EXPECT_EQ(input.GetMappedKey(7), 0xCB);
    input.SetMappedKey(7, DIK_RETURN);
    EXPECT_EQ(input.GetMappedKey(7), DIK_RETURN);
    EXPECT_EQ(input.GetMappedKey(8), 0);
    EXPECT_EQ(input.GetMappedString(DIK_RETURN), "UNKNOWN") << "no names before the table is built";
}

TEST_F(InputKeyNames, EveryScancodeMapsToANamedCodeThatMatchesTheKey) {
    // Scancodes that share a physical key with another one in the table.
    const std::set<SDL_Scancode> aliases = {SDL_SCANCODE_NONUSHASH, SDL_SCANCODE_SYSREQ, SDL_SCANCODE_MUTE,
                                            SDL_SCANCODE_MENU};
    std::map<int, SDL_Scancode> byCode;
    for (std::size_t i = 0; i < ScancodeDIKCount; ++i) {
        const ScancodeDIK& row = ScancodeDIKTable[i];
        const std::string sdlName = SDL_GetScancodeName(row.scancode);
        const std::string name = inputEngine.GetMappedString(row.code);
        EXPECT_NE(name, "UNKNOWN") << sdlName;
        EXPECT_EQ(DikFromScancode(row.scancode), row.code) << sdlName;
        if (!aliases.count(row.scancode)) {
            auto [it, fresh] = byCode.emplace(row.code, row.scancode);
            EXPECT_TRUE(fresh) << sdlName << " and " << SDL_GetScancodeName(it->second) << " share " << name;
        }
        // Letters, digits and function keys carry the same name on both sides.
        const bool single = sdlName.size() == 1 && std::isalnum(static_cast<unsigned char>(sdlName[0]));
        const bool function =
            sdlName.size() >= 2 && sdlName[0] == 'F' && std::isdigit(static_cast<unsigned char>(sdlName[1]));
        if (single || function) {
            EXPECT_EQ(name, sdlName);
        }
    }

    // The rest, checked by hand against the keys' names.
    const std::map<SDL_Scancode, std::string> named = {
        {SDL_SCANCODE_ESCAPE, "ESCAPE"},
        {SDL_SCANCODE_BACKSPACE, "BACK"},
        {SDL_SCANCODE_RETURN, "RETURN"},
        {SDL_SCANCODE_KP_ENTER, "NUMPADENTER"},
        {SDL_SCANCODE_LCTRL, "LCONTROL"},
        {SDL_SCANCODE_RCTRL, "RCONTROL"},
        {SDL_SCANCODE_LSHIFT, "LSHIFT"},
        {SDL_SCANCODE_RSHIFT, "RSHIFT"},
        {SDL_SCANCODE_LALT, "LMENU"},
        {SDL_SCANCODE_RALT, "RMENU"},
        {SDL_SCANCODE_LGUI, "LWIN"},
        {SDL_SCANCODE_APPLICATION, "APPS"},
        {SDL_SCANCODE_CAPSLOCK, "CAPITAL"},
        {SDL_SCANCODE_NUMLOCKCLEAR, "NUMLOCK"},
        {SDL_SCANCODE_SCROLLLOCK, "SCROLL"},
        {SDL_SCANCODE_PRINTSCREEN, "SYSRQ"},
        {SDL_SCANCODE_GRAVE, "GRAVE"},
        {SDL_SCANCODE_MINUS, "MINUS"},
        {SDL_SCANCODE_EQUALS, "EQUALS"},
        {SDL_SCANCODE_LEFTBRACKET, "LBRACKET"},
        {SDL_SCANCODE_BACKSLASH, "BACKSLASH"},
        {SDL_SCANCODE_NONUSBACKSLASH, "OEM_102"},
        {SDL_SCANCODE_SEMICOLON, "SEMICOLON"},
        {SDL_SCANCODE_APOSTROPHE, "APOSTROPHE"},
        {SDL_SCANCODE_COMMA, "COMMA"},
        {SDL_SCANCODE_PERIOD, "PERIOD"},
        {SDL_SCANCODE_SLASH, "SLASH"},
        {SDL_SCANCODE_SPACE, "SPACE"},
        {SDL_SCANCODE_KP_0, "NUMPAD0"},
        {SDL_SCANCODE_KP_9, "NUMPAD9"},
        {SDL_SCANCODE_KP_PLUS, "ADD"},
        {SDL_SCANCODE_KP_MINUS, "SUBTRACT"},
        {SDL_SCANCODE_KP_MULTIPLY, "MULTIPLY"},
        {SDL_SCANCODE_KP_DIVIDE, "DIVIDE"},
        {SDL_SCANCODE_KP_PERIOD, "DECIMAL"},
        {SDL_SCANCODE_PAGEUP, "PRIOR"},
        {SDL_SCANCODE_PAGEDOWN, "NEXT"},
        {SDL_SCANCODE_HOME, "HOME"},
        {SDL_SCANCODE_END, "END"},
        {SDL_SCANCODE_INSERT, "INSERT"},
        {SDL_SCANCODE_DELETE, "DELETE"},
        {SDL_SCANCODE_UP, "UP"},
        {SDL_SCANCODE_DOWN, "DOWN"},
        {SDL_SCANCODE_LEFT, "LEFT"},
        {SDL_SCANCODE_RIGHT, "RIGHT"},
        {SDL_SCANCODE_PAUSE, "PAUSE"},
        {SDL_SCANCODE_AUDIOMUTE, "MUTE"},
        {SDL_SCANCODE_VOLUMEUP, "VOLUMEUP"},
    };
    for (const auto& [sc, name] : named)
        EXPECT_EQ(inputEngine.GetMappedString(DikFromScancode(sc)), name) << SDL_GetScancodeName(sc);

    EXPECT_EQ(DikFromScancode(SDL_SCANCODE_UNKNOWN), 0);
    EXPECT_EQ(DikFromScancode(SDL_SCANCODE_F24), 0);
    EXPECT_EQ(DikFromScancode(static_cast<SDL_Scancode>(SDL_NUM_SCANCODES)), 0);
}

TEST_F(InputKeyNames, DefaultActionKeysAreReachableFromTheKeyboard) {
    OptionsTableType options;
    options.Fill();
    const std::pair<const char*, SDL_Scancode> rows[] = {
        {"Options.InputLeft", SDL_SCANCODE_LEFT},    {"Options.InputRight", SDL_SCANCODE_RIGHT},
        {"Options.InputUp", SDL_SCANCODE_UP},        {"Options.InputDown", SDL_SCANCODE_DOWN},
        {"Options.InputA", SDL_SCANCODE_A},          {"Options.InputB", SDL_SCANCODE_B},
        {"Options.InputStart", SDL_SCANCODE_RETURN},
    };
    for (const auto& [key, sc] : rows) EXPECT_EQ(options[key], DikFromScancode(sc)) << key;
}
