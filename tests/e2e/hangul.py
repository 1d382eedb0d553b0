# SPDX-License-Identifier: GPL-3.0-or-later
"""Hangul typed as Koreans type it: the real program, fcitx5-hangul, openbox, real keys.
Run inside desktop.sh: hangul.py BUILD_DIR. Each scenario starts the program on the same
ledger, types, leaves the cell or field one way, and reads the ledger file back."""

import contextlib
import datetime
import os
import subprocess
import sys
import time
import traceback

import pyatspi

from desktopdriver import DBS, Failure, Program, execute, keys, rows, settle, type_2beolsik, wait_for

BUILD = sys.argv[1]
PROGRAM = f"{BUILD}/src/app/solbitsem"
TODAY = datetime.date.today()


def prepare_ledger():
    subprocess.run([f"{BUILD}/tools/sample/solbitsem-sample", "--vouchers", "0", "--out", DBS], check=True,
                   stderr=subprocess.DEVNULL)
    day = TODAY.replace(day=1).isoformat()
    # Only the names the scenarios type, so that each lookup has one match.
    statements = [(f"DELETE FROM {t}", ()) for t in ("product", "maeip", "maechul", "group_name")]
    statements += [("INSERT INTO product (name) VALUES (?)", (n,)) for n in ("곰탕", "세탁기", "한글", "한국")]
    for table in ("maeip", "maechul"):
        statements.append((f"INSERT INTO {table} (id, name, tel) VALUES (1, '김진수', '02-777-8899')", ()))
    for i in range(3):
        statements.append(("INSERT INTO total (maeip_date, pro_name, maeip_cost, maechul_date, maechul_cost, "
                           "maechul_usecost, group_name) VALUES (?, ?, 1000, ?, 2000, 0, '')",
                           (day, f"견본{i}", day)))
    execute(statements)
    # The start-up notice off ([환경설정] NoMsg=1, as QSettings writes the section's name).
    settings = os.path.join(os.environ["XDG_CONFIG_HOME"], "솔빛셈")
    os.makedirs(settings, exist_ok=True)
    with open(os.path.join(settings, "솔빛셈.conf"), "w", encoding="utf-8") as f:
        f.write("[%UD658%UACBD%UC124%UC815]\nNoMsg=1\n")


def start():
    p = Program(PROGRAM)
    # The login box of a ledger without a password: Enter admits, after a reminder to set one.
    p.wait_active(p.find("일반사용자 로그인", pyatspi.ROLE_DIALOG, timeout=20))
    keys("Return")
    p.wait_active(p.window_with_text("암호를 설정해"))
    keys("Return")
    grid = p.find("장부", pyatspi.ROLE_TABLE, timeout=20)
    settle(0.5)
    return p, grid


@contextlib.contextmanager
def running():
    """The program started on the ledger, closed by its close box when the scenario is done."""
    p, grid = start()
    try:
        yield p, grid
    finally:
        p.close_box()
        p.wait_end()


def voucher(key):
    return rows("SELECT pro_name, maeip_name, maechul_name, maechul_date FROM total WHERE total_id = ?", key)[0]


def newest_key():
    return rows("SELECT max(total_id) FROM total")[0][0]


def expect(what, probe, timeout=8.0):
    wait_for(what, probe, timeout)


def entry_row_product_enter_then_clients():
    """품명 of the entry row by Enter, 매입처명 by Tab, 판매처명 by a click elsewhere, 판매일자 by Alt+F."""
    with running() as (p, grid):
        before = newest_key()
        p.click(p.cell(grid, -1, "품명"))
        type_2beolsik("rhaxkd")          # 곰탕
        keys("Return")
        expect("곰탕 전표", lambda: newest_key() != before and voucher(newest_key())[0] == "곰탕")
        key = newest_key()
        p.click(p.cell(grid, -2, "매입처명"))
        type_2beolsik("rlawlstn")        # 김진수
        keys("Tab")
        expect("매입처 김진수", lambda: voucher(key)[1] == "김진수")
        p.click(p.cell(grid, -2, "판매처명"))
        type_2beolsik("rlawlstn")
        p.click(p.cell(grid, -2, "매입금액"))
        expect("판매처 김진수", lambda: voucher(key)[2] == "김진수")
        p.click(p.cell(grid, -2, "판매일자"))
        keys(*list(TODAY.strftime("%m%d")))
        keys("alt+f")
        expect("판매일자", lambda: voucher(key)[3] == TODAY.isoformat())


def saved_row_by_close_box():
    """A saved row's 판매처명 typed and left by the close box: the question, then the write."""
    p, grid = start()
    key = rows("SELECT min(total_id) FROM total")[0][0]
    p.click(p.cell(grid, 0, "판매처명"))
    type_2beolsik("rlawlstn")
    p.close_box()
    p.wait_active(p.window_with_text("정말 수정하시겠습니까?"))
    keys("Return")
    p.wait_end()
    if voucher(key)[2] != "김진수":
        raise Failure(f"판매처명: {voucher(key)[2]!r}")


def f2_then_click_elsewhere():
    """F2 first, a syllable still being composed, then a click on another cell."""
    with running() as (p, grid):
        key = rows("SELECT min(total_id) FROM total")[0][0]
        p.click(p.cell(grid, 0, "품명"))
        keys("F2", "ctrl+a")
        type_2beolsik("gksrmf")          # 한글
        p.click(p.cell(grid, 1, "매입금액"))
        p.wait_active(p.window_with_text("정말 수정하시겠습니까?"))
        keys("Return")
        expect("품명 한글", lambda: voucher(key)[0] == "한글")


def client_window_name_then_alt_s():
    """The client window's 상호명 typed in Hangul and saved by Alt+S, the last syllable composing."""
    with running() as (p, grid):
        p.click(p.cell(grid, 0, "판매처명"))  # 김진수 since the close-box scenario
        p.click(p.find("매출처 수정", pyatspi.ROLE_PUSH_BUTTON))
        p.click(p.find("상 호 명", pyatspi.ROLE_TEXT))
        keys("ctrl+a")
        type_2beolsik("qkrdudgml")       # 박영희
        keys("alt+s")
        p.wait_active(p.window_with_text("전표에 이미 등록된"))
        keys("y")                        # 예: the vouchers take the new name too
        p.wait_active(p.window_with_text("자료가 변경되었습니다"))
        keys("Return")
        expect("상호명 박영희", lambda: rows("SELECT name FROM maechul WHERE id = 1") == [("박영희",)])
        expect("전표의 판매처명", lambda: voucher(rows("SELECT min(total_id) FROM total")[0][0])[2] == "박영희")
        # The grid shows the new name as well.
        expect("장부의 판매처명", lambda: p.cell(grid, 0, "판매처명").name == "박영희")


def alt_t_from_the_grid():
    """Alt+T with the focus in the grid opens the 도구 menu, and its letter runs its command."""
    with running() as (p, grid):
        p.click(p.cell(grid, 0, "매입일자"))
        keys("alt+t")
        p.find("도구", timeout=5)
        keys("d")
        p.find("삭제된 전표", pyatspi.ROLE_DIALOG, timeout=5)
        keys("Escape")
        settle()
        # The menu's letter went to the menu only: no editor was left open on the cell.
        p.click(p.cell(grid, 1, "품명"))
        settle()
        stored = rows("SELECT maeip_date FROM total ORDER BY total_id LIMIT 1")[0][0]
        if stored != TODAY.replace(day=1).isoformat():
            raise Failure(f"매입일자가 바뀜: {stored!r}")


def payment_memo_by_enter():
    """입금 from the customer panel: an amount and a Hangul memo saved by Enter, the last syllable composing."""
    with running() as (p, grid):
        p.click(p.cell(grid, 0, "판매처명"))  # customer 1 since the close-box scenario
        settle()
        p.click(p.find("매출처 입금", pyatspi.ROLE_PUSH_BUTTON))
        p.wait_active(p.find("입금·지급", pyatspi.ROLE_DIALOG))
        p.click(p.find("금액", pyatspi.ROLE_TEXT))
        keys(*"5000")
        p.click(p.find("메모", pyatspi.ROLE_TEXT))
        type_2beolsik("rPwhk")           # 계좌
        keys("Return")
        expect("입금 5,000원 계좌", lambda: rows("SELECT amount, memo FROM payment WHERE busi_mode = 1 AND client_code = 1")
               == [(5000, "계좌")])
        keys("Escape")
        settle()


SCENARIOS = [entry_row_product_enter_then_clients, saved_row_by_close_box, f2_then_click_elsewhere,
             client_window_name_then_alt_s, alt_t_from_the_grid, payment_memo_by_enter]


def main():
    prepare_ledger()
    failed = 0
    for scenario in SCENARIOS:
        began = time.monotonic()
        try:
            scenario()
            print(f"PASS {scenario.__name__} ({time.monotonic() - began:.1f} s)", flush=True)
        except Exception:
            failed += 1
            print(f"FAIL {scenario.__name__}", flush=True)
            traceback.print_exc()
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
