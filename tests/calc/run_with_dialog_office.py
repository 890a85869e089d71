# Runs a test program against a LibreOffice of its own whose modal dialogs really wait for an
# answer: started without --headless, drawing with its bitmap back end (svp, no display needed),
# and with keep_dialogs_modal preloaded, which undoes the headless mode that an office built
# without a GUI enters by itself. Usage: run_with_dialog_office.py PRELOAD PROGRAM [ARGS...]
# The program gets the office's pipe in TEZLO_OFFICE_PIPE and TEZLO_OFFICE_DIALOGS=1.
import os
import shutil
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "files"))
from libreoffice_session import start_office  # noqa: E402

preload, program = os.path.abspath(sys.argv[1]), sys.argv[2:]
scratch = tempfile.mkdtemp(prefix="tezlo-dialogs-")
ready = os.path.join(scratch, "ready")
pipe, stop = start_office("calc-dialogs", headless=False,
                          env={"SAL_USE_VCLPLUGIN": "svp", "LD_PRELOAD": preload,
                               "TEZLO_DIALOGS_READY": ready})
try:
    deadline = time.time() + 300
    while not os.path.exists(ready):
        if time.time() > deadline:
            sys.exit("the office's dialogs did not become modal (keep_dialogs_modal not loaded?)")
        time.sleep(0.2)
    code = subprocess.call(program, env=dict(os.environ, TEZLO_OFFICE_PIPE=pipe,
                                             TEZLO_OFFICE_DIALOGS="1"))
finally:
    stop()
    shutil.rmtree(scratch, ignore_errors=True)
sys.exit(code)
