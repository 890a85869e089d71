# Opens a workbook in a running headless LibreOffice (through its UNO pipe) and keeps it open
# until killed, as a user with the file open would. Prints "open" once LibreOffice has it.
#   hold_in_libreoffice.py PIPE-NAME WORKBOOK
import sys
import time

import uno
from com.sun.star.beans import PropertyValue

pipe, path = sys.argv[1], sys.argv[2]
local = uno.getComponentContext()
resolver = local.ServiceManager.createInstanceWithContext("com.sun.star.bridge.UnoUrlResolver", local)
deadline = time.time() + 120
while True:
    try:
        context = resolver.resolve(f"uno:pipe,name={pipe};urp;StarOffice.ComponentContext")
        break
    except Exception:
        if time.time() > deadline:
            sys.exit("LibreOffice did not answer on its pipe")
        time.sleep(0.5)
desktop = context.ServiceManager.createInstanceWithContext("com.sun.star.frame.Desktop", context)
hidden = PropertyValue()
hidden.Name = "Hidden"
hidden.Value = True
document = desktop.loadComponentFromURL(uno.systemPathToFileUrl(path), "_blank", 0, (hidden,))
if document is None:
    sys.exit("LibreOffice could not open " + path)
print("open", flush=True)
while True:
    time.sleep(60)
