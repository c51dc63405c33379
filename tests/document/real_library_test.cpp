// CArchiveDoc over the real unlha32.dll, on an archive that jlha made.
#if defined(ZUVO_JLHA_SAMPLE) && defined(ZUVO_REAL_UNLHA32_DIR)

#include "app/archive_doc.h"

#include "engine/arcfile_item.h"
#include "tests/fake_unlha32/fake_control.h"
#include "tests/support/dialog_watcher.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(RealLibrary, AnArchiveMadeByJlhaListsIntoTheEntries) {
    ASSERT_EQ(GetModuleHandleA("unlha32.dll"), nullptr) << "a scripted library is still loaded";
    SetDllDirectoryA(ZUVO_REAL_UNLHA32_DIR);
    DialogWatcher boxes;
    {
        CArchiveDoc doc;
        ASSERT_TRUE(doc.Load(ZUVO_JLHA_SAMPLE));
        ASSERT_EQ(doc.GetEntryCount(), 2);
        const CArcfileItem* a = doc.GetEntry(0);
        const CArcfileItem* b = doc.GetEntry(1);
        EXPECT_EQ(std::string(a->m_strName), "A.TXT");
        EXPECT_EQ(std::string(a->m_strPath), "");
        EXPECT_EQ(a->m_dwOriginalSize, 6u);
        EXPECT_EQ(std::string(b->m_strName), "B.TXT");
        EXPECT_EQ(std::string(b->m_strPath), "DOC\\");
        EXPECT_EQ(b->m_dwOriginalSize, 6u);
    }
    EXPECT_EQ(GetModuleHandleA("unlha32.dll"), nullptr) << "the listing kept the library";
    EXPECT_EQ(boxes.Count(), 0u);
    HideUnlha32();
}

}  // namespace

#endif
