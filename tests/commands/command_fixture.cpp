#include "tests/commands/command_fixture.h"

CZuvoApp theApp;

std::string CommandTestDir() {
    char dir[MAX_PATH];
    GetTempPathA(sizeof(dir), dir);
    std::string path = std::string(dir) + "zuvo_commands\\";
    CreateDirectoryA(path.c_str(), NULL);
    return path;
}
