# SPDX-License-Identifier: GPL-3.0-or-later
"""Drives the real program on the desktop of desktop.sh: finds controls through the
accessibility tree (their Korean names, the grid's header texts), presses real keys and clicks
through XTest (xdotool) and reads the ledger file back."""

import os
import shutil
import sqlite3
import subprocess
import time

import pyatspi

HOME = os.environ["HOME"]
DBS = os.path.join(HOME, "솔빛셈", "Dbs")
LEDGER = os.path.join(DBS, "panDB.db")


class Failure(Exception):
    pass


def xdo(*args):
    subprocess.run(["xdotool", *args], check=True)


def keys(*names, delay_ms=120):
    """Real key presses, one by one, as a user types them."""
    xdo("key", "--delay", str(delay_ms), *names)


def type_2beolsik(latin, delay_ms=120):
    """The keys of a 2-beolsik word (rlawlstn is 김진수), typed with Hangul on."""
    keys(*list(latin), delay_ms=delay_ms)


def wait_for(what, probe, timeout=10.0):
    end = time.monotonic() + timeout
    while True:
        value = probe()
        if value:
            return value
        if time.monotonic() > end:
            screenshot(what)
            raise Failure(f"기다렸으나 없음: {what}")
        time.sleep(0.05)


def screenshot(name):
    """The screen as it was when a scenario failed, for the log's reader."""
    folder = os.environ.get("SOLBITSEM_E2E_SHOTS")
    if folder and shutil.which("import"):
        safe = "".join(c if c.isalnum() else "_" for c in name)
        subprocess.run(["import", "-window", "root", os.path.join(folder, f"{safe}.png")], check=False)


def settle(seconds=0.3):
    time.sleep(seconds)


def rows(sql, *params):
    con = sqlite3.connect(f"file:{LEDGER}?mode=ro", uri=True, timeout=5)
    try:
        return con.execute(sql, params).fetchall()
    finally:
        con.close()


def execute(statements):
    con = sqlite3.connect(LEDGER)
    try:
        for sql, params in statements:
            con.execute(sql, params)
        con.commit()
    finally:
        con.close()


def walk(acc, depth=0):
    if acc is None or depth > 40:
        return
    yield acc
    try:
        count = acc.childCount
    except Exception:
        return
    # Tables list every cell as a child; their cells are reached through the table interface.
    if acc.getRole() in (pyatspi.ROLE_TABLE, pyatspi.ROLE_TREE_TABLE):
        return
    for i in range(count):
        try:
            child = acc.getChildAtIndex(i)
        except Exception:
            continue
        yield from walk(child, depth + 1)


class Program:
    """One run of the program on the ledger in HOME."""

    def __init__(self, binary, args=()):
        env = dict(os.environ)
        env["QT_LINUX_ACCESSIBILITY_ALWAYS_ON"] = "1"
        env["QT_ACCESSIBILITY"] = "1"
        # The accessibility bus must be up before the program looks for it.
        pyatspi.Registry.getDesktop(0)
        env.pop("QT_QPA_PLATFORM", None)
        env["QT_QPA_PLATFORM"] = "xcb"
        self.proc = subprocess.Popen([binary, *args], env=env, stdout=subprocess.PIPE, stderr=subprocess.STDOUT)

    def app(self):
        desktop = pyatspi.Registry.getDesktop(0)
        for i in range(desktop.childCount):
            a = desktop.getChildAtIndex(i)
            try:
                if a is not None and a.get_process_id() == self.proc.pid:
                    return a
            except Exception:
                continue
        return None

    def find(self, name, role=None, timeout=10.0):
        def probe():
            app = self.app()
            for acc in walk(app):
                try:
                    if acc.name == name and (role is None or acc.getRole() == role) and acc.getState().contains(
                            pyatspi.STATE_SHOWING):
                        return acc
                except Exception:
                    continue
            return None
        return wait_for(f"'{name}'", probe, timeout)

    def exists(self, name, role=None):
        try:
            self.find(name, role, timeout=0.0)
            return True
        except Failure:
            return False

    def window_with_text(self, text, timeout=10.0):
        """A dialog (message box) whose labels hold text."""
        def probe():
            for acc in walk(self.app()):
                try:
                    if acc.getRole() in (pyatspi.ROLE_LABEL, pyatspi.ROLE_STATIC) and text in (acc.name or ""):
                        return acc
                except Exception:
                    continue
            return None
        return wait_for(f"상자 '{text}'", probe, timeout)

    def wait_active(self, acc, timeout=10.0):
        """Waits until the window holding acc has the keyboard, so that keys reach it."""
        window = acc
        while window is not None and window.getRole() not in (pyatspi.ROLE_DIALOG, pyatspi.ROLE_FRAME,
                                                              pyatspi.ROLE_ALERT, pyatspi.ROLE_WINDOW):
            window = window.parent
        if window is not None:
            wait_for("활성 창", lambda: window.getState().contains(pyatspi.STATE_ACTIVE), timeout)
        return acc

    def click(self, acc, button=1):
        ext = acc.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        x, y = ext.x + ext.width // 2, ext.y + ext.height // 2
        xdo("mousemove", "--sync", str(x), str(y))
        xdo("click", str(button))
        settle(0.2)

    def cell(self, grid, row, header):
        table = grid.queryTable()
        for c in range(table.nColumns):
            if table.getColumnDescription(c) == header:
                if row < 0:
                    row += table.nRows
                return table.getAccessibleAt(row, c)
        raise Failure(f"열 '{header}'이 없음")

    def close_box(self):
        """The window manager's close (openbox: Alt+F4), as the title bar's X sends it."""
        keys("alt+F4")

    def wait_end(self, timeout=15.0):
        try:
            self.proc.wait(timeout)
        except subprocess.TimeoutExpired:
            screenshot("프로그램이 끝나지 않음")
            self.proc.kill()
            out = self.proc.stdout.read().decode(errors="replace")
            raise Failure("프로그램이 끝나지 않음\n" + out)
        return self.proc.returncode

    def kill(self):
        if self.proc.poll() is None:
            self.proc.kill()
            self.proc.wait()
