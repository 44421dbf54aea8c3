#!/usr/bin/env python3
"""The native peer for cleaning browser profiles: the same work as Purgeon's clean of them, done
by Linux itself. Usage: native_clean.py [--count | --threads N] ROOT REMOVED DATABASES

REMOVED lists the files the clean removes (paths below ROOT, one a line): each is overwritten once
with random data, flushed to the device and removed, N at a time (four unless told). DATABASES
lists the SQLite files it changes: in each, the same tables are emptied in one transaction with
the journal kept in place, the file is compacted, and the journal is overwritten, flushed and
removed.

With --count, the peer of a preview instead: the removed files' sizes added up and the rows of the
same tables counted, nothing changed.
"""
import os
import sqlite3
import sys
import time
from concurrent.futures import ThreadPoolExecutor

# The tables the clean empties, by file name (missing ones are skipped).
TABLES = {
    "Cookies": ["cookies"],
    "cookies.sqlite": ["moz_cookies"],
    "History": ["urls", "visits", "visit_source", "visited_links", "keyword_search_terms",
                "segments", "segment_usage", "content_annotations", "context_annotations",
                "clusters", "clusters_and_visits", "cluster_keywords",
                "cluster_visit_duplicates", "history_sync_metadata"],
    "Favicons": ["icon_mapping", "favicon_bitmaps", "favicons"],
    "Top Sites": ["top_sites", "thumbnails"],
    "Shortcuts": ["omni_box_shortcuts"],
    "Network Action Predictor": ["network_action_predictor", "resource_prefetch_predictor_url",
                                 "resource_prefetch_predictor_host"],
    "ukm_db": ["urls", "metrics"],
    "places.sqlite": ["moz_historyvisits", "moz_inputhistory", "moz_places_metadata",
                      "moz_places_metadata_search_queries", "moz_historyvisits_extra",
                      "moz_previews_tombstones"],
    "favicons.sqlite": ["moz_pages_w_icons", "moz_icons_to_pages", "moz_icons"],
}
RANDOM = os.urandom(1 << 20)


def overwrite_and_remove(path):
    try:
        size = os.path.getsize(path)
        with open(path, "r+b", buffering=0) as f:
            done = 0
            while done < size:
                done += f.write(RANDOM[:min(len(RANDOM), size - done)])
            os.fdatasync(f.fileno())
        os.remove(path)
        return 1
    except OSError:
        return 0


def clear_database(path):
    db = sqlite3.connect(path, isolation_level=None)
    mode = db.execute("PRAGMA journal_mode").fetchone()[0]
    if mode != "wal":
        db.execute("PRAGMA journal_mode = PERSIST")
    existing = {row[0] for row in db.execute("SELECT name FROM sqlite_master WHERE type='table'")}
    db.execute("BEGIN IMMEDIATE")
    for table in TABLES.get(os.path.basename(path), []):
        if table in existing:
            db.execute(f'DELETE FROM "{table}"')
    if os.path.basename(path) == "places.sqlite":
        db.execute("DELETE FROM moz_places WHERE foreign_count = 0")
    db.execute("COMMIT")
    db.execute("PRAGMA temp_store = MEMORY")
    db.execute("VACUUM")
    db.close()
    for journal in (path + "-journal", path + "-wal"):
        if os.path.exists(journal):
            overwrite_and_remove(journal)


def count(root, removed_list, database_list):
    rows = 0
    with open(database_list) as f:
        for line in f.read().splitlines():
            if not line:
                continue
            path = os.path.join(root, line)
            db = sqlite3.connect(f"file:{path}?mode=ro", uri=True)
            existing = {row[0] for row in
                        db.execute("SELECT name FROM sqlite_master WHERE type='table'")}
            for table in TABLES.get(os.path.basename(path), []):
                if table in existing:
                    rows += db.execute(f'SELECT count(*) FROM "{table}"').fetchone()[0]
            db.close()
    size = 0
    with open(removed_list) as f:
        files = [line for line in f.read().splitlines() if line]
    for line in files:
        size += os.path.getsize(os.path.join(root, line))
    print(f"{rows} rows, {len(files)} files of {size} bytes")


def main():
    if sys.argv[1] == "--count":
        count(*sys.argv[2:5])
        return
    threads = 4
    if sys.argv[1] == "--threads":
        threads = int(sys.argv[2])
        del sys.argv[1:3]
    root, removed_list, database_list = sys.argv[1:4]
    start = time.monotonic()
    with open(database_list) as f:
        for line in f.read().splitlines():
            if line:
                clear_database(os.path.join(root, line))
    databases = time.monotonic() - start
    with open(removed_list) as f:
        removed = [os.path.join(root, line) for line in f.read().splitlines() if line]
    with ThreadPoolExecutor(threads) as pool:
        cleared = sum(pool.map(overwrite_and_remove, removed))
    files = time.monotonic() - start - databases
    print(f"cleared {cleared} of {len(removed)} files; databases {databases:.2f} s, files {files:.2f} s")


if __name__ == "__main__":
    main()
