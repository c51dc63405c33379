"""Finding the way with the hand on the keyboard: the status bar's counts of
the folder and the selection, the context menus (Shift+F10 and the menu key in
both panes, a right click in the tree), Enter opening a row, F5 re-reading an
archive a peer changed, and Ctrl+F finding a file across folders."""
import os
import subprocess

from session import Failed, scenario, wait_for

FILES = {
    "ALPHA.TXT": b"a" * 1000,
    "BETA.TXT": b"b" * 2048,
    "GAMMA.BIN": bytes(range(256)) * 6144,  # 1.5 MB
    "DOCS/report-1.txt": b"r1\r\n",
    "DOCS/SUB/AAA.TXT": b"aaa\r\n",
    "DOCS/SUB/Report-2.TXT": b"r2\r\n",
    "OTHER/misc.txt": b"misc\r\n",
    "OTHER/REPORTS.LOG": b"log\r\n",
}
STATUS_BAR = 59393


def setup(s):
    s.forget_settings()
    s.place_window(30, 30, 830, 560)
    s.archive = s.jlha_archive("HAND.LZH", FILES)
    # Enter on a .TXT row hands the copy to the desktop's opener.
    s.reg("delete", r"HKCR\.txt", "/f")
    s.stand_in_opener()
    s.start(s.desk.winpath(s.archive))


def status(s):
    return s.app.child(cid=STATUS_BAR).text


def popup(s):
    """The open context menu's window, or None. Its items cannot be read
    from another process: the status bar's prompt names the highlighted one."""
    return s.desk.find(cls="#32768")


def wait_popup_gone(s):
    wait_for(lambda: popup(s) is None, "the context menu closed")


def highlight_first(s, prompt):
    s.desk.key("Down")
    wait_for(lambda: status(s) == prompt, "the prompt %r of the menu's first item" % prompt)


def focus_list(s, name):
    """A click on a row: the list has the focus and just that row selected."""
    s.app.select_rows([name])
    wait_for(lambda: s.app.focus_window() == s.app.list_window().hwnd, "the focus in the list")


def selected_node(s):
    return next((p for i, p in zip(s.app.tree(), s.app.tree_paths()) if i.selected), None)


@scenario
def the_status_bar_counts_the_folder_and_the_selection(s):
    app = s.app
    wait_for(lambda: sorted(app.names()) == ["ALPHA.TXT", "BETA.TXT", "GAMMA.BIN"], "the root's files")
    focus_list(s, "GAMMA.BIN")
    # Ctrl+click the one selected row away: nothing is selected.
    gamma = next(r for r in app.rows() if r.name == "GAMMA.BIN")
    s.desk.xdo("keydown", "ctrl")
    s.desk.click(*gamma.centre)
    s.desk.xdo("keyup", "ctrl")
    wait_for(lambda: status(s) == "3 個のファイル、1.5 MB", "the folder's counts")
    app.select_rows(["ALPHA.TXT", "BETA.TXT"])
    wait_for(lambda: status(s) == "3 個中 2 個のファイルを選択、3.0 KB", "the selection's counts")
    s.desk.picture("status-bar")
    # A menu's prompt takes the bar while the menu is open, then the counts come back.
    app.menu("編集(&E)")
    s.desk.key("Down")
    wait_for(lambda: status(s) == "全ファイルの選択", "the prompt of the highlighted item")
    s.desk.key("Escape", "Escape")
    wait_for(lambda: status(s) == "3 個中 2 個のファイルを選択、3.0 KB", "the counts again")
    app.select_node("DOCS\\SUB\\")
    wait_for(lambda: status(s) == "2 個中 1 個のファイルを選択、5 バイト", "a subfolder's counts")


@scenario
def context_menus_open_from_the_keyboard_and_a_right_click_in_the_tree(s):
    app = s.app
    app.select_node("")
    focus_list(s, "BETA.TXT")
    s.desk.key("shift+F10")
    wait_for(lambda: popup(s), "the list's context menu after Shift+F10")
    s.desk.picture("context-menu")
    highlight_first(s, "表示")
    s.desk.key("m")  # ミニビュアーの起動(&M)
    viewer = s.desk.wait_window(title="MiniViewer - BETA.TXT")
    s.desk.probe.ask("close %d" % viewer.hwnd)
    s.desk.wait_gone(viewer.hwnd)
    # The tree by the menu key: its own commands, for the selected folder.
    app.focus()
    s.desk.key("Tab")
    wait_for(lambda: app.focus_window() == app.tree_window().hwnd, "the focus in the tree")
    s.desk.key("Menu")
    wait_for(lambda: popup(s), "the tree's context menu after the menu key")
    highlight_first(s, "解凍")
    s.desk.key("Escape")
    wait_popup_gone(s)
    # A right click in the tree chooses the node under the pointer first.
    node = next(i for i, p in zip(app.tree(), app.tree_paths()) if p == "OTHER\\")
    s.desk.click(*node.centre, button=3)
    wait_for(lambda: popup(s), "the tree's context menu after a right click")
    wait_for(lambda: selected_node(s) == "OTHER\\" and sorted(app.names()) == ["REPORTS.LOG", "misc.txt"],
             "OTHER\\ chosen and listed")
    s.desk.key("Escape")
    wait_popup_gone(s)


@scenario
def enter_opens_the_selected_row(s):
    app = s.app
    app.select_node("")
    focus_list(s, "ALPHA.TXT")
    s.desk.key("Return")
    copy = wait_for(lambda: s.opened_files(), "ALPHA.TXT handed to the desktop's opener")[-1]
    assert os.path.basename(copy) == "ALPHA.TXT", copy
    with open(copy, "rb") as f:
        assert f.read() == FILES["ALPHA.TXT"]


@scenario
def f5_rereads_the_archive_a_peer_changed_and_stays_in_the_folder(s):
    app = s.app
    app.select_node("DOCS\\")
    wait_for(lambda: app.names() == ["report-1.txt"], "DOCS\\ listed")
    src = s.path("src-HAND.LZH")
    with open(os.path.join(src, "DOCS", "NEW.TXT"), "wb") as f:
        f.write(b"new\r\n")
    subprocess.run(["jlha", "a", s.archive, "DOCS/NEW.TXT"], cwd=src, check=True, stdout=subprocess.DEVNULL)
    app.focus()
    s.desk.key("F5")
    wait_for(lambda: sorted(app.names()) == ["NEW.TXT", "report-1.txt"], "NEW.TXT listed after F5")
    assert selected_node(s) == "DOCS\\", app.tree_paths()


@scenario
def ctrl_f_finds_across_folders_and_shows_the_chosen_row(s):
    app = s.app
    app.select_node("")
    app.focus()
    s.desk.key("ctrl+f")
    box = app.dialog("名前で検索")
    box.type_into(1130, "RePort")

    def results():
        lines = s.desk.probe.ask("list %d" % box.control(cid=1131).hwnd) or []
        return [(f[6], f[7], bool(int(f[1]) & 2)) for f in lines if f[0] == "row"]
    wait_for(lambda: sorted(r[:2] for r in results()) == [
        ("REPORTS.LOG", "OTHER\\"), ("Report-2.TXT", "DOCS\\SUB\\"), ("report-1.txt", "DOCS\\")],
        "three files from three folders")
    assert box.control(cid=1132).text == "3 件", box.control(cid=1132).text
    s.desk.picture("find")
    # Keys alone: into the results, down to Report-2.TXT (the second), Enter.
    s.desk.key("Tab", "Down")
    wait_for(lambda: [r[0] for r in results() if r[2]] == ["Report-2.TXT"], "Report-2.TXT chosen")
    s.desk.key("Return")
    box.wait_closed()
    wait_for(lambda: selected_node(s) == "DOCS\\SUB\\", "DOCS\\SUB\\ chosen in the tree")
    wait_for(lambda: [r.name for r in app.rows() if r.selected] == ["Report-2.TXT"], "the found row selected")
    if app.focus_window() != app.list_window().hwnd:
        raise Failed("the list does not have the focus after a find")
