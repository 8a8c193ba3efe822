#!/usr/bin/env python3
"""Reads the project's include graph and fails on an arrow against the layers.

    scripts/check-include-graph.py ROOT       checks the tree at ROOT
    scripts/check-include-graph.py --self-test checks that bad trees fail

Dependencies point one way: app uses everything; capture uses output and
platform; output uses platform; toolkit/win32 uses toolkit and platform;
toolkit uses nothing of ours but the portable units module platform/Units.h;
platform uses only platform. Portable code, which the native build compiles,
reaches no Windows header: a portable source is every .cpp that
cmake/source-kinds.txt (the rule CMake builds by) calls portable, and a
portable header is every header that a portable source includes, directly
or through others. A Windows header is a system header of the Windows SDK
or a file of ours that the rule calls a Windows file; the arrow reported is
the first step from portable code into Windows code, with the way to it.
Every C++ file must lie in one of the rule's trees, or no build and no check
would see it.
"""

import os
import re
import sys
import tempfile

RULE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "cmake", "source-kinds.txt")
SKIPPED_FOLDERS = {".git", "build", "dist"}
SOURCE_SUFFIXES = (".cpp", ".h")
INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')
# Headers of the Windows SDK (as mingw-w64 ships them) that code may name.
SYSTEM_WINDOWS = re.compile(
    r"^(windows|windowsx|win[a-z0-9_]*|commctrl|commdlg|objbase|ole[a-z0-9]*|"
    r"shobjidl|shlobj|shellapi|shlwapi|shellscalingapi|dwmapi|dwrite(_[0-9])?|d2d1.*|"
    r"d3d.*|dxgi.*|mmsystem|timeapi|combaseapi|unknwn|uiautomation.*|wincodec|psapi|"
    r"tlhelp32|versionhelpers|processthreadsapi|objidl|propidl|oaidl|servprov|"
    r"wrl/.*|wrl)\.h$|^wrl/",
    re.IGNORECASE,
)


class SourceKinds:
    """The rule of cmake/source-kinds.txt: which files are Windows files."""

    def __init__(self, text):
        self.rule = {"tree": [], "windows": [], "windows-cpp": [], "windows-name": [],
                     "portable": []}
        for number, line in enumerate(text.splitlines(), 1):
            if not re.match(r"[a-z]", line):
                continue
            match = re.match(r"^([a-z-]+) +([^ ]+)$", line)
            if not match or match.group(1) not in self.rule:
                raise ValueError(f"source-kinds.txt:{number}: cannot read '{line}'")
            self.rule[match.group(1)].append(match.group(2))

    def InTree(self, path):
        return any(path.startswith(tree + "/") for tree in self.rule["tree"])

    def IsWindows(self, path):
        if any(re.search(r, path) for r in self.rule["portable"]):
            return False
        if any(re.search(r, os.path.basename(path)) for r in self.rule["windows-name"]):
            return True
        if any(path == p or path.startswith(p + "/") for p in self.rule["windows"]):
            return True
        return path.endswith(".cpp") and any(path.startswith(p + "/")
                                             for p in self.rule["windows-cpp"])


def LoadKinds():
    with open(RULE, encoding="utf-8") as f:
        return SourceKinds(f.read())


def ReadTree(root):
    """Every source and header: path -> list of (kind, target)."""
    files = {}
    for folder, subfolders, names in os.walk(root):
        relative = os.path.relpath(folder, root).replace(os.sep, "/")
        if relative == ".":
            subfolders[:] = [s for s in subfolders if s not in SKIPPED_FOLDERS]
            relative = ""
        for name in names:
            if not name.endswith(SOURCE_SUFFIXES):
                continue
            path = f"{relative}/{name}" if relative else name
            includes = []
            with open(os.path.join(folder, name), encoding="utf-8", errors="replace") as f:
                for line in f:
                    match = INCLUDE.match(line)
                    if match:
                        includes.append((match.group(1), match.group(2)))
            files[path] = includes
    return files


def Resolve(files, path, kind, target):
    """Our file that an include names, or None for a system header."""
    if kind == '"':
        if target in files:
            return target
        beside = os.path.normpath(os.path.join(os.path.dirname(path), target)).replace(os.sep, "/")
        if beside in files:
            return beside
    return None


def LayerBreach(source, target):
    """Why the arrow source -> target (both ours) goes against the layers."""
    def Under(path, folder):
        return path.startswith(folder + "/")

    if Under(source, "toolkit") and not Under(source, "toolkit/win32"):
        if target == "platform/Units.h":
            return None
        if not Under(target, "toolkit") or Under(target, "toolkit/win32"):
            return "the toolkit uses only itself and platform/Units.h"
    elif Under(source, "toolkit/win32"):
        if any(Under(target, f) for f in ("app", "capture", "output")):
            return "the toolkit's host uses only the toolkit and platform"
    elif Under(source, "platform"):
        if not Under(target, "platform"):
            return "platform uses nothing of ours outside platform"
    elif Under(source, "capture"):
        if any(Under(target, f) for f in ("app", "toolkit")):
            return "capture uses only output and platform"
    elif Under(source, "output"):
        if any(Under(target, f) for f in ("app", "capture", "toolkit")):
            return "output uses only platform"
    return None


def Check(root, kinds):
    files = ReadTree(root)
    edges = {}
    system = {}
    for path, includes in files.items():
        edges[path] = []
        system[path] = []
        for kind, target in includes:
            resolved = Resolve(files, path, kind, target)
            if resolved is not None:
                edges[path].append(resolved)
            elif SYSTEM_WINDOWS.search(target):
                system[path].append(target)

    problems = [f"{path}: lies in no tree of cmake/source-kinds.txt, so no build sees it"
                for path in sorted(files) if not kinds.InTree(path)]
    for path in sorted(files):
        for target in edges[path]:
            why = LayerBreach(path, target)
            if why:
                problems.append(f"{path} -> {target}: {why}")

    # Everything a portable source reaches is portable, up to the first step
    # into Windows code: that arrow is reported, with the way to it.
    IsWindows = kinds.IsWindows
    reported = set()
    portable_sources = sorted(p for p in files if p.endswith(".cpp") and not IsWindows(p))
    for source in portable_sources:
        way = {source: [source]}
        pending = [source]
        while pending:
            path = pending.pop(0)
            steps = [f"<{h}>" for h in system[path]] + [t for t in edges[path] if IsWindows(t)]
            for target in steps:
                if (path, target) not in reported:
                    reported.add((path, target))
                    problems.append(f"{path} -> {target}: portable code includes a Windows header"
                                    f" ({' -> '.join(way[path] + [target])})")
            for target in edges[path]:
                if not IsWindows(target) and target not in way:
                    way[target] = way[path] + [target]
                    pending.append(target)
    return problems, len(files)


def Report(root):
    problems, count = Check(root, LoadKinds())
    for problem in sorted(set(problems)):
        print(problem)
    if problems:
        print(f"{len(set(problems))} arrow(s) against the layers")
        return 1
    print(f"{count} files, every include arrow follows the layers")
    return 0


def SelfTest():
    """Each bad tree must fail, naming its bad arrow; the good one must pass.
    The trees are judged by the repository's rule, which is first read back:
    each kind of its lines must place the files it names."""
    kinds = LoadKinds()
    placed = [("platform/Win.h", True), ("platform/Units.h", False),
              ("output/Held_win.cpp", True), ("output/Dib_win.h", True),
              ("toolkit/win32/Host.h", True), ("app/Unit1.cpp", True),
              ("app/Unit1Definition.h", False), ("tests/e2e/RoadPicture.cpp", True),
              ("tests/e2e/RoadPicture.h", False), ("tests/unit/FormTest.cpp", False)]
    failures = [f"the rule calls {path} {'a Windows' if windows else 'a portable'} file"
                for path, windows in placed if kinds.IsWindows(path) == (not windows)]
    good = {
        "platform/Win.h": "#include <windows.h>\n",
        "platform/Units.h": "#include <cstdint>\n",
        "platform/Gdi.h": '#include "platform/Win.h"\n',
        "platform/Display_win.cpp": '#include "platform/Gdi.h"\n',
        "toolkit/Form.h": '#include "platform/Units.h"\n',
        "toolkit/Form.cpp": '#include "toolkit/Form.h"\n#include <vector>\n',
        "toolkit/win32/Host.cpp": '#include "toolkit/Form.h"\n#include "platform/Gdi.h"\n'
                                  "#include <commctrl.h>\n",
        "output/Png.cpp": '#include "output/Png.h"\n',
        "output/Png.h": "#include <cstddef>\n",
        "output/Held.h": '#include "platform/Gdi.h"\n',
        "output/Held_win.cpp": '#include "output/Held.h"\n#include "output/Png.h"\n',
        "capture/Math.cpp": '#include "output/Png.h"\n',
        "capture/Snap_win.cpp": '#include "output/Held.h"\n',
        "app/Unit1.cpp": '#include "capture/Math.h"\n#include "toolkit/win32/Host.h"\n',
        "tests/unit/FormTest.cpp": '#include "toolkit/Form.h"\n#include <gtest/gtest.h>\n',
        "tests/win/HeldTest.cpp": '#include "output/Held.h"\n',
    }
    bad = [
        ("portable source, system header", {"output/Bmp.cpp": "#include <windows.h>\n"},
         "output/Bmp.cpp -> <windows.h>"),
        ("portable source, our Windows header", {"capture/Math.cpp": '#include "platform/Win.h"\n'},
         "capture/Math.cpp -> platform/Win.h"),
        ("portable header reached from a portable test",
         {"toolkit/Form.h": '#include "platform/Units.h"\n#include <windowsx.h>\n'},
         "toolkit/Form.h -> <windowsx.h>"),
        ("a header that leads to Windows",
         {"output/Png.h": '#include "output/Held.h"\n'}, "output/Png.h -> output/Held.h"),
        ("a *_win header", {"output/Png.cpp": '#include "output/Dib_win.h"\n',
                            "output/Dib_win.h": "#include <cstdint>\n"},
         "output/Png.cpp -> output/Dib_win.h"),
        ("toolkit uses app", {"toolkit/Form.cpp": '#include "app/Unit1.h"\n', "app/Unit1.h": ""},
         "toolkit/Form.cpp -> app/Unit1.h"),
        ("toolkit uses output", {"toolkit/Form.cpp": '#include "output/Png.h"\n'},
         "toolkit/Form.cpp -> output/Png.h"),
        ("toolkit uses capture", {"toolkit/Form.cpp": '#include "capture/Math.h"\n',
                                  "capture/Math.h": ""},
         "toolkit/Form.cpp -> capture/Math.h"),
        ("toolkit uses more of platform than the units",
         {"toolkit/Form.cpp": '#include "platform/Error.h"\n', "platform/Error.h": ""},
         "toolkit/Form.cpp -> platform/Error.h"),
        ("toolkit uses its Windows host", {"toolkit/Form.cpp": '#include "toolkit/win32/Host.h"\n',
                                           "toolkit/win32/Host.h": ""},
         "toolkit/Form.cpp -> toolkit/win32/Host.h"),
        ("the host uses output", {"toolkit/win32/Host.cpp": '#include "output/Held.h"\n'},
         "toolkit/win32/Host.cpp -> output/Held.h"),
        ("platform uses toolkit", {"platform/Gdi.h": '#include "toolkit/Form.h"\n'},
         "platform/Gdi.h -> toolkit/Form.h"),
        ("platform uses output, from a Windows file",
         {"platform/Display_win.cpp": '#include "output/Held.h"\n'},
         "platform/Display_win.cpp -> output/Held.h"),
        ("capture uses app", {"capture/Snap_win.cpp": '#include "app/Unit1.h"\n',
                              "app/Unit1.h": ""},
         "capture/Snap_win.cpp -> app/Unit1.h"),
        ("capture uses toolkit", {"capture/Math.cpp": '#include "toolkit/Form.h"\n'},
         "capture/Math.cpp -> toolkit/Form.h"),
        ("output uses capture", {"output/Held_win.cpp": '#include "capture/Math.h"\n',
                                 "capture/Math.h": ""},
         "output/Held_win.cpp -> capture/Math.h"),
        ("output uses toolkit", {"output/Png.cpp": '#include "toolkit/Form.h"\n'},
         "output/Png.cpp -> toolkit/Form.h"),
        ("output uses app", {"output/Png.h": '#include "app/Unit1.h"\n', "app/Unit1.h": ""},
         "output/Png.h -> app/Unit1.h"),
        ("an include beside the file", {"output/Png.cpp": '#include "Held.h"\n'},
         "output/Png.cpp -> output/Held.h"),
        ("a source outside every tree", {"extra/Tool.cpp": '#include "output/Png.h"\n'},
         "extra/Tool.cpp: lies in no tree"),
    ]

    def Write(root, tree):
        for path, text in tree.items():
            full = os.path.join(root, path)
            os.makedirs(os.path.dirname(full), exist_ok=True)
            with open(full, "w", encoding="utf-8") as f:
                f.write(text)

    with tempfile.TemporaryDirectory() as root:
        Write(root, good)
        problems, _ = Check(root, kinds)
        if problems:
            failures.append(f"the good tree fails: {problems}")
    for name, change, arrow in bad:
        with tempfile.TemporaryDirectory() as root:
            Write(root, {**good, **change})
            problems, _ = Check(root, kinds)
            if not problems:
                failures.append(f"{name}: {arrow} not reported")
            elif any(arrow not in p for p in problems):
                failures.append(f"{name}: more than the one bad arrow reported: {problems}")
    for failure in failures:
        print(failure)
    if failures:
        return 1
    print(f"the rule places every kind of file; the good tree passes;"
          f" each of {len(bad)} bad trees fails on its own arrow")
    return 0


if __name__ == "__main__":
    if sys.argv[1:] == ["--self-test"]:
        sys.exit(SelfTest())
    if len(sys.argv) != 2:
        print(__doc__)
        sys.exit(2)
    sys.exit(Report(sys.argv[1]))
