// CFileDataSource: the data of an OLE drag of rows out of the file list. It
// offers CF_HDROP and extracts the dragged entries only when a target asks
// for them after the mouse button has come up, once per drag.
#pragma once

#include "framework/collections.h"
#include "framework/ole_data_source.h"

class CFileView;

class CFileDataSource : public COleDataSource {
public:
    explicit CFileDataSource(CFileView* pView) : m_pView(pView) {}

    BOOL OnRenderGlobalData(LPFORMATETC lpFormatEtc, HGLOBAL* phGlobal) override;

    CFileView* m_pView;  // the view that started the drag; not owned

private:
    BOOL m_bExtracted = FALSE;
    CStringArray m_paths;  // the copies made for this drag
};
