// File type names: registered descriptions from HKEY_CLASSES_ROOT, the
// fallback text, and the cache.
#include "tests/support/running_app.h"

#include "tests/support/text.h"

#include <gtest/gtest.h>

#include <shlwapi.h>

#include <string>

namespace {

void SetClassDefault(const char* subkey, const char* value) {
    HKEY h;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CLASSES_ROOT, subkey, 0, NULL, 0, KEY_WRITE, NULL, &h, NULL),
              ERROR_SUCCESS);
    if (value) RegSetValueExA(h, NULL, 0, REG_SZ, (const BYTE*)value, (DWORD)strlen(value) + 1);
    RegCloseKey(h);
}

// Registrations made by a test, removed again at its end.
class TypeNames : public ::testing::Test {
protected:
    void TearDown() override {
        for (const char* key : {".zvt", "Zuvo.TestType", ".zve", ".zvm", "Zuvo.EmptyType", ".zvn"})
            SHDeleteKeyA(HKEY_CLASSES_ROOT, key);
    }
    std::string Name(const char* file) { return std::string(theApp.GetFileTypeName(file)); }
    std::string Fallback(const char* upper) { return std::string(upper) + Sjis(" ﾌｧｲﾙ"); }
};

TEST_F(TypeNames, ARegisteredTypeIsUsedAsFoundAndCachedOncePerExtension) {
    SetClassDefault(".zvt", "Zuvo.TestType");
    SetClassDefault("Zuvo.TestType", "Zuvo Test Document");
    EXPECT_EQ(Name("A.ZVT"), "Zuvo Test Document");
    CString cached;
    ASSERT_TRUE(theApp.m_typeNames.Lookup(".zvt", cached));
    int count = theApp.m_typeNames.GetCount();

    // The same extension in another case shares the entry, and a change of the
    // registry during the run is not seen.
    SetClassDefault("Zuvo.TestType", "Changed");
    EXPECT_EQ(Name("DOC\\b.zvt"), "Zuvo Test Document");
    EXPECT_EQ(theApp.m_typeNames.GetCount(), count);
}

TEST_F(TypeNames, UnregisteredOrEmptyRegistrationsFallBackToTheExtension) {
    EXPECT_EQ(Name("archive.tar.zvx"), Fallback("ZVX"));
    EXPECT_EQ(Name(".profile"), Fallback("PROFILE"));
    SetClassDefault(".zve", "");                       // empty type id
    SetClassDefault(".zvm", "Zuvo.MissingType");       // type id without a key
    SetClassDefault(".zvn", "Zuvo.EmptyType");         // type key with an empty name
    SetClassDefault("Zuvo.EmptyType", NULL);
    EXPECT_EQ(Name("a.zve"), Fallback("ZVE"));
    EXPECT_EQ(Name("a.zvm"), Fallback("ZVM"));
    EXPECT_EQ(Name("a.zvn"), Fallback("ZVN"));
}

TEST_F(TypeNames, ANameWithoutExtensionHasNoTypeAndIsNotCached) {
    int count = theApp.m_typeNames.GetCount();
    EXPECT_EQ(Name("README"), "");
    EXPECT_EQ(Name("DIR.D\\README"), "");
    // A trail byte 0x5C is no separator: the dot before it starts the extension.
    std::string kanjiExt = "a." + Sjis("表");
    EXPECT_EQ(Name(kanjiExt.c_str()), Sjis("表") + Sjis(" ﾌｧｲﾙ"));
    EXPECT_EQ(theApp.m_typeNames.GetCount(), count + 1);
}

}  // namespace
