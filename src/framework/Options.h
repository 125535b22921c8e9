#pragma once
#include <cstdint>
#include <map>
#include <string>

// The program's few process-wide integer settings under dotted keys: full
// screen and the key (a keyboard scan code) of each of seven game actions.
class OptionsTableType {
public:
    // Sets the eight integers to their defaults and names them in the map.
    void Fill();
    // The integer behind key, or null for a key the table does not hold.
    std::int32_t* Find(const std::string& key);
    // The integer behind key; an unknown key is a programming error and throws
    // std::out_of_range naming the key.
    std::int32_t& operator[](const std::string& key);

    std::int32_t fullScreen = 0;
    std::int32_t inputLeft = 0;
    std::int32_t inputRight = 0;
    std::int32_t inputUp = 0;
    std::int32_t inputDown = 0;
    std::int32_t inputA = 0;
    std::int32_t inputB = 0;
    std::int32_t inputStart = 0;

private:
    std::map<std::string, std::int32_t*> map;
};

extern OptionsTableType OptionsTable;
