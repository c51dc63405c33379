#include "tests/commands/command_fixture.h"

#include <gtest/gtest.h>

#include "framework/afx_state.h"

CZuvoApp theApp;

std::string CommandTestDir() {
    char dir[MAX_PATH];
    GetTempPathA(sizeof(dir), dir);
    std::string path = std::string(dir) + "zuvo_commands\\";
    CreateDirectoryA(path.c_str(), NULL);
    return path;
}

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    AfxSetInstanceHandle(GetModuleHandleA(NULL));
    return RUN_ALL_TESTS();
}
