// The directory tree and the file list in the real main window, driven in
// process over the scripted library: what the panes show, sorting, the
// remembered columns, and the commands on the selected rows.
#include <gtest/gtest.h>
#include <shlobj.h>

#include <algorithm>
#include <cstring>
#include <functional>

#include <string>
#include <vector>

#include "app/archive_doc.h"
#include "app/zuvo_app.h"
#include "engine/arcfile_item.h"
#include "framework/cmd_ui.h"
#include "res/resource.h"
#include "tests/fake_unlha32/fake_control.h"
#include "tests/support/dialog_watcher.h"
#include "tests/support/running_app.h"
#include "tests/support/text.h"
#include "ui/dir_view.h"
#include "ui/entry_cells.h"
#include "ui/file_view.h"
#include "ui/find_dlg.h"
#include "ui/main_frame.h"
#include "ui/status_counts.h"

namespace {

WORD DosDate(int y, int m, int d) { return (WORD)(((y - 1980) << 9) | (m << 5) | d); }
WORD DosTime(int h, int m, int s) { return (WORD)((h << 11) | (m << 5) | (s / 2)); }

class Views : public RunningAppOverFake {
protected:
    // Column texts of every row, "|" between cells, one string per row.
    std::vector<std::string> Rows(int nColumns = 1) {
        std::vector<std::string> rows;
        for (int i = 0; i < List().GetItemCount(); ++i) {
            std::string row;
            for (int c = 0; c < nColumns; ++c)
                row += (c ? "|" : "") + std::string(List().GetItemText(i, c));
            rows.push_back(row);
        }
        return rows;
    }
    // The tree as "label(child,child)", with "+" after each expanded node
    // that has children.
    std::string TreeText(HTREEITEM hItem) {
        CTreeCtrl& tree = Tree()->m_wndTree;
        std::string text;
        for (; hItem != NULL; hItem = tree.GetNextSiblingItem(hItem)) {
            if (!text.empty()) text += ",";
            text += Utf8(std::string(tree.GetItemText(hItem)));
            if (HTREEITEM hChild = tree.GetChildItem(hItem)) {
                bool bExpanded = tree.SendMessage(TVM_GETITEMSTATE, (WPARAM)hItem, TVIS_EXPANDED) & TVIS_EXPANDED;
                text += std::string(bExpanded ? "+" : "") + "(" + TreeText(hChild) + ")";
            }
        }
        return text;
    }
    void SelectRows(std::initializer_list<int> rows) {
        List().SetItemState(-1, 0, LVIS_SELECTED);
        for (int i : rows) List().SetItemState(i, LVIS_SELECTED, LVIS_SELECTED);
    }
    void ActivateFiles() { Frame()->SetActiveView(Files()); }
};

TEST_F(Views, TreeShowsEveryFolderOnceAndANodeListsJustItsFiles) {
    // 表 is 0x95 0x5C: its second byte must not split the folder name.
    std::string hyo = Sjis("表");
    lib.AddRecord("ROOT.TXT", 5, 5);
    lib.AddRecord("A\\B\\ONE.TXT", 5, 5);
    lib.AddRecord("A\\C\\TWO.TXT", 5, 5);
    lib.AddRecord("DOC\\X.TXT", 5, 5);
    lib.AddRecord("Doc\\Y.TXT", 5, 5);
    lib.AddRecord(("DOC\\" + hyo + "\\Z.TXT").c_str(), 5, 5);
    lib.AddRecord("DOC\\W.TXT", 5, 5);
    ASSERT_TRUE(Start(archive));
    CTreeCtrl& tree = Tree()->m_wndTree;
    std::string text = TreeText(tree.GetRootItem());
    EXPECT_TRUE(text == "SAMPLE.LZH+(A+(B,C),DOC+(表),Doc)" || text == "SAMPLE.LZH+(A+(B,C),Doc,DOC+(表))")
        << text;
    EXPECT_EQ(tree.GetSelectedItem(), tree.GetRootItem());
    EXPECT_TRUE(tree.GetStyle() & TVS_HASLINES);
    EXPECT_EQ(Rows(), std::vector<std::string>({"ROOT.TXT"}));

    // Walking down with the keyboard lists each folder's own files only;
    // the top node lists the root again.
    std::vector<std::pair<std::string, std::vector<std::string>>> expected;
    for (HTREEITEM h = tree.GetChildItem(tree.GetRootItem()); h != NULL; h = tree.GetNextSiblingItem(h)) {
        std::string label = std::string(tree.GetItemText(h));
        if (label == "A") {
            expected.push_back({"A\\", {}});
            expected.push_back({"A\\B\\", {"ONE.TXT"}});
            expected.push_back({"A\\C\\", {"TWO.TXT"}});
        } else if (label == "DOC") {
            expected.push_back({"DOC\\", {"W.TXT", "X.TXT"}});
            expected.push_back({"DOC\\" + hyo + "\\", {"Z.TXT"}});
        } else {
            expected.push_back({"Doc\\", {"Y.TXT"}});
        }
    }
    for (const auto& step : expected) {
        tree.SendMessage(WM_KEYDOWN, VK_DOWN, 0);
        EXPECT_EQ(std::string(Tree()->GetSelectedPath()), step.first);
        EXPECT_EQ(Rows(), step.second) << Utf8(step.first);
        EXPECT_EQ(Files()->GetDocument()->GetCurrentDir(), step.first.c_str());
    }
    tree.SendMessage(WM_KEYDOWN, VK_HOME, 0);
    EXPECT_EQ(std::string(Tree()->GetSelectedPath()), "");
    EXPECT_EQ(Rows(), std::vector<std::string>({"ROOT.TXT"}));

    // A folder path far beyond MAX_PATH is one node like any other.
    Stop();
    ASSERT_TRUE(lib.HeldOnlyByUs());  // and a fresh script
    std::string longDir(300, 'L');
    lib.AddRecord((longDir + "\\F.TXT").c_str(), 1, 1);
    lib.SetCheckResult(TRUE);
    ASSERT_TRUE(Start(archive));
    EXPECT_EQ(TreeText(Tree()->m_wndTree.GetRootItem()), "SAMPLE.LZH+(" + longDir + ")");

    // Folder entries show without files in them (an archive damaged right
    // after its folders).
    Stop();
    ASSERT_TRUE(lib.HeldOnlyByUs());
    for (const char* folder : {"ONE\\", "ONE\\TWO\\", "THREE\\"}) lib.AddRecord(folder);
    lib.SetCheckResult(TRUE);
    ASSERT_TRUE(Start(archive));
    EXPECT_EQ(TreeText(Tree()->m_wndTree.GetRootItem()), "SAMPLE.LZH+(ONE+(TWO),THREE)");
    EXPECT_EQ(Rows(), std::vector<std::string>{});
}

TEST_F(Views, RowsShowSizeTypeRatioAndDateAndHeadersAreTheFiveColumns) {
    lib.AddRecord("EMPTY.ZQ1", 0, 0, DosDate(1999, 12, 31), DosTime(23, 59, 58));
    lib.AddRecord("TENK.ZQ1", 10000, 4000, DosDate(2004, 2, 9), DosTime(8, 5, 0));
    lib.AddRecord("B1025", 1025, 1076, DosDate(2000, 1, 1), DosTime(0, 0, 0));
    lib.AddRecord("MEG", 1048576, 1048576);
    lib.AddRecord("HALF", 100000000, 50000000);
    lib.AddRecord("HUGE", 4294967295u, 4294967295u);
    lib.AddRecord("BIGGER", 4000000000u, 4100000000u);
    ASSERT_TRUE(Start(archive));
    std::vector<std::string> rows = Rows(5);
    std::vector<std::string> expected = {
        "B1025|2KB||104%|00/01/01 00:00:00",
        "BIGGER|3,906,250KB||102%|80/00/00 00:00:00",
        "EMPTY.ZQ1|0KB|" + Sjis("ZQ1 ﾌｧｲﾙ") + "||99/12/31 23:59:58",
        "HALF|97,657KB||50%|80/00/00 00:00:00",
        "HUGE|4,194,304KB||100%|80/00/00 00:00:00",
        "MEG|1,024KB||100%|80/00/00 00:00:00",
        "TENK.ZQ1|10KB|" + Sjis("ZQ1 ﾌｧｲﾙ") + "|40%|04/02/09 08:05:00",
    };
    EXPECT_EQ(rows, expected);
    // The first row is selected and focused after a listing.
    EXPECT_EQ(List().GetItemState(0, LVIS_SELECTED | LVIS_FOCUSED), (UINT)(LVIS_SELECTED | LVIS_FOCUSED));
    EXPECT_EQ(List().GetSelectedCount(), 1);

    // Without the rows of 1 GB and more, the control's own measure of what
    // the header and the cells need fits in every default width.
    for (const char* big : {"BIGGER", "HUGE"}) {
        LVFINDINFOA find = {LVFI_STRING, big};
        List().DeleteItem((int)List().SendMessage(LVM_FINDITEMA, (WPARAM)-1, (LPARAM)&find));
    }
    const char* headers[] = {"名前", "ｻｲｽﾞ", "ﾌｧｲﾙの種類", "圧縮率", "作成日"};
    for (int i = 0; i < 5; ++i) {
        char szText[64] = "";
        LVCOLUMNA column = {};
        column.mask = LVCF_TEXT | LVCF_FMT | LVCF_WIDTH;
        column.pszText = szText;
        column.cchTextMax = sizeof(szText);
        ASSERT_TRUE(List().SendMessage(LVM_GETCOLUMNA, i, (LPARAM)&column));
        EXPECT_EQ(std::string(szText), Sjis(headers[i]));
        EXPECT_EQ(column.fmt & LVCFMT_JUSTIFYMASK, i == 1 ? LVCFMT_RIGHT : LVCFMT_LEFT);
        // The last column would be stretched to the control's edge by the header's measure.
        List().SendMessage(LVM_SETCOLUMNWIDTH, i, i < 4 ? LVSCW_AUTOSIZE_USEHEADER : LVSCW_AUTOSIZE);
        EXPECT_GE(column.cx, List().GetColumnWidth(i)) << i;
        List().SetColumnWidth(i, column.cx);
    }
}

TEST_F(Views, EachSortKeyOrdersBothWaysAndTheOrderIsRemembered) {
    // Name, size, extension, ratio and date each order these differently.
    lib.AddRecord("b.txz", 300, 30, DosDate(2001, 1, 1), DosTime(0, 0, 0));                  // 10%
    lib.AddRecord("A.TXT", 100, 0, DosDate(2003, 1, 1), DosTime(0, 0, 0));                   // 0%
    lib.AddRecord("c", 4294967295u, 4294967295u, DosDate(2002, 1, 1), DosTime(0, 0, 0));     // 100%
    lib.AddRecord("d.Bmp", 0, 0, DosDate(2002, 1, 1), DosTime(12, 0, 0));                    // none
    lib.AddRecord("E.ARJ", 4000000000u, 2000000000u, DosDate(1999, 1, 1), DosTime(0, 0, 0)); // 50%
    ASSERT_TRUE(Start(archive));
    ActivateFiles();
    typedef std::vector<std::string> Order;
    EXPECT_EQ(Rows(), Order({"A.TXT", "b.txz", "c", "d.Bmp", "E.ARJ"}));

    struct Step {
        UINT nCommand;  // 0: a click on the ratio column's header
        int nColumn;
        Order order;
    };
    const Step steps[] = {
        {ID_SORT_NAME, 0, {"E.ARJ", "d.Bmp", "c", "b.txz", "A.TXT"}},
        {ID_SORT_SIZE, 1, {"c", "E.ARJ", "b.txz", "A.TXT", "d.Bmp"}},  // stays descending
        {ID_SORT_SIZE, 1, {"d.Bmp", "A.TXT", "b.txz", "E.ARJ", "c"}},
        {ID_SORT_EXT, 2, {"c", "E.ARJ", "d.Bmp", "A.TXT", "b.txz"}},
        {ID_SORT_EXT, 2, {"b.txz", "A.TXT", "d.Bmp", "E.ARJ", "c"}},
        {0, 3, {"c", "E.ARJ", "b.txz", "A.TXT", "d.Bmp"}},
        {0, 3, {"d.Bmp", "A.TXT", "b.txz", "E.ARJ", "c"}},
        {ID_SORT_DATE, 4, {"E.ARJ", "b.txz", "c", "d.Bmp", "A.TXT"}},  // 1999 before 2001
        {ID_SORT_DATE, 4, {"A.TXT", "d.Bmp", "c", "b.txz", "E.ARJ"}},
    };
    const UINT sortCommands[] = {ID_SORT_NAME, ID_SORT_SIZE, ID_SORT_EXT, 0, ID_SORT_DATE};
    for (const Step& step : steps) {
        if (step.nCommand != 0) {
            Frame()->SendMessage(WM_COMMAND, step.nCommand);
        } else {
            NMLISTVIEW click = {};
            click.hdr.hwndFrom = List().m_hWnd;
            click.hdr.idFrom = 8000;
            click.hdr.code = LVN_COLUMNCLICK;
            click.iSubItem = 3;
            Files()->SendMessage(WM_NOTIFY, 8000, (LPARAM)&click);
        }
        EXPECT_EQ(Rows(), step.order) << step.nCommand << " " << step.nColumn;
        for (int c = 0; c < 5; ++c)
            if (sortCommands[c] != 0) {
                EXPECT_EQ(State(sortCommands[c]).m_nCheck, c == step.nColumn ? 1 : 0);
            }
    }
    Stop();
    EXPECT_EQ(theApp.GetProfileInt("setting", "nSortOrder", -1), 4 | 0x8000);
    ASSERT_TRUE(Start(archive));
    EXPECT_EQ(Rows(), steps[8].order);

    // Ties and the units of the comparison, straight from the rule.
    auto item = [](const char* name, DWORD original, DWORD compressed) {
        CArcfileItem* p = new CArcfileItem;
        p->m_strName = name;
        p->m_dwOriginalSize = original;
        p->m_dwCompressedSize = compressed;
        return p;
    };
    std::string kanji = Sjis("表"), kanjiA = Sjis("表a"), kanjiB = Sjis("表B");
    CArcfileItem* a = item("A.TXT", 50000000, 100000000);
    CArcfileItem* b = item("b.txt", 100000000, 50000000);
    CArcfileItem* k1 = item(kanjiA.c_str(), 4294967295u, 2147483648u);
    CArcfileItem* k2 = item(kanjiB.c_str(), 4294967294u, 2147483647u);
    auto cmp = [](CArcfileItem* x, CArcfileItem* y, int order) {
        return CFileListCtrl::CompareItems((LPARAM)x, (LPARAM)y, order);
    };
    EXPECT_EQ(cmp(a, b, 2), 0);                // .TXT and .txt
    EXPECT_GT(cmp(a, b, 3), 0);                // 200% after 50%
    EXPECT_LT(cmp(a, b, 3 | 0x8000), 0);
    EXPECT_EQ(cmp(k1, k2, 3), 0);              // both 50% near 4 GiB
    EXPECT_LT(cmp(k1, k2, 0), 0);              // 表a before 表B: a double-byte unit, then a letter
    EXPECT_GT(cmp(k1, k2, 1), 0);             // 4294967295 after 4294967294
    EXPECT_EQ(cmp(a, b, 7), 0);                // no such column
    // Beyond 4 GiB: 8 GiB packed to 4 GiB is 50% and larger than 4 GiB - 1.
    CArcfileItem* big = item("BIG", 0, 0);
    big->m_dwOriginalSizeHigh = 2;
    big->m_dwCompressedSizeHigh = 1;
    EXPECT_EQ(std::string(RatioText(*big)), "50%");
    EXPECT_EQ(std::string(KilobyteText(big->GetOriginalSize())), "8,388,608KB");
    EXPECT_GT(cmp(big, k1, 1), 0);
    EXPECT_EQ(cmp(big, k1, 3), 0);
    for (CArcfileItem* p : {a, b, k1, k2, big}) delete p;
}

TEST_F(Views, NamesSortAsThePlatformFoldsThemAndAnAbsoluteFolderHasALabel) {
    lib.AddRecord(Sjis("ｂ1.TXT").c_str(), 1, 1);  // full-width b, lower case
    lib.AddRecord(Sjis("Ｂ2.TXT").c_str(), 1, 1);  // full-width B, upper case
    lib.AddRecord("C.TXT", 1, 1);
    lib.AddRecord("_U.TXT", 1, 1);
    lib.AddRecord("[V].TXT", 1, 1);
    lib.AddRecord("\\ABS\\X.TXT", 1, 1);  // stored as an absolute name
    ASSERT_TRUE(Start(archive));
    std::vector<std::string> rows = Rows();
    auto at = [&rows](const std::string& name) { return std::find(rows.begin(), rows.end(), name) - rows.begin(); };
    EXPECT_LT(at(Sjis("ｂ1.TXT")), at(Sjis("Ｂ2.TXT")));
    EXPECT_LT(at("_U.TXT"), at("C.TXT"));
    EXPECT_LT(at("[V].TXT"), at("C.TXT"));
    // The empty first component of an absolute name is a node a user can
    // read, and choosing it still lists the entries stored under it.
    CTreeCtrl& tree = Tree()->m_wndTree;
    EXPECT_EQ(TreeText(tree.GetRootItem()), "SAMPLE.LZH+(\\+(ABS))");
    tree.SendMessage(WM_KEYDOWN, VK_DOWN, 0);
    tree.SendMessage(WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_EQ(std::string(Tree()->GetSelectedPath()), "\\ABS\\");
    EXPECT_EQ(Rows(), std::vector<std::string>({"X.TXT"}));
}

// Every shortcut a menu item shows is a key of the window's table that
// sends that item's command, and the items that have keys show them.
TEST_F(Views, EveryKeyShownInTheMenusSendsThatItemsCommand) {
    ASSERT_TRUE(Start(archive));
    HACCEL hAccel = Frame()->m_hAccelTable;
    std::vector<ACCEL> keys(CopyAcceleratorTableA(hAccel, NULL, 0));
    CopyAcceleratorTableA(hAccel, keys.data(), (int)keys.size());
    auto command = [&keys](const std::string& shown) -> int {
        BYTE fVirt = FVIRTKEY;
        std::string key = shown;
        if (key.rfind("Ctrl+", 0) == 0) fVirt |= FCONTROL, key = key.substr(5);
        if (key.rfind("Alt+", 0) == 0) fVirt |= FALT, key = key.substr(4);
        WORD vk = key == "Del" ? VK_DELETE : key == "Enter" ? VK_RETURN : (WORD)(BYTE)key[0];
        if (key.size() > 1 && key[0] == 'F') vk = (WORD)(VK_F1 + atoi(key.c_str() + 1) - 1);
        for (const ACCEL& a : keys)
            if (a.key == vk && (a.fVirt & ~FNOINVERT) == fVirt) return a.cmd;
        return -1;
    };
    std::vector<std::string> shown;
    std::function<void(HMENU)> walk = [&](HMENU hMenu) {
        for (int i = 0; i < GetMenuItemCount(hMenu); ++i) {
            if (HMENU hSub = GetSubMenu(hMenu, i)) {
                walk(hSub);
                continue;
            }
            char szText[256] = "";
            GetMenuStringA(hMenu, i, szText, sizeof(szText), MF_BYPOSITION);
            const char* tab = strchr(szText, '\t');
            if (tab == NULL) continue;
            shown.push_back(tab + 1);
            EXPECT_EQ(command(tab + 1), (int)GetMenuItemID(hMenu, i)) << Utf8(szText);
        }
    };
    walk(::GetMenu(Frame()->m_hWnd));
    EXPECT_EQ(shown, (std::vector<std::string>{"Ctrl+N", "Ctrl+O", "Del", "Ctrl+V", "Ctrl+A", "Ctrl+C", "Alt+Enter",
                                                "Ctrl+F", "F5"}));
}

TEST_F(Views, DamagedStoredColumnsFallBackAndListModeKeepsTheWidths) {
    lib.AddRecord("B.TXT", 1, 1);
    lib.AddRecord("A.TXT", 1, 1);
    ASSERT_TRUE(Start(archive));
    std::vector<int> firstRun;
    for (int i = 0; i < 3; ++i) firstRun.push_back(List().GetColumnWidth(i));
    Stop();
    theApp.WriteProfileInt("settings", "nColumnWidth0", 100000);
    theApp.WriteProfileInt("settings", "nColumnWidth1", 0);
    theApp.WriteProfileInt("settings", "nColumnWidth2", -5);
    theApp.WriteProfileInt("settings", "nColumnWidth3", 77);
    theApp.WriteProfileInt("setting", "nSortOrder", 7);
    ASSERT_TRUE(Start(archive));
    ActivateFiles();
    EXPECT_EQ(std::vector<int>({List().GetColumnWidth(0), List().GetColumnWidth(1), List().GetColumnWidth(2)}), firstRun);
    EXPECT_EQ(List().GetColumnWidth(3), 77);
    EXPECT_EQ(List().GetSortColumn(), 0);
    EXPECT_EQ(Rows(), std::vector<std::string>({"A.TXT", "B.TXT"}));

    // List mode and back keeps rows, selection and order; closing in list
    // mode keeps the report widths.
    List().SetColumnWidth(4, 91);
    SelectRows({1});
    Frame()->SendMessage(WM_COMMAND, ID_VIEW_LIST);
    EXPECT_EQ(List().GetStyle() & LVS_TYPEMASK, (DWORD)LVS_LIST);
    EXPECT_FALSE(Files()->m_bDetails);
    EXPECT_TRUE(List().GetStyle() & WS_VISIBLE);
    Frame()->SendMessage(WM_COMMAND, ID_VIEW_DETAILS);
    EXPECT_EQ(List().GetStyle() & LVS_TYPEMASK, (DWORD)LVS_REPORT);
    EXPECT_EQ(Rows(), std::vector<std::string>({"A.TXT", "B.TXT"}));
    EXPECT_EQ(List().GetNextItem(-1, LVNI_SELECTED), 1);
    Frame()->SendMessage(WM_COMMAND, ID_VIEW_LIST);
    Stop();
    int defaultName = theApp.GetProfileInt("settings", "nColumnWidth0", -1);
    EXPECT_GT(defaultName, 0);
    EXPECT_EQ(theApp.GetProfileInt("settings", "nColumnWidth3", -1), 77);
    EXPECT_EQ(theApp.GetProfileInt("settings", "nColumnWidth4", -1), 91);
    EXPECT_EQ(theApp.GetProfileInt("setting", "nSortOrder", -1), 0);
}

TEST_F(Views, DeleteAsksOnlyWithASelectionAndYesDeletesAndRelists) {
    lib.AddRecord("ROOT.TXT", 1, 1);
    lib.AddRecord("DOC\\A.TXT", 1, 1);
    lib.AddRecord("DOC\\B C.TXT", 1, 1);
    ASSERT_TRUE(Start(archive));
    ActivateFiles();
    Tree()->m_wndTree.SendMessage(WM_KEYDOWN, VK_DOWN, 0);
    ASSERT_EQ(Rows(), std::vector<std::string>({"A.TXT", "B C.TXT"}));
    ActivateFiles();
    EXPECT_TRUE(State(ID_DELETE).m_bEnabled);
    EXPECT_TRUE(State(ID_SELECT_ALL).m_bEnabled);

    SelectRows({});
    EXPECT_TRUE(State(ID_DELETE).m_bEnabled);  // rows, though none selected
    EXPECT_FALSE(State(ID_EXTRACT).m_bEnabled);
    EXPECT_FALSE(State(ID_RENAME).m_bEnabled);
    lib.ClearCalls();
    Files()->SendMessage(WM_COMMAND, ID_DELETE);
    EXPECT_EQ(boxes.Count(), 0u);
    EXPECT_TRUE(lib.CommandLines().empty());

    Frame()->SendMessage(WM_COMMAND, ID_SELECT_ALL);
    EXPECT_EQ(List().GetSelectedCount(), 2);
    EXPECT_FALSE(State(ID_VIEW_ENTRY).m_bEnabled);
    EXPECT_FALSE(State(ID_MINIVIEWER).m_bEnabled);
    EXPECT_TRUE(State(ID_EXTRACT).m_bEnabled);
    boxes.QueueAnswer(IDNO);
    Frame()->SendMessage(WM_COMMAND, ID_DELETE);
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Seen()[0].text, Sjis("2 個のファイルを削除してよろしいですか?"));
    EXPECT_EQ(boxes.Seen()[0].icon, (UINT)MB_ICONQUESTION);
    EXPECT_TRUE(lib.CommandLines().empty());

    boxes.QueueAnswer(IDYES);
    Frame()->SendMessage(WM_COMMAND, ID_DELETE);
    ASSERT_EQ(boxes.Count(), 2u);
    std::vector<std::string> lines = lib.CommandLines();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].substr(0, 5), "d -p ");
    EXPECT_NE(lines[0].find(" DOC\\A.TXT \"DOC\\B C.TXT\""), std::string::npos) << lines[0];
    // Listed again, the folder still there stays shown (the scripted
    // library lists the same entries again).
    EXPECT_EQ(std::string(Tree()->GetSelectedPath()), "DOC\\");
    EXPECT_EQ(Rows(), std::vector<std::string>({"A.TXT", "B C.TXT"}));

    // Rename names the first selected entry to the library, then shows the
    // archive afresh in the same folder.
    lib.ClearCalls();
    SelectRows({1});
    Frame()->SendMessage(WM_COMMAND, ID_RENAME);
    lines = lib.CommandLines();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0], "n  " + std::string(Doc()->GetPathName()) + " DOC\\B C.TXT");
    EXPECT_EQ(Rows(), std::vector<std::string>({"A.TXT", "B C.TXT"}));

    // A double click and a right click on the list are posted to the view as
    // View and MiniViewer; the control itself does nothing with them.
    for (UINT code : {(UINT)NM_DBLCLK, (UINT)NM_RCLICK}) {
        NMITEMACTIVATE click = {};
        click.hdr.hwndFrom = List().m_hWnd;
        click.hdr.idFrom = 8000;
        click.hdr.code = code;
        Files()->SendMessage(WM_NOTIFY, 8000, (LPARAM)&click);
        MSG msg = {};
        ASSERT_TRUE(PeekMessageA(&msg, Files()->m_hWnd, WM_COMMAND, WM_COMMAND, PM_REMOVE));
        EXPECT_EQ(msg.wParam, code == (UINT)NM_DBLCLK ? (WPARAM)ID_VIEW_ENTRY : (WPARAM)ID_MINIVIEWER);
        EXPECT_EQ(msg.lParam, 0);
    }
}

// A folder chosen in the tree: Delete asks naming it and how many files it
// holds and hands the library its path, Rename hands it to the library's
// dialog; dropped files go into the folder shown; each change comes back to
// the folder shown.
TEST_F(Views, TheTreeDeletesAndRenamesFoldersAndDropsGoIntoTheFolderShown) {
    lib.AddRecord("ROOT.TXT", 1, 1);
    lib.AddRecord("DOC\\A.TXT", 1, 1);
    lib.AddRecord("DOC\\SUB\\B.TXT", 1, 1);
    lib.AddRecord("DOC\\EMPTY\\");
    ASSERT_TRUE(Start(archive));
    Frame()->SetActiveView(Tree());
    EXPECT_FALSE(State(ID_DELETE).m_bEnabled);  // the top node is the archive
    EXPECT_FALSE(State(ID_RENAME).m_bEnabled);
    ASSERT_TRUE(Tree()->SelectFolder("DOC\\"));
    EXPECT_TRUE(State(ID_DELETE).m_bEnabled);
    EXPECT_TRUE(State(ID_RENAME).m_bEnabled);

    lib.ClearCalls();
    boxes.QueueAnswer(IDNO);
    Frame()->SendMessage(WM_COMMAND, ID_DELETE);
    ASSERT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(boxes.Seen()[0].text, Sjis("フォルダ DOC と、その中の 2 個のファイルを削除してよろしいですか?"));
    EXPECT_TRUE(lib.CommandLines().empty());
    boxes.QueueAnswer(IDYES);
    Frame()->SendMessage(WM_COMMAND, ID_DELETE);
    Frame()->SendMessage(WM_COMMAND, ID_RENAME);
    std::vector<std::string> lines = lib.CommandLines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].substr(0, 7), "d -p -w");
    EXPECT_EQ(lines[0].substr(lines[0].size() - 15), "SAMPLE.LZH  DOC");
    EXPECT_EQ(lines[1], "n  " + std::string(Doc()->GetPathName()) + " DOC");
    EXPECT_EQ(std::string(Tree()->GetSelectedPath()), "DOC\\");

    Frame()->SetActiveView(Tree());  // the re-opening after a rename activates the list
    ASSERT_TRUE(Tree()->SelectFolder("DOC\\EMPTY\\"));  // there only as its own entry
    boxes.QueueAnswer(IDNO);
    Frame()->SendMessage(WM_COMMAND, ID_DELETE);
    EXPECT_EQ(boxes.Seen().back().text, Sjis("空のフォルダ DOC\\EMPTY を削除してよろしいですか?"));

    ASSERT_TRUE(Tree()->SelectFolder("DOC\\SUB\\"));
    lib.ClearCalls();
    boxes.QueueAnswer(IDYES);
    Frame()->SendMessage(WM_DROPFILES, (WPARAM)MakeDrop({MakeFile("NEW1.TXT"), MakeFile("NEW2.TXT")}));
    EXPECT_EQ(boxes.Seen().back().text,
              Sjis("ドロップされた 2 個のファイルを SAMPLE.LZH のフォルダ DOC\\SUB に圧縮しますか?"));
    lines = lib.CommandLines();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].substr(0, 18), "u -n -fDOC\\SUB\\ -w");
    EXPECT_EQ(std::string(Tree()->GetSelectedPath()), "DOC\\SUB\\");
    EXPECT_EQ(Rows(), std::vector<std::string>({"B.TXT"}));
}

TEST_F(Views, ExtractAsksForAFolderAndSendsTheSelectionOrTheNode) {
    lib.AddRecord("ROOT.TXT", 1, 1);
    lib.AddRecord("DOC\\A.TXT", 1, 1);
    lib.AddRecord("DOC\\B C.TXT", 1, 1);
    std::string dest = ScratchDir() + "dest\\";
    CreateDirectoryA(dest.c_str(), NULL);
    theApp.WriteProfileString("setting", "strOpenDir", dest.c_str());
    ASSERT_TRUE(Start(archive));
    Tree()->m_wndTree.SendMessage(WM_KEYDOWN, VK_DOWN, 0);
    ActivateFiles();
    Frame()->SendMessage(WM_COMMAND, ID_SELECT_ALL);
    CArchiveDoc* pDoc = Doc();

    // The chooser shows the document's choice; what the user leaves in the
    // box goes back to the document and into the command.
    auto answer = [&](int check, int button) {
        boxes.QueueAction([=](HWND hDlg, const SeenDialog&) {
            HWND hBox = GetDlgItem(hDlg, 1039);
            EXPECT_EQ(SendMessageA(hBox, BM_GETCHECK, 0, 0), pDoc->m_bDirUnpack ? BST_CHECKED : BST_UNCHECKED);
            SendMessageA(hBox, BM_SETCHECK, check, 0);
            return button;
        });
    };
    pDoc->m_bDirUnpack = TRUE;
    lib.ClearCalls();
    answer(BST_UNCHECKED, IDCANCEL);
    Frame()->SendMessage(WM_COMMAND, ID_EXTRACT);
    EXPECT_TRUE(lib.CommandLines().empty());
    EXPECT_TRUE(pDoc->m_bDirUnpack);

    answer(BST_UNCHECKED, IDOK);
    Frame()->SendMessage(WM_COMMAND, ID_EXTRACT);
    EXPECT_FALSE(pDoc->m_bDirUnpack);
    std::vector<std::string> lines = lib.CommandLines();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].find("e -p "), 0u) << lines[0];
    EXPECT_NE(lines[0].find(dest + " DOC\\A.TXT \"DOC\\B C.TXT\""), std::string::npos) << lines[0];

    // From the tree: its node, whole.
    Frame()->SetActiveView(Tree());
    EXPECT_TRUE(State(ID_EXTRACT).m_bEnabled);
    lib.ClearCalls();
    answer(BST_CHECKED, IDOK);
    Frame()->SendMessage(WM_COMMAND, ID_EXTRACT);
    EXPECT_TRUE(pDoc->m_bDirUnpack);
    lines = lib.CommandLines();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].find("x -r2xp "), 0u) << lines[0];
    EXPECT_NE(lines[0].find(dest + " DOC\\*.* DOC\\*"), std::string::npos) << lines[0];
    EXPECT_EQ(boxes.Count(), 3u);
}

TEST_F(Views, AFailedOpenLeavesNoRowOnFreedEntries) {
    lib.AddRecord("A.TXT", 1, 1);
    lib.AddRecord("DOC\\B.TXT", 1, 1);
    ASSERT_TRUE(Start(archive));
    ASSERT_EQ(List().GetItemCount(), 1);
    lib.SetCheckResult(FALSE);
    std::string other = MakeFile("NOTLZH.LZH");
    EXPECT_EQ(theApp.OpenDocumentFile(other.c_str()), nullptr);
    EXPECT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(List().GetItemCount(), 0);
    EXPECT_EQ(Tree()->m_wndTree.GetCount(), 0u);
    // Sorting and painting find nothing to read.
    List().SortBy(1);
    Files()->UpdateWindow();
    // What is left is an untitled document, so the first archive opens again
    // rather than being taken as the one already shown.
    CArchiveDoc* pDoc = Doc();
    EXPECT_TRUE(pDoc->GetPathName().IsEmpty());
    lib.SetCheckResult(TRUE);
    ASSERT_EQ(theApp.OpenDocumentFile(archive.c_str()), pDoc);
    EXPECT_EQ(List().GetItemCount(), 1);
    // A file that is not there fails before anything is dropped: the listing
    // and its name stay.
    EXPECT_EQ(theApp.OpenDocumentFile((archive + ".GONE").c_str()), nullptr);
    EXPECT_EQ(boxes.Count(), 2u);
    EXPECT_EQ(List().GetItemCount(), 1);
    EXPECT_EQ(pDoc->GetPathName().CompareNoCase(archive.c_str()), 0);

    // The same through File New after a listing.
    lib.SetCheckResult(TRUE);
    ASSERT_NE(theApp.OpenDocumentFile(MakeFile("SECOND.LZH").c_str()), nullptr);
    ASSERT_EQ(List().GetItemCount(), 1);
    Frame()->SendMessage(WM_COMMAND, ID_FILE_NEW);
    EXPECT_EQ(List().GetItemCount(), 0);
    EXPECT_EQ(Tree()->m_wndTree.GetCount(), 0u);
}

// Sizes round to one decimal without overflow up to the largest, and names
// match by characters, case folded as the name sort folds it.
TEST(NavigationTexts, SizesReadAsPeopleSayThemAndPartsMatchByCharacter) {
    const std::pair<ULONGLONG, const char*> sizes[] = {
        {0, "0 バイト"},          {1023, "1023 バイト"},      {1024, "1.0 KB"},
        {1536, "1.5 KB"},        {1048575, "1.0 MB"},        {3565158, "3.4 MB"},
        {0x160000000ULL, "5.5 GB"}, {~0ULL, "16,777,216.0 TB"}};
    for (const auto& size : sizes) EXPECT_EQ(Utf8(std::string(ByteSizeText(size.first))), size.second) << size.first;
    EXPECT_EQ(Utf8(std::string(FileCountsText(12, 0, 3565158))), "12 個のファイル、3.4 MB");
    EXPECT_EQ(Utf8(std::string(FileCountsText(12, 3, 1258291))), "12 個中 3 個のファイルを選択、1.2 MB");

    // ヂ ends in the byte of "a", 表 in a backslash: neither is found there.
    const struct { const char* name; const char* part; bool found; } names[] = {
        {"REPORT.TXT", "rEp", true},   {"ＲＥＰＯＲＴ.TXT", "ｒｅｐ", true}, {"report.txt", "rpt", false},
        {"ヂ.txt", "a", false},       {"表.TXT", "\\", false},           {"表.TXT", "表", true}};
    for (const auto& n : names)
        EXPECT_EQ(!!NameContains(Sjis(n.name).c_str(), Sjis(n.part).c_str()), n.found) << n.name << " / " << n.part;
}

// The idle text counts the shown folder or its selection with 64-bit sums,
// and a prompt keeps the bar until the idle text is asked for again.
TEST_F(Views, StatusBarCountsTheFolderOrTheSelectionAndPromptsKeepTheBar) {
    lib.AddRecord("BIG1.BIN", 0x80000000u, 0x80000000u);
    lib.AddRecord("BIG2.BIN", 0x80000000u, 0x80000000u);
    lib.AddRecord("BIG3.BIN", 0x80000000u, 0x80000000u);
    lib.AddRecord("SUB\\ONE.TXT", 5, 5);
    ASSERT_TRUE(Start(archive));
    CStatusBar& bar = Frame()->m_wndStatusBar;
    auto idleText = [&] {
        Frame()->UpdateControlBars();
        return Utf8(std::string(bar.GetPaneText(0)));
    };
    SelectRows({});
    EXPECT_EQ(idleText(), "3 個のファイル、6.0 GB");
    SelectRows({0, 2});
    EXPECT_EQ(idleText(), "3 個中 2 個のファイルを選択、4.0 GB");
    Frame()->SetMessageText(ID_EXTRACT);
    EXPECT_EQ(idleText(), "解凍");
    Frame()->SetMessageText(AFX_IDS_IDLEMESSAGE);
    EXPECT_EQ(idleText(), "3 個中 2 個のファイルを選択、4.0 GB");
    ASSERT_TRUE(Tree()->SelectFolder("SUB\\"));
    EXPECT_EQ(Rows(), std::vector<std::string>({"ONE.TXT"}));
    EXPECT_EQ(idleText(), "1 個中 1 個のファイルを選択、5 バイト");
    // An empty window says nothing.
    Frame()->SendMessage(WM_COMMAND, ID_FILE_NEW);
    EXPECT_EQ(idleText(), " ");
}

}  // namespace
