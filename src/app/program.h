// The program as a whole: its directory, the real port, USB device, dialogs and waits, the
// main window and the event loop.
#pragma once

int runProgram(int argc, char** argv);
