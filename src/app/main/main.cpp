// Program entry: help and the version, then the setup check when asked for, which need no
// display, else the window.
#include <cstring>

#include "app/program.h"
#include "app/setupreport.h"
#include "app/windowhelp.h"

int main(int argc, char** argv) {
    if (const std::optional<QByteArray> information = windowInformation(argc, argv)) {
        return printInformation(*information);
    }
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--check") == 0) {
            return runSetupCheck(argc, argv);
        }
    }
    return runProgram(argc, argv);
}
