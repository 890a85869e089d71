"""Checks, in openpyxl, a workbook kept_styles_test.cpp saved after colouring bold cells."""
import sys

import openpyxl

wb = openpyxl.load_workbook(sys.argv[1])
ws = wb.active
failures = []


def expect(what, got, want):
    if got != want:
        failures.append(f"{what}: got {got!r}, want {want!r}")


a1 = ws["A1"]
expect("A1 bold", a1.font.b, True)
expect("A1 border", a1.border.left.style, "thin")
expect("A1 centred", a1.alignment.horizontal, "center")
expect("A1 fill", a1.fill.patternType, "solid")
expect("A1 fill colour", a1.fill.fgColor.indexed, 10)
expect("B1 format", ws["B1"].number_format, "0.00%")
expect("B1 fill kept", ws["B1"].fill.fgColor.indexed, 13)
expect("C1 bold", ws["C1"].font.b, True)
expect("C1 quote prefix", bool(ws["C1"].quotePrefix), False)
expect("C1 text format", ws["C1"].number_format, "@")
expect("A4 fill", ws["A4"].fill.fgColor.indexed, 10)
expect("A4 not bold", bool(ws["A4"].font.b), False)
expect("named style", "Heading" in wb.named_styles, True)
if failures:
    print("\n".join(failures))
    sys.exit(1)
print("ok")
