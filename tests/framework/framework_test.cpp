// The framework core: strings in code page 932, collections, run-time classes
// and the message box.
#include "framework/afx.h"
#include "framework/path_parts.h"
#include "res/resource.h"
#include "tests/support/dialog_watcher.h"
#include "tests/support/text.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class CBase : public CObject {
    DECLARE_DYNAMIC(CBase)
};
IMPLEMENT_DYNAMIC(CBase, CObject)

class CMadeByRecord : public CBase {
    DECLARE_DYNCREATE(CMadeByRecord)
public:
    int m_nValue = 42;
};
IMPLEMENT_DYNCREATE(CMadeByRecord, CBase)

TEST(RuntimeClass, KindAndDynamicCreation) {
    CObject* p = RUNTIME_CLASS(CMadeByRecord)->CreateObject();
    ASSERT_NE(p, nullptr);
    EXPECT_STREQ(p->GetRuntimeClass()->m_lpszClassName, "CMadeByRecord");
    EXPECT_TRUE(p->IsKindOf(RUNTIME_CLASS(CBase)));
    EXPECT_TRUE(p->IsKindOf(RUNTIME_CLASS(CObject)));
    EXPECT_EQ(static_cast<CMadeByRecord*>(p)->m_nValue, 42);
    delete p;

    CBase base;
    EXPECT_FALSE(base.IsKindOf(RUNTIME_CLASS(CMadeByRecord)));
    EXPECT_EQ(RUNTIME_CLASS(CBase)->CreateObject(), nullptr);
}

TEST(CString, DoubleByteCharactersAreOneUnit) {
    ASSERT_EQ(GetACP(), 932u);
    // 表 is 0x95 0x5C: its trail byte must not be found as a backslash.
    CString s(Sjis("表\\表").c_str());
    ASSERT_EQ(s.GetLength(), 5);
    EXPECT_EQ(s.Find('\\'), 2);
    EXPECT_EQ(s.ReverseFind('\\'), 2);
    EXPECT_EQ(s.Find("\\"), 2);
    EXPECT_EQ(s.Find('\\', 3), -1);

    CString onlyKanji(Sjis("表").c_str());
    EXPECT_EQ(onlyKanji.ReverseFind('\\'), -1);
    EXPECT_EQ(onlyKanji.Replace('\\', '/'), 0);
    EXPECT_EQ(std::string(onlyKanji), Sjis("表"));

    CString mixed(Sjis("a\\表/b").c_str());
    EXPECT_EQ(mixed.Replace('\\', '/'), 1);
    EXPECT_EQ(std::string(mixed), Sjis("a/表/b"));
}

TEST(CString, SlicingAndSearch) {
    CString s("DOC\\IMAGES\\A.BMP");
    EXPECT_EQ(s.Left(3), "DOC");
    EXPECT_EQ(s.Mid(4, 6), "IMAGES");
    EXPECT_EQ(s.Mid(11), "A.BMP");
    EXPECT_EQ(s.Right(3), "BMP");
    EXPECT_EQ(s.Mid(100), "");
    EXPECT_EQ(s.Left(100), s);
    EXPECT_EQ(s.Find("IMAGES"), 4);
    EXPECT_EQ(s.Find("BMPX"), -1);
    EXPECT_EQ(s.Find('\\', 4), 10);
    EXPECT_EQ(s.FindOneOf(".\\"), 3);
}

TEST(CString, FormatHasNoLengthLimit) {
    std::string longName(5000, 'x');
    CString s;
    s.Format("%s %d %s", longName.c_str(), 42, "end");
    EXPECT_EQ(s.GetLength(), 5000 + 1 + 2 + 1 + 3);
    EXPECT_EQ(s.Right(6), "42 end");
    s.Format("%02d/%02d/%02d", 96, 4, 5);
    EXPECT_EQ(s, "96/04/05");
}

TEST(CString, ConcatenationCaseAndBuffers) {
    CString a("ab");
    CString b = a + "cd" + 'e';
    b += CString("F");
    EXPECT_EQ(b, "abcdeF");
    EXPECT_TRUE(CString("a") < CString("b"));
    EXPECT_EQ(CString("abc").CompareNoCase("ABC"), 0);
    b.MakeUpper();
    EXPECT_EQ(b, "ABCDEF");
    b.MakeLower();
    EXPECT_EQ(b, "abcdef");

    CString t("  x y  ");
    t.TrimLeft();
    t.TrimRight();
    EXPECT_EQ(t, "x y");

    CString buf;
    DWORD n = GetTempPathA(MAX_PATH, buf.GetBuffer(MAX_PATH));
    buf.ReleaseBuffer();
    EXPECT_EQ((DWORD)buf.GetLength(), n);
    EXPECT_TRUE(buf.IsEmpty() == FALSE);
}

TEST(CString, LoadStringReadsTheStringTable) {
    CString s;
    ASSERT_TRUE(s.LoadString(IDS_NO_UNLHA32));
    EXPECT_EQ(s, "no UNLHA32.DLL");
    EXPECT_FALSE(s.LoadString(1));
    EXPECT_TRUE(s.IsEmpty());
}

// The trail byte 0x5C of 表 is no backslash, so 表 still needs one.
TEST(Paths, TrailingBackslashAndTheTemporaryDirectory) {
    const std::string hyo = Sjis("表");
    struct {
        std::string path, with, without;
    } cases[] = {{"", "", ""}, {"A", "A\\", "A"}, {"A\\", "A\\", "A"}, {hyo, hyo + "\\", hyo}, {hyo + "\\", hyo + "\\", hyo}};
    for (const auto& c : cases) {
        EXPECT_EQ(std::string(WithTrailingBackslash(c.path.c_str())), c.with) << c.path;
        EXPECT_EQ(std::string(WithoutTrailingBackslash(c.path.c_str())), c.without) << c.path;
    }

    char oldTmp[MAX_PATH] = "", oldTemp[MAX_PATH] = "";
    GetEnvironmentVariableA("TMP", oldTmp, sizeof(oldTmp));
    GetEnvironmentVariableA("TEMP", oldTemp, sizeof(oldTemp));
    SetEnvironmentVariableA("TMP", "C:\\SCRATCH");
    SetEnvironmentVariableA("TEMP", "C:\\SCRATCH");
    EXPECT_EQ(std::string(TempDirectory()), "C:\\SCRATCH\\");
    // Too long for a path here: none rather than the current directory.
    std::string tooLong = "C:\\" + std::string(300, 'd');
    SetEnvironmentVariableA("TMP", tooLong.c_str());
    SetEnvironmentVariableA("TEMP", tooLong.c_str());
    EXPECT_EQ(std::string(TempDirectory()), "");
    SetEnvironmentVariableA("TMP", *oldTmp ? oldTmp : NULL);
    SetEnvironmentVariableA("TEMP", *oldTemp ? oldTemp : NULL);
}

TEST(Collections, ArraysAndMap) {
    CStringArray names;
    names.Add("b");
    names.InsertAt(0, "a");
    names.Add("c");
    names.RemoveAt(1);
    ASSERT_EQ(names.GetSize(), 2);
    EXPECT_EQ(names[0], "a");
    EXPECT_EQ(names.GetAt(1), "c");

    CObArray objs;
    CBase one, two;
    objs.Add(&one);
    objs.SetAtGrow(2, &two);
    EXPECT_EQ(objs.GetSize(), 3);
    EXPECT_EQ(objs[1], nullptr);
    EXPECT_EQ(objs.GetAt(2), &two);
    objs.RemoveAll();
    EXPECT_EQ(objs.GetSize(), 0);

    CMapStringToString map(8);
    map.SetAt(".txt", "Text");
    map[".TXT"] = "Upper";
    CString value;
    EXPECT_TRUE(map.Lookup(".txt", value));
    EXPECT_EQ(value, "Text");
    EXPECT_FALSE(map.Lookup(".doc", value));
    EXPECT_EQ(map.GetCount(), 2);
    int walked = 0;
    for (POSITION pos = map.GetStartPosition(); pos;) {
        CString k, v;
        map.GetNextAssoc(pos, k, v);
        ++walked;
    }
    EXPECT_EQ(walked, 2);
    EXPECT_TRUE(map.RemoveKey(".txt"));
    EXPECT_FALSE(map.RemoveKey(".txt"));
    EXPECT_EQ(map.GetCount(), 1);
}

TEST(MessageBox, ByIdIsOwnedByTheMainWindowAndCaptionedWithTheAppName) {
    HWND main = CreateWindowA("STATIC", "main", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, NULL, NULL, NULL, NULL);
    ASSERT_NE(main, nullptr);
    AfxSetMainWndHandle(main);
    AfxSetAppName("Zuvo");
    DialogWatcher boxes;
    EXPECT_EQ(AfxMessageBox(IDS_UNLHA32_VERSION_ERROR), IDOK);
    ASSERT_TRUE(boxes.WaitForCount(1));
    SeenDialog box = boxes.Seen()[0];
    EXPECT_EQ(box.text, "UNLHA32.DLL version error");
    EXPECT_EQ(box.caption, "Zuvo");
    EXPECT_EQ(box.owner, main);
    EXPECT_EQ(box.buttons, std::vector<int>{IDOK});

    boxes.QueueAnswer(IDNO);
    EXPECT_EQ(AfxMessageBox("question", MB_YESNO | MB_ICONQUESTION), IDNO);
    ASSERT_TRUE(boxes.WaitForCount(2));
    EXPECT_EQ(boxes.Seen()[1].icon, (UINT)MB_ICONQUESTION);

    AfxSetMainWndHandle(NULL);
    DestroyWindow(main);
}

}  // namespace
