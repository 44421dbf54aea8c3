#!/usr/bin/env python3
"""Loopback web server for the browser-profile fixtures: two sites told apart by Host.

Usage: site_server.py [--log FILE] PORT
                             (PORT 0 picks a free port; the bound port is printed as
                              "port=N" on the first line of standard output once the
                              server listens. --log appends one line per request to FILE:
                              host, path and Cookie header, separated by tabs, the header
                              empty when the browser sent none.)
       site_server.py --facts (prints what the sites are known by, as shell-sourceable
                              key='value' lines, and the order in which to visit them.)

keep.purgeon.test (also sub.keep.purgeon.test) and gone.purgeon.test (also
www.gone.purgeon.test) each serve two pages. Every page sets two persistent cookies,
has a title of its own and pulls a cacheable image and script, so a browser that visits
them leaves cookies, history rows and cache entries that name the site.
"""

import email.utils
import http.server
import sys
import time
import struct
import threading
import urllib.parse
import zlib

ONE_YEAR = 365 * 24 * 3600
ASSET_MAX_AGE = 86400


def tiny_png(rgb):
    """A valid 2x2 PNG of one colour (each site gets its own colour, hence its own bytes)."""

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    row = b"\x00" + bytes(rgb) * 2
    return (
        b"\x89PNG\r\n\x1a\n"
        + chunk(b"IHDR", struct.pack(">IIBBBBB", 2, 2, 8, 2, 0, 0, 0))
        + chunk(b"IDAT", zlib.compress(row * 2))
        + chunk(b"IEND", b"")
    )


# Everything a site is known by. make_profiles.sh writes the same facts to expect.txt.
SITES = {
    "keep": {
        "hosts": ("keep.purgeon.test", "sub.keep.purgeon.test"),
        "cookies": ("keepsite_session", "keepsite_pref"),
        "domain": "keep.purgeon.test",
        "pages": {
            "/": "Keepsite Home 4410",
            "/keep-page-4411.html": "Keepsite Second 4411",
        },
        "image": "/keep-asset-4412.png",
        "script": "/keep-script-4413.js",
        "icon": "/keep-icon-4414.png",
        "colour": (0x20, 0xA0, 0x40),
    },
    "gone": {
        "hosts": ("gone.purgeon.test", "www.gone.purgeon.test"),
        "cookies": ("gonesite_session", "gonesite_pref"),
        "domain": "gone.purgeon.test",
        "pages": {
            "/": "Gonesite Home 7730",
            "/gone-page-7734.html": "Gonesite Second 7734",
        },
        "image": "/gone-asset-7731.png",
        "script": "/gone-script-7732.js",
        "icon": "/gone-icon-7733.png",
        "colour": (0xC0, 0x30, 0x30),
    },
}

# Visited in this order, the two sites interleaved, so that in every store a site's rows
# sit between the other site's rows rather than in one block.
VISITS = (
    "http://keep.purgeon.test/",
    "http://gone.purgeon.test/",
    "http://keep.purgeon.test/keep-page-4411.html",
    "http://gone.purgeon.test/gone-page-7734.html",
    "http://sub.keep.purgeon.test/",
    "http://www.gone.purgeon.test/",
)

HOST_TO_SITE = {host: name for name, site in SITES.items() for host in site["hosts"]}
STARTED = email.utils.formatdate(time.time() - 3600, usegmt=True)


def page_html(name, site, path):
    other = [p for p in site["pages"] if p != path][0]
    return (
        "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\">\n"
        f"<title>{site['pages'][path]}</title>\n"
        f"<link rel=\"icon\" type=\"image/png\" href=\"{site['icon']}\">\n"
        f"<script src=\"{site['script']}\"></script>\n"
        "</head><body>\n"
        f"<h1>{site['pages'][path]}</h1>\n"
        f"<img src=\"{site['image']}\" alt=\"{name} asset\" width=\"2\" height=\"2\">\n"
        f"<p><a href=\"{other}\">{site['pages'][other]}</a></p>\n"
        "</body></html>\n"
    ).encode()


class RequestLog:
    """One line per request, written and flushed before the answer goes out."""

    def __init__(self, path):
        self.file = open(path, "a", encoding="utf-8")
        self.lock = threading.Lock()

    def write(self, host, path, cookie):
        fields = [" ".join(str(f).split()) for f in (host, path, cookie)]
        with self.lock:
            self.file.write("\t".join(fields) + "\n")
            self.file.flush()


class Handler(http.server.BaseHTTPRequestHandler):
    server_version = "PurgeonTestSite/1"
    protocol_version = "HTTP/1.1"
    request_log = None

    def log_message(self, fmt, *args):
        sys.stderr.write("site_server: %s %s\n" % (self.headers.get("Host", "-"), fmt % args))

    def do_HEAD(self):
        self.respond(with_body=False)

    def do_GET(self):
        self.respond(with_body=True)

    def respond(self, with_body):
        # A browser that uses this server as its HTTP proxy sends absolute URLs.
        target = urllib.parse.urlsplit(self.path)
        host = target.hostname or (self.headers.get("Host") or "").split(":")[0].lower()
        name = HOST_TO_SITE.get(host)
        path = target.path
        if self.request_log:
            self.request_log.write(host or "-", path, "; ".join(self.headers.get_all("Cookie", [])))
        if name is None:
            return self.send_plain(404, b"unknown host\n", with_body)
        site = SITES[name]
        if path in site["pages"]:
            return self.send_page(name, site, path, with_body)
        if path in (site["image"], site["icon"]):
            return self.send_asset("image/png", tiny_png(site["colour"]), with_body)
        if path == site["script"]:
            body = f"/* {name} site script */\ndocument.documentElement.dataset.site = '{name}';\n"
            return self.send_asset("text/javascript", body.encode(), with_body)
        return self.send_plain(404, b"not found\n", with_body)

    def send_page(self, name, site, path, with_body):
        body = page_html(name, site, path)
        expires = email.utils.formatdate(time.time() + ONE_YEAR, usegmt=True)
        session, pref = site["cookies"]
        self.send_response(200)
        self.send_header("Content-Type", "text/html; charset=utf-8")
        self.send_header("Cache-Control", "no-cache")
        # One host-only cookie and one domain cookie, so both kinds of host key exist.
        self.send_header(
            "Set-Cookie",
            f"{session}={name}-session-value; Path=/; Max-Age={ONE_YEAR}; Expires={expires}; "
            "SameSite=Lax; HttpOnly",
        )
        self.send_header(
            "Set-Cookie",
            f"{pref}={name}-pref-value; Domain={site['domain']}; Path=/; Max-Age={ONE_YEAR}; "
            f"Expires={expires}; SameSite=Lax",
        )
        self.send_body(body, with_body)

    def send_asset(self, ctype, body, with_body):
        self.send_response(200)
        self.send_header("Content-Type", ctype)
        self.send_header("Cache-Control", f"max-age={ASSET_MAX_AGE}")
        self.send_header("Last-Modified", STARTED)
        self.send_header("ETag", '"%08x"' % zlib.crc32(body))
        self.send_body(body, with_body)

    def send_plain(self, code, body, with_body):
        self.send_response(code)
        self.send_header("Content-Type", "text/plain")
        self.send_body(body, with_body)

    def send_body(self, body, with_body):
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        if with_body:
            self.wfile.write(body)


def facts():
    """Lists are separated by spaces, titles (which hold spaces) by '|'."""
    lines = ["visit_urls='%s'" % " ".join(VISITS)]
    for name, site in SITES.items():
        urls = [u for u in VISITS if HOST_TO_SITE[urllib.parse.urlsplit(u).hostname] == name]
        lines += [
            f"{name}_hosts='{' '.join(site['hosts'])}'",
            f"{name}_cookies='{' '.join(site['cookies'])}'",
            f"{name}_urls='{' '.join(urls)}'",
            f"{name}_titles='{'|'.join(site['pages'].values())}'",
            f"{name}_assets='{' '.join((site['image'], site['script'], site['icon']))}'",
        ]
    return "\n".join(lines) + "\n"


def main():
    if sys.argv[1:] == ["--facts"]:
        sys.stdout.write(facts())
        return 0
    args = sys.argv[1:]
    if len(args) == 3 and args[0] == "--log":
        Handler.request_log = RequestLog(args[1])
        args = args[2:]
    if len(args) != 1 or not args[0].isdigit():
        sys.stderr.write("usage: site_server.py [--log FILE] PORT | --facts\n")
        return 2
    server = http.server.ThreadingHTTPServer(("127.0.0.1", int(args[0])), Handler)
    server.daemon_threads = True
    print(f"port={server.server_address[1]}", flush=True)
    try:
        server.serve_forever()
    except KeyboardInterrupt:
        pass
    finally:
        server.server_close()
    return 0


if __name__ == "__main__":
    sys.exit(main())
