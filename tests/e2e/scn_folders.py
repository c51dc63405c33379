"""Working inside folders: 圧縮 adds into the folder shown and the view stays
there, a question names what a delete removes, a folder is deleted and renamed
from the tree, and a folder stored without files shows in the tree."""
import os
import subprocess

from session import Failed, scenario, wait_for

FILES = {
    "ROOT.TXT": b"root\r\n",
    "DOCS/A.TXT": b"a\r\n",
    "DOCS/SUB/B.TXT": b"b\r\n",
    "DOCS/SUB/C.TXT": b"c\r\n",
    "OTHER/D.TXT": b"d\r\n",
}


def setup(s):
    s.forget_settings()
    s.place_window(30, 30, 830, 560)
    s.archive = s.jlha_archive("WORK.LZH", FILES)
    s.start(s.desk.winpath(s.archive))


def selected_node(s):
    return next((p for i, p in zip(s.app.tree(), s.app.tree_paths()) if i.selected), None)


def stored(s, archive):
    """The archive's entries as a peer lists them, folders with a slash."""
    r = subprocess.run(["lhasa", "l", archive], capture_output=True, text=True, errors="replace")
    lines = r.stdout.split("\n")
    marks = [i for i, line in enumerate(lines) if line.startswith("----------")]
    if r.returncode != 0 or len(marks) < 2:
        raise Failed("lhasa cannot list %s: %s" % (archive, r.stdout[-300:] + r.stderr[-300:]))
    return sorted(line.split()[-1].lower() for line in lines[marks[0] + 1:marks[1]])


def answer(s, text, button):
    """The program's question: its text checked, answered with a button."""
    box = s.app.dialog("Zuvo")
    assert box.text() == text, box.text()
    box.press(button)
    box.wait_closed()


def file_name_field(box):
    return next(c for c in box.controls() if c.cls == "Edit" and c.visible)


@scenario
def compress_adds_into_the_folder_shown_and_deletes_stay_there(s):
    app = s.app
    app.select_node("DOCS\\SUB\\")
    new = s.write("adds/NEW.TXT", "new\r\n")
    app.menu("編集(&E)", "圧縮(&P)...")
    box = app.dialog("圧縮ファイルの選択")
    s.desk.probe.ask("settext %d %s" % (file_name_field(box).hwnd, s.desk.winpath(new)))
    box.press(1)
    box.wait_closed()
    app.wait_done(lambda: sorted(app.names()) == ["B.TXT", "C.TXT", "NEW.TXT"], "NEW.TXT listed in DOCS\\SUB\\")
    assert selected_node(s) == "DOCS\\SUB\\", selected_node(s)
    assert "docs/sub/new.txt" in stored(s, s.archive), stored(s, s.archive)

    # A question counts the files, or names the one; the folder stays shown.
    app.select_rows(["B.TXT", "C.TXT"])
    s.desk.key("Delete")
    answer(s, "2 個のファイルを削除してよろしいですか?", 7)
    app.select_rows(["B.TXT"])
    s.desk.key("Delete")
    answer(s, "B.TXT を削除してよろしいですか?", 6)
    app.wait_done(lambda: sorted(app.names()) == ["C.TXT", "NEW.TXT"], "B.TXT gone, DOCS\\SUB\\ still listed")
    assert selected_node(s) == "DOCS\\SUB\\", selected_node(s)


@scenario
def a_folder_is_deleted_and_renamed_from_the_tree(s):
    app = s.app
    app.select_node("DOCS\\SUB\\")  # a click: the tree has the focus
    wait_for(lambda: app.focus_window() == app.tree_window().hwnd, "the focus in the tree")
    s.desk.key("Delete")
    box = app.dialog("Zuvo")
    s.desk.picture("folder-delete")
    assert box.text() == "フォルダ DOCS\\SUB と、その中の 2 個のファイルを削除してよろしいですか?", box.text()
    box.press(6)
    app.wait_done(lambda: "DOCS\\SUB\\" not in app.tree_paths(), "DOCS\\SUB\\ gone from the tree")
    wait_for(lambda: selected_node(s) == "DOCS\\" and app.names() == ["A.TXT"], "DOCS\\ shown in its place")
    assert not [n for n in stored(s, s.archive) if n.startswith("docs/sub")], stored(s, s.archive)

    # The tree's context menu renames OTHER\ in the library's dialog.
    node = next(i for i, p in zip(app.tree(), app.tree_paths()) if p == "OTHER\\")
    s.desk.click(*node.centre, button=3)
    wait_for(lambda: s.desk.find(cls="#32768"), "the tree's context menu")
    s.desk.key("n")  # 名前の変更(&N)
    ren = app.dialog("名前の変更")
    ren.type_into(1010, "MOVED")
    ren.press(1)
    ren.wait_closed()
    app.wait_done(lambda: "MOVED\\" in app.tree_paths() and "OTHER\\" not in app.tree_paths(), "MOVED\\ in the tree")
    wait_for(lambda: selected_node(s) == "MOVED\\" and app.names() == ["D.TXT"], "MOVED\\ shown in its place")
    assert app.focus_window() == app.tree_window().hwnd, "the tree lost the keys"
    names = stored(s, s.archive)
    assert "moved/d.txt" in names and not [n for n in names if n.startswith("other")], names


@scenario
def an_archive_of_one_empty_folder_shows_it_and_deletes_it(s):
    src = s.path("src-EMPTY")
    os.makedirs(os.path.join(src, "EMPTY"), exist_ok=True)
    only = s.path("ONLY.LZH")
    subprocess.run(["jlha", "a", only, "EMPTY"], cwd=src, check=True, stdout=subprocess.DEVNULL)
    s.app.kill()
    s.start(s.desk.winpath(only))
    app = s.app
    wait_for(lambda: [p.upper() for p in app.tree_paths()] == ["", "EMPTY\\"], "the empty folder in the tree")
    folder = app.tree_paths()[1]
    app.select_node(folder)
    s.desk.key("Delete")
    answer(s, "空のフォルダ %s を削除してよろしいですか?" % folder[:-1], 6)
    app.wait_done(lambda: app.tree_paths() == [""], "the tree with its top node alone")
    assert stored(s, only) == [], stored(s, only)
