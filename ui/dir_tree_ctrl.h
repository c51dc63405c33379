// CDirTreeCtrl: the tree control of the directory pane, with the folder
// images of bitmap 134 (0 closed folder, 1 open folder).
#pragma once

#include "framework/controls.h"
#include "framework/image_list.h"

class CDirTreeCtrl : public CTreeCtrl {
    DECLARE_DYNAMIC(CDirTreeCtrl)
public:
    CImageList m_imageList;

    // A width that shows an 8.3 folder name two levels below the top node.
    int GetFittingWidth() const;

    afx_msg int OnCreate(LPCREATESTRUCTA lpcs);

protected:
    DECLARE_MESSAGE_MAP()
};
