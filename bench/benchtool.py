#!/usr/bin/env python3
"""Measuring helpers for bench/run: a page server, a window watcher reading
titles straight from the X server, and the memory of a process tree.

The watcher asks the X server through libX11 in-process (what `xdotool search
--name` / `getwindowname` do, without starting a process per poll), so polling
every few milliseconds costs the measured browsers almost no CPU.
"""
import argparse
import ctypes
import ctypes.util
import http.server
import json
import select
import os
import shlex
import signal
import socketserver
import statistics
import subprocess
import sys
import threading
import time

# ---------------------------------------------------------------- pages

PARAGRAPH = ("Corvano bench text: a plain paragraph of words that wraps over a few "
             "lines, so the page has real text to lay out and paint. ") * 3


def page_html(n):
    rows = "".join(f"<tr><td>{n}.{i}</td><td>row {i}</td><td>{i * n}</td></tr>" for i in range(1, 31))
    paras = "".join(f"<p>{PARAGRAPH}</p>" for _ in range(8))
    return (f"<!DOCTYPE html><html><head><meta charset=\"utf-8\"><title>Bench page {n}</title>"
            "<style>body{font-family:sans-serif;margin:2em}table{border-collapse:collapse}"
            "td{border:1px solid #888;padding:2px 8px}h1{color:#246}</style></head>"
            f"<body><h1>Bench page {n}</h1>{paras}<table>{rows}</table></body></html>").encode()


# The animated wall: a CSS-rotated square (the engine's compositor animates
# it), a counter changed 4 times a second, and the page's own count of its
# animation frames, by second of the clock. Until it knows the measured span
# (whole seconds, set by the driver) a page asks for it at most once a second;
# once the span is over it reports the frames drawn in it in one request:
# neither the count nor a title change costs a frame, and a late answer (the
# engine's network requests can wait behind a busy user-interface thread)
# changes no figure.
WALL_SCRIPT = """
var n=%d,ticks=0,hist={},plan=null,asked=0,busy=false,sent=false;
function ask(now){if(busy||plan||now-asked<1000)return;busy=true;asked=now;
 fetch('/wall/plan?n='+n,{cache:'no-store'}).then(function(r){return r.json()}).then(function(p){
  busy=false;if(p.end_s!==undefined)plan=p}).catch(function(){busy=false})}
function report(now){var s=Math.floor(now/1000);ask(now);
 if(plan&&!sent&&s>=plan.end_s){sent=true;var c=0;for(var k=plan.start_s;k<plan.end_s;k++)c+=hist[k]||0;
  fetch('/wall/report?n='+n+'&frames='+c+'&ms='+(plan.end_s-plan.start_s)*1000+'&state='+document.visibilityState,
   {cache:'no-store'})}}
function f(){var now=Date.now(),s=Math.floor(now/1000);hist[s]=(hist[s]||0)+1;report(now);requestAnimationFrame(f)}
requestAnimationFrame(f);
// A hidden page draws no frames but its timer still runs: it reports too.
setInterval(function(){document.getElementById('c').textContent=++ticks;report(Date.now())},250);
"""


def wall_html(n):
    return (f"<!DOCTYPE html><html><head><meta charset=\"utf-8\"><title>Bench page {n}</title>"
            "<style>html,body{margin:0;overflow:hidden;font-family:sans-serif;background:#fff}"
            "#sq{position:absolute;left:30px;top:20px;width:70px;height:70px;background:#2a6;"
            "animation:spin 3s linear infinite}@keyframes spin{to{transform:rotate(360deg)}}"
            "#c{position:absolute;left:140px;top:35px;font-size:30px;color:#246}</style></head>"
            f"<body><div id=\"sq\"></div><div id=\"c\">0</div><script>{WALL_SCRIPT % n}</script>"
            "</body></html>").encode()


class Wall:
    """What the wall's pages and the driver share inside the server."""
    lock = threading.Lock()
    start = None   # time.time() at which the measured span starts
    span_ms = 0
    asking = set()
    reports = {}


def query(path):
    from urllib.parse import parse_qs, urlsplit
    return {k: v[-1] for k, v in parse_qs(urlsplit(path).query).items()}


def wall_answer(name, q):
    """The JSON body for /wall/...; None when the name is unknown."""
    with Wall.lock:
        if name == "wall/plan":
            Wall.asking.add(q.get("n", ""))
            if Wall.start is None:
                return {}
            return {"start_s": round(Wall.start), "end_s": round(Wall.start) + Wall.span_ms // 1000}
        if name == "wall/report":
            Wall.reports[q.get("n", "")] = {"frames": int(q.get("frames", "0") or 0), "ms": int(q.get("ms", "0") or 0),
                                             "state": q.get("state", ""),
                                             # how long after the span the report came: the page's request delay
                                             "late_s": time.time() - Wall.start - Wall.span_ms / 1000 if Wall.start else None}
            return {}
        if name == "wall/start":
            Wall.start = float(round(time.time() + float(q.get("delay", "15"))))  # on a whole second
            Wall.span_ms = int(round(float(q.get("span", "30")))) * 1000
            return {"start": Wall.start}
        if name == "wall/reset":
            Wall.start, Wall.span_ms, Wall.asking, Wall.reports = None, 0, set(), {}
            return {}
        if name == "wall/status":
            return {"asking": len(Wall.asking), "reports": Wall.reports}
    return None


class Features:
    """What the web-platform page reported, by browser."""
    lock = threading.Lock()
    reports = {}


def features_answer(name, q):
    with Features.lock:
        if name == "features/report":
            Features.reports[q.get("b", "")] = {
                "passed": int(q.get("passed", "0") or 0), "total": int(q.get("total", "0") or 0),
                "controls": int(q.get("controls", "0") or 0),
                "missing": [m for m in q.get("missing", "").split("|") if m]}
            return {}
        if name == "features/status":
            return Features.reports
    return None


class PageHandler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"

    def do_GET(self):
        name = self.path.split("?")[0].lstrip("/")
        body = None
        ctype = "text/html; charset=utf-8"
        if name.startswith("wall/"):
            answer = wall_answer(name, query(self.path))
            if answer is not None:
                body, ctype = json.dumps(answer).encode(), "application/json"
        elif name.startswith("features/"):
            answer = features_answer(name, query(self.path))
            if answer is not None:
                body, ctype = json.dumps(answer).encode(), "application/json"
        elif name == "features.html":
            with open(os.path.join(os.path.dirname(os.path.abspath(__file__)), "features.html"), "rb") as f:
                body = f.read()
        elif name.startswith("wall") and name.endswith(".html") and name[4:-5].isdigit():
            body = wall_html(int(name[4:-5]))
        elif name.startswith("page") and name.endswith(".html"):
            num = name[4:-5]
            if num.isdigit():
                body = page_html(int(num))
        elif name == "":
            body = page_html(0)
        if body is None:
            self.send_response(404)
            self.send_header("Content-Length", "0")
            self.end_headers()
            return
        self.send_response(200)
        self.send_header("Content-Type", ctype)
        self.send_header("Cache-Control", "no-store")
        self.send_header("Content-Length", str(len(body)))
        if name.startswith("wall/"):
            # A page's question must never wait for another's connection.
            self.send_header("Connection", "close")
            self.close_connection = True
        self.end_headers()
        self.wfile.write(body)

    def log_message(self, fmt, *args):
        if os.environ.get("BENCH_LOG_REQUESTS"):
            sys.stderr.write(f"{time.time():.1f} {fmt % args}\n")


class Server(socketserver.ThreadingMixIn, http.server.HTTPServer):
    daemon_threads = True
    allow_reuse_address = True


def cmd_serve(a):
    srv = Server(("127.0.0.1", 0), PageHandler)
    with open(a.port_file + ".tmp", "w") as f:
        f.write(str(srv.server_address[1]))
    os.replace(a.port_file + ".tmp", a.port_file)
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(0))
    srv.serve_forever()


def cmd_folder(a):
    """An application folder that reopens windows 1..N, window k on page k:
    the executables and language files, Data/Corvano.Ini and Data/CorvanoK.Ini
    (and Data/CorvanoK.Opt naming a profile with --profiles)."""
    import glob
    import shutil
    data = os.path.join(a.dir, "Data")
    os.makedirs(data, exist_ok=True)
    for exe in a.exe:
        shutil.copy2(exe, a.dir)
    for lang in glob.glob(os.path.join(a.share, "Lang_*.txt")):
        shutil.copy2(lang, a.dir)

    def write(name, lines):
        with open(os.path.join(data, name), "wb") as f:
            f.write("".join(l + "\r\n" for l in lines).encode())

    n = a.windows
    write("Corvano.Ini", [f" {n} ", "english", " 1 "] + [" 1 " if k <= n else " 0 " for k in range(1, 21)])
    height, width = a.height * 15, a.width * 15  # pixels to twips at 96 dpi
    for k in range(1, n + 1):
        top, left = 20 * 15 * (k - 1) % 6000, 20 * 15 * (k - 1) % 9000
        page = a.page or f"page{k}.html"
        if a.grid:  # the wall: window k in cell k of the grid, side by side
            left, top = grid_cell(k, a.grid, a.width, a.height, a.cells)
            left, top, page = left * 15, top * 15, f"wall{k}.html"
        write(f"Corvano{k}.Ini", [f" {top} ", f" {left} ", f" {height} ", f" {width} "] + [" 0 "] * 8 +
              [" 0 ", f"http://127.0.0.1:{a.port}/", f"http://127.0.0.1:{a.port}/{page}"])
        if a.profiles:  # window k in profile k modulo the count: the cost of a profile
            write(f"Corvano{k}.Opt", ["version=1", "zoom=100", f"profile=bench{(k - 1) % a.profiles + 1}"])


def grid_cell(k, columns, width, height, cells=0):
    """Left and top, in pixels, of window k (from 1) in a grid filled row by row;
    with cells, window cells + k lies exactly over window k."""
    if cells:
        k = (k - 1) % cells + 1
    return (k - 1) % columns * width, (k - 1) // columns * height


# ---------------------------------------------------------------- X titles

class XWindowAttributes(ctypes.Structure):
    _fields_ = [("x", ctypes.c_int), ("y", ctypes.c_int), ("width", ctypes.c_int), ("height", ctypes.c_int),
                ("border_width", ctypes.c_int), ("depth", ctypes.c_int), ("visual", ctypes.c_void_p),
                ("root", ctypes.c_ulong), ("c_class", ctypes.c_int), ("bit_gravity", ctypes.c_int),
                ("win_gravity", ctypes.c_int), ("backing_store", ctypes.c_int),
                ("backing_planes", ctypes.c_ulong), ("backing_pixel", ctypes.c_ulong),
                ("save_under", ctypes.c_int), ("colormap", ctypes.c_ulong), ("map_installed", ctypes.c_int),
                ("map_state", ctypes.c_int), ("all_event_masks", ctypes.c_long),
                ("your_event_mask", ctypes.c_long), ("do_not_propagate_mask", ctypes.c_long),
                ("override_redirect", ctypes.c_int), ("screen", ctypes.c_void_p)]


# The fields read from an XEvent (LP64): type at 0; for CreateNotify the new
# window at 40, for MapNotify the window at 40, for PropertyNotify the window
# at 32 and the atom at 40.
CREATE_NOTIFY, MAP_NOTIFY, PROPERTY_NOTIFY = 16, 19, 28
SUBSTRUCTURE_NOTIFY_MASK, STRUCTURE_NOTIFY_MASK, PROPERTY_CHANGE_MASK = 1 << 19, 1 << 17, 1 << 22


class X:
    def __init__(self):
        self.lib = ctypes.cdll.LoadLibrary(ctypes.util.find_library("X11") or "libX11.so.6")
        L = self.lib
        L.XOpenDisplay.restype = ctypes.c_void_p
        L.XOpenDisplay.argtypes = [ctypes.c_char_p]
        L.XDefaultRootWindow.restype = ctypes.c_ulong
        L.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
        L.XInternAtom.restype = ctypes.c_ulong
        L.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
        L.XQueryTree.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.POINTER(ctypes.c_ulong),
                                 ctypes.POINTER(ctypes.c_ulong), ctypes.POINTER(ctypes.POINTER(ctypes.c_ulong)),
                                 ctypes.POINTER(ctypes.c_uint)]
        L.XGetWindowProperty.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_ulong, ctypes.c_long,
                                         ctypes.c_long, ctypes.c_int, ctypes.c_ulong,
                                         ctypes.POINTER(ctypes.c_ulong), ctypes.POINTER(ctypes.c_int),
                                         ctypes.POINTER(ctypes.c_ulong), ctypes.POINTER(ctypes.c_ulong),
                                         ctypes.POINTER(ctypes.c_void_p)]
        L.XGetWindowAttributes.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.POINTER(XWindowAttributes)]
        L.XSelectInput.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_long]
        L.XFree.argtypes = [ctypes.c_void_p]
        L.XFlush.argtypes = [ctypes.c_void_p]
        L.XPending.argtypes = [ctypes.c_void_p]
        L.XNextEvent.argtypes = [ctypes.c_void_p, ctypes.c_void_p]
        L.XConnectionNumber.argtypes = [ctypes.c_void_p]
        # A window that vanishes between two calls must not end the watcher.
        self._handler = ctypes.CFUNCTYPE(ctypes.c_int, ctypes.c_void_p, ctypes.c_void_p)(lambda d, e: 0)
        L.XSetErrorHandler(self._handler)
        self.dpy = L.XOpenDisplay(None)
        if not self.dpy:
            raise SystemExit("benchtool: cannot open the X display")
        self.root = L.XDefaultRootWindow(self.dpy)
        self.name_atoms = {L.XInternAtom(self.dpy, b"_NET_WM_NAME", 0), L.XInternAtom(self.dpy, b"WM_NAME", 0)}
        self.net_name = L.XInternAtom(self.dpy, b"_NET_WM_NAME", 0)
        self.wm_name = L.XInternAtom(self.dpy, b"WM_NAME", 0)
        self.event = ctypes.create_string_buffer(192)
        self.fd = L.XConnectionNumber(self.dpy)

    def top_windows(self):
        root_ret, parent = ctypes.c_ulong(), ctypes.c_ulong()
        children = ctypes.POINTER(ctypes.c_ulong)()
        n = ctypes.c_uint()
        if not self.lib.XQueryTree(self.dpy, self.root, ctypes.byref(root_ret), ctypes.byref(parent),
                                   ctypes.byref(children), ctypes.byref(n)):
            return []
        out = [children[i] for i in range(n.value)]
        if children:
            self.lib.XFree(children)
        return out

    def _prop(self, win, atom):
        t, fmt = ctypes.c_ulong(), ctypes.c_int()
        nitems, after = ctypes.c_ulong(), ctypes.c_ulong()
        data = ctypes.c_void_p()
        rc = self.lib.XGetWindowProperty(self.dpy, win, atom, 0, 1024, 0, 0, ctypes.byref(t), ctypes.byref(fmt),
                                         ctypes.byref(nitems), ctypes.byref(after), ctypes.byref(data))
        if rc != 0 or not data.value:
            return None
        raw = ctypes.string_at(data.value, nitems.value) if fmt.value == 8 else b""
        self.lib.XFree(data)
        return raw

    def title(self, win):
        raw = self._prop(win, self.net_name)
        if raw is None:
            raw = self._prop(win, self.wm_name)
        return raw.decode("utf-8", "replace") if raw is not None else None

    def viewable(self, win):
        a = XWindowAttributes()
        if not self.lib.XGetWindowAttributes(self.dpy, win, ctypes.byref(a)):
            return False
        return a.map_state == 2 and not a.override_redirect  # IsViewable; menus and tooltips are no windows

    def watch(self, win, mask):
        self.lib.XSelectInput(self.dpy, win, mask)

    def events(self, timeout):
        """(type, window, atom) of the events that arrive within timeout seconds."""
        self.lib.XFlush(self.dpy)
        if not self.lib.XPending(self.dpy):
            select.select([self.fd], [], [], timeout)
        out = []
        while self.lib.XPending(self.dpy):
            self.lib.XNextEvent(self.dpy, self.event)
            raw = self.event.raw
            kind = int.from_bytes(raw[0:4], "little")
            if kind == PROPERTY_NOTIFY:
                out.append((kind, int.from_bytes(raw[32:40], "little"), int.from_bytes(raw[40:48], "little")))
            elif kind in (CREATE_NOTIFY, MAP_NOTIFY):
                out.append((kind, int.from_bytes(raw[40:48], "little"), 0))
        return out


class Tracker:
    """Follows every new top-level window: when it is first mapped, when its
    title first holds the marker. Title changes arrive as X events and are read
    at once, so a title shown only for a moment is still seen; a slow scan
    catches whatever the events missed."""

    def __init__(self, marker):
        self.x = X()
        self.marker = marker
        self.x.watch(self.x.root, SUBSTRUCTURE_NOTIFY_MASK)
        self.known = set(self.x.top_windows())  # windows from before the start are not ours
        self.watched = set()
        self.shown = {}    # window -> time it was first mapped
        self.loaded = {}   # window -> (time, title)
        self.history = {}  # window -> [(time, title)] as read, for windows not yet loaded
        self.last_scan = 0.0
        self.last_change = time.time()

    def _check(self, w, now):
        if w in self.known or w in self.loaded:
            return
        if w not in self.watched:
            self.watched.add(w)
            self.x.watch(w, PROPERTY_CHANGE_MASK | STRUCTURE_NOTIFY_MASK)
        if w not in self.shown:
            if not self.x.viewable(w):
                return
            self.shown[w] = now
        t = self.x.title(w)
        h = self.history.setdefault(w, [])
        if not h or h[-1][1] != t:
            h.append((now, t))
            self.last_change = now
        if t and self.marker in t:
            self.loaded[w] = (now, t)

    def step(self, timeout=0.05):
        evs = self.x.events(timeout)
        now = time.time()
        for kind, w, atom in evs:
            if kind == PROPERTY_NOTIFY and atom not in self.x.name_atoms:
                continue
            self._check(w, now)
        if now - self.last_scan > 0.1:
            self.last_scan = now
            for w in self.x.top_windows():
                self._check(w, time.time())
        return len(self.loaded)

    def results(self):
        return [{"window": w, "title": t, "shown": self.shown[w], "loaded": tl, "ms": (tl - self.shown[w]) * 1000}
                for w, (tl, t) in sorted(self.loaded.items(), key=lambda kv: kv[1][0])]


def cmd_windows(a):
    """Waits for --expect new windows whose titles hold the marker. With
    --open, opens them one by one, each once the one before has loaded.
    Writes a JSON summary; times are relative to the launch time that the
    caller wrote into --since-file just before starting the program."""
    tr = Tracker(a.marker)
    if a.ready_file:
        open(a.ready_file, "w").close()
    deadline = time.time() + a.timeout
    opened, launched = 0, []
    n = 0
    while time.time() < deadline:
        n = tr.step()
        if n >= a.expect:
            break
        # A caption may show the page title too briefly to be read: once the
        # windows have gone quiet, waiting longer changes nothing.
        if a.quiet and tr.shown and time.time() - tr.last_change > a.quiet and (not a.open or opened > n):
            break
        if a.open and opened == n and opened < a.expect:
            opened += 1
            cmd = [p.replace("{n}", str(a.first + opened - 1)) for p in shlex.split(a.open)]
            launched.append(subprocess.Popen(cmd, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL))
    for p in launched:  # these hand the address to the running browser and end
        try:
            p.wait(timeout=5)
        except subprocess.TimeoutExpired:
            p.kill()
    since = 0.0
    if a.since_file:
        try:
            with open(a.since_file) as f:
                since = float(f.read().strip())
        except (OSError, ValueError):
            pass
    res = tr.results()
    ms = [r["ms"] for r in res]
    out = {"loaded": len(res), "expected": a.expect,
           "median_ms": statistics.median(ms) if ms else None,
           "min_ms": min(ms) if ms else None, "max_ms": max(ms) if ms else None,
           "first_loaded_s": (res[0]["loaded"] - since) if res and since else None,
           "all_loaded_s": (res[-1]["loaded"] - since) if res and since else None,
           "windows": [r["window"] for r in res],
           "per_window": [(r["title"], round(r["ms"], 1)) for r in res],
           "missed": {str(w): [(round(t - tr.shown.get(w, t), 3), s) for t, s in h]
                      for w, h in tr.history.items() if w not in tr.loaded and w in tr.shown}}
    with open(a.out, "w") as f:
        json.dump(out, f)


def cmd_get(a):
    """One field of a JSON summary, as text ('n/a' when absent)."""
    try:
        with open(a.file) as f:
            v = json.load(f).get(a.key)
    except (OSError, ValueError):
        v = None
    if v is None:
        print("n/a")
    elif isinstance(v, float):
        print(f"{v:.{a.digits}f}")
    elif isinstance(v, list):
        print(" ".join(str(i) for i in v))
    else:
        print(v)


def cmd_titles(a):
    x = X()
    for w in x.top_windows():
        t = x.title(w)
        if t:
            print(hex(w), x.viewable(w), t)


def cmd_resize(a):
    """Gives the windows one size, so every browser draws the same area; with
    --grid, also places them side by side, the first window in the top left."""
    x = X()
    x.lib.XResizeWindow.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_uint, ctypes.c_uint]
    x.lib.XMoveResizeWindow.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int,
                                        ctypes.c_uint, ctypes.c_uint]
    for k, w in enumerate(a.windows, 1):
        if a.grid:
            left, top = grid_cell(k, a.grid, a.width, a.height, a.cells)
            x.lib.XMoveResizeWindow(x.dpy, int(w), left, top, a.width, a.height)
        else:
            x.lib.XResizeWindow(x.dpy, int(w), a.width, a.height)
    x.lib.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
    x.lib.XSync(x.dpy, 0)


# ---------------------------------------------------------------- memory

def descendants(root):
    children = {}
    for d in os.listdir("/proc"):
        if not d.isdigit():
            continue
        try:
            with open(f"/proc/{d}/stat") as f:
                s = f.read()
            ppid = int(s[s.rindex(")") + 2:].split()[1])
        except (OSError, ValueError, IndexError):
            continue
        children.setdefault(ppid, []).append(int(d))
    out, todo = [], [root]
    while todo:
        p = todo.pop()
        out.append(p)
        todo.extend(children.get(p, []))
    return out


def pss_kib(pid):
    try:
        with open(f"/proc/{pid}/smaps_rollup") as f:
            for line in f:
                if line.startswith("Pss:"):
                    return int(line.split()[1])
    except OSError:
        pass
    return None


def tree_pss_kib(root):
    """(whole tree, the root process alone, processes counted), in KiB."""
    total, procs = 0, 0
    for p in descendants(root):
        v = pss_kib(p)
        if v is not None:
            total += v
            procs += 1
    return total, pss_kib(root) or 0, procs


def cmd_pss(a):
    """Median of a few samples, one a second apart: MiB of the tree, MiB of
    the root process, process count."""
    samples = []
    for i in range(a.samples):
        if i:
            time.sleep(1)
        samples.append(tree_pss_kib(a.pid))
    tree = statistics.median(s[0] for s in samples)
    main = statistics.median(s[1] for s in samples)
    print(f"{tree / 1024:.1f} {main / 1024:.1f} {max(s[2] for s in samples)}")


def group_members(pgid):
    out = []
    for d in os.listdir("/proc"):
        if d.isdigit():
            try:
                with open(f"/proc/{d}/stat") as f:
                    s = f.read()
                if int(s[s.rindex(")") + 2:].split()[2]) == pgid:
                    out.append(int(d))
            except (OSError, ValueError, IndexError):
                pass
    return out


def alive(pid):
    try:
        with open(f"/proc/{pid}/stat") as f:
            return f.read().rsplit(")", 1)[1].split()[0] != "Z"
    except OSError:
        return False


def cmd_stop(a):
    """Ends a launched program and everything it started: the tree and the
    process group, listed before the first signal (orphans lose their parent)."""
    pids = set(descendants(a.pid)) | set(group_members(a.pid))
    for sig, wait in ((signal.SIGTERM, a.grace), (signal.SIGKILL, 3.0)):
        left = [p for p in pids if alive(p)]
        if not left:
            return
        for p in left:
            try:
                os.kill(p, sig)
            except OSError:
                pass
        end = time.time() + wait
        while time.time() < end and any(alive(p) for p in pids):
            time.sleep(0.05)
    left = [p for p in pids if alive(p)]
    if left:
        print(f"benchtool: still running after SIGKILL: {left}", file=sys.stderr)


def cpu_seconds(pids):
    """utime + stime of each process (all its threads), in seconds."""
    tick = os.sysconf("SC_CLK_TCK")
    out = {}
    for p in pids:
        try:
            with open(f"/proc/{p}/stat") as f:
                s = f.read()
            fields = s[s.rindex(")") + 2:].split()
            out[p] = (int(fields[11]) + int(fields[12])) / tick
        except (OSError, ValueError, IndexError):
            pass
    return out


def x_server_pid():
    """The Xvfb serving DISPLAY, when there is one (its CPU is part of drawing)."""
    disp = os.environ.get("DISPLAY", "").split(".")[0]
    for d in os.listdir("/proc"):
        if d.isdigit():
            try:
                with open(f"/proc/{d}/cmdline", "rb") as f:
                    args = f.read().split(b"\0")
            except OSError:
                continue
            if args and os.path.basename(args[0]) == b"Xvfb" and disp.encode() in args[1:]:
                return int(d)
    return None


def wall_get(url, name):
    import urllib.request
    with urllib.request.urlopen(f"{url}/{name}", timeout=10) as r:
        return json.loads(r.read() or b"{}")


def cmd_wall(a):
    """Once every page of the wall has asked for the plan: the measured span
    starts after --settle seconds and lasts --span seconds. CPU of the
    launched tree (and of its main process, and of Xvfb) over the span, the
    tree's memory at its end and the frames the pages counted, as JSON."""
    deadline = time.time() + a.timeout
    while time.time() < deadline and wall_get(a.url, "wall/status")["asking"] < a.pages:
        time.sleep(0.5)
    asking = wall_get(a.url, "wall/status")["asking"]
    start = wall_get(a.url, f"wall/start?delay={a.settle}&span={a.span}")["start"]
    time.sleep(max(0.0, start - time.time()))
    xs = x_server_pid()
    pids = descendants(a.pid) + ([xs] if xs else [])
    perf = None
    if a.perf_out:
        perf = subprocess.Popen(["perf", "record", "-F", "499", "-g", "-o", a.perf_out, "-p", str(a.pid)],
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    t0, c0 = time.time(), cpu_seconds(pids)
    time.sleep(round(a.span))
    pids = descendants(a.pid)
    t1, c1 = time.time(), cpu_seconds(pids + ([xs] if xs else []))
    load = open("/proc/loadavg").read().split()[:3]
    if perf:
        perf.send_signal(signal.SIGINT)
        try:
            perf.wait(timeout=30)
        except subprocess.TimeoutExpired:
            perf.kill()
    total_kib, main_kib, _ = tree_pss_kib(a.pid)
    end = time.time() + 90
    reports = {}
    while time.time() < end:
        reports = wall_get(a.url, "wall/status")["reports"]
        if len(reports) >= max(asking, a.pages):
            break
        time.sleep(0.3)
    wall = t1 - t0
    used = {p: c1[p] - c0.get(p, 0.0) for p in c1}
    tree = sum(v for p, v in used.items() if p != xs)
    # A hidden page draws nothing: the frames a second are those of the pages in view.
    fps = [r["frames"] * 1000 / r["ms"] for r in reports.values() if r["ms"] > 0 and r["state"] == "visible"]
    frames = sum(r["frames"] for r in reports.values())
    out = {"pages": len(reports), "asking": asking, "cpu_pct": 100 * tree / wall,
           "main_pct": 100 * used.get(a.pid, 0.0) / wall, "xvfb_pct": 100 * used.get(xs, 0.0) / wall if xs else None,
           "frames": frames, "fps_page": statistics.median(fps) if fps else None,
           "cpu_ms_per_frame": 1000 * tree / frames if frames else None,
           "mem_mib": total_kib / 1024, "main_mib": main_kib / 1024, "load": " ".join(load),
           "hidden": sum(1 for r in reports.values() if r["state"] != "visible"),
           "late_s": max((r["late_s"] for r in reports.values() if r.get("late_s") is not None), default=None)}
    with open(a.out, "w") as f:
        json.dump(out, f)


def cmd_wall_reset(a):
    wall_get(a.url, "wall/reset")


def cmd_features(a):
    """Waits for the web-platform page's report of one browser; prints
    "N of M" and the missing features, or n/a when none came in time."""
    deadline = time.time() + a.timeout
    while time.time() < deadline:
        r = wall_get(a.url, "features/status").get(a.browser)
        if r:
            missing = ", ".join(r["missing"]) or "none"
            print(f"{r['passed']} of {r['total']} ({r['controls']} controls shipped by Chromium 102 or before); "
                  f"missing: {missing}")
            return
        time.sleep(0.2)
    print("n/a (no report)")


def thread_figures(pid, name):
    """CPU ticks and wakeups (context switches) of the process's threads of that name."""
    ticks = wakeups = count = 0
    for tid in os.listdir(f"/proc/{pid}/task"):
        try:
            with open(f"/proc/{pid}/task/{tid}/comm") as f:
                if f.read().strip() != name:
                    continue
            with open(f"/proc/{pid}/task/{tid}/stat") as f:
                fields = f.read().rsplit(")", 1)[1].split()
            with open(f"/proc/{pid}/task/{tid}/status") as f:
                status = dict(l.split(":", 1) for l in f if ":" in l)
        except OSError:
            continue
        count += 1
        ticks += int(fields[11]) + int(fields[12])
        wakeups += int(status["voluntary_ctxt_switches"]) + int(status["nonvoluntary_ctxt_switches"])
    return count, ticks, wakeups


def cmd_control(a):
    """The control interface of a running Corvano: request -> the page's request
    at the server, over RUNS navigations; then its threads over IDLE quiet seconds."""
    import urllib.request
    conf = open(os.path.join(a.dir, "Data", "Control.conf")).read()
    port = int([l.split(":")[-1] for l in conf.splitlines() if l.startswith("listen=")][0])
    arrived = {}

    class Nav(http.server.BaseHTTPRequestHandler):
        def do_GET(self):
            arrived[self.path] = time.perf_counter()
            body = b"<!DOCTYPE html><title>nav</title><p>nav</p>"
            self.send_response(200); self.send_header("Content-Type", "text/html")
            self.send_header("Content-Length", str(len(body))); self.end_headers(); self.wfile.write(body)

        def log_message(self, *_):
            pass

    srv = socketserver.ThreadingTCPServer(("127.0.0.1", 0), Nav)
    threading.Thread(target=srv.serve_forever, daemon=True).start()
    api = f"http://127.0.0.1:{port}"

    def call(path, body=None):
        token = open(os.path.join(a.dir, "Data", "Control.key")).read().strip()
        req = urllib.request.Request(api + path, data=body, headers={"Authorization": "Bearer " + token})
        with urllib.request.urlopen(req, timeout=10) as r:
            return json.loads(r.read())

    deadline = time.time() + 60
    while True:
        try:
            if call("/v1/windows")["windows"]:
                break
        except Exception:
            pass
        if time.time() > deadline:
            print(json.dumps({"error": "no answer"})); return
        time.sleep(0.2)
    times = []
    for i in range(a.runs):
        path = f"/nav?i={i}"
        body = json.dumps({"command": "navigate", "window": 1,
                           "address": f"http://127.0.0.1:{srv.server_address[1]}{path}"}).encode()
        t0 = time.perf_counter()
        call("/v1/command", body)
        end = time.time() + 10
        while path not in arrived and time.time() < end:
            time.sleep(0.001)
        if path in arrived:
            times.append((arrived[path] - t0) * 1000)
        time.sleep(0.3)
    time.sleep(3)
    n, t1, w1 = thread_figures(a.pid, "corvano-http")
    time.sleep(a.idle)
    _, t2, w2 = thread_figures(a.pid, "corvano-http")
    srv.shutdown()
    print(json.dumps({"nav_median_ms": round(statistics.median(times), 1) if times else "n/a",
                      "nav_max_ms": round(max(times), 1) if times else "n/a", "runs": len(times),
                      "http_threads": n, "idle_ticks": t2 - t1, "idle_wakeups": w2 - w1, "idle_s": a.idle}))


def cmd_median(a):
    vals = [float(v) for v in a.values if v not in ("", "timeout")]
    print(f"{statistics.median(vals):.3f}" if vals else "n/a")


def main():
    ap = argparse.ArgumentParser()
    sub = ap.add_subparsers(dest="cmd", required=True)
    s = sub.add_parser("serve"); s.add_argument("--port-file", required=True); s.set_defaults(f=cmd_serve)
    s = sub.add_parser("windows"); s.add_argument("--marker", required=True)
    s.add_argument("--expect", type=int, required=True); s.add_argument("--timeout", type=float, default=90)
    s.add_argument("--out", required=True); s.add_argument("--since-file", default="")
    s.add_argument("--ready-file", default=""); s.add_argument("--open", default="")
    s.add_argument("--first", type=int, default=1); s.add_argument("--quiet", type=float, default=0)
    s.set_defaults(f=cmd_windows)
    s = sub.add_parser("get"); s.add_argument("file"); s.add_argument("key")
    s.add_argument("--digits", type=int, default=3); s.set_defaults(f=cmd_get)
    s = sub.add_parser("resize"); s.add_argument("--width", type=int, required=True)
    s.add_argument("--height", type=int, required=True); s.add_argument("windows", nargs="*")
    s.add_argument("--grid", type=int, default=0); s.add_argument("--cells", type=int, default=0)
    s.set_defaults(f=cmd_resize)
    s = sub.add_parser("folder"); s.add_argument("--dir", required=True)
    s.add_argument("--exe", action="append", required=True); s.add_argument("--share", required=True)
    s.add_argument("--page", default="")
    s.add_argument("--windows", type=int, required=True); s.add_argument("--port", type=int, required=True)
    s.add_argument("--width", type=int, default=1024); s.add_argument("--height", type=int, default=768)
    s.add_argument("--grid", type=int, default=0); s.add_argument("--cells", type=int, default=0)
    s.add_argument("--profiles", type=int, default=0)
    s.set_defaults(f=cmd_folder)
    s = sub.add_parser("wall"); s.add_argument("--url", required=True); s.add_argument("--pid", type=int, required=True)
    s.add_argument("--pages", type=int, default=20); s.add_argument("--settle", type=float, default=15)
    s.add_argument("--span", type=float, default=30); s.add_argument("--timeout", type=float, default=120)
    s.add_argument("--out", required=True); s.add_argument("--perf-out", default="")
    s.set_defaults(f=cmd_wall)
    s = sub.add_parser("features"); s.add_argument("--url", required=True); s.add_argument("--browser", required=True)
    s.add_argument("--timeout", type=float, default=60); s.set_defaults(f=cmd_features)
    s = sub.add_parser("wall-reset"); s.add_argument("--url", required=True); s.set_defaults(f=cmd_wall_reset)
    s = sub.add_parser("titles"); s.set_defaults(f=cmd_titles)
    s = sub.add_parser("pss"); s.add_argument("--pid", type=int, required=True)
    s.add_argument("--samples", type=int, default=3); s.set_defaults(f=cmd_pss)
    s = sub.add_parser("stop"); s.add_argument("--pid", type=int, required=True)
    s.add_argument("--grace", type=float, default=5); s.set_defaults(f=cmd_stop)
    s = sub.add_parser("median"); s.add_argument("values", nargs="*"); s.set_defaults(f=cmd_median)
    s = sub.add_parser("control"); s.add_argument("--dir", required=True); s.add_argument("--pid", type=int, required=True)
    s.add_argument("--runs", type=int, default=20); s.add_argument("--idle", type=float, default=30)
    s.set_defaults(f=cmd_control)
    a = ap.parse_args()
    a.f(a)


if __name__ == "__main__":
    main()
