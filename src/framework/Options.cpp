#include "framework/Options.h"

#include <stdexcept>

void OptionsTableType::Fill() {
    struct Row {
        const char* key;
        std::int32_t OptionsTableType::*field;
        std::int32_t value;
    };
    static const Row rows[] = {
        {"Options.fullScreen", &OptionsTableType::fullScreen, 0},
        {"Options.InputLeft", &OptionsTableType::inputLeft, 203},
        {"Options.InputRight", &OptionsTableType::inputRight, 205},
        {"Options.InputUp", &OptionsTableType::inputUp, 200},
        {"Options.InputDown", &OptionsTableType::inputDown, 208},
        {"Options.InputA", &OptionsTableType::inputA, 30},
        {"Options.InputB", &OptionsTableType::inputB, 48},
        {"Options.InputStart", &OptionsTableType::inputStart, 28},
    };
    for (const Row& r : rows) {
        this->*r.field = r.value;
        map[r.key] = &(this->*r.field);
    }
}

std::int32_t* OptionsTableType::Find(const std::string& key) {
    auto it = map.find(key);
    return it == map.end() ? nullptr : it->second;
}

std::int32_t& OptionsTableType::operator[](const std::string& key) {
    std::int32_t* p = Find(key);
    if (!p) throw std::out_of_range("unknown options key \"" + key + "\"");
    return *p;
}
