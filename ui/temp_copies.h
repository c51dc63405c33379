// Temporary copies of entries, for opening, viewing and dragging out. Each
// copy keeps its entry's name (a program picks its handling by it). It lies in
// the temporary directory unless that path already belongs to another copy of
// this run or of the same batch; then it gets a new directory of its own, so
// two entries of one name never share a copy.
#pragma once

#include <memory>
#include <vector>

#include "framework/collections.h"
#include "framework/cstring.h"

class CArcfileItem;
class CArchiveDoc;

class CTempCopies {
public:
    explicit CTempCopies(CArchiveDoc* pDoc);

    // FALSE, after telling the user, when the system has no temporary
    // directory that can be used: copies must never go anywhere else.
    BOOL CheckDirectory() const;
    // Plans the copy of an entry; its path.
    CString Add(const CArcfileItem* pItem);
    // The planned paths, in the order added.
    const CStringArray& Paths() const { return m_paths; }

    // Extracts every planned entry, one library call per directory; FALSE
    // when any call failed (the library has said why).
    BOOL Extract();
    // Records every planned copy for deletion at exit.
    void Record();

private:
    struct Directory {
        CString strDir;           // ends in a backslash
        CStringArray names;       // names of its copies
        CStringArray fullPaths;   // the entries, as the library addresses them
    };
    CArchiveDoc* m_pDoc;
    CString m_strTempDir;
    std::vector<std::unique_ptr<Directory>> m_dirs;
    CStringArray m_paths;

    BOOL IsTaken(const CString& strPath) const;
    Directory* DirectoryFor(const CString& strName);
};

// Deletes a copy, and the directory that was made for it once it is empty.
void DeleteTempCopy(LPCSTR lpszPath);
