// logger-sim: the simulated logger on a pseudo-terminal.
#include <cstdio>

int main() {
    std::puts("logger-sim: not built yet");
    return 1;
}
