#!/usr/bin/env python3
"""Crash campaign: replays of the example match killed with SIGKILL at random
moments (in the first second of a first start, in the middle of a safety
copy, anywhere in the match), each checked afterwards:

  valid    the database validates (gfix -v -full) and is in no backup state
  starts   the program starts on the directory without help
  journal  the journal and the database agree: the database holds the
           journal's events in the same order and at most one more
  replays  the journal replays strictly (every line accepted) to the same events
  copies   the next safety copy is made (a short match keyed on the directory)

Usage: bench/crash_campaign.py [RUNS] [--build DIR] [--seed N]
Runs outside CTest; prints one line per run and a summary.
"""
import argparse
import os
import random
import shutil
import signal
import subprocess
import sys
import tempfile
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
EXAMPLE = os.path.join(ROOT, "examples", "example-match.qms")
PASSWORD = "tolvaring"

# A short match: the next safety copy after a crash is made while it is keyed.
SHORT = """league "Campaign League"
home "Campaign Home"
away "Campaign Away"
player H 4 "Home" "Four"
player H 5 "Home" "Five"
player H 6 "Home" "Six"
player H 7 "Home" "Seven"
player H 8 "Home" "Eight"
player A 4 "Away" "Four"
player A 5 "Away" "Five"
player A 6 "Away" "Six"
player A 7 "Away" "Seven"
player A 8 "Away" "Eight"
starters H 4 5 6 7 8
starters A 4 5 6 7 8
play
JUMP H
+
H 4 6 3
A 5 4
"""


def environment(home):
    env = dict(os.environ)
    for name in ("DISPLAY", "WAYLAND_DISPLAY", "FIREBIRD", "FIREBIRD_LOCK", "FIREBIRD_TMP", "QUINTARA_DATABASE"):
        env.pop(name, None)
    env.update(QT_QPA_PLATFORM="offscreen", QUINTARA_HOME=home, HOME=home)
    return env


def tool_environment(home):
    env = dict(os.environ)
    env.update(FIREBIRD=os.path.join(home, ".firebird"), FIREBIRD_LOCK=os.path.join(home, ".firebird", "lock"))
    return env


def run(program, arguments, home, timeout=300):
    return subprocess.run([program] + arguments, env=environment(home), cwd=home, capture_output=True,
                          text=True, errors="replace", timeout=timeout)


def isql(home, database, sql):
    r = subprocess.run(["isql-fb", "-user", "SYSDBA", "-password", PASSWORD, "-q", "-pag", "0", database],
                       input="set list off;\nset heading off;\n" + sql, env=tool_environment(home),
                       capture_output=True, text=True, errors="replace", timeout=120)
    if r.returncode != 0 or r.stderr.strip():
        raise RuntimeError("isql: " + (r.stderr.strip() or r.stdout.strip())[:300])
    return [" ".join(line.split()) for line in r.stdout.splitlines() if line.strip()]


def events(home, match):
    """The event records and the rules engine's events in force of a match."""
    database = os.path.join(home, "QNDB.FDB")
    records = isql(home, database, "select RBACTION, HG, NODR, P, M, RES, PAR1 from DTT where IDM = %d "
                                   "order by RBACTION;\n" % match)
    in_force = isql(home, database, "select A0, A1, SIFRA, A3 from AKCIJE where ID_UTAKMICA = %d and UNDO = 0 "
                                    "order by ID_AKCIJE;\n" % match)
    return records, in_force


def kill_replay(program, home, mode, rng):
    """Starts a replay of the example match on `home` and kills it; answers when."""
    p = subprocess.Popen([program, "--replay", EXAMPLE], env=environment(home), cwd=home,
                         stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    start = time.monotonic()
    if mode == "first second":
        time.sleep(rng.uniform(0.0, 1.0))
    elif mode == "during a copy":
        part = os.path.join(home, "BACKUP_QNDB.FDB.part")
        # A copy starts after an entry at most every 2 s; wait for a random one.
        skip = rng.randint(0, 4)
        deadline = start + 60
        seen = False
        while time.monotonic() < deadline and p.poll() is None:
            if os.path.exists(part):
                if not seen and skip == 0:
                    break
                if not seen:
                    skip -= 1
                seen = True
            else:
                seen = False
            time.sleep(0.0005)
    else:
        time.sleep(rng.uniform(1.0, 8.0))
    finished = p.poll() is not None
    os.kill(p.pid, signal.SIGKILL)
    p.wait()
    return time.monotonic() - start, finished


def check(program, home, scratch):
    """The checks after a kill; answers {check: (passed, note)}."""
    results = {}
    database = os.path.join(home, "QNDB.FDB")

    # valid: gfix on the file as the kill left it (absent when killed before its creation).
    if os.path.exists(database):
        r = subprocess.run(["gfix", "-v", "-full", "-user", "SYSDBA", "-password", PASSWORD, database],
                           env=tool_environment(home), capture_output=True, text=True, errors="replace")
        results["valid"] = (r.returncode == 0 and not r.stdout.strip() and not r.stderr.strip(),
                            (r.stdout + r.stderr).strip()[:200])
    else:
        results["valid"] = (True, "no database yet")

    # starts: the program on the directory, unaided.
    r = run(program, ["--startup-time"], home)
    results["starts"] = (r.returncode == 0 and "main window shown" in r.stdout, (r.stderr or r.stdout).strip()[:200])
    if not results["starts"][0]:
        return results
    state = isql(home, database, "select MON$BACKUP_STATE from MON$DATABASE;\n")
    if state != ["0"]:
        results["valid"] = (False, "backup state %s after the start" % state)
    if os.path.exists(database + ".delta"):
        results["valid"] = (False, "delta file left after the start")

    # journal and replays: the match's events against its journal's replay.
    journal = os.path.join(home, "journal-1.qms")
    records, in_force = events(home, 1)
    if not os.path.exists(journal):
        ok = len(records) <= 1 and len(in_force) <= 1
        results["journal"] = (ok, "no journal; %d records, %d events in force" % (len(records), len(in_force)))
        results["replays"] = (True, "no journal")
    else:
        rebuilt = os.path.join(scratch, "rebuilt")
        shutil.rmtree(rebuilt, ignore_errors=True)
        os.makedirs(rebuilt)
        with open(journal, "rb") as f:
            text = f.read()
        # A line the kill cut short was never reported as recorded.
        text = text[:text.rfind(b"\n") + 1]
        copy = os.path.join(scratch, "journal.qms")
        with open(copy, "wb") as f:
            f.write(text)
        r = run(program, ["--replay", copy], rebuilt)
        again_records, again_in_force = events(rebuilt, 1) if os.path.exists(os.path.join(rebuilt, "QNDB.FDB")) \
            else ([], [])
        results["replays"] = (r.returncode == 0, r.stderr.strip()[-200:])
        notes = []
        ok = True
        for name, stored, replayed in (("records", records, again_records), ("in force", in_force, again_in_force)):
            if stored[:len(replayed)] != replayed or not 0 <= len(stored) - len(replayed) <= 1:
                ok = False
                notes.append("%s: %d stored, %d from the journal" % (name, len(stored), len(replayed)))
        results["journal"] = (ok, "; ".join(notes))

    # copies: a short match keyed on the directory makes a fresh, whole safety copy.
    backup = os.path.join(home, "BACKUP_QNDB.FDB")
    before = os.path.getmtime(backup) if os.path.exists(backup) else 0
    short = os.path.join(scratch, "short.qms")
    with open(short, "w") as f:
        f.write(SHORT)
    time.sleep(0.01)
    r = run(program, ["--replay", short], home)
    fresh = os.path.exists(backup) and os.path.getmtime(backup) > before
    copy_ok = False
    note = r.stderr.strip()[-200:]
    if r.returncode == 0 and fresh:
        copied = isql(home, backup, "select count(*) from UTAKMICA where NAZIV starting with 'Campaign';\n")
        copy_ok = copied == ["1"]
        note = note or "copy holds %s" % copied
    results["copies"] = (copy_ok, note if not copy_ok else "")
    return results


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("runs", nargs="?", type=int, default=50)
    parser.add_argument("--build", default=os.path.join(ROOT, "build"))
    parser.add_argument("--seed", type=int, default=int(time.time()))
    args = parser.parse_args()
    program = os.path.join(args.build, "quintara")
    rng = random.Random(args.seed)
    modes = ["first second", "during a copy", "anywhere"]
    counts = {name: 0 for name in ("valid", "starts", "journal", "replays", "copies")}
    print("seed %d, %d runs, %s" % (args.seed, args.runs, program))
    for i in range(args.runs):
        mode = modes[i % len(modes)]
        with tempfile.TemporaryDirectory(prefix="crash-") as scratch:
            home = os.path.join(scratch, "home")
            os.makedirs(home)
            when, finished = kill_replay(program, home, mode, rng)
            try:
                results = check(program, home, scratch)
            except Exception as e:  # a check that could not run counts as failed
                results = {"error": (False, str(e)[:200])}
            for name in counts:
                if results.get(name, (False,))[0]:
                    counts[name] += 1
            failed = {k: v[1] for k, v in results.items() if not v[0]}
            print("%3d %-13s killed at %5.2f s%s  %s" % (i + 1, mode, when, " (had ended)" if finished else "",
                                                        "ok" if not failed and len(results) >= 5 else failed),
                  flush=True)
    print("summary: " + ", ".join("%s %d/%d" % (k, v, args.runs) for k, v in counts.items()))
    return 0 if all(v == args.runs for v in counts.values()) else 1


if __name__ == "__main__":
    sys.exit(main())
