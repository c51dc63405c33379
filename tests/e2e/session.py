"""What the scenarios of one group share, and the loop that runs them
(one scn_GROUP.py file against one running zuvo.exe, in the order written).

A scenario is a function decorated with @scenario taking the Session. It fails
by raising (Failed or an assertion), leaving a screenshot fail-GROUP-NAME.png in
OUT_DIR; it is skipped by raising Skipped with what is missing. After a failure
the program is started afresh for the next scenario.
"""
import importlib
import os
import shutil
import subprocess
import sys
import time
import traceback
import urllib.parse

from harness import Desktop, Failed, Skipped, Zuvo, wait_for  # noqa: F401

_registered = []


def scenario(fn):
    _registered.append(fn)
    return fn


SETTINGS_KEY = r"HKCU\Software\Vantrel\Zuvo"


class Session:
    """What the scenarios of one group share: the desktop, a work folder, the
    running program and the archives made for them."""

    def __init__(self, build, out, group):
        self.build = build
        self.out = out
        self.group = group
        self.work = os.path.join(out, "work-" + group)
        shutil.rmtree(self.work, ignore_errors=True)
        os.makedirs(self.work)
        self.desk = Desktop(build, out)
        self.app = None
        self.start_args = []
        self.missing = []

    def pending(self, pred, what, timeout=5.0):
        """A check on behaviour that is still being built: when it does not
        hold the scenario goes on and ends as skipped, naming what is missing."""
        try:
            wait_for(pred, what, timeout)
            return True
        except Failed:
            self.missing.append(what)
            return False

    # ---- settings, as the program stores them
    def reg(self, *args):
        return subprocess.run(["wine", "reg"] + list(args), capture_output=True, text=True,
                              stdin=subprocess.DEVNULL, encoding="utf-8", errors="replace")

    def forget_settings(self):
        self.reg("delete", SETTINGS_KEY, "/f")

    def set_setting(self, section, key, value):
        kind = "REG_DWORD" if isinstance(value, int) else "REG_SZ"
        self.reg("add", SETTINGS_KEY + "\\" + section, "/v", key, "/t", kind, "/d", str(value), "/f")

    def place_window(self, left, top, right, bottom):
        """The main window's remembered place, for its next start."""
        for key, value in (("Left", left), ("Top", top), ("Right", right), ("Bottom", bottom)):
            self.set_setting("Window", key, value)

    def setting(self, section, key):
        """The stored value (int for numbers, str for texts), None when absent."""
        r = self.reg("query", SETTINGS_KEY + "\\" + section, "/v", key)
        for line in r.stdout.splitlines():
            parts = line.split(None, 2)
            if len(parts) >= 2 and parts[0] == key:
                value = parts[2].strip() if len(parts) > 2 else ""
                if parts[1] == "REG_DWORD":
                    return int(value, 16) if value.startswith("0x") else int(value)
                return value
        return None

    # ---- the desktop's opener
    def stand_in_opener(self):
        """Puts an xdg-open of ours first on the PATH of the programs started
        from now on; it records each argument it is given, one a line."""
        bin_dir = self.path("opener-bin")
        os.makedirs(bin_dir, exist_ok=True)
        self.opener_log = self.path("opener.log")
        with open(os.path.join(bin_dir, "xdg-open"), "w") as f:
            f.write("#!/bin/sh\nprintf '%%s\\n' \"$@\" >> '%s'\n" % self.opener_log)
        os.chmod(os.path.join(bin_dir, "xdg-open"), 0o755)
        os.environ["PATH"] = bin_dir + os.pathsep + os.environ["PATH"]

    def opened_files(self):
        """The local files the stand-in opener was given, as Unix paths."""
        if not os.path.exists(self.opener_log):
            return []
        with open(self.opener_log, encoding="utf-8", errors="replace") as f:
            args = f.read().splitlines()
        return [urllib.parse.unquote(a[len("file://"):]) if a.startswith("file://") else a for a in args]

    # ---- the program
    def start(self, *args):
        self.start_args = list(args)
        self.app = Zuvo(self.desk, list(args), cwd=self.work)
        return self.app

    def restart_after_failure(self):
        if self.app is not None:
            self.app.kill()
        self.app = Zuvo(self.desk, self.start_args, cwd=self.work)

    # ---- files
    def path(self, *parts):
        return os.path.join(self.work, *parts)

    def write(self, rel, data):
        p = self.path(rel)
        os.makedirs(os.path.dirname(p), exist_ok=True)
        with open(p, "wb") as f:
            f.write(data if isinstance(data, bytes) else data.encode())
        return p

    def jlha_archive(self, name, files, times=None):
        """An archive made by jlha from {relative path: content}, entries in
        the order given, with the modification times given ({path: epoch})."""
        src = self.path("src-" + name)
        shutil.rmtree(src, ignore_errors=True)
        for rel, data in files.items():
            p = os.path.join(src, rel)
            os.makedirs(os.path.dirname(p), exist_ok=True)
            with open(p, "wb") as f:
                f.write(data if isinstance(data, bytes) else data.encode())
            if times and rel in times:
                os.utime(p, (times[rel], times[rel]))
        archive = self.path(name)
        if os.path.exists(archive):
            os.remove(archive)
        subprocess.run(["jlha", "a", archive] + list(files), cwd=src, check=True,
                       stdout=subprocess.DEVNULL)
        return archive

    def archive_names(self, archive):
        """The file entries of an archive as 7zz lists them, with / separators."""
        r = subprocess.run(["7zz", "l", "-slt", "-sccUTF-8", archive], capture_output=True, text=True,
                           encoding="utf-8", errors="replace")
        if r.returncode != 0:
            raise Failed("7zz cannot list %s: %s" % (archive, r.stdout[-500:]))
        names, path = [], None
        for line in r.stdout.split("----------", 1)[-1].splitlines():
            if line.startswith("Path = "):
                path = line[7:].replace("\\", "/")
            elif line.startswith("Folder = ") and path is not None:
                if line[9:].strip() != "+":
                    names.append(path)
                path = None
        return sorted(names)


def run(build, out, group, only):
    module = importlib.import_module("scn_" + group)
    session = Session(build, out, group)
    failures, skipped, passed = [], [], []
    started = time.monotonic()
    try:
        if hasattr(module, "setup"):
            module.setup(session)
        for fn in _registered:
            name = fn.__name__
            if only and name not in only:
                continue
            t0 = time.monotonic()
            session.missing = []
            try:
                fn(session)
                if session.missing:
                    raise Skipped("missing: " + "; ".join(session.missing))
                passed.append(name)
                print("PASS  %s (%.1fs)" % (name, time.monotonic() - t0), flush=True)
            except Skipped as e:
                skipped.append(name)
                print("SKIP  %s: %s" % (name, e), flush=True)
            except Exception as e:  # any failure of a step, with its picture
                shot = session.desk.screenshot("fail-%s-%s" % (group, name))
                failures.append(name)
                print("FAIL  %s: %s\n      screenshot %s" % (name, e, shot), flush=True)
                traceback.print_exc()
                try:
                    session.restart_after_failure()
                except Exception as again:
                    print("      the program could not be started again: %s" % again)
                    break
    finally:
        if session.app is not None and session.app.running():
            try:
                session.app.exit()
            except Exception:
                session.app.kill()
        session.desk.close()
    print("%s: %d passed, %d skipped, %d failed in %.0fs" % (
        group, len(passed), len(skipped), len(failures), time.monotonic() - started))
    if failures:
        return 1
    return 0 if passed else SKIPPED_ALL


# The exit status that ctest reports as a skipped test.
SKIPPED_ALL = 77
