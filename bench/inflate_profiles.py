#!/usr/bin/env python3
"""Inflates copies of real browser profiles (as tests/browsers/make_profiles.sh lays them out) to
the sizes of a long-used browser: per profile, PAGES visited pages, VISITS visits, COOKIES cookies
and CACHE cache entries. Rows are cloned from the rows the browser itself wrote, through SQLite,
with the schema left as it is; cache entries are copies of the browser's own entry files under new
names.

Usage: inflate_profiles.py PROFILES [PAGES VISITS COOKIES CACHE]
       (defaults 50000 150000 5000 20000; PROFILES is changed in place)
"""
import glob
import os
import random
import shutil
import sqlite3
import sys


def columns(db, table):
    return [row[1] for row in db.execute(f'PRAGMA table_info("{table}")')]


def clone(db, table, count, changes, key="rowid"):
    """Adds rows to table, each a copy of one of its rows with the columns in changes computed
    from the row number i (SQL expressions over i and the copied row's columns)."""
    have = db.execute(f'SELECT count(*) FROM "{table}"').fetchone()[0]
    if have == 0 or have >= count:
        return
    cols = [c for c in columns(db, table) if c not in ("id",)]
    picked = ", ".join(changes.get(c, f't."{c}"') for c in cols)
    names = ", ".join(f'"{c}"' for c in cols)
    db.execute(
        f"""WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < {count - have})
            INSERT INTO "{table}" ({names})
            SELECT {picked} FROM n
              JOIN (SELECT {key} AS k, row_number() OVER (ORDER BY {key}) - 1 AS r
                    FROM "{table}") AS m ON m.r = n.i % {have}
              JOIN "{table}" AS t ON t.{key} = m.k"""
    )


def inflate_chromium(profile, pages, visits, cookies):
    history = os.path.join(profile, "History")
    if os.path.exists(history):
        db = sqlite3.connect(history)
        clone(db, "urls", pages, {
            "url": "t.url || '?bench=' || n.i",
            "title": "t.title || ' ' || n.i",
            "last_visit_time": "t.last_visit_time - n.i * 1000000",
        })
        top = db.execute("SELECT max(id) FROM urls").fetchone()[0]
        clone(db, "visits", visits, {
            "url": f"1 + (n.i * 7919) % {top}",
            "visit_time": "t.visit_time - n.i * 1000000",
        })
        db.commit()
        db.close()
    jar = os.path.join(profile, "Network", "Cookies")
    if os.path.exists(jar):
        db = sqlite3.connect(jar)
        clone(db, "cookies", cookies, {"host_key": "'.b' || n.i || t.host_key"})
        db.commit()
        db.close()


def inflate_firefox(profile, pages, visits, cookies):
    places = os.path.join(profile, "places.sqlite")
    if os.path.exists(places):
        db = sqlite3.connect(places)
        clone(db, "moz_places", pages, {
            "url": "t.url || '?bench=' || n.i",
            "title": "t.title || ' ' || n.i",
            "guid": "substr(t.guid, 1, 4) || printf('%08d', n.i)",
            "url_hash": "t.url_hash + n.i",
            "last_visit_date": "coalesce(t.last_visit_date, 1700000000000000) - n.i * 1000000",
        }, key="id")
        top = db.execute("SELECT max(id) FROM moz_places").fetchone()[0]
        clone(db, "moz_historyvisits", visits, {
            "place_id": f"1 + (n.i * 7919) % {top}",
            "visit_date": "t.visit_date - n.i * 1000000",
        }, key="id")
        db.commit()
        db.close()
    jar = os.path.join(profile, "cookies.sqlite")
    if os.path.exists(jar):
        db = sqlite3.connect(jar)
        clone(db, "moz_cookies", cookies, {"host": "'.b' || n.i || t.host"}, key="id")
        db.commit()
        db.close()


def inflate_cache(folder, count, name):
    """Copies the folder's entry files (those name() accepts) under new names up to count."""
    if not os.path.isdir(folder):
        return
    entries = [f for f in os.listdir(folder) if name(f)]
    if not entries:
        return
    rng = random.Random(20)
    made = len(entries)
    while made < count:
        source = entries[made % len(entries)]
        new = name(source, rng)
        shutil.copyfile(os.path.join(folder, source), os.path.join(folder, new))
        made += 1


def chromium_entry(file, rng=None):
    if rng is None:
        return len(file) == 18 and file.endswith("_0")
    return "%016x_0" % rng.getrandbits(64)


def firefox_entry(file, rng=None):
    if rng is None:
        return len(file) == 40 and all(c in "0123456789ABCDEF" for c in file)
    return "%040X" % rng.getrandbits(160)


def main():
    if len(sys.argv) not in (2, 6):
        sys.exit(__doc__)
    root = sys.argv[1]
    pages, visits, cookies, cache = (50000, 150000, 5000, 20000)
    if len(sys.argv) == 6:
        pages, visits, cookies, cache = (int(a) for a in sys.argv[2:6])
    for profile in glob.glob(os.path.join(root, "Local", "*", "User Data", "Default")) + glob.glob(
        os.path.join(root, "Local", "*", "*", "User Data", "Default")
    ):
        inflate_chromium(profile, pages, visits, cookies)
        inflate_cache(os.path.join(profile, "Cache", "Cache_Data"), cache, chromium_entry)
    for profile in glob.glob(os.path.join(root, "Roaming", "Mozilla", "Firefox", "Profiles", "*")):
        inflate_firefox(profile, pages, visits, cookies)
    for local in glob.glob(os.path.join(root, "Local", "Mozilla", "Firefox", "Profiles", "*")):
        inflate_cache(os.path.join(local, "cache2", "entries"), cache, firefox_entry)


if __name__ == "__main__":
    main()
