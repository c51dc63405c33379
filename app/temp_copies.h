// The run's temporary copies of entries, for opening, viewing and dragging
// out: where each goes, its extraction, its record until exit, putting a
// changed one back into its archive, and its deletion. The application holds
// the one instance; views reach it through the application.
//
// Each copy keeps its entry's name (a program picks its handling by it). It
// lies in the temporary directory unless that path already belongs to another
// recorded copy or one of the same batch; then it gets a directory of its own,
// so two entries of one name never share a copy.
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

#include "framework/collections.h"
#include "framework/cstring.h"

class CArcfileItem;
class CArchiveDoc;

class CTempCopies {
public:
    // Copies planned together and extracted with one library call per
    // directory.
    class CBatch {
    public:
        explicit CBatch(CTempCopies& owner);

        // FALSE, after telling the user, when the system has no temporary
        // directory that can be used: copies must never go anywhere else.
        BOOL CheckDirectory() const;
        // Plans the copy of an entry; its path.
        CString Add(const CArcfileItem* pItem);
        // Extracts every planned entry; FALSE when any call failed (the
        // library has said why).
        BOOL Extract(CArchiveDoc& doc);
        // Records every planned copy until exit. bOfferBack: the user works
        // on it in its program, and a change is offered back into the archive.
        void Record(BOOL bOfferBack);

    private:
        struct Directory {
            CString strDir;           // ends in a backslash
            CStringArray names;       // names of its copies
            CStringArray fullPaths;   // the entries, as the library addresses them
        };
        CTempCopies& m_owner;
        CString m_strTempDir;
        CString m_strArchive;         // what Extract extracted from
        std::vector<std::unique_ptr<Directory>> m_dirs;
        CStringArray m_paths;         // planned copies, in the order added
        CStringArray m_entries;       // and their entries' full paths

        BOOL IsTaken(const CString& strPath) const;
        Directory* DirectoryFor(const CString& strName);
    };

    CTempCopies() = default;
    CTempCopies(const CTempCopies&) = delete;
    CTempCopies& operator=(const CTempCopies&) = delete;

    // Records a copy with its size and write time now. lpszArchive and
    // lpszEntry (may be NULL): where a copy offered back goes.
    void Record(LPCSTR lpszPath, LPCSTR lpszArchive = NULL, LPCSTR lpszEntry = NULL);
    // Deletes a copy that no program got, and forgets it.
    void Discard(LPCSTR lpszPath);
    BOOL IsRecorded(LPCSTR lpszPath) const;
    void GetRecordedPaths(CStringArray& paths) const;

    // Asks, one copy at a time, whether each copy offered back that changed
    // since recorded goes back into its archive; Yes puts it back, No asks
    // no more for it. The archives changed go to updated. Never asks while
    // it is already asking (a box re-activates the window that called).
    void OfferChanged(CStringArray& updated);

    // At exit: deletes every copy as recorded and forgets them all; a copy
    // changed since is kept and the user told where.
    void DeleteAll();

    // Deletes a copy, and the directory that was made for it once it is empty.
    static void DeleteCopy(LPCSTR lpszPath);

private:
    struct Copy {
        CString strPath;      // the copy
        CString strArchive;   // empty: never offered back
        CString strEntry;     // the entry's full path in the archive
        ULONGLONG ullSize = 0;
        FILETIME ftWritten = {};
        BOOL bStamped = FALSE;   // FALSE: there was no file when recorded
        BOOL bDeclined = FALSE;  // the user kept it out of the archive
        void Stamp();
        BOOL IsAsRecorded() const;
    };
    std::vector<Copy> m_copies;
    BOOL m_bOffering = FALSE;

    // Into its archive at the entry's path; FALSE when the archive took nothing.
    BOOL PutBack(const Copy& copy);

public:
    // Whether the list holds the path, letter case aside.
    static BOOL IsListed(const CStringArray& list, const CString& strPath);
};

// A directory of its own for copies in the temporary directory ("Zuvo<process>.<n>",
// ending in a backslash); empty when none can be made.
CString MakeCopyDirectory(const CString& strTempDir);
