"""The tools inside LibreOffice Calc, on the benchmarks' 1,040,000-cell sheets (80,000 rows by
13 columns, written by the engine: tezlo_bench_books), through the extension's automation job.
Each figure is the time of one execute() call, which runs the code in the office's own process
on the loaded document; the office's own insertCells of the same cells is timed beside "+3", and
its own removeRange of the rows and columns "999" deletes beside "999".
Between repetitions the opposite command, or a fresh load, puts the sheet back (untimed),
and each run is checked to have done its work.
  office_bench.py TEZLO_OXT TEZLO_BENCH_BOOKS [REPEAT]   (REPEAT runs per figure, 7 unless told)
Run as root, unopkg refuses per-user installs, so the office runs as "nobody", over a socket.
An optimised build of the extension is wanted: a sanitized one must not be loaded into the office.
"""
import os
import shutil
import signal
import statistics
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "tests", "files"))
sys.path.insert(0, os.path.join(HERE, "..", "tests", "extension"))
if not shutil.which("soffice") or not shutil.which("unopkg"):
    sys.exit("LibreOffice (libreoffice-calc-nogui, python3-uno) is not installed")
import uno  # noqa: E402
from libreoffice_session import prop  # noqa: E402
from office_for_extension import OfficeForExtension  # noqa: E402
from com.sun.star.beans import NamedValue  # noqa: E402
from com.sun.star.sheet.CellDeleteMode import COLUMNS, ROWS, UP  # noqa: E402
from com.sun.star.sheet.CellInsertMode import DOWN  # noqa: E402
from com.sun.star.sheet.GeneralFunction import COUNT  # noqa: E402

OXT, BOOKS = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2])
REPEAT = int(sys.argv[3]) if len(sys.argv) > 3 else 7
IDENTIFIER = "org.tezlo.calc"

# The column-block benchmarks' cell: the fourth column of the topic block of rows 40,001-40,050;
# "+3" there opens rows 40,010-40,012 across the block's 13 columns.
IN_BLOCK = "D40010"
INSERTED = "A40010:M40012"
# The topic index's A1 names the last topic block, at this row.
LAST_TOPIC_ROW = 79951
# A format far outside the data, put back before each "999" so that slimming has rows and columns
# to delete (within the 1,024 columns a LibreOffice sheet has by default).
FAR_CELL = (899999, 999)  # zero-based row and column
# What "999" deletes there, timed as the office's own removeRange beside it.
BELOW_DATA, RIGHT_OF_DATA = "A80001:XFD1048576", "N1:XFD1048576"
COMPARE_FIRST, COMPARE_ITEMS = 52, 100000

signal.signal(signal.SIGTERM, lambda *_: sys.exit("stopped"))
work = tempfile.mkdtemp(prefix="tezlo-office-bench-")
office = OfficeForExtension(work)


def load(desktop, name):
    return desktop.loadComponentFromURL(uno.systemPathToFileUrl(os.path.join(work, name)),
                                        "_blank", 0, (prop("Hidden", True),))


def select(doc, ref):
    doc.CurrentController.select(doc.Sheets.getByIndex(0).getCellRangeByName(ref))


def active_cell(doc):
    address = doc.CurrentController.getSelection().getCellAddress() \
        if hasattr(doc.CurrentController.getSelection(), "getCellAddress") else None
    return (address.Row, address.Column) if address else None


def run_job(context, doc, code, answers=()):
    """Seconds the automation job's execute() took, and its results."""
    job = context.ServiceManager.createInstanceWithContext("org.tezlo.calc.Automation", context)
    arguments = (NamedValue("Code", code), NamedValue("Document", doc),
                 NamedValue("Answers", uno.Any("[]string", tuple(answers))))
    start = time.perf_counter()
    result = job.execute(arguments)
    seconds = time.perf_counter() - start
    result = {v.Name: v.Value for v in result}
    if not result["Ran"] or result["InternalError"]:
        sys.exit("%s did not run: %r" % (code, result))
    return seconds, result


def cell_text(sheet, ref):
    return sheet.getCellRangeByName(ref).getString()


def bench_insert(context, desktop, figures):
    """The office's insertCells, put back by removeRange; "+3", put back by "-3" (as the
    column-block benchmark does: undoing the command's step in a hidden window ends the office)."""
    doc = load(desktop, "blocks.xlsx")
    sheet = doc.Sheets.getByIndex(0)
    here = cell_text(sheet, IN_BLOCK)
    area = sheet.getCellRangeByName(INSERTED).getRangeAddress()

    def check(what, opened):
        if opened != (cell_text(sheet, IN_BLOCK) == "" and cell_text(sheet, "D40013") == here):
            sys.exit("%s did not %s three rows at %s" % (what, "open" if opened else "close",
                                                          IN_BLOCK))

    own, ours = [], []
    for _ in range(REPEAT):
        start = time.perf_counter()
        sheet.insertCells(area, DOWN)
        own.append(time.perf_counter() - start)
        check("insertCells", True)
        sheet.removeRange(area, UP)
        check("removeRange", False)
        select(doc, IN_BLOCK)
        seconds, _ = run_job(context, doc, "+3")
        ours.append(seconds)
        check('"+3"', True)
        select(doc, IN_BLOCK)
        run_job(context, doc, "-3")
        check('"-3"', False)
    figures.append(("LibreOffice insertCells %s DOWN" % INSERTED, own))
    figures.append(('"+3" at %s' % IN_BLOCK, ours))
    doc.close(True)


def bench_topics(context, desktop, figures):
    doc = load(desktop, "topics.xlsx")
    sheet = doc.Sheets.getByIndex(0)
    slim, own, jump = [], [], []
    rows, columns = sheet.getCellRangeByName(BELOW_DATA), sheet.getCellRangeByName(RIGHT_OF_DATA)
    for _ in range(REPEAT):
        sheet.getCellByPosition(FAR_CELL[1], FAR_CELL[0]).CellBackColor = 0xFFFF00
        start = time.perf_counter()
        sheet.removeRange(rows.getRangeAddress(), ROWS)
        sheet.removeRange(columns.getRangeAddress(), COLUMNS)
        own.append(time.perf_counter() - start)
        sheet.getCellByPosition(FAR_CELL[1], FAR_CELL[0]).CellBackColor = 0xFFFF00
        select(doc, "A1")
        seconds, _ = run_job(context, doc, "999")
        slim.append(seconds)
        used = sheet.createCursor()
        used.gotoEndOfUsedArea(False)
        end = (used.RangeAddress.EndRow, used.RangeAddress.EndColumn)
        if end != (79999, 12) or active_cell(doc) != (LAST_TOPIC_ROW - 1, 0):
            sys.exit('"999" did not slim the sheet (used area to %r) or go to the last topic '
                     "(at %r)" % (end, active_cell(doc)))
        select(doc, "A1")
        seconds, _ = run_job(context, doc, "101")
        jump.append(seconds)
        if active_cell(doc) != (LAST_TOPIC_ROW - 1, 0):
            sys.exit('"101" did not go to the last topic block (at %r)' % (active_cell(doc),))
    figures.append(("LibreOffice removeRange %s ROWS, %s COLUMNS" % (BELOW_DATA, RIGHT_OF_DATA),
                    own))
    figures.append(('"999" (a far cell formatted before each run)', slim))
    figures.append(('"101" (A1 names the last topic block)', jump))
    doc.close(True)


def bench_compare(context, desktop, figures):
    times = []
    for _ in range(REPEAT):
        doc = load(desktop, "compare.xlsx")
        sheet = doc.Sheets.getByIndex(0)
        select(doc, "B%d" % COMPARE_FIRST)
        seconds, _ = run_job(context, doc, "*18", ["ok"])
        times.append(seconds)
        last = COMPARE_FIRST + COMPARE_ITEMS - 1
        placed = sum(sheet.getCellRangeByName("%s%d:%s%d" % (col, COMPARE_FIRST, col, last))
                     .computeFunction(COUNT) for col in "DE")
        if placed != COMPARE_ITEMS:
            sys.exit('"*18" placed %d of %d left items' % (placed, COMPARE_ITEMS))
        doc.close(True)
    figures.append(('"*18" on 100,000 x 100,000 items', times))


def report(figures):
    print("%-48s %9s %9s %9s  (ms, %d runs; load %s)" % (
        "", "median", "min", "max", REPEAT, " ".join("%.2f" % x for x in os.getloadavg())))
    for name, times in figures:
        ms = [t * 1000 for t in times]
        print("%-48s %9.1f %9.1f %9.1f" % (name, statistics.median(ms), min(ms), max(ms)),
              flush=True)


def main():
    stop = None
    try:
        subprocess.run([BOOKS, work], check=True)
        shutil.copy(OXT, os.path.join(work, "tezlo.oxt"))
        for name in os.listdir(work):
            os.chmod(os.path.join(work, name), 0o666)
        office.give_folder()
        code, out = office.unopkg("add", "--suppress-license", os.path.join(work, "tezlo.oxt"))
        if code != 0:
            sys.exit("unopkg add failed: " + out)
        context, desktop, stop = office.start()
        figures = []
        only = os.environ.get("ONLY", "insert topics compare").split()
        for part, bench in (("insert", bench_insert), ("topics", bench_topics),
                            ("compare", bench_compare)):
            if part in only:
                bench(context, desktop, figures)
        report(figures)
    finally:
        if stop:
            stop()
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    main()
