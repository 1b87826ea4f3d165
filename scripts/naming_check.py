#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""The naming check of test.sh: clang-tidy with the .clang-tidy at the top on
every tracked .cpp and the headers they include, reading each file once.

    scripts/naming_check.py BUILD_DIR [JOBS]

It reads BUILD_DIR's compile commands. Where the build compiles a unity
batch, the batch is parsed once for all the sources it includes, so the Qt
headers are read once a batch rather than once a file. A tracked .cpp the
build does not compile (fuzz/ in the normal build) takes the flags of its
nearest neighbour in the tree. Every tracked .cpp must be reached, or the
check fails. gcc's precompiled headers mean nothing to clang, so their
options are left out of the commands clang-tidy is given (written to
BUILD_DIR/naming/compile_commands.json); clang precompiles the same
headers once for them instead. Exits non-zero on any finding, with each
finding printed once.
"""
import concurrent.futures
import json
import os
import re
import shlex
import subprocess
import sys

UNITY_INCLUDE = re.compile(r'^#include "(.+)"$', re.M)


def ere_escape(text):
    """`text` as a POSIX extended regular expression (clang-tidy's filter) matching itself."""
    return re.sub(r'([.^$*+?()\[\]{}|\\])', r'\\\1', text)


def without_pch(args):
    """A compile command's arguments without the precompiled-header options."""
    out = []
    i = 0
    while i < len(args):
        a = args[i]
        if a == "-Winvalid-pch":
            i += 1
        elif a == "-include" and i + 1 < len(args) and "cmake_pch" in args[i + 1]:
            i += 2
        elif (a == "-Xclang" and i + 3 < len(args) and args[i + 1] in ("-include-pch", "-include")
              and "cmake_pch" in args[i + 3]):
            i += 4
        else:
            out.append(a)
            i += 1
    return out


def gcc_pch(args):
    """The header a compile command's gcc precompiled header was made of, if any."""
    for a, b in zip(args, args[1:]):
        if a == "-include" and "cmake_pch" in b:
            return b
    return None


def clang_pch(entries, header, out):
    """`header` precompiled by clang with the flags gcc precompiled it with, or None."""
    made = next((e for e in entries if e["file"] == header + ".cxx"), None)
    if made is None:
        return None
    args = without_pch(made["arguments"])
    kept = []
    i = 1
    while i < len(args):
        if args[i] in ("-o", "-c", "-x", "-MF", "-MT"):
            i += 2
        elif args[i] in ("-MD", "-MMD"):
            i += 1
        else:
            kept.append(args[i])
            i += 1
    result = subprocess.run(["clang++"] + kept + ["-Wno-pragma-system-header-outside-header",
                                                  "-x", "c++-header", header, "-o", out],
                            cwd=made["directory"], capture_output=True, text=True)
    if result.returncode != 0:
        print("naming: clang could not precompile %s; each file reads its headers\n%s"
              % (header, result.stderr[-2000:]), file=sys.stderr)
        return None
    return out


def common_depth(a, b):
    """How many leading folders two paths share."""
    n = 0
    for x, y in zip(os.path.dirname(a).split(os.sep), os.path.dirname(b).split(os.sep)):
        if x != y:
            break
        n += 1
    return n


def main():
    build = os.path.abspath(sys.argv[1])
    jobs = int(sys.argv[2]) if len(sys.argv) > 2 else os.cpu_count()
    root = subprocess.run(["git", "rev-parse", "--show-toplevel"], capture_output=True, text=True,
                          check=True).stdout.strip()
    tracked = subprocess.run(["git", "-C", root, "ls-files", "-z", "*.cpp", "*.h"],
                             capture_output=True, text=True, check=True).stdout.split("\0")
    tracked = [os.path.join(root, f) for f in tracked if f]
    sources = {f for f in tracked if f.endswith(".cpp")}

    with open(os.path.join(build, "compile_commands.json"), encoding="utf-8") as f:
        entries = json.load(f)
    units = []  # (file, the tracked sources it reaches)
    commands = []
    os.makedirs(os.path.join(build, "naming"), exist_ok=True)
    raw = [{"directory": e["directory"],
            "file": os.path.normpath(os.path.join(e["directory"], e["file"])),
            "arguments": e["arguments"] if "arguments" in e else shlex.split(e["command"])}
           for e in entries]
    pchs = {}
    for header in sorted({gcc_pch(e["arguments"]) for e in raw} - {None}):
        pchs[header] = clang_pch(raw, header, os.path.join(
            build, "naming", "pch%d.pch" % len(pchs)))
    for e in raw:
        args = without_pch(e["arguments"])
        pch = pchs.get(gcc_pch(e["arguments"]))
        if pch:
            args[1:1] = ["-include-pch", pch]
        path = e["file"]
        commands.append({"directory": e["directory"], "file": path, "arguments": args})
        if path in sources:
            units.append((path, [path]))
        elif re.search(r"/Unity/unity_\d+_cxx\.cxx$", path):
            with open(path, encoding="utf-8") as f:
                reached = [s for s in UNITY_INCLUDE.findall(f.read()) if s in sources]
            if reached:
                units.append((path, reached))

    reached = {s for _, r in units for s in r}
    for source in sorted(sources - reached):
        # The command of the nearest compiled source, for this one; among
        # equally near ones, one that finds the tree's headers from the top
        # and, of those, the plainest (a GUI-free library's).
        by_file = {c["file"]: c for c in commands}
        best = max(((common_depth(source, s), "-I" + root in by_file[u]["arguments"],
                     -len(by_file[u]["arguments"]), u) for u, r in units for s in r), default=None)
        if best is None:
            print("naming: no compile command near " + source, file=sys.stderr)
            return 1
        near = by_file[best[3]]
        args = [source if a == near["file"] else a for a in near["arguments"]]
        commands.append({"directory": near["directory"], "file": source, "arguments": args})
        units.append((source, [source]))
    missed = sources - {s for _, r in units for s in r}
    if missed:
        print("naming: not reached: " + " ".join(sorted(missed)), file=sys.stderr)
        return 1

    with open(os.path.join(build, "naming", "compile_commands.json"), "w", encoding="utf-8") as f:
        json.dump(commands, f, indent=1)

    # Findings in the tree's own files: the included sources of a batch, the
    # headers, and what the build generates from the tree's templates.
    folders = sorted({os.path.relpath(f, root).split(os.sep)[0] for f in tracked
                      if os.sep in os.path.relpath(f, root)})
    header_filter = "^(%s/(%s)/|%s/generated/)" % (
        ere_escape(root), "|".join(ere_escape(d) for d in folders), ere_escape(build))

    def tidy(unit):
        return subprocess.run(["clang-tidy", "-p", os.path.join(build, "naming"), "--quiet",
                               "--warnings-as-errors=*", "--header-filter=" + header_filter, unit],
                              capture_output=True, text=True)

    failed = False
    seen = set()
    # The biggest batches first, so that the last to finish are short.
    order = sorted(units, key=lambda u: -len(u[1]))
    with concurrent.futures.ThreadPoolExecutor(max_workers=jobs) as pool:
        for (unit, _), result in zip(order, pool.map(tidy, [u for u, _ in order])):
            if result.returncode != 0:
                failed = True
                print("naming: clang-tidy failed on " + os.path.relpath(unit, root))
            for line in (result.stdout + result.stderr).splitlines():
                if re.search(r"(error|warning):", line) and line not in seen:
                    seen.add(line)
                    print(line)
    print("naming: %d sources in %d parses%s" % (len(sources), len(units),
                                                 ", findings above" if failed else ", clean"))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
