// A test fixture that starts from an empty settings store: the application's
// profile points at HKCU\Software\Vantrel\Zuvo and that key is deleted first.
#pragma once

#include "framework/winapp.h"

#include <gtest/gtest.h>

#include <string>

#define ZUVO_KEY "Software\\Vantrel\\Zuvo"

CWinApp& TestApp();

class EmptyStore : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
};

// Raw registry access for checks independent of the code under test.
bool RegValueExists(const char* subkey, const char* name);
bool RegKeyExists(const char* subkey);
// Type and bytes of a value under HKCU\<subkey>; false when missing.
bool RegReadRaw(const char* subkey, const char* name, DWORD* type, std::string* data);
void RegWriteRaw(const char* subkey, const char* name, DWORD type, const void* data, DWORD size);
