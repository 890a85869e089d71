# The UNO connection the LibreOffice corpus scripts share: connecting to a headless LibreOffice
# started by the caller (waiting for its pipe), loading hidden documents and storing xlsx.
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time

import uno
from com.sun.star.beans import PropertyValue


def prop(name, value):
    p = PropertyValue()
    p.Name = name
    p.Value = value
    return p


def connect(pipe, seconds=120):
    """(component context, desktop) of the LibreOffice listening on `pipe`."""
    return connect_to("pipe,name=" + pipe, seconds)


def connect_to(connection, seconds=120):
    """(component context, desktop) of the LibreOffice accepting `connection` (as --accept
    names it: pipe,name=NAME or socket,host=HOST,port=PORT), waiting for it to answer."""
    local = uno.getComponentContext()
    resolver = local.ServiceManager.createInstanceWithContext("com.sun.star.bridge.UnoUrlResolver", local)
    deadline = time.time() + seconds
    while True:
        try:
            context = resolver.resolve(f"uno:{connection};urp;StarOffice.ComponentContext")
            break
        except Exception:
            if time.time() > deadline:
                sys.exit("LibreOffice did not answer on " + connection)
            time.sleep(0.5)
    desktop = context.ServiceManager.createInstanceWithContext("com.sun.star.frame.Desktop", context)
    return context, desktop


def load(desktop, path):
    """The document at `path`, opened hidden; None when LibreOffice cannot open it."""
    try:
        return desktop.loadComponentFromURL(uno.systemPathToFileUrl(path), "_blank", 0,
                                            (prop("Hidden", True), prop("ReadOnly", True)))
    except Exception:  # noqa: BLE001 - LibreOffice reports a broken file as an IOException
        return None


def store_xlsx(doc, path):
    doc.storeToURL(uno.systemPathToFileUrl(path), (prop("FilterName", "Calc MS Excel 2007 XML"),))


def start_office(name, headless=True, env=None):
    """Starts a headless LibreOffice of the caller's own: a private profile in a scratch folder,
    listening on a pipe named for `name`. Returns (pipe, stop); stop() ends only that LibreOffice
    (its own process group) and removes its folder. A run stopped by its time limit (SIGTERM)
    leaves through sys.exit, so the caller's `finally: stop()` still runs. headless=False starts
    it without --headless; `env` adds variables to the office's environment."""
    work = tempfile.mkdtemp(prefix="tezlo-lo-%s-" % name)
    pipe = "tezlo-%s-%d" % (name, os.getpid())
    office = subprocess.Popen(
        ["soffice"] + (["--headless"] if headless else []) +
        ["--invisible", "--norestore", "--nologo", "--nodefault",
         "-env:UserInstallation=" + uno.systemPathToFileUrl(os.path.join(work, "profile")),
         "--accept=pipe,name=%s;urp;" % pipe],
        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, start_new_session=True,
        env=dict(os.environ, **(env or {})))

    def stop():
        try:
            os.killpg(office.pid, signal.SIGKILL)
        except ProcessLookupError:
            pass
        office.wait()
        shutil.rmtree(work, ignore_errors=True)

    signal.signal(signal.SIGTERM, lambda *_: sys.exit("stopped"))
    return pipe, stop
