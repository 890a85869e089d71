#!/usr/bin/env python3
"""Compares two workbooks as openpyxl reads them: the sheet names in order, and every cell's value
and formula on every sheet. Usage: same_cells.py A.xlsx B.xlsx. Prints the sheet names of A and
exits 0 when the two agree; lists the differences and exits 1 when they do not."""
import sys

from openpyxl import load_workbook


def cells(ws):
    return {(c.row, c.column): c.value for row in ws.iter_rows() for c in row if c.value is not None}


a = load_workbook(sys.argv[1])
b = load_workbook(sys.argv[2])
failures = []
if a.sheetnames != b.sheetnames:
    failures.append(f"sheet names: {a.sheetnames!r} against {b.sheetnames!r}")
else:
    for name in a.sheetnames:
        ca, cb = cells(a[name]), cells(b[name])
        for key in sorted(ca.keys() | cb.keys()):
            if ca.get(key) != cb.get(key):
                failures.append(f"{name}!R{key[0]}C{key[1]}: {ca.get(key)!r} against {cb.get(key)!r}")
if failures:
    print("\n".join(failures[:20]))
    sys.exit(1)
print("\n".join(a.sheetnames))
