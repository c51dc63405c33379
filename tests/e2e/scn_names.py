"""Rows whose names the archiver's command language would read as patterns or
fold together ("*", "README" beside "readme", "report?.txt" beside
"report1.txt"), deleted through the window: each takes its own entry alone.
Then an extraction over a newer file on disk, which the library asks about."""
import os

from harness import Dialog
from session import scenario, wait_for

FILES = {
    "*": "star\r\n",
    "README": "upper\r\n",
    "readme": "lower\r\n",
    "report?.txt": "pattern\r\n",
    "report1.txt": "first report\r\n",
    "keep.txt": "kept in the archive\r\n",
}
OLD = 1577872800  # 2020-01-01: every entry is older than the files on disk
EXTRACT = 32777


def setup(s):
    s.forget_settings()
    s.place_window(20, 20, 900, 650)
    s.archive = s.jlha_archive("NAMES.LZH", FILES, {name: OLD for name in FILES})
    s.start(s.desk.winpath(s.archive))


def _delete_row(s, name):
    app = s.app
    app.select_rows([name])
    app.menu("ﾌｧｲﾙ(&F)", "削除(&D)...")
    ask = app.dialog("Zuvo")
    ask.press(6)
    app.wait_done(lambda: name not in app.names(), "%r gone from the list" % name)


@scenario
def deleting_a_row_deletes_its_entry_alone(s):
    app = s.app
    wait_for(lambda: sorted(app.names()) == sorted(FILES), "every entry listed")
    left = set(FILES)
    for name in ("*", "README", "report?.txt"):
        _delete_row(s, name)
        left.discard(name)
        assert sorted(app.names()) == sorted(left), (name, app.names())
        assert s.archive_names(s.archive) == sorted(left), (name, s.archive_names(s.archive))


def _extract_keep(s, folder):
    app = s.app
    app.select_rows(["keep.txt"])
    app.menu("編集(&E)", "解凍(&U)...")
    box = app.chooser()
    box.go_to(s.desk.winpath(folder))
    box.set_check(1039, False)
    box.press(1)
    box.wait_closed()


@scenario
def extracting_over_a_newer_file_asks_first(s):
    app = s.app
    mine = s.write("out/keep.txt", "my newer notes\r\n")
    for answer, expected in ((7, b"my newer notes\r\n"), (6, FILES["keep.txt"].encode())):
        _extract_keep(s, os.path.dirname(mine))
        ask = Dialog(s.desk, wait_for(lambda: next((w for w in app.dialogs() if w.text == "上書きの確認"), None),
                                      "the library's question"))
        text = ask.text()
        assert "keep.txt" in text and "16 バイト" in text and "21 バイト" in text and "2020/01/01" in text, text
        if answer == 7:
            s.desk.picture("overwrite-question")
        ask.press(answer)
        ask.wait_closed()
        app.wait_done(lambda: open(mine, "rb").read() == expected, "keep.txt after answer %d" % answer)
