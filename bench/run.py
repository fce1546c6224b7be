#!/usr/bin/python3
"""Times zeroraz-cli (and the window's batch) against the tools people use instead.

Every contender runs several times on the same input, in turns (the order rotates from one
round to the next), with the input restored and the disk synced before each timed run; the
page cache is warm for everyone. The table shows medians, the ratio to zeroraz-cli measured
in the same invocation, the peak resident memory, and where a target applies, whether it
is met. run.sh installs the tools and builds the programs first.
"""

import argparse
import datetime
import os
import platform
import re
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
GENERATOR = os.path.join(HERE, "gentree.py")
SEARCH = "$#$"
NO_MATCH_FILTER = ".zeroraz-bench-matches-nothing"
NO_MATCH_NAME = "zeroraz-cli, filter matching nothing"
WINDOW_NAME = "window batch (offscreen)"


class OtherWork:
    """How much of the machine's CPU time went to processes other than this run's."""

    def __init__(self):
        self.start = self.sample()

    @staticmethod
    def sample():
        with open("/proc/stat") as f:
            fields = [int(x) for x in f.readline().split()[1:]]
        busy = sum(fields) - fields[3] - (fields[4] if len(fields) > 4 else 0)  # less idle, iowait
        own = os.times()
        return (busy / os.sysconf("SC_CLK_TCK"), own.user + own.system + own.children_user +
                own.children_system, time.monotonic())

    def share(self):
        busy0, own0, t0 = self.start
        busy1, own1, t1 = self.sample()
        capacity = (t1 - t0) * (os.cpu_count() or 1)
        return max(0.0, (busy1 - busy0) - (own1 - own0)) / capacity if capacity > 0 else 0.0


OTHERS = None


class Contender:
    def __init__(self, name, argv, shell=False, ok_codes=(0,), reports_time=False, needs=None,
                 runs=None):
        self.name = name
        self.argv = argv
        self.shell = shell
        self.ok_codes = ok_codes
        self.reports_time = reports_time  # prints "batch_seconds=S": its own batch's time
        self.needs = needs  # a program that must be installed
        self.runs = runs  # fewer timed runs than the others, for the slowest


def tree_contenders(cli, window, tree, sd_runs, rpl_runs, window_runs):
    """The contenders on a tree; a run count of 0 leaves that one out."""
    quoted = "'" + tree.replace("'", "'\\''") + "'"
    found = "find %s -type f -name '*.html*'" % quoted
    contenders = [
        Contender("zeroraz-cli", [cli, tree]),
        Contender("zeroraz-cli -n", [cli, "-n", tree]),
        Contender(NO_MATCH_NAME, [cli, "-f", NO_MATCH_FILTER, tree]),
        Contender("grep -rlF --include='*.html*'",
                  ["grep", "-rlF", "--include=*.html*", "-e", SEARCH, tree], ok_codes=(0, 1)),
        Contender("grep | xargs -r sed -i",
                  "grep -rlFZ --include='*.html*' -e '$#$' %s | xargs -0 -r sed -i 's/\\$#\\$//g'"
                  % quoted, shell=True),
        Contender("find -type f", ["find", tree, "-type", "f"]),
    ]
    if window:
        contenders.append(Contender(WINDOW_NAME, [window, tree], reports_time=True,
                                    runs=window_runs))
    if sd_runs:
        contenders.append(Contender("find | sd", "%s -exec sd -s '$#$' '' {} +" % found,
                                    shell=True, needs="sd", runs=sd_runs))
    if rpl_runs:
        contenders.append(Contender("find | rpl", "%s -exec rpl -q -F '$#$' '' {} + >/dev/null"
                                    % found, shell=True, needs="rpl", runs=rpl_runs))
    return contenders


def file_contenders(cli, directory, path, read_floor):
    contenders = [
        Contender("zeroraz-cli", [cli, directory]),
        Contender("sed -i", ["sed", "-i", "s/\\$#\\$//g", path]),
        Contender("sd", ["sd", "-s", SEARCH, "", path], needs="sd"),
    ]
    if read_floor:
        contenders[1:1] = [
            Contender("zeroraz-cli -n", [cli, "-n", directory]),
            Contender("grep -cF (reads all)", ["grep", "-cF", "-e", SEARCH, path],
                      ok_codes=(0, 1)),
        ]
    return contenders


def run_once(contender, env, scratch):
    """Runs one contender; answers (seconds, peak resident KiB, standard output and error)."""
    argv = ["bash", "-c", contender.argv] if contender.shell else contender.argv
    # GNU time reports the peak memory: a child forked from this Python process would start
    # its count at Python's own size, which the count keeps across exec.
    usage = scratch + ".usage"
    argv = ["/usr/bin/time", "-o", usage, "-f", "%M"] + argv
    with open(scratch + ".out", "w+b") as out, open(scratch + ".err", "w+b") as err:
        start = time.perf_counter()
        code = subprocess.run(argv, stdin=subprocess.DEVNULL, stdout=out, stderr=err,
                              env=env).returncode
        elapsed = time.perf_counter() - start
        out.seek(0)
        err.seek(0)
        stdout, stderr = out.read(), err.read()
    with open(usage) as f:
        peak = int(f.read().split()[-1])
    if code not in contender.ok_codes:
        sys.exit("%s failed (%d): %s" % (contender.name, code,
                                         stderr.decode(errors="replace")[-2000:]))
    if contender.reports_time:
        match = re.search(rb"batch_seconds=([0-9.]+)", stdout)
        if not match:
            sys.exit("%s printed no batch time" % contender.name)
        elapsed = float(match.group(1))
    return elapsed, peak, stdout, stderr


def written_count(contender, stdout, stderr):
    """How many files a contender reports as written back (or to be), or None."""
    if contender.name.startswith("grep -rlF"):
        return stdout.count(b"\n")
    match = re.search(rb"(\d+) file\(s\) (?:would be )?written back", stderr)
    if match is None:
        match = re.search(rb"changed=(\d+)", stdout)
    return int(match.group(1)) if match else None


def sync():
    os.sync()


def busy_seconds():
    with open("/proc/stat") as f:
        fields = [int(x) for x in f.readline().split()[1:]]
    return (sum(fields) - fields[3] - fields[4]) / os.sysconf("SC_CLK_TCK")


def settle(limit=2.0):
    """Waits (up to limit seconds) until the work the restore left behind (writeback, freeing
    and discarding blocks) has stopped keeping the CPUs busy."""
    deadline = time.monotonic() + limit
    quiet = 0
    while time.monotonic() < deadline and quiet < 2:
        before = busy_seconds()
        time.sleep(0.1)
        quiet = quiet + 1 if busy_seconds() - before < 0.01 else 0


class Workload:
    def __init__(self, label, make, restore, contenders, runs, bytes_in=None):
        self.label = label
        self.make = make
        self.restore = restore
        self.contenders = contenders
        self.runs = runs
        self.bytes_in = bytes_in
        self.results = {}  # name -> (median seconds, peak KiB, runs)


def measure(workload, env, log):
    log("%s: making the input" % workload.label)
    workload.make()
    available = [c for c in workload.contenders if c.needs is None or shutil.which(c.needs)]
    times = {c.name: [] for c in available}
    peaks = {c.name: 0 for c in available}
    counts = {}  # files written back (or found) -> who said so; all must agree
    scratch = workload.scratch
    for round_ in range(workload.runs):
        shift = round_ % len(available)
        for contender in available[shift:] + available[:shift]:
            if len(times[contender.name]) >= min(contender.runs or workload.runs, workload.runs):
                continue
            # Every run finds the same state: the input as made, on disk, the machine idle.
            workload.restore()
            sync()
            settle()
            seconds, peak, out, err = run_once(contender, env, os.path.join(scratch, "run"))
            sync()
            count = written_count(contender, out, err)
            if count is not None and contender.name != NO_MATCH_NAME:
                counts.setdefault(count, []).append(contender.name)
            times[contender.name].append(seconds)
            peaks[contender.name] = max(peaks[contender.name], peak)
            log("  round %d  %-40s %8.3f s  %7.1f MiB" % (round_ + 1, contender.name, seconds,
                                                          peak / 1024))
    if len(counts) > 1:
        sys.exit("%s: the contenders disagree on the files to change: %s" % (workload.label,
                                                                           counts))
    for contender in available:
        values = times[contender.name]
        workload.results[contender.name] = (statistics.median(values), peaks[contender.name],
                                            len(values))


def check(ok):
    return "met" if ok else "MISSED"


def machine_lines(env):
    cpu = "unknown"
    try:
        with open("/proc/cpuinfo") as f:
            for line in f:
                if line.startswith("model name"):
                    cpu = line.split(":", 1)[1].strip()
                    break
    except OSError:
        pass
    try:
        with open("/proc/meminfo") as f:
            mem = int(f.readline().split()[1]) // (1024 * 1024)
    except (OSError, ValueError, IndexError):
        mem = 0
    debian = ""
    if os.path.exists("/etc/debian_version"):
        with open("/etc/debian_version") as f:
            debian = " (Debian " + f.read().strip() + ")"

    def version(argv):
        try:
            out = subprocess.run(argv, capture_output=True, text=True, check=False).stdout
            return out.splitlines()[0].strip() if out else "?"
        except OSError:
            return "not installed"

    others = OTHERS.share()
    return [
        "Date: %s" % datetime.datetime.now().strftime("%Y-%m-%d %H:%M"),
        "Other work on the machine during the runs: %.0f%% of its CPU time%s" % (
            100 * others, " (the times are disturbed)" if others > 0.05 else ""),
        "Machine: %s, %d cores, %d GiB memory; Linux %s%s" % (cpu, os.cpu_count() or 0, mem,
                                                             platform.release(), debian),
        "Locale: LC_ALL=%s; page cache warm; before every run the input is restored and synced "
        "and the machine left to settle" % env.get("LC_ALL", ""),
        "Tools: %s; %s; %s; %s" % (version(["grep", "--version"]), version(["sed", "--version"]),
                                  version(["sd", "--version"]), version(["rpl", "--version"])),
    ]


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--cli", required=True, help="the zeroraz-cli to time")
    parser.add_argument("--window", help="the window's batch driver (zeroraz-bench-window)")
    parser.add_argument("--runs", type=int, default=7, help="timed runs of each contender "
                        "(sd: at most 5)")
    parser.add_argument("--large", action="store_true", help="add the 100,000-page row")
    parser.add_argument("--slow-runs", type=int, default=2,
                        help="timed runs of rpl on 2,000 pages (half a minute a run), and with "
                        "--large of rpl on 20,000 pages and sd on 100,000 (minutes a run); "
                        "0 leaves them out (default 2)")
    parser.add_argument("--quick", action="store_true",
                        help="only the 2,000-page row and the one-line row, two runs")
    parser.add_argument("--sizes", help="page counts of the tree rows, comma-separated "
                        "(default 2000,20000; 100000 with --large)")
    parser.add_argument("--no-files", action="store_true",
                        help="leave out the 200 MiB file and the one-line rows")
    parser.add_argument("--only", help="only the contenders whose names contain one of "
                        "these comma-separated texts (zeroraz-cli is always kept)")
    parser.add_argument("--seed", type=int, default=20240601)
    parser.add_argument("--work", help="where the inputs go (a fresh directory below it, "
                        "removed at the end); default: $TMPDIR or /tmp")
    parser.add_argument("--output", help="also write the report to this file")
    args = parser.parse_args()
    if args.quick:
        args.runs = min(args.runs, 2)

    env = dict(os.environ)
    env["LC_ALL"] = env.get("ZR_BENCH_LOCALE", "C.UTF-8")
    env["QT_QPA_PLATFORM"] = "offscreen"
    cli = os.path.abspath(args.cli)
    window = os.path.abspath(args.window) if args.window else None

    def log(text):
        print(text, file=sys.stderr, flush=True)

    global OTHERS
    OTHERS = OtherWork()
    work = tempfile.mkdtemp(prefix="zeroraz-bench-", dir=args.work)
    try:
        report = run_all(args, env, cli, window, work, log)
    finally:
        shutil.rmtree(work, ignore_errors=True)
    print(report)
    if args.output:
        with open(args.output, "w") as f:
            f.write(report + "\n")


def run_all(args, env, cli, window, work, log):
    python = sys.executable or "/usr/bin/python3"
    workloads = []
    sizes = [2000] if args.quick else [2000, 20000]
    if args.large:
        sizes.append(100000)
    if args.sizes is not None:
        sizes = [int(x) for x in args.sizes.split(",") if x.strip()]

    def tree_workload(pages):
        pristine = os.path.join(work, "pristine-%d" % pages)
        tree = os.path.join(work, "tree-%d" % pages)

        def make():
            subprocess.run([python, GENERATOR, "tree", pristine, "--pages", str(pages),
                            "--seed", str(args.seed)], check=True)

        def restore():
            if os.path.exists(tree):
                shutil.rmtree(tree)
            subprocess.run(["cp", "-a", pristine, tree], check=True)

        def clean():
            shutil.rmtree(pristine, ignore_errors=True)
            shutil.rmtree(tree, ignore_errors=True)

        sd_runs = min(args.runs, 5) if pages <= 20000 else args.slow_runs
        rpl_runs = 0
        if pages <= 2000 or (pages <= 20000 and args.large):
            rpl_runs = args.slow_runs
        window_runs = args.runs if pages <= 20000 else min(args.runs, 3)
        contenders = tree_contenders(cli, window, tree, sd_runs, 0 if args.quick else rpl_runs,
                                     window_runs)
        w = Workload("%s pages" % format(pages, ","), make, restore, contenders, args.runs)
        w.clean = clean
        w.pages = pages
        return w

    def file_workload(label, kind, extra, read_floor):
        directory = os.path.join(work, kind)
        pristine = os.path.join(work, kind + ".pristine")
        path = os.path.join(directory, "page.html")

        def make():
            os.makedirs(directory, exist_ok=True)
            subprocess.run([python, GENERATOR, kind, pristine] + extra +
                           ["--seed", str(args.seed)], check=True)

        def restore():
            subprocess.run(["cp", pristine, path], check=True)

        def clean():
            shutil.rmtree(directory, ignore_errors=True)
            if os.path.exists(pristine):
                os.unlink(pristine)

        w = Workload(label, make, restore, file_contenders(cli, directory, path, read_floor),
                     args.runs)
        w.clean = clean
        w.pristine = pristine
        return w

    for pages in sizes:
        workloads.append(tree_workload(pages))
    if not args.quick and not args.no_files:
        workloads.append(file_workload("200 MiB file of short lines", "lines",
                                       ["--mib", "200"], True))
    if not args.no_files:
        workloads.append(file_workload("10 MB line, 1,000,000 occurrences", "oneline",
                                       ["--count", "1000000"], False))
    if args.only:
        keep = args.only.split(",")
        for w in workloads:
            w.contenders = [c for c in w.contenders
                            if c.name == "zeroraz-cli" or any(k in c.name for k in keep)]

    for w in workloads:
        w.scratch = work
        measure(w, env, log)
        if hasattr(w, "pristine"):
            w.bytes_in = os.path.getsize(w.pristine)
        w.clean()

    return render(args, env, workloads)


def target_of(w, name, median, peak, by_pages):
    """The target a row shows, as measured, or an empty text."""
    r = w.results

    def t(key):
        return r[key][0] if key in r else None

    cli = t("zeroraz-cli")
    tree = hasattr(w, "pages")
    if name == "grep | xargs -r sed -i" and cli:
        v = cli / median
        return "zeroraz-cli ≤ 0.3 × this: %.2f %s" % (v, check(v <= 0.3))
    if name in ("find | sd", "find | rpl") and cli:
        v = cli / median
        return "zeroraz-cli faster: %.3f × this %s" % (v, check(v < 1))
    if name.startswith("grep -rlF") and t("zeroraz-cli -n"):
        v = t("zeroraz-cli -n") / median
        return "zeroraz-cli -n ≤ 1.2 × this: %.2f %s" % (v, check(v <= 1.2))
    if name == "find -type f" and t(NO_MATCH_NAME):
        v = t(NO_MATCH_NAME) / median
        return "filter matching nothing ≤ 1.3 × this: %.2f %s" % (v, check(v <= 1.3))
    if name == WINDOW_NAME and cli:
        v = median / cli
        return "≤ 1.5 × zeroraz-cli: %.2f %s" % (v, check(v <= 1.5))
    if name != "zeroraz-cli":
        return ""
    if tree and w.pages == 100000 and 20000 in by_pages:
        v = median / by_pages[20000].results["zeroraz-cli"][0]
        return "≤ 5.5 × the 20,000-page row: %.2f %s" % (v, check(v <= 5.5))
    if w.label.startswith("10 MB"):
        return "well under 1 s: %s" % check(median < 0.5)
    if w.label.startswith("200 MiB"):
        v = peak * 1024 / w.bytes_in
        return "peak memory ≤ 3 × the file: %.2f × %s" % (v, check(v <= 3))
    return ""


def render(args, env, workloads):
    rows = []
    by_pages = {w.pages: w for w in workloads if hasattr(w, "pages")}
    for w in workloads:
        base = w.results.get("zeroraz-cli", (None,))[0]
        for name, (median, peak, runs) in w.results.items():
            ratio = "%.2f" % (median / base) if base else ""
            rows.append("| %s | %s | %.3f | %d | %s | %.1f | %s |" % (
                w.label, name, median, runs, ratio, peak / 1024,
                target_of(w, name, median, peak, by_pages)))
    lines = machine_lines(env)
    lines += ["", "| input | contender | median s | runs | × zeroraz-cli | peak MiB | target |",
              "|---|---|---:|---:|---:|---:|---|"] + rows
    return "\n".join(lines)


if __name__ == "__main__":
    main()
