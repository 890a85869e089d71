# Opens a workbook in a running headless LibreOffice (through its UNO pipe) and keeps it open
# until killed, as a user with the file open would. Prints "open" once LibreOffice has it.
#   hold_in_libreoffice.py PIPE-NAME WORKBOOK
import sys
import time

import uno

from libreoffice_session import connect, prop

pipe, path = sys.argv[1], sys.argv[2]
_, desktop = connect(pipe)
# Opened for editing (not read-only), so that LibreOffice writes its lock file.
document = desktop.loadComponentFromURL(uno.systemPathToFileUrl(path), "_blank", 0, (prop("Hidden", True),))
if document is None:
    sys.exit("LibreOffice could not open " + path)
print("open", flush=True)
while True:
    time.sleep(60)
