#!/usr/bin/env python3
"""Opens the timing program's generated files in the peer editors under a
private Xvfb display and prints their figures beside ours as ratios.

Measured from outside, the same way for every editor: from launch until a
window of the process carries the file's name in its title AND the process
has used no CPU for 200 ms (read from /proc/<pid>/stat); peak memory is the
process's VmHWM. A peer that does not get there within 60 s is "hung". Our editor
does not open files from its command line, so its open figures come from
brenwick-timing (click to painted, in-process) run on the same display in
the same run, plus our start-up measured from outside like the peers'.
"""

import argparse
import csv
import io
import os
import shutil
import signal
import statistics
import subprocess
import sys
import tempfile
import time

IDLE_SECONDS = 0.2
POLL_SECONDS = 0.01
TIMEOUT_SECONDS = 60.0
KEY_TIMEOUT_SECONDS = 30.0
CLOCK_TICK = os.sysconf("SC_CLK_TCK")

# key -> label, as brenwick-timing names them.
DOCUMENTS = [
    ("10k", "10 KB lines"),
    ("1m", "1 MB lines"),
    ("10m", "10 MB lines"),
    ("100m", "100 MB lines"),
    ("css05m", "0.5 MB one line"),
    ("css1m", "1 MB one line"),
    ("css5m", "5 MB one line"),
]

PEERS = [("FeatherPad", "featherpad"), ("Mousepad", "mousepad")]


def log(text):
    print("[peers] " + text, file=sys.stderr, flush=True)


def cpu_ticks(pid):
    """utime + stime of the whole process (all threads), or None when gone."""
    try:
        with open(f"/proc/{pid}/stat") as stat:
            fields = stat.read().rsplit(")", 1)[1].split()
        return int(fields[11]) + int(fields[12])
    except (OSError, IndexError, ValueError):
        return None


def peak_rss_mib(pid):
    try:
        with open(f"/proc/{pid}/status") as status:
            for line in status:
                if line.startswith("VmHWM:"):
                    return int(line.split()[1]) / 1024.0
    except OSError:
        pass
    return None


def window_titles(pid, env):
    """Titles of the visible windows that belong to the process."""
    found = subprocess.run(["xdotool", "search", "--onlyvisible", "--pid", str(pid)],
                           env=env, capture_output=True, text=True)
    titles = {}
    for wid in found.stdout.split():
        name = subprocess.run(["xdotool", "getwindowname", wid], env=env, capture_output=True, text=True)
        titles[wid] = name.stdout.strip()
    return titles


def wait_shown_and_idle(process, env, started, title_part, timeout):
    """Seconds from `started` until a window whose title holds title_part is
    there and the process has been idle for IDLE_SECONDS; None when hung.
    Also returns the window id, or when it failed why: "hung" or "exited"."""
    last_ticks = cpu_ticks(process.pid)
    last_busy = time.monotonic()
    shown_at = None
    window = None
    next_title_check = 0.0
    while time.monotonic() - started < timeout:
        if process.poll() is not None:
            return None, "exited"
        now = time.monotonic()
        ticks = cpu_ticks(process.pid)
        if ticks is not None and ticks != last_ticks:
            last_ticks = ticks
            last_busy = now
        if shown_at is None and now >= next_title_check:
            # Searching costs two processes; every 20 ms is close enough.
            next_title_check = now + 0.02
            for wid, title in window_titles(process.pid, env).items():
                if title_part in title:
                    shown_at = time.monotonic()
                    window = wid
                    break
        if shown_at is not None and now - last_busy >= IDLE_SECONDS:
            return max(shown_at, last_busy) - started, window
        time.sleep(POLL_SECONDS)
    return None, "hung"


def stop(process):
    if process.poll() is None:
        process.send_signal(signal.SIGTERM)
        try:
            process.wait(timeout=3)
        except subprocess.TimeoutExpired:
            process.kill()
            process.wait()


def keystroke_latency(process, env, window):
    """Approximate: from sending one key (xdotool, XTEST) until the process is
    idle again; the CPU clock ticks every 10 ms, so small values read as
    '< 10 ms'. Returns seconds or None when it did not settle in time."""
    subprocess.run(["xdotool", "windowfocus", "--sync", window], env=env, capture_output=True)
    time.sleep(0.3)
    last_ticks = cpu_ticks(process.pid)
    started = time.monotonic()
    subprocess.run(["xdotool", "key", "x"], env=env, capture_output=True)
    last_busy = None
    while time.monotonic() - started < KEY_TIMEOUT_SECONDS:
        now = time.monotonic()
        ticks = cpu_ticks(process.pid)
        if ticks is None:
            return None
        if ticks != last_ticks:
            last_ticks = ticks
            last_busy = now
        quiet_since = last_busy if last_busy is not None else started
        if now - quiet_since >= IDLE_SECONDS:
            return 0.0 if last_busy is None else last_busy - started
        time.sleep(POLL_SECONDS)
    return None


def window_name(window, env):
    return subprocess.run(["xdotool", "getwindowname", window], env=env, capture_output=True, text=True).stdout.strip()


def measure(command, env, title_part, keys=0, timeout=TIMEOUT_SECONDS):
    """As launch_once; a process that quit before showing the file gets one
    more try, and counts as "exited" when it quits again."""
    result = launch_once(command, env, title_part, keys, timeout)
    if result[0] is None and result[4] == "exited":
        log("  the process quit before showing the file; one more try")
        result = launch_once(command, env, title_part, keys, timeout)
    return result


def launch_once(command, env, title_part, keys, timeout):
    """One launch: (seconds or None, peak MiB, [key seconds], whether the
    typed keys changed the document (its title shows it modified))."""
    started = time.monotonic()
    process = subprocess.Popen(command, env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                               start_new_session=True)
    try:
        seconds, window = wait_shown_and_idle(process, env, started, title_part, timeout)
        failure = window if seconds is None else None
        key_times = []
        keys_seen = None
        if seconds is not None and window is not None and keys > 0:
            before = window_name(window, env)
            for _ in range(keys):
                latency = keystroke_latency(process, env, window)
                if latency is None:
                    key_times.append(None)
                    break
                key_times.append(latency)
            keys_seen = window_name(window, env) != before
        return seconds, peak_rss_mib(process.pid), key_times, keys_seen, failure
    finally:
        stop(process)


def start_xvfb():
    for number in range(91, 140):
        if os.path.exists(f"/tmp/.X11-unix/X{number}") or os.path.exists(f"/tmp/.X{number}-lock"):
            continue
        server = subprocess.Popen(["Xvfb", f":{number}", "-screen", "0", "1280x1024x24", "-nolisten", "tcp"],
                                  stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        for _ in range(200):
            if os.path.exists(f"/tmp/.X11-unix/X{number}"):
                return server, f":{number}"
            if server.poll() is not None:
                break
            time.sleep(0.02)
        stop(server)
    raise SystemExit("no free display for Xvfb")


def private_environment(display, home):
    env = {key: value for key, value in os.environ.items()
           if key not in ("QT_QPA_PLATFORM", "DBUS_SESSION_BUS_ADDRESS", "WAYLAND_DISPLAY")}
    runtime = os.path.join(home, "runtime")
    os.makedirs(runtime, mode=0o700, exist_ok=True)
    env.update({
        "DISPLAY": display,
        "HOME": home,
        "XDG_CONFIG_HOME": os.path.join(home, "config"),
        "XDG_CACHE_HOME": os.path.join(home, "cache"),
        "XDG_DATA_HOME": os.path.join(home, "data"),
        "XDG_RUNTIME_DIR": runtime,
        "GSETTINGS_BACKEND": "memory",
        "NO_AT_BRIDGE": "1",
    })
    return env


def our_timing(timing, env, folder, quick):
    """Our in-process figures on the same display: label -> row dicts."""
    command = [timing, "--csv", "--open-runs", "1", "--startup-runs", "3", "--dir", folder]
    if quick:
        command.append("--quick")
    log("brenwick-timing on the same display")
    output = subprocess.run(command, env=env, capture_output=True, text=True, check=True).stdout
    table = output[output.index("what,subject"):]
    return list(csv.DictReader(io.StringIO(table)))


def row_for(rows, what_prefix, label):
    for row in rows:
        subject = row["subject"]
        if row["what"].startswith(what_prefix) and (subject == label or subject.startswith(label + " (")
                                                     or subject.startswith(label + ",")):
            return row
    return None


def number(value, unit=""):
    if value is None:
        return "-"
    text = f"{value:.0f}" if abs(value) >= 100 else f"{value:.1f}" if abs(value) >= 10 else f"{value:.2f}"
    return text + unit


def ratio(value):
    return "-" if value is None else f"{value:.3g}"


def print_table(header, lines):
    widths = [max(len(str(line[i])) for line in [header] + lines) for i in range(len(header))]
    print("  ".join(str(cell).ljust(widths[i]) for i, cell in enumerate(header)).rstrip())
    print("-" * (sum(widths) + 2 * (len(widths) - 1)))
    for line in lines:
        print("  ".join(str(cell).rjust(widths[i]) if i else str(cell).ljust(widths[i])
                        for i, cell in enumerate(line)).rstrip())


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build", required=True, help="build folder with brenwick-timing and brenwick-editor")
    parser.add_argument("--quick", action="store_true", help="leave out the 100 MB file")
    parser.add_argument("--keys", type=int, default=3, help="approximate keystrokes per peer and file")
    parser.add_argument("--startup-runs", type=int, default=3)
    options = parser.parse_args()

    timing = os.path.join(options.build, "brenwick-timing")
    editor = os.path.join(options.build, "brenwick-editor")
    for tool in ("Xvfb", "xdotool"):
        if not shutil.which(tool):
            raise SystemExit(f"{tool} is missing (run with --install)")
    peers = [(name, binary) for name, binary in PEERS if shutil.which(binary)]
    missing = [name for name, binary in PEERS if not shutil.which(binary)]
    if missing:
        log("not installed, left out: " + ", ".join(missing))

    work = tempfile.mkdtemp(prefix="brenwick-peers-")
    server, display = start_xvfb()
    try:
        env = private_environment(display, os.path.join(work, "home"))
        docs = os.path.join(work, "docs")
        generated = subprocess.run([timing, "--generate-only", docs] + (["--quick"] if options.quick else []),
                                   env=env, capture_output=True, text=True, check=True).stdout
        paths = dict(line.split("=", 1) for line in generated.splitlines() if "=" in line)
        ours = our_timing(timing, env, os.path.join(work, "timing"), options.quick)

        # Start-up from outside, the same way for every editor. Ours runs
        # from a copy in its own folder, where its settings file goes.
        program = os.path.join(work, "program")
        os.makedirs(program)
        shutil.copy2(editor, program)
        with open(os.path.join(program, "brenwick-editor.ini"), "wb") as ini:
            ini.write(b"[Brenwick TXT-HTML-CSS-Editor]\r\nLastDir=" + docs.encode() + b"/\r\n")
        starters = [("ours", [os.path.join(program, "brenwick-editor"), docs], "Brenwick")]
        starters += [(name, [binary], "") for name, binary in peers]
        startup = {}
        for name, command, title in starters:
            log(f"start-up {name}")
            runs = [measure(command, env, title) for _ in range(options.startup_runs)]
            seconds = [run[0] for run in runs if run[0] is not None]
            startup[name] = (statistics.median(seconds) * 1000 if seconds else None,
                             statistics.median([run[1] for run in runs if run[1]]) if seconds else None)

        peer_open = {}
        for name, binary in peers:
            for key, label in DOCUMENTS:
                if key not in paths:
                    continue
                log(f"{name}: {label}")
                path = paths[key]
                seconds, peak, keys, seen, failure = measure([binary, path], env, os.path.basename(path),
                                                             keys=options.keys)
                peer_open[(name, key)] = (failure if seconds is None else seconds * 1000, peak,
                                          [None if k is None else k * 1000 for k in keys], seen)

        our_start = startup["ours"][0]
        print(f"Peer comparison under Xvfb {display}, {time.strftime('%Y-%m-%dT%H:%M:%S')}.")
        print("Peers: launch with the file until its name is in the window title and the process has been idle")
        print(f"{int(IDLE_SECONDS * 1000)} ms (CPU from /proc/<pid>/stat); 'hung' = not there within {int(TIMEOUT_SECONDS)} s,")
        print("'exited' = the process quit before showing the file (twice).")
        print("Ours: start-up measured the same way from outside (launch with the folder) plus the in-process")
        print("open (click in the file list to painted, brenwick-timing on the same display in this run).")
        print("ratio = ours / peer: below 1 we are faster or smaller.\n")

        header = ["start-up (empty window)", "ms", "peak MiB", "ratio ours/peer"]
        lines = []
        for name, _command, _title in starters:
            ms, peak = startup[name]
            start_ratio = our_start / ms if (our_start and ms) else None
            lines.append([name, number(ms), number(peak), "" if name == "ours" else ratio(start_ratio)])
        print_table(header, lines)
        print()

        header = ["open", "ours click", "ours launch+open", "ours peak MiB"]
        for name, _binary in peers:
            header += [f"{name} ms", f"{name} peak MiB", "ratio time", "ratio memory"]
        lines = []
        for key, label in DOCUMENTS:
            if key not in paths:
                continue
            row = row_for(ours, "open", label)
            click = float(row["median"]) if row and row["median"] else None
            peak = float(row["peak_rss_mib"]) if row and row["peak_rss_mib"] else None
            total = click + our_start if (click is not None and our_start) else None
            line = [label, number(click), number(total), number(peak)]
            for name, _binary in peers:
                ms, their_peak, _keys, _seen = peer_open.get((name, key), (None, None, [], None))
                if isinstance(ms, str) or ms is None:
                    line += [ms or "-", "-", "-", "-"]
                    continue
                line += [number(ms), number(their_peak),
                         ratio(total / ms) if total else "-",
                         ratio(peak / their_peak) if (peak and their_peak) else "-"]
            lines.append(line)
        print_table(header, lines)
        print()

        header = ["keystroke (approximate for peers)", "ours median", "ours max"]
        for name, _binary in peers:
            header += [f"{name} median", "ratio"]
        lines = []
        for key, label in DOCUMENTS:
            if key not in paths:
                continue
            medians = [float(r["median"]) for r in ours
                       if r["what"].startswith("keystroke") and r["subject"].startswith(label) and r["median"]]
            maxima = [float(r["max"]) for r in ours
                      if r["what"].startswith("keystroke") and r["subject"].startswith(label) and r["max"]]
            our_median = statistics.median(medians) if medians else None
            line = [label, number(our_median), number(max(maxima) if maxima else None)]
            for name, _binary in peers:
                _ms, _peak, keys, seen = peer_open.get((name, key), (None, None, [], None))
                done = [k for k in keys if k is not None]
                if not keys:
                    line += ["-", "-"]
                elif seen is False:
                    line += ["not edited", "-"]
                elif len(done) < len(keys):
                    line += [f"> {int(KEY_TIMEOUT_SECONDS)} s", "-"]
                else:
                    their = statistics.median(done)
                    line += ["< 10" if their < 10 else number(their),
                             ratio(our_median / their) if (our_median and their >= 10) else "-"]
            lines.append(line)
        print_table(header, lines)
        print("\nPeer keystrokes: xdotool key at the caret where the file opened, until the process is idle again;"
              "\nCPU is counted in 10 ms ticks, so '< 10' means no tick was used; 'not edited' means the"
              "\ntitle did not show the document modified (the key was refused, e.g. a read-only view).")
    finally:
        stop(server)
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    main()
