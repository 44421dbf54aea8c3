#!/usr/bin/env python3
"""Checks a browser-data tree after a clean: gone strings absent, databases sound, kept data there.

Usage: check_clean.sh ROOT... --gone STR... --keep STR...

Every file below each ROOT is read as bytes. A --gone string found in any file (as UTF-8 or
UTF-16LE text, case-insensitively, also inside Mozilla's LZ4 files once unpacked) or in a
file or folder name is reported and fails the check. Every SQLite database (found by its
header, whatever its name) is copied with its -wal and -journal files and
`PRAGMA integrity_check` is run on the copy through the sqlite3 command, so the check
changes nothing below ROOT; anything but "ok" fails. Every --keep string must still be
found somewhere below one of the ROOTs.

Exit status: 0 clean, 1 not clean, 2 usage or set-up error.
"""

import os
import shutil
import struct
import subprocess
import sys
import tempfile

SQLITE_HEADER = b"SQLite format 3\x00"
MOZLZ4_MAGIC = b"mozLz40\x00"


def lz4_length(src, i, length):
    """A length of 15 goes on in the bytes that follow, each 255 saying that one more follows."""
    if length == 15:
        while True:
            b = src[i]
            i += 1
            length += b
            if b != 255:
                break
    return length, i


def lz4_block(src, size_hint):
    """Unpacks one LZ4 block (the format Mozilla wraps in its .jsonlz4/.mozlz4 files)."""
    out = bytearray()
    i, n = 0, len(src)
    while i < n:
        token = src[i]
        i += 1
        length, i = lz4_length(src, i, token >> 4)
        out += src[i : i + length]
        i += length
        if len(out) > size_hint:
            raise ValueError("LZ4 data longer than its header says")
        if i >= n:
            break
        offset = src[i] | (src[i + 1] << 8)
        i += 2
        if offset == 0 or offset > len(out):
            raise ValueError("bad LZ4 match offset")
        length, i = lz4_length(src, i, token & 15)
        length += 4
        start = len(out) - offset
        if offset >= length:
            out += out[start : start + length]
        else:
            for k in range(length):
                out.append(out[start + k])
        if len(out) > size_hint:
            raise ValueError("LZ4 data longer than its header says")
    return bytes(out)


def readable_forms(data):
    """The bytes to search: the file itself and, for Mozilla LZ4 files, its unpacked text."""
    forms = [("", data)]
    if data.startswith(MOZLZ4_MAGIC) and len(data) >= 12:
        (size,) = struct.unpack("<I", data[8:12])
        try:
            forms.append((" (unpacked LZ4)", lz4_block(data[12:], size)))
        except (ValueError, IndexError) as e:
            forms.append((f" (LZ4 unreadable: {e})", b""))
    return forms


def needles(text):
    low = text.lower()
    return [("", low.encode("utf-8")), (" as UTF-16", low.encode("utf-16-le"))]


def integrity(path, scratch):
    """PRAGMA integrity_check on a copy of the database and the files SQLite reads with it."""
    for name in os.listdir(scratch):
        os.remove(os.path.join(scratch, name))
    copy = os.path.join(scratch, "db")
    shutil.copyfile(path, copy)
    for suffix in ("-wal", "-journal"):
        if os.path.isfile(path + suffix):
            shutil.copyfile(path + suffix, copy + suffix)
    run = subprocess.run(
        ["sqlite3", copy, "PRAGMA integrity_check;"], capture_output=True, text=True, timeout=60
    )
    result = (run.stdout + run.stderr).strip()
    return run.returncode == 0 and result == "ok", result


def parse_args(argv):
    roots, lists, current = [], {"--gone": [], "--keep": []}, None
    for arg in argv:
        if arg in lists:
            current = lists[arg]
        elif current is None:
            roots.append(arg)
        elif arg == "":
            raise SystemExit("check_clean: empty search string")
        else:
            current.append(arg)
    if not roots:
        raise SystemExit(__doc__)
    if not lists["--gone"] and not lists["--keep"]:
        raise SystemExit(f"check_clean: nothing to check for\n\n{__doc__}")
    for root in roots:
        if not os.path.isdir(root):
            raise SystemExit(f"check_clean: {root} is not a folder")
    return roots, lists["--gone"], lists["--keep"]


def walk(root):
    """(path, name shown in the report, is a regular file) for everything below root."""
    for top, dirs, names in os.walk(root):
        dirs.sort()
        for name in sorted(dirs) + sorted(names):
            path = os.path.join(top, name)
            regular = name in names and os.path.isfile(path) and not os.path.islink(path)
            yield path, os.path.relpath(path, root), regular


def main(argv):
    try:
        roots, gone, keep = parse_args(argv)
    except SystemExit as e:
        sys.stderr.write(f"{e}\n")
        return 2
    if shutil.which("sqlite3") is None:
        sys.stderr.write("check_clean: the sqlite3 command is missing\n")
        return 2

    dirty = []  # (shown path, [what was found])
    unreadable = []
    databases, broken = 0, []
    kept = set()
    files = 0
    with tempfile.TemporaryDirectory(prefix="check_clean.") as scratch:
        for root in roots:
            for path, rel, regular in walk(root):
                shown = os.path.join(root, rel) if len(roots) > 1 else rel
                low_rel = rel.lower()
                found = [f"{g!r} in its name" for g in gone if g.lower() in low_rel]
                kept.update(k for k in keep if k.lower() in low_rel)
                if regular:
                    files += 1
                    try:
                        with open(path, "rb") as f:
                            data = f.read()
                    except OSError as e:
                        unreadable.append((shown, str(e)))
                        continue
                    for how, form in readable_forms(data):
                        hay = form.lower()
                        for g in gone:
                            for enc, needle in needles(g):
                                if needle in hay:
                                    found.append(f"{g!r}{enc}{how}")
                        for k in keep:
                            if any(needle in hay for _, needle in needles(k)):
                                kept.add(k)
                    if data.startswith(SQLITE_HEADER):
                        databases += 1
                        ok, result = integrity(path, scratch)
                        if not ok:
                            broken.append((shown, result))
                if found:
                    dirty.append((shown, found))

    missing = [k for k in keep if k not in kept]
    print(f"check_clean: {files} files below {' '.join(roots)}")
    for rel, found in dirty:
        print(f"  GONE DATA LEFT  {rel}: {', '.join(found)}")
    for rel, err in unreadable:
        print(f"  UNREADABLE      {rel}: {err}")
    print(f"  SQLite databases checked: {databases}, failing integrity_check: {len(broken)}")
    for rel, result in broken:
        print(f"  NOT OK          {rel}: {result.splitlines()[0] if result else '(no output)'}")
    if keep:
        print(f"  kept strings found: {len(keep) - len(missing)} of {len(keep)}")
    for k in missing:
        print(f"  KEEP MISSING    {k!r}")
    failed = bool(dirty or unreadable or broken or missing)
    print(f"check_clean: {'FAIL' if failed else 'clean'}")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
