# The extension as a user meets it, in a LibreOffice of its own (a private profile in a scratch
# folder):
#  - `unopkg add` installs tezlo.oxt for the user and `unopkg list` shows it;
#  - the office then has the "&Z" toolbar button (in Calc's context) and the Alt+Z shortcut, both
#    sending the command that opens the command box; a Calc window's frame has a handler for it;
#  - the command from the toolbar opens the box over the document window; text typed into it and
#    Enter run the code on that document, as one undo step; "*10" turns the box into a readout
#    of the pointer on the X display (a virtual one here), and the next Enter runs nothing;
#  - the automation entry runs codes on the sample workbook and on a topic-block workbook, with
#    dialogs answered OK and Cancel: the dialogs shown and the cell values saved must be those of
#    `tezlo run` (the memory engine) doing the same, and one undo takes a whole command back;
#  - `unopkg remove` takes it away: not listed, no button, no shortcut, no handler, and nothing of
#    it left in the profile.
# Run as root, unopkg refuses per-user installs, so the office and unopkg run as an unprivileged
# user ("nobody") there, reached over a socket.
#   extension_test.py TEZLO_OXT TEZLO      (KEEP=1 keeps the scratch folder, for a look afterwards)
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import warnings

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "files"))
if not shutil.which("soffice") or not shutil.which("unopkg"):
    sys.exit("FAIL: LibreOffice (libreoffice-calc-nogui, python3-uno) is not installed")
import uno  # noqa: E402
from office_for_extension import OfficeForExtension  # noqa: E402
from libreoffice_session import prop  # noqa: E402
from com.sun.star.beans import NamedValue  # noqa: E402
from com.sun.star.util import URL  # noqa: E402

warnings.simplefilter("ignore")
from openpyxl import load_workbook  # noqa: E402

OXT, TEZLO = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2])
COMMAND = "vnd.tezlo:ShowCommandBox"
IDENTIFIER = "org.tezlo.calc"
CALC = "com.sun.star.sheet.SpreadsheetDocument"
problems = []


def step(what):
    print("--", what, flush=True)


def check(ok, what):
    if not ok:
        problems.append(what)
        print("FAIL:", what, flush=True)
    return ok


# Stopped by the test's time limit (SIGTERM): leave through sys.exit, so that the office stops.
signal.signal(signal.SIGTERM, lambda *_: sys.exit("stopped"))
work = tempfile.mkdtemp(prefix="tezlo-oxt-")
office = OfficeForExtension(work)
user = office.user
unopkg = office.unopkg


def start_display():
    """A virtual X server (Xvfb) on a display numbered after this process, whose pointer stands
    in the middle of its 640x480 screen; returns (DISPLAY, stop) once it listens."""
    number = 6000 + os.getpid() % 3000
    server = subprocess.Popen(["Xvfb", ":%d" % number, "-screen", "0", "640x480x24",
                               "-nolisten", "tcp"],
                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    deadline = time.time() + 10
    while not os.path.exists("/tmp/.X11-unix/X%d" % number) and time.time() < deadline:
        time.sleep(0.05)

    def stop():
        server.terminate()
        server.wait()

    return ":%d" % number, stop


def start_office():
    """The office on the private profile, on the virtual display; (context, desktop, stop)."""
    return office.start(display)


def service(context, name, *args):
    return context.ServiceManager.createInstanceWithArgumentsAndContext(name, args, context) \
        if args else context.ServiceManager.createInstanceWithContext(name, context)


def addon_buttons(context):
    """(title, URL, context) of every add-on toolbar item."""
    provider = service(context, "com.sun.star.configuration.ConfigurationProvider")
    node = provider.createInstanceWithArguments(
        "com.sun.star.configuration.ConfigurationAccess",
        (prop("nodepath", "/org.openoffice.Office.Addons/AddonUI/OfficeToolBar"),))
    items = []
    for bar in node.ElementNames:
        for name in node.getByName(bar).ElementNames:
            item = node.getByName(bar).getByName(name)
            items.append((item.Title, item.URL, item.Context))
    return items


def alt_z(context):
    """The command Calc's shortcut list gives Alt+Z; None for no command."""
    manager = service(context, "com.sun.star.ui.ModuleUIConfigurationManagerSupplier") \
        .getUIConfigurationManager(CALC).getShortCutManager()
    key = uno.createUnoStruct("com.sun.star.awt.KeyEvent")
    key.KeyCode = uno.getConstantByName("com.sun.star.awt.Key.Z")
    key.Modifiers = uno.getConstantByName("com.sun.star.awt.KeyModifier.MOD2")
    try:
        return manager.getCommandByKeyEvent(key)
    except Exception:  # noqa: BLE001 - NoSuchElementException: no command for the key
        return None


def command_url():
    url = URL()
    url.Complete = COMMAND
    return url


def handler_of(frame):
    return frame.queryDispatch(command_url(), "", 0)


def load(desktop, path):
    return desktop.loadComponentFromURL(uno.systemPathToFileUrl(path), "_blank", 0,
                                        (prop("Hidden", True),))


def select(doc, ref):
    sheet = doc.CurrentController.ActiveSheet
    doc.CurrentController.select(sheet.getCellRangeByName(ref))


def run_code(context, doc, code, answers=()):
    job = service(context, "org.tezlo.calc.Automation")
    result = job.execute((NamedValue("Code", code), NamedValue("Document", doc),
                          NamedValue("Answers", uno.Any("[]string", tuple(answers)))))
    return {v.Name: v.Value for v in result}


def values_of(path):
    """Every sheet's cell values (a formula's text, as neither engine's cached results need be
    current), as openpyxl reads them from an xlsx file."""
    book = load_workbook(path)
    return {ws.title: {c.coordinate: c.value for row in ws.iter_rows() for c in row
                       if c.value is not None} for ws in book.worksheets}


def differences(memory, calc):
    """The first few cells whose values differ, as sheet!cell memory|calc."""
    out = []
    for sheet in sorted(set(memory) | set(calc)):
        a, b = memory.get(sheet, {}), calc.get(sheet, {})
        for cell in sorted(set(a) | set(b)):
            if a.get(cell) != b.get(cell):
                out.append("%s!%s %r|%r" % (sheet, cell, a.get(cell), b.get(cell)))
    return ", ".join(out[:6])


def first_change(before, after):
    for s, (a, b) in enumerate(zip(before, after)):
        for r, (ra, rb) in enumerate(zip(a, b)):
            if ra != rb:
                return "sheet %d row %d: %r -> %r" % (s + 1, r + 1, ra[:6], rb[:6])
    return "%d sheets -> %d" % (len(before), len(after))


def sheet_values(doc):
    return [tuple(s.getCellRangeByName("A1:T160").DataArray) for s in doc.Sheets]


# ---- the workbooks: the built-in sample (written by the memory engine) and a topic-block one
sample = os.path.join(work, "sample.xlsx")
subprocess.run([TEZLO, "run", "--sample", "--out", sample, "--"], check=True,
               stdout=subprocess.DEVNULL)
topics = os.path.join(work, "topics.xlsx")
subprocess.run([sys.executable, os.path.join(HERE, "topic_block_book.py"), topics], check=True)
oxt = os.path.join(work, "tezlo.oxt")
shutil.copy(OXT, oxt)
for path in (sample, topics, oxt):
    os.chmod(path, 0o666)
if user:
    os.chown(work, user.pw_uid, user.pw_gid)

# (workbook, selection, code, answers): every family, OK and Cancel where a dialog asks.
SCENARIOS = [
    (sample, "B53", "+3", []),
    (sample, "B58", "-2", []),
    (sample, "B54", "-2", []),          # refused: a message box
    (sample, "E68", "*5", []),
    (sample, "C84", "*6", []),
    (sample, "B53:D56", "*11", ["ok"]),
    (sample, "B53:D56", "*11", ["cancel"]),
    (topics, "A1", "105", []),
    (topics, "B4", "*21", ["ok"]),
    (topics, "B4", "*21", ["cancel"]),
    (topics, "A1", "999", []),
    (topics, "B4", "*16", ["ok"]),
    (topics, "B4", "*16", ["cancel"]),
]

display, stop_display = start_display()
stop = None
try:
    code, out = unopkg("add", "--suppress-license", oxt)
    check(code == 0, "unopkg add failed: " + out)
    code, out = unopkg("list")
    check(code == 0 and "Identifier: " + IDENTIFIER in out, "unopkg list does not show the extension: " + out)

    step("installed; the office starts")
    context, desktop, stop = start_office()
    check(("&Z", COMMAND, CALC) in addon_buttons(context),
          "no \"&Z\" toolbar button for Calc: %r" % addon_buttons(context))
    check(alt_z(context) == COMMAND, "Alt+Z sends %r" % alt_z(context))

    # The toolbar's command, dispatched to a Calc window: the box opens over it, and the text
    # typed into it runs on that document when Enter is pressed.
    step("the command box")
    doc = load(desktop, sample)
    frame = doc.CurrentController.Frame
    handler = handler_of(frame)
    if check(handler is not None, "a Calc window has no handler for " + COMMAND):
        toolkit = service(context, "com.sun.star.awt.Toolkit")
        before = toolkit.TopWindowCount
        select(doc, "B53")

        def open_box():
            handler.dispatch(command_url(), ())
            boxes = [w for w in (toolkit.getTopWindow(i) for i in range(toolkit.TopWindowCount))
                     if (w.PosSize.Width, w.PosSize.Height) == (57, 18)]
            check(len(boxes) == 1, "no 57x18-pixel command box among the windows")
            return [w for w in boxes[0].Windows if hasattr(w, "Text")][0]

        def enter(field, text):
            field.Text = text
            key = uno.createUnoStruct("com.sun.star.awt.KeyEvent")
            key.KeyCode = uno.getConstantByName("com.sun.star.awt.Key.RETURN")
            key.Source = field
            # Only the press: Enter may close the box, and a robot's release event would be
            # posted to a window that is gone by then.
            toolkit.keyPress(key)
            toolkit.processEventsToIdle()

        undo = doc.UndoManager
        enter(open_box(), " +3 ")
        check(undo.isUndoPossible() and undo.getCurrentUndoActionTitle() == "Tezlo +3",
              "Enter in the box made no \"Tezlo +3\" undo step: %r" % (undo.getAllUndoActionTitles(),))
        check(toolkit.TopWindowCount == before, "the box stayed open after Enter")
        steps = len(undo.getAllUndoActionTitles())
        field = open_box()
        enter(field, "*10")
        check(toolkit.TopWindowCount == before + 1, "the box closed on *10")
        check(field.Text == "320.240", "the readout shows %r, not the pointer at 320.240" % field.Text)
        enter(field, "+3")
        check(toolkit.TopWindowCount == before, "the box stayed open after the readout")
        check(len(undo.getAllUndoActionTitles()) == steps, "the Enter after a readout ran a command")
    doc.close(True)

    # The automation entry against the batch runner, scenario by scenario.
    for book, ref, code, answers in SCENARIOS:
        name = "%s %s %s %s" % (os.path.basename(book), ref, code, "/".join(answers) or "-")
        step(name)
        ours = os.path.join(work, "memory.xlsx")
        batch = subprocess.run([TEZLO, "run", book, "--select", ref, "--today", time.strftime("%Y-%m-%d"),
                                "--out", ours] + [a for answer in answers for a in ("--answer", answer)]
                               + ["--", code], capture_output=True, text=True)
        expected_dialogs = "".join(line + "\n" for line in batch.stdout.splitlines()
                                   if line.startswith("dialog\t"))
        doc = load(desktop, book)
        select(doc, ref)
        before = sheet_values(doc)
        result = run_code(context, doc, code, answers)
        check(result["Ran"], name + ": the automation entry did not run the code")
        check(result["InternalError"] == "", name + ": internal error " + result["InternalError"])
        check(result["Dialogs"] == expected_dialogs,
              name + ": dialogs differ\n memory: %r\n calc:   %r" % (expected_dialogs, result["Dialogs"]))
        theirs = os.path.join(work, "calc.xlsx")
        doc.storeToURL(uno.systemPathToFileUrl(theirs), (prop("FilterName", "Calc MS Excel 2007 XML"),))
        calc_values, memory_values = values_of(theirs), values_of(ours)
        check(calc_values == memory_values, name + ": the saved values differ from the batch runner's: " +
              differences(memory_values, calc_values))
        after = sheet_values(doc)
        undo = doc.UndoManager
        # LibreOffice 7.4 crashes undoing a sheet's insertion in a hidden window through the
        # API (ScTabView::SetTabNo, with plain API calls too), so commands that add sheets are
        # left out of the undo check.
        if after != before and len(after) == len(before):
            check(undo.getCurrentUndoActionTitle() == "Tezlo " + code,
                  name + ": the last undo step is %r" % undo.getCurrentUndoActionTitle())
            undo.undo()
            undone = sheet_values(doc)
            check(undone == before, name + ": one undo does not take the whole command back: " +
                  first_change(before, undone))
            undo.redo()
            redone = sheet_values(doc)
            check(redone == after, name + ": redo does not give the command's result back: " +
                  first_change(after, redone))
        doc.close(True)
    stop()
    stop = None

    step("removal")
    code, out = unopkg("remove", IDENTIFIER)
    check(code == 0, "unopkg remove failed: " + out)
    code, out = unopkg("list")
    check(IDENTIFIER not in out, "unopkg still lists the extension")
    context, desktop, stop = start_office()
    check(all(url != COMMAND for _, url, _ in addon_buttons(context)), "the toolbar button stayed")
    check(alt_z(context) != COMMAND, "the shortcut stayed")
    doc = desktop.loadComponentFromURL("private:factory/scalc", "_blank", 0, (prop("Hidden", True),))
    check(handler_of(doc.CurrentController.Frame) is None, "the command still has a handler")
    doc.close(True)
    stop()
    stop = None
    left = []
    for folder, _, files in os.walk(os.path.join(work, "profile")):
        for f in files:
            path = os.path.join(folder, f)
            if "tezlo" in f.lower() or (f.endswith((".xcu", ".xml", ".components", ".db")) and
                                        b"tezlo" in open(path, "rb").read().lower()):
                left.append(os.path.relpath(path, work))
    check(left == [], "left in the profile after removal: %r" % left)
finally:
    if stop:
        stop()
    stop_display()
    if os.environ.get("KEEP"):
        print("kept", work)
    else:
        shutil.rmtree(work, ignore_errors=True)

if problems:
    sys.exit("%d problem(s)" % len(problems))
print("extension: installed, used and removed cleanly")
