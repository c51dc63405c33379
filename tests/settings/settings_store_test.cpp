// The application profile over the registry: layout, case, types, deletion.
#include "tests/settings/registry_fixture.h"

#include <string.h>

#include <vector>

#include "settings/remembered_settings.h"

namespace {

using SettingsStore = EmptyStore;

TEST_F(SettingsStore, SectionNamesIgnoreCaseButNotSpelling) {
    CWinApp& app = TestApp();
    ASSERT_TRUE(app.WriteProfileInt("Window", "nDirPaneWidth", 140));
    EXPECT_EQ(app.GetProfileInt("window", "nDirPaneWidth", 100), 140);
    EXPECT_EQ(app.GetProfileInt("WINDOW", "ndirpanewidth", 100), 140);

    ASSERT_TRUE(app.WriteProfileInt("setting", "nSortOrder", 0x8002));
    EXPECT_EQ(app.GetProfileInt("settings", "nSortOrder", 0), 0);
    EXPECT_EQ(app.GetProfileInt("Setting", "nSortOrder", 0), 0x8002);

    ASSERT_TRUE(app.WriteProfileString("settings", "strOpenDir", "C:\\A\\"));
    EXPECT_EQ(std::string(app.GetProfileString("setting", "strOpenDir", "")), "");
    EXPECT_EQ(std::string(app.GetProfileString("Settings", "STROPENDIR", "")), "C:\\A\\");
}

// Every setting of the program: its default on an empty store, and a written
// value lands under HKCU\Software\Vantrel\Zuvo\<section> with the right type.
struct Setting {
    const char* section;
    const char* key;
    bool isString;
};

const Setting kSettings[] = {
    {"Window", "Left", false},          {"Window", "Top", false},
    {"Window", "Right", false},         {"Window", "Bottom", false},
    {"Window", "IsIconic", false},      {"window", "nDirPaneWidth", false},
    {"settings", "nColumnWidth0", false}, {"settings", "nColumnWidth1", false},
    {"settings", "nColumnWidth2", false}, {"settings", "nColumnWidth3", false},
    {"settings", "nColumnWidth4", false}, {"setting", "nSortOrder", false},
    {"setting", "strOpenDir", true},    {"settings", "bDirUnpack", false},
    {"MiniViewer", "Left", false},      {"MiniViewer", "Top", false},
    {"MiniViewer", "Right", false},     {"MiniViewer", "Bottom", false},
    {"MiniViewer", "FontHeight", false}, {"MiniViewer", "FontWeight", false},
    {"MiniViewer", "FontItalic", false}, {"MiniViewer", "FontCharSet", false},
    {"MiniViewer", "FontName", true},   {"Recent File List", "File1", true},
    {"Recent File List", "File4", true}, {"Settings", "PreviewPages", false},
};

TEST_F(SettingsStore, EverySettingHasItsDefaultThenRoundTrips) {
    CWinApp& app = TestApp();
    for (const Setting& s : kSettings) {
        SCOPED_TRACE(std::string(s.section) + "/" + s.key);
        if (s.isString)
            EXPECT_EQ(std::string(app.GetProfileString(s.section, s.key, "dflt")), "dflt");
        else
            EXPECT_EQ(app.GetProfileInt(s.section, s.key, -7), -7);
    }
    int n = 0;
    for (const Setting& s : kSettings) {
        SCOPED_TRACE(std::string(s.section) + "/" + s.key);
        std::string subkey = std::string(ZUVO_KEY "\\") + s.section;
        DWORD type = 0;
        std::string raw;
        if (s.isString) {
            std::string value = "C:\\dir " + std::to_string(++n) + "\\";
            ASSERT_TRUE(app.WriteProfileString(s.section, s.key, value.c_str()));
            ASSERT_TRUE(RegReadRaw(subkey.c_str(), s.key, &type, &raw));
            EXPECT_EQ(type, (DWORD)REG_SZ);
            EXPECT_EQ(raw, value + '\0');
            EXPECT_EQ(std::string(app.GetProfileString(s.section, s.key, "")), value);
        } else {
            int value = -1000 * ++n;
            ASSERT_TRUE(app.WriteProfileInt(s.section, s.key, value));
            ASSERT_TRUE(RegReadRaw(subkey.c_str(), s.key, &type, &raw));
            EXPECT_EQ(type, (DWORD)REG_DWORD);
            ASSERT_EQ(raw.size(), 4u);
            int stored;
            memcpy(&stored, raw.data(), 4);
            EXPECT_EQ(stored, value);
            EXPECT_EQ(app.GetProfileInt(s.section, s.key, 0), value);
        }
    }
}

// What the program saves lands under the spellings users' settings have, and
// loads back; nothing stored gives the defaults, a damaged width none.
TEST_F(SettingsStore, RememberedThingsKeepTheirSpellingsAndComeBack) {
    CWinApp& app = TestApp();
    int cxPane = 7;
    EXPECT_TRUE(LoadExtractWithFolders());
    EXPECT_FALSE(LoadDirPaneWidth(cxPane));
    EXPECT_EQ(cxPane, 7);
    SaveExtractWithFolders(FALSE);
    SaveSortOrder(0x8003);
    SaveDirPaneWidth(140);
    SaveLastFolder("C:\\A\\");
    const int widths[5] = {10, 20, 0, 16384, 50};
    SaveColumnWidths(widths, 5);
    HWND hWnd = CreateWindowA("STATIC", "", WS_OVERLAPPEDWINDOW, 30, 40, 300, 200, NULL, NULL, NULL, NULL);
    ASSERT_TRUE(hWnd != NULL);
    SaveMainWindow(hWnd);
    SaveMiniViewer(hWnd, (HFONT)GetStockObject(ANSI_FIXED_FONT));
    DestroyWindow(hWnd);
    const struct {
        const char *section, *key;
        int value;
    } kStored[] = {{"settings", "bDirUnpack", 0},   {"setting", "nSortOrder", 0x8003},
                   {"window", "nDirPaneWidth", 140}, {"settings", "nColumnWidth0", 10},
                   {"settings", "nColumnWidth4", 50}, {"Window", "Left", 30},
                   {"Window", "Bottom", 240},        {"Window", "IsIconic", 0},
                   {"MiniViewer", "Top", 40},        {"MiniViewer", "Right", 330}};
    for (const auto& s : kStored)
        EXPECT_EQ(app.GetProfileInt(s.section, s.key, -1), s.value) << s.section << "/" << s.key;
    EXPECT_EQ(std::string(app.GetProfileString("setting", "strOpenDir", "")), "C:\\A\\");
    EXPECT_NE(app.GetProfileInt("MiniViewer", "FontHeight", -1), -1);

    EXPECT_FALSE(LoadExtractWithFolders());
    EXPECT_EQ(LoadSortOrder(), 0x8003);
    EXPECT_TRUE(LoadDirPaneWidth(cxPane));
    EXPECT_EQ(cxPane, 140);
    EXPECT_EQ(std::string(LoadLastFolder()), "C:\\A\\");
    for (int i = 0; i < 5; ++i) EXPECT_EQ(LoadColumnWidth(i), i == 2 || i == 3 ? 0 : widths[i]) << i;
    CREATESTRUCTA cs = {};
    PlaceMainWindow(cs);
    EXPECT_EQ(std::vector<int>({cs.x, cs.y, cs.cx, cs.cy}), std::vector<int>({30, 40, 300, 200}));
    PlaceMiniViewer(cs);
    EXPECT_EQ(std::vector<int>({cs.x, cs.y, cs.cx, cs.cy}), std::vector<int>({30, 40, 300, 200}));
}

TEST_F(SettingsStore, IntegersAreReadFromAnyValueOfAtMostFourBytes) {
    CWinApp& app = TestApp();
    const char* sub = ZUVO_KEY "\\settings";
    const unsigned char four[4] = {0x34, 0x12, 0, 0};
    const unsigned char two[2] = {0x05, 0x01};
    const unsigned char eight[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    RegWriteRaw(sub, "bin4", REG_BINARY, four, 4);
    RegWriteRaw(sub, "bin2", REG_BINARY, two, 2);
    RegWriteRaw(sub, "bin8", REG_BINARY, eight, 8);
    RegWriteRaw(sub, "sz", REG_SZ, "12", 3);
    EXPECT_EQ(app.GetProfileInt("settings", "bin4", -1), 0x1234);
    EXPECT_EQ(app.GetProfileInt("settings", "bin2", -1), 0x0105);
    EXPECT_EQ(app.GetProfileInt("settings", "bin8", -1), -1);
    EXPECT_EQ(app.GetProfileInt("settings", "sz", -1), 0x3231);
    // Strings likewise ignore the type: the bytes up to the first zero.
    EXPECT_EQ(std::string(app.GetProfileString("settings", "bin8", "")), "\x01\x02\x03\x04\x05\x06\x07\x08");
}

TEST_F(SettingsStore, NullValueDeletesTheValueAndNullKeyTheSection) {
    CWinApp& app = TestApp();
    const char* sub = ZUVO_KEY "\\MiniViewer";
    ASSERT_TRUE(app.WriteProfileString("MiniViewer", "FontName", "Courier"));
    ASSERT_TRUE(app.WriteProfileInt("MiniViewer", "Left", 3));

    ASSERT_TRUE(app.WriteProfileString("miniviewer", "fontname", NULL));
    EXPECT_FALSE(RegValueExists(sub, "FontName"));
    EXPECT_TRUE(RegValueExists(sub, "Left"));
    EXPECT_EQ(std::string(app.GetProfileString("MiniViewer", "FontName", "none")), "none");

    ASSERT_TRUE(app.WriteProfileString("MINIVIEWER", NULL, NULL));
    EXPECT_FALSE(RegKeyExists(sub));
    EXPECT_EQ(app.GetProfileInt("MiniViewer", "Left", 99), 99);

    // Deleting what is not there leaves the store as asked: success.
    EXPECT_TRUE(app.WriteProfileString("MiniViewer", "FontName", NULL));
    EXPECT_TRUE(app.WriteProfileString("NoSuchSection", NULL, NULL));
}

TEST_F(SettingsStore, AnyAccessCreatesTheKeysOnTheWay) {
    ASSERT_FALSE(RegKeyExists(ZUVO_KEY));
    EXPECT_EQ(TestApp().GetProfileInt("Window", "IsIconic", 0), 0);
    EXPECT_TRUE(RegKeyExists(ZUVO_KEY "\\Window"));
}

}  // namespace
