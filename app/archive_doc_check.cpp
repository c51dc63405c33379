// The document's archive tested, and one entry's stored facts: both read the
// archive afresh through the library and change nothing.
#include "app/archive_doc.h"

#include "engine/entry_properties.h"
#include "engine/test_report.h"

BOOL CArchiveDoc::HasEntries() const { return HasArchive() && GetEntryCount() > 0; }

BOOL CArchiveDoc::TestEntries(const CStringArray& names, CTestReport* pReport) {
    return CallLibrary([&](CArcfile& archive) { return archive.Test(names, pReport); }, NULL);
}

BOOL CArchiveDoc::GetEntryProperties(LPCSTR pszFullPath, CEntryProperties* pProps) {
    return CallLibrary([&](CArcfile& archive) { return archive.GetProperties(pszFullPath, pProps); }, NULL);
}
