#!/usr/bin/env python3
"""The SQLite databases of a browser profile, before and after the browser has been on them.

Usage:
  reopen_dbs.py snapshot STATE FOLDER...   records every database below the folders (its file
                                           identity and its tables) in STATE, then stays
                                           running, holding each database open, until it is
                                           sent SIGTERM
  reopen_dbs.py compare STATE FOLDER...    prints one line per problem and exits 1 if any:
                                           a recorded database replaced by a new file or gone,
                                           one that lost tables, one that fails
                                           PRAGMA integrity_check; then "databases: N"
  --skip REGEX before the verb leaves out files whose name matches.

A browser that finds a database damaged may rename it aside, delete and recreate it, or empty
it in place (all tables dropped); each shows here. SQLite itself never replaces a database
file, so a new inode means the browser threw the old one away; while the snapshot holds the
old file open, its inode number cannot go to the new one. Every database is read from a copy
together with its -wal and -journal, so nothing is rolled back or checkpointed in place.
"""

import json
import os
import re
import shutil
import signal
import sqlite3
import sys
import tempfile

SIDE_FILES = ("-wal", "-journal", "-shm")


def databases(folders, skip):
    for top in folders:
        for folder, _, files in os.walk(top):
            for name in sorted(files):
                path = os.path.join(folder, name)
                if name.endswith(SIDE_FILES) or (skip and skip.search(name)):
                    continue
                if os.path.islink(path) or not os.path.isfile(path):
                    continue
                with open(path, "rb") as f:
                    if f.read(16) == b"SQLite format 3\0":
                        yield path


def inspect(path, scratch, check_integrity):
    """(tables, integrity_check result) of a copy of the database with its side files."""
    copy = os.path.join(scratch, "db")
    for side in ("",) + SIDE_FILES:
        if os.path.exists(copy + side):
            os.remove(copy + side)
        if side != "-shm" and os.path.exists(path + side):
            shutil.copyfile(path + side, copy + side)
    try:
        con = sqlite3.connect(copy)
        try:
            tables = sorted(r[0] for r in con.execute("SELECT name FROM sqlite_master WHERE type = 'table'"))
            check = ["ok"]
            if check_integrity:
                check = [r[0] for r in con.execute("PRAGMA integrity_check")]
        finally:
            con.close()
    except sqlite3.DatabaseError as e:
        return None, [f"cannot be read: {e}"]
    return tables, check


def main(argv):
    skip = None
    if len(argv) >= 2 and argv[0] == "--skip":
        skip = re.compile(argv[1])
        argv = argv[2:]
    if len(argv) < 3 or argv[0] not in ("snapshot", "compare"):
        sys.stderr.write(__doc__)
        return 2
    verb, state_file, folders = argv[0], argv[1], argv[2:]
    scratch = tempfile.mkdtemp(prefix="reopen-dbs.")
    try:
        now = {}
        for path in databases(folders, skip):
            tables, check = inspect(path, scratch, verb == "compare")
            now[path] = {"inode": os.stat(path).st_ino, "tables": tables, "check": check}
    finally:
        shutil.rmtree(scratch)
    if verb == "snapshot":
        held = [os.open(path, os.O_RDONLY) for path in now]  # not inherited by the browser
        with open(state_file + ".new", "w") as f:
            json.dump(now, f)
        os.rename(state_file + ".new", state_file)  # the caller waits for this name
        while held:
            signal.pause()
        return 0

    with open(state_file) as f:
        before = json.load(f)
    problems = []
    for path, was in sorted(before.items()):
        is_ = now.get(path)
        if is_ is None:
            if not os.path.exists(path):
                problems.append(f"{path}: gone")
            else:
                problems.append(f"{path}: no longer a database")
            continue
        if is_["inode"] != was["inode"]:
            problems.append(f"{path}: thrown away and made anew (a new file)")
        if was["tables"] is None:
            problems.append(f"{path}: could not be read before the browser ran: {was['check'][0]}")
        elif is_["tables"] is not None:
            lost = sorted(set(was["tables"]) - set(is_["tables"]))
            if lost:
                problems.append(f"{path}: lost its tables {' '.join(lost)}")
    for path, is_ in sorted(now.items()):
        if is_["check"] != ["ok"]:
            problems.append(f"{path}: integrity_check: {' / '.join(is_['check'][:3])}")
    if not now:
        problems.append("no SQLite database found")
    for line in problems:
        print(line)
    print(f"databases: {len(now)}")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
