// Glimmerfall: entry point.
#include <cstdio>

int main() {
    std::puts("Glimmerfall");
    return 0;
}
