#!/usr/bin/env python3
"""Checks that every #include between the project's folders is one that the layer table
allows, so that the layers in docs/ARCHITECTURE.md stay the code's.

    check_includes.py SOURCE_DIR TABLE      check; lists each include the table does not allow
    check_includes.py SOURCE_DIR --edges    prints the folder-to-folder includes found

An include names a file of the repository when it is found beside the including file,
under the including product's folder (sorbex/ or keywright/, whose subfolders the code
names directly: "engine/...", "host/..."), or under the source root ("platform/...").
System and third-party headers are not looked at.
"""
import os
import re
import sys

SKIP = {".git", "build", "corpus", "samples", "testdata"}
SOURCE_SUFFIXES = (".h", ".cpp", ".rc", ".inc")
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.M)
PRODUCTS = ("sorbex", "keywright")


def is_test_file(relative):
    name = os.path.basename(relative)
    return (name.endswith("_test.cpp") or name.endswith("_test.h") or name.startswith("Fake")
            or name.endswith("Recorder.h") or name.endswith("Harness.h") or name.endswith("TestBed.h")
            or name in ("UiTesting.h", "UiTestIds.h", "UiTest.rc"))


def sources(root):
    for directory, folders, files in os.walk(root):
        folders[:] = sorted(f for f in folders if f not in SKIP)
        for name in sorted(files):
            if name.endswith(SOURCE_SUFFIXES):
                yield os.path.relpath(os.path.join(directory, name), root)


def resolve(root, relative, target):
    here = os.path.dirname(relative)
    bases = [here]
    product = relative.split(os.sep)[0]
    if product in PRODUCTS:
        bases.append(product)
    bases.append("")
    bases.extend(p for p in PRODUCTS if p != product)
    for base in bases:
        candidate = os.path.normpath(os.path.join(base, target))
        if os.path.isfile(os.path.join(root, candidate)):
            return candidate
    return None


def edges(root):
    """(file, included file) for every include between two folders of the repository."""
    for relative in sources(root):
        with open(os.path.join(root, relative), encoding="utf-8", errors="replace") as f:
            text = f.read()
        for target in INCLUDE.findall(text):
            found = resolve(root, relative, target)
            if found and os.path.dirname(found) != os.path.dirname(relative):
                yield relative, found


def read_table(path):
    """{from folder: allowed folders}, the folders test files may add, and per-file grants."""
    allowed, tests, files = {}, set(), {}
    with open(path, encoding="utf-8") as f:
        for number, line in enumerate(f, 1):
            line = line.split("#", 1)[0].strip()
            if not line:
                continue
            head, _, rest = line.partition(":")
            targets = set(rest.split())
            head = head.strip()
            if head == "tests":
                tests |= targets
            elif head.startswith("file "):
                files.setdefault(head[5:].strip(), set()).update(targets)
            elif head:
                allowed.setdefault(head, set()).update(targets)
            else:
                sys.exit(f"{path}:{number}: a line needs 'folder: folders...'")
    return allowed, tests, files


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    root = sys.argv[1]
    if sys.argv[2] == "--edges":
        for a, b in sorted({(os.path.dirname(f), os.path.dirname(t)) for f, t in edges(root)}):
            print(f"{a}: {b}")
        return 0
    allowed, tests, files = read_table(sys.argv[2])
    wrong = []
    for relative, found in edges(root):
        source, target = os.path.dirname(relative), os.path.dirname(found)
        permitted = allowed.get(source, set()) | files.get(relative, set())
        if is_test_file(relative):
            permitted |= tests
        if target not in permitted:
            wrong.append(f"{relative}: includes {found} ({source} -> {target})")
    for line in wrong:
        print(line)
    print(f"{len(wrong)} include(s) across layers that the table does not allow")
    return 1 if wrong else 0


if __name__ == "__main__":
    sys.exit(main())
