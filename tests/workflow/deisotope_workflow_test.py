"""The deisotope workflow run by Snakemake on the bundled sample: a dry run, a real run whose
summary matches the committed one, and a run with one job killed whose rerun redoes only that
job and ends with the same bytes as the uninterrupted run.

Usage: deisotope_workflow_test.py ZEQ SOURCE_DIR WORK_DIR
"""

import filecmp
import os
import shutil
import signal
import subprocess
import sys
import time
from pathlib import Path

SKIP = 77

zeq, source, work = Path(sys.argv[1]), Path(sys.argv[2]), Path(sys.argv[3])
snakefile = source / "workflows/deisotope/Snakefile"
golden = source / "tests/workflow/summary.golden.csv"
samples = source / "data/samples"

if shutil.which("snakemake") is None:
    print("snakemake is not installed (Debian package snakemake): workflow test skipped")
    sys.exit(SKIP)

shutil.rmtree(work, ignore_errors=True)
work.mkdir(parents=True)

# zeq behind a wrapper that, for the run named by ZEQ_STALL, stalls until killed: the job to kill.
wrapper = work / "zeq"
wrapper.write_text(
    "#!/bin/sh\n"
    'case "$*" in *"/runs/$ZEQ_STALL/"*)\n'
    '  [ -n "$ZEQ_STALL" ] && echo $$ > "$ZEQ_STALL_PID" && exec sleep 300;;\n'
    "esac\n"
    f'exec "{zeq}" "$@"\n'
)
wrapper.chmod(0o755)
sheet = work / "samples.csv"
sheet.write_text(f"run,file\nsample,{samples}/sample.mzML\nreal,{source}/tests/data/real/qexactive_ms1_example.mzML\n")


def config(name, inputs):
    path = work / name
    path.write_text(f"{inputs}\nfasta: {samples}/sample.fasta\nzeq: {wrapper}\nthreads: 1\nmgf: true\n")
    return path


def snakemake(folder, configfile, *args, env=None, background=False):
    folder.mkdir(exist_ok=True)
    command = ["snakemake", "-s", str(snakefile), "-j2", "--configfile", str(configfile), *args]
    run = subprocess.Popen if background else subprocess.run
    return run(command, cwd=folder, env=env, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)


def expect(ok, message, output=""):
    if not ok:
        print(f"FAILED: {message}\n{output}")
        sys.exit(1)


def outputs(folder):
    """Every file the workflow writes but logs and the timing table, whose seconds vary."""
    files = sorted(p.relative_to(folder) for p in (folder / "results").rglob("*") if p.is_file())
    return [p for p in files if p.suffix != ".log" and p.name != "timing.csv"]


# Dry runs: the folder's one run planned and nothing written; a missing spectrum file named.
dry = snakemake(work / "dry", config("folder.yaml", f"input_dir: {samples}"), "-n")
expect(dry.returncode == 0 and "results/runs/sample/clusters.csv" in dry.stdout, "dry run", dry.stdout)
expect(not (work / "dry/results").exists(), "the dry run wrote results")
(work / "bad.csv").write_text("run,file\nlost,lost.mzML\n")
bad = snakemake(work / "dry", config("bad.yaml", f"sample_sheet: {work}/bad.csv"), "-n")
expect(bad.returncode != 0 and f"spectrum file '{work}/lost.mzML' of run 'lost' does not exist" in bad.stdout,
       "a missing spectrum file", bad.stdout)

# A whole run, compared with the committed summary.
sheet_config = config("sheet.yaml", f"sample_sheet: {sheet}")
whole = snakemake(work / "whole", sheet_config)
expect(whole.returncode == 0, "the real run failed", whole.stdout)
expect(filecmp.cmp(work / "whole/results/summary.csv", golden, shallow=False), f"summary differs from {golden}",
       (work / "whole/results/summary.csv").read_text())

# The same, with the real run's deisotope job killed: Snakemake finishes the other jobs and stops.
killed = work / "killed"
stall_pid = work / "stall.pid"
env = dict(os.environ, ZEQ_STALL="real", ZEQ_STALL_PID=str(stall_pid))
first = snakemake(killed, sheet_config, env=env, background=True)
deadline = time.monotonic() + 60
while not stall_pid.exists() or not stall_pid.read_text().strip():
    expect(first.poll() is None and time.monotonic() < deadline, "the job to kill never started",
           first.communicate()[0] if first.poll() is not None else "")
    time.sleep(0.05)
os.kill(int(stall_pid.read_text()), signal.SIGKILL)
log = first.communicate(timeout=60)[0]
expect(first.returncode != 0 and not list((killed / "results/runs/real").glob("*.csv")), "the killed job", log)
done = {p: (killed / p).stat().st_mtime_ns for p in outputs(killed)}
expect(Path("results/runs/sample/clusters.csv") in done, "the other run's job did not finish", log)

rerun = snakemake(killed, sheet_config)
expect(rerun.returncode == 0 and rerun.stdout.count("rule deisotope:") == 1 and "wildcards: run=real" in rerun.stdout,
       "the rerun did not redo just the killed job", rerun.stdout)
expect(all((killed / p).stat().st_mtime_ns == t for p, t in done.items()), "the rerun rewrote finished outputs")
expect(outputs(killed) == outputs(work / "whole"), "the rerun's files differ from the whole run's")
for p in outputs(killed):
    expect(filecmp.cmp(killed / p, work / "whole" / p, shallow=False), f"{p} differs from the whole run's")
print("workflow: dry run, real run and rerun after a killed job as expected")
