// Dropped-file blocks: the DROPFILES header followed by the names, each with
// its zero byte, and one more zero byte after the last; a movable global block
// as CF_HDROP and WM_DROPFILES carry it.
#pragma once

#include <windows.h>
#include <shlobj.h>

#include "framework/collections.h"

// A block naming the paths, sized to them; NULL for no paths or no memory.
HGLOBAL BuildDropFiles(const CStringArray& paths, POINT pt = POINT{0, 0}, BOOL bNonClient = FALSE);

// A copy of a dropped-file block (for handing on data the caller does not own).
HGLOBAL CopyDropFiles(HGLOBAL hDrop);

// The own drag loop: tracks the mouse with the capture until the left button
// comes up, finds a window that accepts dropped files under it, builds the
// block for it and posts it WM_DROPFILES. The block passes to the target with
// the message; a block that is never posted is freed here.
class CFileDrag {
public:
    // hWndOwner takes the capture while the mouse is tracked.
    explicit CFileDrag(HWND hWndOwner);
    ~CFileDrag();

    // Runs the drag for nFiles files; TRUE when it ended over an acceptable
    // target and the (still empty) block exists. A failed allocation is
    // reported and gives FALSE.
    BOOL Track(int nFiles);
    // Appends a name; on failure the block is freed and FALSE returned.
    BOOL AddFile(LPCSTR lpszPath);
    // Posts WM_DROPFILES with the block; the target window.
    HWND Drop();
    // "Not enough memory for drag&drop." with the stop icon.
    static void ReportNoMemory();
    // An empty block with its header.
    static HGLOBAL CreateDropBlock(POINT pt, BOOL bNonClient, BOOL bWide);
    // The window at pt that would take the drop (itself or the nearest
    // ancestor with WS_EX_ACCEPTFILES), NULL when none or when it belongs to
    // the program's main window.
    static HWND FindTarget(POINT ptScreen);

    HGLOBAL m_hDrop;
    HWND m_hWndTarget;

private:
    HWND m_hWndOwner;
    POINT m_ptLast;
    // Follows the mouse until the button is released (TRUE) or the drag is
    // cancelled: Escape, a lost capture, the end of the program (FALSE).
    BOOL FollowMouse(HCURSOR hDrag, HCURSOR hNoDrop);
};
