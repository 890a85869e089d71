# The UNO connection the LibreOffice corpus scripts share: connecting to a headless LibreOffice
# started by the caller (waiting for its pipe), loading hidden documents and storing xlsx.
import sys
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
    local = uno.getComponentContext()
    resolver = local.ServiceManager.createInstanceWithContext("com.sun.star.bridge.UnoUrlResolver", local)
    deadline = time.time() + seconds
    while True:
        try:
            context = resolver.resolve(f"uno:pipe,name={pipe};urp;StarOffice.ComponentContext")
            break
        except Exception:
            if time.time() > deadline:
                sys.exit("LibreOffice did not answer on its pipe " + pipe)
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
