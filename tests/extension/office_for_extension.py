# A LibreOffice on a private profile in a scratch folder, where the extension can be installed per
# user. Run as root, unopkg refuses per-user installs, so unopkg and the office run as an
# unprivileged user ("nobody") there, and the office is reached over a socket (a pipe's name
# includes its owner's user id, and the office runs as another user than the caller).
import os
import pwd
import signal
import socket
import subprocess

import uno
from libreoffice_session import connect_to


class OfficeForExtension:
    def __init__(self, work):
        """`work`: the scratch folder; it is handed to the unprivileged user."""
        self.work = work
        self.profile_url = uno.systemPathToFileUrl(os.path.join(work, "profile"))
        self.user = pwd.getpwnam("nobody") if os.geteuid() == 0 else None
        self.as_user = ["runuser", "-u", self.user.pw_name, "--"] if self.user else []
        self.give_folder()

    def give_folder(self):
        if self.user:
            os.chown(self.work, self.user.pw_uid, self.user.pw_gid)

    def unopkg(self, *args):
        """unopkg's exit code and output."""
        run = subprocess.run(self.as_user + ["env", "HOME=" + self.work, "unopkg", *args,
                                             "-env:UserInstallation=" + self.profile_url],
                             capture_output=True, text=True, timeout=300)
        return run.returncode, run.stdout + run.stderr

    def start(self, display=None):
        """A headless office on the private profile, seeing the X display `display` if given;
        returns (context, desktop, stop)."""
        with socket.socket() as probe:
            probe.bind(("127.0.0.1", 0))
            port = probe.getsockname()[1]
        where = "socket,host=127.0.0.1,port=%d" % port
        env = dict(os.environ, HOME=self.work)
        for name in ("LD_PRELOAD", "ASAN_OPTIONS", "UBSAN_OPTIONS", "LSAN_OPTIONS"):
            env.pop(name, None)
        if display:
            env["DISPLAY"] = display
        office = subprocess.Popen(
            self.as_user + ["soffice", "--headless", "--invisible", "--norestore", "--nologo",
                            "--nodefault", "-env:UserInstallation=" + self.profile_url,
                            "--accept=%s;urp;" % where],
            env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, start_new_session=True)

        def stop():
            try:
                os.killpg(office.pid, signal.SIGKILL)
            except ProcessLookupError:
                pass
            office.wait()

        try:
            context, desktop = connect_to(where)
        except BaseException:
            stop()
            raise
        return context, desktop, stop
