#!/usr/bin/env python3
"""Opens a workbook Tezlo wrote with openpyxl and checks the texts of the cells listed in an
expectation file (lines "A1 HEX", HEX the UTF-8 bytes of the text openpyxl should show).
Usage: check_texts.py BOOK.xlsx EXPECTED. Exits 1 with the differences listed."""
import sys

from openpyxl import load_workbook

wb = load_workbook(sys.argv[1])
ws = wb.worksheets[0]
failures = []
with open(sys.argv[2], encoding="ascii") as f:
    for line in f:
        cell, _, hexed = line.strip().partition(" ")
        wanted = bytes.fromhex(hexed).decode("utf-8")
        got = ws[cell].value
        if got != wanted:
            failures.append(f"{cell}: got {got!r}, wanted {wanted!r}")
if failures:
    print("\n".join(failures))
    sys.exit(1)
