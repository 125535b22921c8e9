// Random bytes and mutated scripts through both tokenizer modes: every call
// ends, and nothing faults under the sanitizers.
#include <gtest/gtest.h>

#include <random>

#include "Probe.h"

namespace {

const char* const kFixtures[] = {
    "#Variables\n{\n\tint x = 5;\n\tstd::string name = \"a;b{\";\n}\n",
    "// Function bound to engine \"Update\"\nvoid Update(Entity* self, Entity* other)\n{\n  self->position.x += 1;\n"
    "  if (a == b) { c--; } /* note\n  more */\n}\n",
    "namespace EntityData_X\n{\n//INHERITED\nvoid Old() {\n}\n//END INHERITED\nvoid New() {\n  x = '}';\n}\n}\n",
    "#Objects\r\n{\r\n  Player p1;\r\n}\r\n#Engines\r\n{\r\n  Behavior = 1;\r\n}\r\n",
};

std::string Mutate(std::string text, std::mt19937& random) {
    const char alphabet[] = "{}()/*\"';\n\r\t #-=>&|+xX_:.";
    const int edits = 1 + static_cast<int>(random() % 6);
    for (int e = 0; e < edits && !text.empty(); ++e) {
        const std::size_t at = random() % text.size();
        switch (random() % 3) {
            case 0: text.erase(at, 1 + random() % 4); break;
            case 1: text.insert(at, 1, alphabet[random() % (sizeof alphabet - 1)]); break;
            default: text[at] = alphabet[random() % (sizeof alphabet - 1)]; break;
        }
    }
    return text;
}

std::string RandomBytes(std::mt19937& random) {
    std::string text(random() % 300, '\0');
    for (char& c : text) c = static_cast<char>(random() % 256);
    return text;
}

TEST(TokenizerFuzz, BothModesEndOnAnyInput) {
    std::mt19937 random(20261210);
    TempFolder folder;
    for (int round = 0; round < 400; ++round) {
        const std::string text = (round % 2 == 0) ? RandomBytes(random) : Mutate(kFixtures[round / 2 % 4], random);
        CppConvert converter;
        CppConvertProbe probe{converter};
        int kind = 1;
        probe.TokenizeScope(kind, text, round % 4 < 2);
        probe.TokenizeScope(kind, text + "}", false);
        probe.ConvertArgList(text);
        IsArithmeticExpression(text);
        (void)probe.tokenEquivalent(text, "}");

        probe.Open(folder, text);
        probe.skipInherited() = round % 3 == 0;
        int calls = 0;
        // Each call reads at least one line, so the file's line count bounds the calls.
        while (calls < 1000) {
            ++calls;
            if (probe.TokenizeScope(kind, "", false) == -1 && !probe.inputGood()) break;
        }
        EXPECT_LT(calls, 1000) << "round " << round;
    }
}

}  // namespace
