"""The keyboard alone after every way of showing an archive afresh (File New,
File Open, a recent file, a drop, the re-listing after adding a file), each
begun while the tree was the active pane: the focus lands in the list, and
the list's commands act on its highlighted row (Extract takes just that file,
Del deletes it); Tab and Shift+Tab switch panes."""
import os
import shutil

from harness import DropProbe
from session import Failed, scenario, wait_for

FIRST = {"A1.TXT": "a1\r\n", "A2.TXT": "a2\r\n", "A3.TXT": "a3\r\n", "A4.TXT": "a4\r\n",
         "A5.TXT": "a5\r\n", "DIR/D.TXT": "d\r\n"}
SECOND = {"B1.TXT": "b1\r\n", "B2.TXT": "b2\r\n", "DIR/E.TXT": "e\r\n"}


def setup(s):
    s.forget_settings()
    s.place_window(40, 30, 840, 630)
    s.first = s.jlha_archive("FIRST.LZH", FIRST)
    s.second = s.jlha_archive("SECOND.LZH", SECOND)
    # The folder chooser starts where the extracted files are looked for.
    s.out_dir = s.path("out")
    os.makedirs(s.out_dir)
    s.set_setting("setting", "strOpenDir", s.desk.winpath(s.out_dir) + "\\")
    s.start(s.desk.winpath(s.first))


def _in_tree(s):
    return s.app.focus_window() == s.app.tree_window().hwnd


def _in_list(s):
    return s.app.focus_window() == s.app.list_window().hwnd


def activate_tree(s):
    """Clicks the tree's empty lower part: the tree becomes the active pane."""
    tree = s.app.tree_window()
    s.desk.click(tree.x + tree.w // 2, tree.y + tree.h - 10)
    wait_for(lambda: _in_tree(s), "the focus in the tree after a click on it")


def other_archive(s):
    """The archive that is not open (SECOND.LZH in an untitled window)."""
    return (s.first, "FIRST.LZH") if s.app.title.startswith("SECOND.LZH") else (s.second, "SECOND.LZH")


def extract_and_delete_the_highlighted_row(s, archive, name_of_archive):
    """With only keys on the main window: Extract, then Del, act on row 0."""
    app = s.app
    title = name_of_archive + " - Zuvo"
    wait_for(lambda: app.title == title and app.rows() and app.rows()[0].selected and _in_list(s),
             "%s listed with its first row highlighted and the focus in the list" % title)
    name = app.rows()[0].name
    shutil.rmtree(s.out_dir)
    os.makedirs(s.out_dir)
    s.desk.key("alt+e", "u")  # 編集(&E), 解凍(&U)...
    box = app.chooser()
    box.press(1)
    box.wait_closed()
    app.wait_done(lambda: os.listdir(s.out_dir), "the extraction of " + name)
    assert sorted(os.listdir(s.out_dir)) == [name], (name, os.listdir(s.out_dir))
    s.desk.key("Delete")
    ask = app.dialog("Zuvo")
    ask.press(6)  # Yes
    app.wait_done(lambda: name not in s.archive_names(archive) and name not in app.names(),
                  name + " deleted")
    # The list keeps the focus and the commands through the re-listing.
    wait_for(lambda: _in_list(s), "the focus in the list after the deletion")


@scenario
def file_new_leaves_the_list_active_and_tab_both_ways_switches_panes(s):
    app = s.app
    activate_tree(s)
    s.desk.key("ctrl+n")
    wait_for(lambda: app.title == "Untitled - Zuvo" and _in_list(s), "an untitled window, the list focused")
    for key, in_pane in (("Tab", _in_tree), ("shift+Tab", _in_list), ("shift+Tab", _in_tree)):
        s.desk.key(key)
        wait_for(lambda: in_pane(s), "the focus moved by " + key)


def open_by_dialog(s, archive):
    s.desk.key("ctrl+o")
    box = s.app.dialog("開く")
    field = next((c for c in box.controls() if c.cls == "Edit" and c.visible), None) or box.control(cid=1148)
    s.desk.probe.ask("settext %d %s" % (field.hwnd, s.desk.winpath(archive)))
    box.press(1)
    box.wait_closed()


@scenario
def file_open_then_keys(s):
    archive, name = other_archive(s)
    activate_tree(s)
    open_by_dialog(s, archive)
    extract_and_delete_the_highlighted_row(s, archive, name)


@scenario
def a_recent_file_then_keys(s):
    app = s.app
    if app.title == "Untitled - Zuvo":
        open_by_dialog(s, s.first)
    archive, name = other_archive(s)
    back, back_name = (s.second, "SECOND.LZH") if name == "FIRST.LZH" else (s.first, "FIRST.LZH")
    open_by_dialog(s, archive)
    wait_for(lambda: app.title == name + " - Zuvo", name + " open")
    activate_tree(s)
    s.desk.key("alt+f", "2")  # the archive open before this one
    extract_and_delete_the_highlighted_row(s, back, back_name)


@scenario
def a_dropped_archive_then_keys(s):
    app = s.app
    archive, name = other_archive(s)
    activate_tree(s)
    probe = DropProbe(s.desk, s.path("drop.log"), [archive])
    try:
        main = app.refresh()
        probe.drag_to(main.x + main.w // 2, main.y + main.h // 2)
        wait_for(lambda: app.title == name + " - Zuvo", name + " open after the drop")
    finally:
        probe.close()
    app.focus()  # the caption: keys reach the window, no pane is clicked
    extract_and_delete_the_highlighted_row(s, archive, name)


@scenario
def adding_a_file_then_keys(s):
    app = s.app
    other, other_name = other_archive(s)
    archive, name = (s.second, "SECOND.LZH") if other_name == "FIRST.LZH" else (s.first, "FIRST.LZH")
    activate_tree(s)
    added = s.write("add/0ADDED.TXT", "added, first in name order\r\n")
    s.desk.key("alt+e", "p")  # 編集(&E), 圧縮(&P)...
    box = app.dialog("圧縮ファイルの選択")
    field = next(c for c in box.controls() if c.cls == "Edit" and c.visible)
    s.desk.probe.ask("settext %d %s" % (field.hwnd, s.desk.winpath(added)))
    box.press(1)
    box.wait_closed()
    app.wait_done(lambda: "0ADDED.TXT" in app.names(), "0ADDED.TXT added and listed")
    if app.rows()[0].name != "0ADDED.TXT":
        raise Failed("the added file is not the first row: %r" % app.names())
    extract_and_delete_the_highlighted_row(s, archive, name)
