// Entries, the archive object's common behaviour and temporary-file records.
#include "engine_fixture.h"

#include <stdio.h>

namespace {

TEST(Entries, RuntimeClassesAndFreshState) {
    CArcfileItem item;
    EXPECT_STREQ(item.GetRuntimeClass()->m_lpszClassName, "CArcfileItem");
    EXPECT_EQ(item.m_dwOriginalSize + item.m_dwCompressedSize, 0u);
    EXPECT_TRUE(item.m_strDate.IsEmpty() && item.m_strTime.IsEmpty() && item.m_strName.IsEmpty());

    CLha lha("x.lzh");
    EXPECT_STREQ(lha.GetRuntimeClass()->m_lpszClassName, "CLha");
    EXPECT_STREQ(RUNTIME_CLASS(CArcfile)->m_lpszClassName, "CArcfile");
    EXPECT_TRUE(lha.IsKindOf(RUNTIME_CLASS(CArcfile)));
    EXPECT_EQ(lha.GetStatus(), ARC_ENTRY);
    EXPECT_EQ(lha.m_pLibrary, nullptr);
    EXPECT_STREQ(lha.m_pOutput, "");
    EXPECT_EQ(RUNTIME_CLASS(CLha)->CreateObject(), nullptr);
}

TEST(Entries, FullPathAddsOneBackslash) {
    CArcfileItem item;
    item.m_strName = "A.BMP";
    EXPECT_EQ(item.GetFullPath(), "A.BMP");
    item.m_strPath = "DOC\\IMAGES\\";
    EXPECT_EQ(item.GetFullPath(), "DOC\\IMAGES\\A.BMP");
    item.m_strPath = "DOC";
    EXPECT_EQ(item.GetFullPath(), "DOC\\A.BMP");
    // A path ending in the trail byte 0x5C of 表 still needs its backslash.
    item.m_strPath = Sjis("表").c_str();
    EXPECT_EQ(std::string(item.GetFullPath()), Sjis("表\\A.BMP"));
}

TEST(Entries, DosDateTimeFields) {
    struct tm tm;
    // 1996-04-05 13:04:04: date word in the high half, time word in the low.
    DWORD value = ((DWORD)((16 << 9) | (4 << 5) | 5) << 16) | ((13 << 11) | (4 << 5) | 2);
    DosDateTimeToTm(value, &tm);
    EXPECT_EQ(tm.tm_year, 96);
    EXPECT_EQ(tm.tm_mon, 3);
    EXPECT_EQ(tm.tm_mday, 5);
    EXPECT_EQ(tm.tm_hour, 13);
    EXPECT_EQ(tm.tm_min, 4);
    EXPECT_EQ(tm.tm_sec, 4);
    EXPECT_EQ(tm.tm_isdst, 0);
}

// An archive object whose searches are scripted, for the listing loop.
class CScriptedArcfile : public CLha {
public:
    CScriptedArcfile() : CLha("") {}
    int FindNext(CArcfileItem* pItem) override {
        ++m_nCalls;
        return m_script[m_nCalls - 1];
    }
    int m_script[4] = {ARC_SKIP, ARC_SKIP, ARC_ENTRY, ARC_END};
    int m_nCalls = 0;
};

TEST(Entries, GetNextAsksAgainOnSkipAndKeepsTheStatus) {
    CScriptedArcfile arc;
    CArcfileItem item;
    EXPECT_EQ(arc.GetNext(&item), ARC_ENTRY);
    EXPECT_EQ(arc.m_nCalls, 3);
    EXPECT_EQ(arc.GetNext(&item), ARC_END);
    EXPECT_EQ(arc.GetStatus(), ARC_END);
}

TEST(Entries, ArchiveSizeFromTheFile) {
    EXPECT_EQ(CLha("").GetArchiveSize(), 0u);
    EXPECT_EQ(CLha("C:\\no\\such\\file.lzh").GetArchiveSize(), 0u);

    char dir[MAX_PATH], path[MAX_PATH];
    GetTempPathA(sizeof(dir), dir);
    GetTempFileNameA(dir, "arc", 0, path);
    FILE* f = fopen(path, "wb");
    ASSERT_NE(f, nullptr);
    fwrite("0123456789", 1, 10, f);
    fclose(f);
    CLha arc(path);
    EXPECT_EQ(arc.GetArchiveSize(), 10u);
    arc.m_dwArchiveSize = 77;
    EXPECT_EQ(arc.GetArchiveSize(), 77u);
    DeleteFileA(path);
}

}  // namespace
