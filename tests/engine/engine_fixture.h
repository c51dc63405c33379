// Shared set-up of the engine tests: the scripted library, a watcher that
// answers every message box, and code page 932.
#pragma once

#include "engine/lha.h"
#include "framework/afx.h"
#include "tests/fake_unlha32/fake_control.h"
#include "tests/support/dialog_watcher.h"
#include "tests/support/text.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

class EngineTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(GetACP(), 932u);
        AfxSetMainWndHandle(NULL);
        lib.reset(new FakeUnlha32());
        ASSERT_TRUE(lib->Loaded());
    }

    void TearDown() override {
        lib.reset();
        AfxSetMainWndHandle(NULL);
    }

    // Drops the fake: from now on no unlha32.dll is found.
    void RemoveLibrary() {
        lib.reset();
        HMODULE stray = LoadLibraryA("unlha32.dll");
        ASSERT_EQ(stray, nullptr) << "an unlha32.dll is still findable";
    }

    std::vector<std::string> BoxTexts() const {
        std::vector<std::string> texts;
        for (const SeenDialog& d : boxes.Seen()) texts.push_back(d.text);
        return texts;
    }

    std::unique_ptr<FakeUnlha32> lib;
    DialogWatcher boxes;
};

// A box blocks its caller until the watcher answers it, and the watcher records
// it before answering, so when an engine call returns its boxes are all seen.
inline std::vector<std::string> Strings(std::initializer_list<const char*> list) {
    return std::vector<std::string>(list.begin(), list.end());
}
