// CProfileData over both back ends: the registry profile and a private INI file.
#include "settings/profile_data.h"

#include "framework/archive_exception.h"
#include "settings/profile_escape.h"
#include "tests/settings/registry_fixture.h"
#include "tests/support/text.h"

#include <string.h>

namespace {

std::string S(const CString& s) { return std::string(s); }

std::string TempIni() {
    char dir[MAX_PATH];
    GetTempPathA(sizeof(dir), dir);
    return std::string(dir) + "zuvo_profile_test.ini";
}

// Parameter: true for the INI back end.
class ProfileData : public EmptyStore, public ::testing::WithParamInterface<bool> {
protected:
    void SetUp() override {
        EmptyStore::SetUp();
        m_ini = TempIni();
        DeleteFileA(m_ini.c_str());
    }
    void TearDown() override {
        DeleteFileA(m_ini.c_str());
        EmptyStore::TearDown();
    }
    CProfileData Make(const char* section = "MiniViewer") {
        return CProfileData(GetParam() ? m_ini.c_str() : NULL, section);
    }
    std::string m_ini;
};

TEST_P(ProfileData, BooleansAreYesAndNo) {
    CProfileData p(GetParam() ? m_ini.c_str() : NULL, "MiniViewer");
    EXPECT_TRUE(p.GetBool(NULL, "missing", TRUE));
    EXPECT_FALSE(p.GetBool(NULL, "missing", FALSE));
    const struct { const char* stored; BOOL expected; } cases[] = {
        {"yes", TRUE}, {"YES", TRUE}, {"Yes", TRUE}, {"yEsterday", TRUE},
        {"NO", FALSE}, {"ye", FALSE}, {"1", FALSE}, {"true", FALSE},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored);
        p.WriteString("b", c.stored);
        EXPECT_EQ(p.GetBool(NULL, "b", !c.expected), c.expected);
    }
    p.WriteBool("Other", "b", TRUE);
    EXPECT_EQ(S(p.GetString("b", "", "Other")), "YES");
    p.WriteBool("Other", "b", FALSE);
    EXPECT_EQ(S(p.GetString("b", "", "Other")), "NO");
}

TEST_P(ProfileData, RectanglesAreKeptOnScreen) {
    CProfileData p(GetParam() ? m_ini.c_str() : NULL, "MiniViewer");
    const RECT def = {1, 2, 3, 4};
    auto get = [&](const char* stored) {
        p.WriteString("r", stored);
        return p.GetRect(NULL, "r", def);
    };
    auto eq = [](const RECT& a, const RECT& b) {
        return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
    };
    EXPECT_TRUE(eq(get("10,20,30"), def));
    EXPECT_TRUE(eq(get("-50, 20 ,150,80"), RECT{0, 20, 200, 80}));
    int cx = GetSystemMetrics(SM_CXFULLSCREEN), cy = GetSystemMetrics(SM_CYFULLSCREEN);
    ASSERT_LT(cx, 5020);
    EXPECT_TRUE(eq(get("5000,10,5200,90"), RECT{0, 10, 200, 90}));
    // Within 20 pixels of the far side counts as off the screen; one more is on.
    char text[64];
    wsprintfA(text, "%d,%d,%d,%d", cx - 20, cy - 21, cx + 80, cy);
    EXPECT_TRUE(eq(get(text), RECT{0, cy - 21, 100, cy}));

    p.WriteRect(NULL, "r", RECT{-5, 7, 300, 400});
    EXPECT_EQ(S(p.GetString("r")), "-5,7,300,400");
    EXPECT_TRUE(eq(p.GetRect(NULL, "missing", def), def));
}

LOGFONTA StockFont(int index) {
    LOGFONTA lf;
    memset(&lf, 0, sizeof(lf));
    GetObjectA(GetStockObject(index), sizeof(lf), &lf);
    return lf;
}

bool SameFont(const LOGFONTA& a, const LOGFONTA& b) { return memcmp(&a, &b, sizeof(a)) == 0; }

TEST_P(ProfileData, UnusableFontsFallBackToTheStockFont) {
    CProfileData p = Make();
    LOGFONTA lf;
    p.GetFont(NULL, "Font", &lf, 16);
    EXPECT_TRUE(SameFont(lf, StockFont(SYSTEM_FIXED_FONT)));
    p.GetFont(NULL, "Font", &lf, 0);
    EXPECT_TRUE(SameFont(lf, StockFont(SYSTEM_FIXED_FONT)));
    p.GetFont(NULL, "Font", &lf, ANSI_VAR_FONT);
    EXPECT_TRUE(SameFont(lf, StockFont(ANSI_VAR_FONT)));

    p.WriteString("FontName", "Courier New");
    for (int height : {41, -41, 0}) {
        SCOPED_TRACE(height);
        p.WriteInt("FontHeight", height);
        p.GetFont(NULL, "Font", &lf, 16);
        EXPECT_TRUE(SameFont(lf, StockFont(SYSTEM_FIXED_FONT)));
    }

    p.WriteInt("FontHeight", -12);
    memset(&lf, 0x55, sizeof(lf));
    p.GetFont(NULL, "Font", &lf, 16);
    LOGFONTA expected;
    memset(&expected, 0, sizeof(expected));
    expected.lfHeight = -12;
    expected.lfWeight = FW_NORMAL;
    expected.lfCharSet = SHIFTJIS_CHARSET;
    strcpy(expected.lfFaceName, "Courier New");
    EXPECT_TRUE(SameFont(lf, expected));
}

TEST_P(ProfileData, FontsRoundTripAndAnUnnamedFontWritesNothing) {
    CProfileData p = Make();
    // A face name longer than the record holds is cut on a character
    // boundary: 30 bytes fit, the double-byte character after them does not.
    p.WriteString("FontName", (Sjis("ゴシック") + std::string(22, 'x') + Sjis("表")).c_str());
    p.WriteInt("FontHeight", 12);
    LOGFONTA lf;
    p.ExchangeFont(FALSE, lf, 16, "Font");
    EXPECT_EQ(std::string(lf.lfFaceName), Sjis("ゴシック") + std::string(22, 'x'));

    memset(&lf, 0, sizeof(lf));
    lf.lfHeight = -16;
    lf.lfWeight = FW_BOLD;
    lf.lfItalic = 1;
    lf.lfCharSet = ANSI_CHARSET;
    strcpy(lf.lfFaceName, "Arial");
    p.ExchangeFont(TRUE, lf, 16, "Font");
    LOGFONTA unnamed = lf;
    unnamed.lfFaceName[0] = '\0';
    unnamed.lfHeight = 30;
    p.WriteFont(NULL, "Font", &unnamed);

    LOGFONTA back;
    p.ExchangeFont(FALSE, back, 16, "Font");
    EXPECT_TRUE(SameFont(back, lf));
}

TEST_P(ProfileData, TextsOfSeveralLines) {
    CProfileData p = Make("Notes");
    p.WriteText(NULL, "a\r\nb");
    EXPECT_EQ(S(p.GetString("1")), "a");
    EXPECT_EQ(S(p.GetString("2")), "b");
    EXPECT_EQ(p.GetInt("linecount", 0), 2);
    EXPECT_EQ(S(p.GetText(NULL)), "a\r\nb\r\n");

    // An empty text leaves the section as it was.
    p.WriteText(NULL, "");
    EXPECT_EQ(S(p.GetText(NULL)), "a\r\nb\r\n");

    // A shorter text replaces the section whole; blanks, TABs and backslashes
    // (also a backslash before a TAB or a letter t) come back as written.
    const char* text = "  lead\tand trail  \r\nC:\\temp\\x\\\t\r\n\r\nlast\n";
    p.WriteText(NULL, text);
    EXPECT_EQ(S(p.GetText(NULL)), "  lead\tand trail  \r\nC:\\temp\\x\\\t\r\n\r\nlast\r\n");
    p.WriteText(NULL, "one");
    EXPECT_EQ(S(p.GetText(NULL)), "one\r\n");
    EXPECT_EQ(S(p.GetString("2", "gone")), "gone");
}

TEST_P(ProfileData, ExchangesReadWithDefaultsAndWrite) {
    CProfileData p = Make();
    LONG left = 0;
    UINT width = 0;
    p.ExchangeInt(FALSE, left, -3L, "Left");
    p.ExchangeInt(FALSE, width, 7u, "Width");
    EXPECT_EQ(left, -3);
    EXPECT_EQ(width, 7u);
    left = 120;
    p.ExchangeInt(TRUE, left, 0L, "Left");
    EXPECT_EQ(p.GetInt("left", 0), 120);

    CStringArray items;
    items.Add("one");
    items.Add(Sjis("表 two").c_str());
    p.ExchangeStringArray(TRUE, items, "Count", "Item");
    CStringArray back;
    back.Add("kept");
    p.ExchangeStringArray(FALSE, back, "Count", "Item");
    ASSERT_EQ(back.GetSize(), 3);
    EXPECT_EQ(S(back[0]), "kept");
    EXPECT_EQ(S(back[1]), "one");
    EXPECT_EQ(S(back[2]), Sjis("表 two"));
}

INSTANTIATE_TEST_SUITE_P(Backends, ProfileData, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& info) {
                             return info.param ? std::string("IniFile") : std::string("Registry");
                         });

TEST(ProfileEscape, TabsAndBackslashTRoundTrip) {
    EXPECT_EQ(S(EscapeProfileText("a\tb")), "a\\tb");
    EXPECT_EQ(S(EscapeProfileText("a\\tb")), "a\\\\tb");
    EXPECT_EQ(S(UnescapeProfileText("a\\tb")), "a\tb");
    EXPECT_EQ(S(UnescapeProfileText("a\\\\tb")), "a\\tb");
    const std::string texts[] = {
        "\t", "\\t", "\\\\t", "x\\\t", "\\\t\\t\t", "end\\", Sjis("表t\t表\\t"),
    };
    for (const std::string& t : texts) {
        SCOPED_TRACE(t);
        EXPECT_EQ(S(UnescapeProfileText(EscapeProfileText(t.c_str()))), t);
    }
}

TEST(ProfileIniReader, ReadsOneValueLikeThePlatform) {
    std::string ini = TempIni();
    FILE* f = fopen(ini.c_str(), "w");
    ASSERT_NE(f, nullptr);
    fputs("[Other]\nkey=other\n[Zuvo]\nspaced = no\nKEY===v a l \nempty=\n[Next]\nkey=next\n", f);
    fclose(f);
    auto read = [&](const char* section, const char* key) {
        return S(CProfileData::ReadIniFileString(section, key, "dflt", ini.c_str()));
    };
    EXPECT_EQ(read("zuvo", "key"), "v a l ");
    EXPECT_EQ(read("Zuvo", "empty"), "");
    EXPECT_EQ(read("Zuvo", "spaced"), "dflt");
    EXPECT_EQ(read("Zuvo", "missing"), "dflt");
    EXPECT_EQ(read("Next", "key"), "next");
    DeleteFileA(ini.c_str());
    EXPECT_EQ(read("Zuvo", "key"), "dflt");
}

}  // namespace

namespace {

bool WriteThrowsArchiveException(CProfileData& p, const char* key, const char* value) {
    try {
        p.WriteString(key, value);
    } catch (CException* e) {
        char text[256];
        bool ok = e->IsKindOf(RUNTIME_CLASS(CArchiveException)) &&
                  static_cast<CArchiveException*>(e)->m_cause == CArchiveException::generic &&
                  e->GetErrorMessage(text, sizeof(text)) &&
                  std::string(text) == Sjis("ﾌｧｲﾙの読み書き中に予期しないｴﾗｰが発生しました。");
        e->Delete();
        return ok;
    }
    return false;
}

TEST_F(EmptyStore, RefusedWritesRaiseArchiveException) {
    CProfileData ini("Z:\\no\\such\\dir\\zuvo.ini", "S");
    EXPECT_TRUE(WriteThrowsArchiveException(ini, "k", "v"));
    // The registry refuses a section key name longer than 255 characters.
    std::string section(300, 's');
    CProfileData p(NULL, section.c_str());
    EXPECT_TRUE(WriteThrowsArchiveException(p, "k", "v"));
    // A value name longer than the registry allows.
    CProfileData q(NULL, "MiniViewer");
    std::string key(20000, 'k');
    EXPECT_TRUE(WriteThrowsArchiveException(q, key.c_str(), "v"));
}

}  // namespace
