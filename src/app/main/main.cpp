// Program entry: the setup check when asked for, which needs no display, else the window.
#include <cstring>

#include "app/program.h"
#include "app/setupreport.h"

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--check") == 0) {
            return runSetupCheck(argc, argv);
        }
    }
    return runProgram(argc, argv);
}
