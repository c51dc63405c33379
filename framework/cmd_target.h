// CCmdTarget: an object that handles commands through its message map.
// Windows, documents, templates and the application are command targets; a
// command travels along the route each of them gives in OnCmdMsg.
#pragma once

#include "framework/message_map.h"
#include "framework/object.h"

// Filled instead of calling the handler when a caller only asks who handles.
struct AFX_CMDHANDLERINFO {
    CCmdTarget* pTarget;
};

class CCmdTarget : public CObject {
    DECLARE_DYNAMIC(CCmdTarget)
public:
    CCmdTarget() {}

    // nCode is CN_COMMAND, CN_UPDATE_COMMAND_UI (pExtra a CCmdUI*) or
    // CN_NOTIFY(code) (pExtra an AFX_NOTIFY*). TRUE when handled here.
    virtual BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo);

    // Default for the busy cursor around long work.
    void BeginWaitCursor();
    void EndWaitCursor();

    // The map of a class without one of its own ends the chain.
    static const AFX_MSGMAP* PASCAL GetThisMessageMap();
    virtual const AFX_MSGMAP* GetMessageMap() const;

    // The first entry in this object's map chain for a message, code and id.
    static const AFX_MSGMAP_ENTRY* FindEntry(const AFX_MSGMAP* pMap, UINT nMessage, UINT nCode,
                                             UINT nID);
};

// What WM_NOTIFY carries along the route.
struct AFX_NOTIFY {
    LRESULT* pResult;
    NMHDR* pNMHDR;
};
