# Runs a test program against a headless LibreOffice of its own: starts the office with a private
# profile (the shared session module), passes its pipe in TEZLO_OFFICE_PIPE, and stops that office
# and removes its folder afterwards, whatever the program's outcome.
import os
import subprocess
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "files"))
from libreoffice_session import start_office  # noqa: E402

pipe, stop = start_office("calc-host")
try:
    code = subprocess.call(sys.argv[1:], env=dict(os.environ, TEZLO_OFFICE_PIPE=pipe))
finally:
    stop()
sys.exit(code)
