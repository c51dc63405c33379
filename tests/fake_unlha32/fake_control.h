// Test-side control of the scripted unlha32.dll. While a FakeUnlha32 lives,
// the program's LoadLibraryA("unlha32.dll") finds the fake, and the object
// holds its own reference so the script and the record of calls survive the
// program's load and free around each operation. When it is destroyed the
// library can no longer be found at all.
//
//   FakeUnlha32 lib;                       // complete fake, version 100, idle
//   lib.SetVersion(21);
//   lib.QueueResult(0, "listing text");
//   ... run the program's code ...
//   EXPECT_EQ(lib.CommandLines()[0], "l C:\\A.LZH");
#pragma once

#include <windows.h>

#include <string>
#include <vector>

struct FakeCall {
    std::string name;  // entry point
    std::string text;  // command line, archive path, wildcard, ...
    HWND hwnd;         // window argument, if the entry point takes one
    DWORD number;      // buffer size, mode or cursor mode
};

class FakeUnlha32 {
public:
    enum Kind {
        kComplete,
        kPartial,  // lacks UnlhaFindNext, UnlhaSetCursorMode, Unlha, UnlhaCheckArchive, UnlhaConfigDialog
    };

    explicit FakeUnlha32(Kind kind = kComplete);
    ~FakeUnlha32();
    FakeUnlha32(const FakeUnlha32&) = delete;
    FakeUnlha32& operator=(const FakeUnlha32&) = delete;

    bool Loaded() const { return m_hDll != NULL; }

    void SetVersion(DWORD version);
    void SetRunning(int running);
    void SetCheckResult(BOOL result);
    void SetOpenFails(BOOL fails);
    // The next Unlha call handles the messages posted meanwhile, as a progress
    // window would, and records "UnlhaReturn" when it ends.
    void PumpDuringNextCall();
    // The next Unlha call returns code and writes output.
    void QueueResult(int code, const char* output = "");
    void AddRecord(const char* name, DWORD originalSize = 0, DWORD compressedSize = 0, WORD date = 0,
                   WORD time = 0);

    std::vector<FakeCall> Calls() const;
    std::vector<std::string> CallNames() const;
    std::vector<std::string> CommandLines() const;  // the texts of the Unlha calls
    void ClearCalls();
    int OpenArchives() const;

    // True when no one but this object holds the library (every load of the
    // program was matched by a free). Reloads it afterwards, which resets the
    // script and the record of calls.
    bool HeldOnlyByUs();

private:
    template <class F>
    F Proc(const char* name) const {
        return reinterpret_cast<F>(GetProcAddress(m_hDll, name));
    }
    void Load();

    std::string m_dir;
    HMODULE m_hDll = NULL;
};

// Makes sure no unlha32.dll can be found (the DLL folder points nowhere).
void HideUnlha32();
