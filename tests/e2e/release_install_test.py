#!/usr/bin/env python3
"""The Windows release installed, used and removed again in the build's Wine prefix.

    release_install_test.py --source DIR --build DIR --work DIR --check PROGRAM
                            --samples DIR -- EMULATOR...

Packages the build with scripts/package (the build's own architecture: where this
kernel runs no 32-bit programs that is the 64-bit build of the same release), runs the
installer silently and checks that every file and registration is in place and that
the installed folder holds what the zip holds; runs the check program against the
installed folder (version resources, kwlaunch attaching the installed add-in, Sorbex.exe
opening a result file); runs the uninstaller silently and checks that nothing the
installer made is left in the user's folders or the registry.
"""
import argparse
import getpass
import os
import re
import subprocess
import sys
import tempfile
import time
import zipfile

UNINSTALL_KEY = r"HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Uninstall\Kestrix"
SBX_CLASS = "Kestrix.SorbexResults"
START_MENU = "AppData/Roaming/Microsoft/Windows/Start Menu/Programs"
SHORTCUTS = ["Sorbex.lnk", "Registry Editor with keywright.lnk"]
UNINSTALL_TIMEOUT = 60
# Places that Windows itself keeps, which an installer may be the first to create in a
# fresh Wine prefix: the user's programs folder and the parents of the registrations.
SYSTEM_PLACES = {
    ("file", "AppData/Local/Programs"),
    ("registry", r"hkey_current_user\software\classes", None),
    ("registry", r"hkey_current_user\software\microsoft\windows\currentversion\uninstall", None),
}
# Wine's own keys, which it writes the first time a console program runs (the
# installer runs kwlaunch --register) or a window shows.
WINE_OWN_KEYS = (r"hkey_current_user\console",
                 r"hkey_current_user\software\wine\temporary system parameters")

failures = []


def step(what, started=[time.monotonic()]):
    print("--- %s (%.0f s)" % (what, time.monotonic() - started[0]), flush=True)


def check(ok, what):
    print(("ok     " if ok else "FAILED ") + what, flush=True)
    if not ok:
        failures.append(what)
    return ok


def unescape(field):
    """A field of the check program's snapshot: tabs, line ends and backslashes escaped."""
    return re.sub(r"\\(.)", lambda m: {"t": "\t", "n": "\n", "r": "\r"}.get(m.group(1),
                                                                            m.group(1)), field)


class Wine:
    def __init__(self, emulator):
        self.emulator = emulator
        self.prefix = emulator[emulator.index("--prefix") + 1]
        self.user_dir = os.path.join(self.prefix, "drive_c", "users", getpass.getuser())

    def run(self, *arguments, timeout=300):
        return subprocess.run(self.emulator + list(arguments), stdout=subprocess.PIPE,
                              stderr=subprocess.STDOUT, timeout=timeout)

    def windows_path(self, path):
        """C:\\... for a path inside the prefix's drive C."""
        relative = os.path.relpath(path, os.path.join(self.prefix, "drive_c"))
        return "C:\\" + relative.replace("/", "\\")

    def registry(self, check_program):
        """Every key and value of the registry trees an installer for one user can
        touch, as the check program lists them: (key, value name, type, data), with
        None for the key itself."""
        items = set()
        with tempfile.TemporaryDirectory() as folder:
            path = os.path.join(folder, "registry.txt")
            result = self.run(check_program, "--snapshot", "Z:" + path.replace("/", "\\"))
            if result.returncode != 0 or not os.path.exists(path):
                raise RuntimeError("the registry snapshot failed: %s" % result.stdout)
            with open(path, encoding="utf-8") as stream:
                for line in stream:
                    fields = [unescape(f) for f in line.rstrip("\n").split("\t")]
                    if fields[0] == "K":
                        items.add((fields[1].lower(), None))
                    elif fields[0] == "V":
                        items.add((fields[1].lower(), fields[2].lower(), fields[3], fields[4]))
        return items

    def files(self):
        """Every file and folder of the user's profile but its temporary folder."""
        found = set()
        temp = os.path.join(self.user_dir, "AppData", "Local", "Temp")
        for folder, folders, names in os.walk(self.user_dir):
            if folder == temp:
                folders[:] = []
                continue
            for name in folders + names:
                found.add(os.path.relpath(os.path.join(folder, name), self.user_dir))
        return found

    def snapshot(self, check_program):
        return ({("file",) + (f,) for f in self.files()} |
                {("registry",) + item for item in self.registry(check_program)})


REG_SZ = "1"


def has_value(snapshot, key, name, value):
    """Whether the key holds the string value (name None: the unnamed one)."""
    return ("registry", key.lower(), (name or "").lower(), REG_SZ, value) in snapshot


def wait_until_removed(wine, install_dir):
    """The silent uninstaller copies itself away and goes on from there: waits for its
    last step, the key of the system's list of programs."""
    deadline = time.monotonic() + UNINSTALL_TIMEOUT
    while time.monotonic() < deadline:
        if (not os.path.exists(install_dir) and
                wine.run("reg", "query", UNINSTALL_KEY).returncode != 0):
            return True
        time.sleep(0.5)
    return False


def main():
    parser = argparse.ArgumentParser()
    for option in ("--source", "--build", "--work", "--check", "--samples"):
        parser.add_argument(option, required=True)
    parser.add_argument("emulator", nargs="+")
    arguments = parser.parse_args()
    wine = Wine(arguments.emulator)
    started = time.monotonic()

    step("packaging")
    dist = os.path.join(arguments.work, "dist")
    packaged = subprocess.run([os.path.join(arguments.source, "scripts", "package"),
                               "--build-dir", arguments.build, "--no-build", "--quick",
                               "--out", dist],
                              stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)
    print(packaged.stdout, end="")
    if not check(packaged.returncode == 0, "scripts/package made the release"):
        return 1
    made = re.findall(r"^package: (.*)$", packaged.stdout, re.M)
    archive = next(p for p in made if p.endswith(".zip"))
    setup = next(p for p in made if p.endswith("setup.exe"))
    version = re.search(r"kestrix-([0-9.]+)-", os.path.basename(archive)).group(1)

    install_dir = os.path.join(wine.user_dir, "AppData", "Local", "Programs", "Kestrix")
    uninstaller = os.path.join(install_dir, "uninstall.exe")
    if os.path.exists(uninstaller):
        print("an earlier run left the release installed; removing it first")
        wine.run(uninstaller, "/S")
        wait_until_removed(wine, install_dir)
    step("snapshot before installing")
    before = wine.snapshot(arguments.check)

    step("installing")
    result = wine.run(setup, "/S")
    check(result.returncode == 0, "the silent install ended well (%d)" % result.returncode)
    installed = wine.snapshot(arguments.check)

    # Every file where it belongs, and the folder holds what the zip holds.
    with zipfile.ZipFile(archive) as stream:
        top = "kestrix-%s/" % version
        in_zip = {n[len(top):].rstrip("/") for n in stream.namelist() if n != top}
    in_folder = {os.path.relpath(os.path.join(f, n), install_dir).replace(os.sep, "/")
                 for f, fs, ns in os.walk(install_dir) for n in fs + ns}
    check(in_folder == in_zip | {"uninstall.exe"},
          "the installed folder holds the zip's files and the uninstaller (only in folder: %s;"
          " only in zip: %s)" % (sorted(in_folder - in_zip - {"uninstall.exe"}),
                                 sorted(in_zip - in_folder)))
    for name in ("Sorbex.exe", "sorbexc.exe", "sorbexconv.exe", "keywright.dll", "kwlaunch.exe",
                 "kwreg.exe", "README.txt", "licences/gnulib.txt", "licences/zlib.txt"):
        check(name in in_zip, "the release holds " + name)
    check(os.path.isdir(os.path.join(install_dir, "Bookmarks")),
          "the Bookmarks folder stands beside keywright.dll")
    for shortcut in SHORTCUTS:
        check(os.path.isfile(os.path.join(wine.user_dir, START_MENU, shortcut)),
              "the Start menu holds " + shortcut)

    windows_dir = wine.windows_path(install_dir)
    sorbex_command = '"%s\\Sorbex.exe" "%%1"' % windows_dir
    classes = r"HKEY_CURRENT_USER\Software\Classes"
    check(has_value(installed, classes + r"\.sbx", None, SBX_CLASS), ".sbx names its class")
    check(has_value(installed, classes + "\\" + SBX_CLASS + r"\shell\open\command", None,
                    sorbex_command), ".sbx files open in the installed Sorbex.exe")
    check(has_value(installed, classes + r"\reg\shell\open\command", None,
                    '"%s\\kwlaunch.exe" "%%1"' % windows_dir),
          "reg: links open through the installed kwlaunch.exe")
    check(has_value(installed, UNINSTALL_KEY, "UninstallString",
                    '"%s\\uninstall.exe"' % windows_dir),
          "the system's list of programs knows the uninstaller")
    check(has_value(installed, UNINSTALL_KEY, "DisplayVersion", version),
          "and the version " + version)

    # The programs from the installed folder.
    step("running the installed programs")
    result = wine.run(arguments.check, windows_dir, version, arguments.samples, timeout=400)
    print(result.stdout.decode("utf-8", "replace"), end="")
    check(result.returncode == 0, "the installed programs work")

    step("uninstalling")
    result = wine.run(uninstaller, "/S")
    check(result.returncode == 0, "the silent uninstall started")
    wait_until_removed(wine, install_dir)
    after = wine.snapshot(arguments.check)
    added = {item for item in installed - before if item not in SYSTEM_PLACES and
             not (item[0] == "registry" and item[1].startswith(WINE_OWN_KEYS))}
    left = sorted(str(item) for item in added & after)
    check(not os.path.exists(install_dir), "the installed folder is gone")
    check(not left, "nothing the installer made is left behind:\n    " + "\n    ".join(left))
    print("took %.0f s" % (time.monotonic() - started))
    if failures:
        print("%d check(s) failed" % len(failures))
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
