#!/usr/bin/env python3
"""Drives a real headless browser through a list of URLs, then shuts it down cleanly.

Usage:
  browse.py chromium BINARY USER_DATA_DIR RESOLVER_RULES URL...
  browse.py firefox BINARY PROFILE_DIR MARIONETTE_PORT URL...
      (a PROFILE_DIR that is no folder is taken as a profile name from profiles.ini)

Chromium is driven over its DevTools pipe (fds 3 and 4), Firefox over Marionette on a
loopback port. Both end with the browser's own quit command, so cookies, history and
caches are written the way a user's normal exit writes them, not cut off by a kill.
"""

import json
import os
import select
import socket
import subprocess
import sys
import time

LOAD_TIMEOUT = 20.0
EXIT_TIMEOUT = 20.0
SETTLE_SECONDS = 0.5  # lets favicon and history writes that follow a load get queued


def log(msg):
    sys.stderr.write(f"browse: {msg}\n")
    sys.stderr.flush()


def wait_exit(proc, what):
    try:
        return proc.wait(EXIT_TIMEOUT)
    except subprocess.TimeoutExpired:
        log(f"{what} did not exit after its quit command; killing it")
        proc.kill()
        proc.wait()
        raise SystemExit(f"{what} did not shut down cleanly")


class DevToolsPipe:
    """Chromium's --remote-debugging-pipe: NUL-terminated JSON messages."""

    def __init__(self, to_browser, from_browser):
        self.out = to_browser
        self.inp = from_browser
        self.buf = b""
        self.next_id = 0
        self.events = []

    def send(self, method, params=None, session=None):
        self.next_id += 1
        msg = {"id": self.next_id, "method": method, "params": params or {}}
        if session:
            msg["sessionId"] = session
        data = json.dumps(msg).encode() + b"\0"
        while data:
            data = data[os.write(self.out, data) :]
        return self.next_id

    def read_message(self, deadline):
        while b"\0" not in self.buf:
            left = deadline - time.monotonic()
            if left <= 0:
                raise TimeoutError("no message from the browser in time")
            ready, _, _ = select.select([self.inp], [], [], left)
            if ready:
                chunk = os.read(self.inp, 65536)
                if not chunk:
                    raise EOFError("the browser closed its DevTools pipe")
                self.buf += chunk
        raw, self.buf = self.buf.split(b"\0", 1)
        return json.loads(raw)

    def call(self, method, params=None, session=None, timeout=LOAD_TIMEOUT):
        wanted = self.send(method, params, session)
        deadline = time.monotonic() + timeout
        while True:
            msg = self.read_message(deadline)
            if msg.get("id") == wanted:
                if "error" in msg:
                    raise RuntimeError(f"{method}: {msg['error']}")
                return msg.get("result", {})
            if "method" in msg:
                self.events.append(msg)

    def wait_event(self, method, session, timeout=LOAD_TIMEOUT):
        deadline = time.monotonic() + timeout
        while True:
            for i, ev in enumerate(self.events):
                if ev["method"] == method and ev.get("sessionId") == session:
                    return self.events.pop(i)
            msg = self.read_message(deadline)
            if "method" in msg:
                self.events.append(msg)


def run_chromium(binary, user_data_dir, resolver_rules, urls):
    to_browser_r, to_browser_w = os.pipe()
    from_browser_r, from_browser_w = os.pipe()
    args = [
        binary,
        "--headless=new",
        "--no-sandbox",
        "--disable-gpu",
        "--disable-quic",
        "--no-first-run",
        "--no-default-browser-check",
        "--disable-background-networking",
        "--disable-component-update",
        "--disable-sync",
        "--disable-default-apps",
        "--disable-extensions",
        "--disable-breakpad",
        "--disable-domain-reliability",
        "--disable-client-side-phishing-detection",
        "--disable-dev-shm-usage",
        "--metrics-recording-only",
        "--no-pings",
        "--password-store=basic",
        "--use-mock-keychain",
        "--disable-features=OptimizationHints,MediaRouter,Translate,AutofillServerCommunication,"
        "CertificateTransparencyComponentUpdater,InterestFeedContentSuggestions",
        f"--host-resolver-rules={resolver_rules}",
        f"--user-data-dir={user_data_dir}",
        "--remote-debugging-pipe",
        "about:blank",
    ]
    # The pipe ends become fds 3 (commands in) and 4 (replies out) in the browser.
    wrapper = ["sh", "-c", f'exec "$@" 3<&{to_browser_r} 4>&{from_browser_w}', "sh"] + args
    env = {k: v for k, v in os.environ.items() if not k.startswith("GOOGLE_")}
    proc = subprocess.Popen(
        wrapper,
        pass_fds=(to_browser_r, from_browser_w),
        env=env,
        stdin=subprocess.DEVNULL,
        stdout=subprocess.DEVNULL,
        stderr=sys.stderr,
    )
    os.close(to_browser_r)
    os.close(from_browser_w)
    pipe = DevToolsPipe(to_browser_w, from_browser_r)
    try:
        target = pipe.call("Target.createTarget", {"url": "about:blank"})["targetId"]
        session = pipe.call("Target.attachToTarget", {"targetId": target, "flatten": True})[
            "sessionId"
        ]
        pipe.call("Page.enable", session=session)
        for i, url in enumerate(urls):
            pipe.events.clear()
            # The first address is typed, the rest are followed links, as a person browses.
            transition = "typed" if i == 0 else "link"
            result = pipe.call("Page.navigate", {"url": url, "transitionType": transition}, session)
            if result.get("errorText"):
                raise RuntimeError(f"{url}: {result['errorText']}")
            pipe.wait_event("Page.loadEventFired", session)
            log(f"chromium loaded {url}")
            time.sleep(SETTLE_SECONDS)
        pipe.call("Browser.close")
    except Exception:
        proc.kill()
        proc.wait()
        raise
    return wait_exit(proc, "chromium")


class Marionette:
    """Firefox's Marionette protocol: 'LENGTH:JSON' frames over TCP."""

    def __init__(self, port, deadline):
        while True:
            try:
                self.sock = socket.create_connection(("127.0.0.1", port), timeout=2)
                break
            except OSError:
                if time.monotonic() > deadline:
                    raise TimeoutError("Firefox never opened its Marionette port")
                time.sleep(0.2)
        self.sock.settimeout(LOAD_TIMEOUT)
        self.buf = b""
        self.next_id = 0
        self.read_frame()  # the server's greeting

    def read_frame(self):
        while b":" not in self.buf:
            self.buf += self.recv_chunk()
        size, rest = self.buf.split(b":", 1)
        size = int(size)
        while len(rest) < size:
            rest += self.recv_chunk()
        self.buf = rest[size:]
        return json.loads(rest[:size])

    def recv_chunk(self):
        chunk = self.sock.recv(65536)
        if not chunk:
            raise EOFError("Firefox closed the Marionette connection")
        return chunk

    def call(self, command, params=None):
        self.next_id += 1
        body = json.dumps([0, self.next_id, command, params or {}]).encode()
        self.sock.sendall(str(len(body)).encode() + b":" + body)
        while True:
            reply = self.read_frame()
            if reply[0] == 1 and reply[1] == self.next_id:
                if reply[2]:
                    raise RuntimeError(f"{command}: {reply[2]}")
                return reply[3]


def run_firefox(binary, profile_dir, port, urls, home):
    env = dict(os.environ)
    env.update({"HOME": home, "MOZ_HEADLESS": "1", "MOZ_CRASHREPORTER_DISABLE": "1"})
    env.pop("DISPLAY", None)
    args = [binary, "--headless", "--marionette", "--no-remote"]
    if os.path.isdir(profile_dir):
        args += ["--profile", profile_dir]
    else:
        args += ["-P", profile_dir]
    proc = subprocess.Popen(
        args, env=env, stdin=subprocess.DEVNULL, stdout=sys.stderr, stderr=sys.stderr
    )
    try:
        driver = Marionette(port, time.monotonic() + 30)
        driver.call("WebDriver:NewSession", {"capabilities": {"alwaysMatch": {}}})
        for url in urls:
            driver.call("WebDriver:Navigate", {"url": url})
            log(f"firefox loaded {url}")
            time.sleep(SETTLE_SECONDS)
        driver.call("Marionette:Quit", {"flags": ["eAttemptQuit"]})
    except Exception:
        proc.kill()
        proc.wait()
        raise
    return wait_exit(proc, "firefox")


def main(argv):
    if len(argv) >= 5 and argv[0] == "chromium":
        return run_chromium(argv[1], argv[2], argv[3], argv[4:])
    if len(argv) >= 5 and argv[0] == "firefox":
        return run_firefox(argv[1], argv[2], int(argv[3]), argv[4:], os.environ["HOME"])
    sys.stderr.write(__doc__)
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
