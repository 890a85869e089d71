#!/usr/bin/env python3
"""Checks the workbooks two programs saved from the same batch run on the sample (deb_package_test.sh):
they agree sheet by sheet and cell by cell as openpyxl reads them, and the identity-card numbers
in B106:B109 of +1 got, in columns D to G, the region code, birth date, age in TODAY's year and
sex that the numbers themselves give. Usage: check_run_books.py A.xlsx B.xlsx TODAY (YYYY-MM-DD).
Prints the sheet names and exits 0, or lists what is wrong and exits 1."""
import datetime
import sys

from openpyxl import load_workbook


def cells(ws):
    return {(c.row, c.column): c.value for row in ws.iter_rows() for c in row if c.value is not None}


def card_facts(number, today):
    born = datetime.date(int(number[6:10]), int(number[10:12]), int(number[12:14]))
    age = today.year - born.year  # calendar years: a birthday later this year does not lower it
    sex = "男" if int(number[16]) % 2 == 1 else "女"
    return [int(number[:6]), datetime.datetime(born.year, born.month, born.day), age, sex]


a = load_workbook(sys.argv[1])
b = load_workbook(sys.argv[2])
today = datetime.date.fromisoformat(sys.argv[3])
failures = []
if a.sheetnames != b.sheetnames:
    failures.append(f"sheet names: {a.sheetnames!r} against {b.sheetnames!r}")
else:
    for name in a.sheetnames:
        ca, cb = cells(a[name]), cells(b[name])
        for key in sorted(ca.keys() | cb.keys()):
            if ca.get(key) != cb.get(key):
                failures.append(f"{name}!R{key[0]}C{key[1]}: {ca.get(key)!r} against {cb.get(key)!r}")
ws = a["+1"]
for row in range(106, 110):
    number = ws.cell(row, 2).value
    written = [ws.cell(row, col).value for col in range(4, 8)]
    if not isinstance(number, str) or len(number) != 18:
        failures.append(f"B{row}: {number!r} is no identity-card number")
    elif written != card_facts(number, today):
        failures.append(f"row {row}: {written!r}, the number {number} gives {card_facts(number, today)!r}")
if failures:
    print("\n".join(failures[:20]))
    sys.exit(1)
print("\n".join(a.sheetnames))
