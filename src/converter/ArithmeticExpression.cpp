// Whether a value text is a plain arithmetic expression: one pass over the
// characters, with what may come next kept in six permissions.
#include <map>

#include "converter/CppConvert.h"

bool IsArithmeticExpression(std::string text) {
    std::map<char, int> may = {{'(', 1}, {')', 0}, {'#', 1}, {'.', 1}, {'f', 0}, {'+', 0}};
    int depth = 0;
    std::size_t pos = 0;
    auto isFigure = [](char c) { return c >= '0' && c <= '9'; };
    while (pos < text.size()) {
        const char c = text[pos];
        if (may['#'] && isFigure(c)) {
            may['+'] = 1;
            may['('] = 0;
            may[')'] = 1;
            while (pos < text.size()) {
                const char d = text[pos];
                if (isFigure(d)) {
                    may['f'] = 1;
                    ++pos;
                } else if (d == '.' && may['.']) {
                    may['.'] = 0;
                    ++pos;
                } else if (d == 'f' && may['f']) {
                    may['f'] = 0;
                    may['#'] = 0;
                    ++pos;
                    break;
                } else {
                    break;
                }
            }
            continue;
        }
        if (c == ' ' || c == '\t' || c == '\n') {
            ++pos;
        } else if (may['+'] && (c == '*' || c == '+' || c == '-' || c == '/' || c == '%')) {
            may['#'] = 1;
            may['.'] = 1;
            may['('] = 1;
            may[')'] = 0;
            ++pos;
        } else if (c == ')' && may[')']) {
            if (--depth < 0) return false;
            ++pos;
        } else if (c == '(' && may['(']) {
            ++depth;
            ++pos;
        } else {
            return false;
        }
    }
    return may[')'] == 1;
}
