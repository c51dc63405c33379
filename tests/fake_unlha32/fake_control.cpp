// Loading the fake from its folder and calling its scripting exports.
#include "tests/fake_unlha32/fake_control.h"

FakeUnlha32::FakeUnlha32(Kind kind)
    : m_dir(kind == kComplete ? ZUVO_FAKE_UNLHA32_DIR : ZUVO_FAKE_UNLHA32_PARTIAL_DIR) {
    Load();
    if (m_hDll) Proc<void (*)()>("FakeReset")();
}

FakeUnlha32::~FakeUnlha32() {
    if (m_hDll) FreeLibrary(m_hDll);
    HideUnlha32();
}

void FakeUnlha32::Load() {
    SetDllDirectoryA(m_dir.c_str());
    m_hDll = LoadLibraryA((m_dir + "\\unlha32.dll").c_str());
}

void FakeUnlha32::SetVersion(DWORD v) { Proc<void (*)(DWORD)>("FakeSetVersion")(v); }
void FakeUnlha32::SetRunning(int r) { Proc<void (*)(int)>("FakeSetRunning")(r); }
void FakeUnlha32::SetCheckResult(BOOL r) { Proc<void (*)(BOOL)>("FakeSetCheckResult")(r); }
void FakeUnlha32::SetOpenFails(BOOL f) { Proc<void (*)(BOOL)>("FakeSetOpenFails")(f); }
void FakeUnlha32::PumpDuringNextCall() { Proc<void (*)()>("FakePumpDuringNextCall")(); }

void FakeUnlha32::QueueResult(int code, const char* output) {
    Proc<void (*)(int, const char*)>("FakeQueueResult")(code, output);
}

void FakeUnlha32::AddRecord(const char* name, DWORD originalSize, DWORD compressedSize, WORD date,
                            WORD time) {
    Proc<void (*)(const char*, DWORD, DWORD, WORD, WORD)>("FakeAddRecord")(name, originalSize,
                                                                          compressedSize, date, time);
}

std::vector<FakeCall> FakeUnlha32::Calls() const {
    std::vector<FakeCall> calls;
    int n = Proc<int (*)()>("FakeCallCount")();
    for (int i = 0; i < n; i++) {
        calls.push_back(FakeCall{Proc<const char* (*)(int)>("FakeCallName")(i),
                                 Proc<const char* (*)(int)>("FakeCallText")(i),
                                 Proc<HWND (*)(int)>("FakeCallWindow")(i),
                                 Proc<DWORD (*)(int)>("FakeCallNumber")(i)});
    }
    return calls;
}

std::vector<std::string> FakeUnlha32::CallNames() const {
    std::vector<std::string> names;
    for (const FakeCall& c : Calls()) names.push_back(c.name);
    return names;
}

std::vector<std::string> FakeUnlha32::CommandLines() const {
    std::vector<std::string> lines;
    for (const FakeCall& c : Calls()) {
        if (c.name == "Unlha") lines.push_back(c.text);
    }
    return lines;
}

void FakeUnlha32::ClearCalls() { Proc<void (*)()>("FakeClearCalls")(); }

int FakeUnlha32::OpenArchives() const { return Proc<int (*)()>("FakeOpenArchives")(); }

bool FakeUnlha32::HeldOnlyByUs() {
    FreeLibrary(m_hDll);
    bool gone = GetModuleHandleA("unlha32.dll") == NULL;
    Load();
    if (gone && m_hDll) Proc<void (*)()>("FakeReset")();
    return gone;
}

void HideUnlha32() { SetDllDirectoryA(""); }
