#!/usr/bin/env python3
# Builds and tests a checkout once per mutant of mutants.py, each applied
# alone, and writes a table: id, file, what goes wrong, the tests that
# failed (or SURVIVED). The checkout is restored after each mutant.
#   scripts/mutation/run.py CHECKOUT BUILD_DIR OUT.tsv [M01 M02 ...]
# Use a checkout of its own (git worktree add --detach ...): the source
# files are changed while it runs.
import sys, subprocess, os, re
sys.path.insert(0, os.path.dirname(__file__))
from mutants import MUTANTS
checkout, build, out = sys.argv[1:4]
only = set(sys.argv[4:])
def sh(cmd, **kw):
    return subprocess.run(cmd, shell=True, capture_output=True, text=True, **kw)
rows = []
for mid, path, old, new, what in MUTANTS:
    if only and mid not in only: continue
    f = os.path.join(checkout, path)
    src = open(f).read()
    if src.count(old) != 1:
        rows.append((mid, path, what, "NO-MATCH(%d)" % src.count(old))); continue
    open(f, 'w').write(src.replace(old, new))
    try:
        b = sh(f"cmake --build {build} -j2")
        if b.returncode != 0:
            rows.append((mid, path, what, "BUILD-FAILED")); continue
        t = sh(f"cd {build} && ctest -j2 -E 'package|soak_long' --timeout 300")
        failed = sorted(set(re.findall(r"\d+ - (\S+) \(", t.stdout)))
        rows.append((mid, path, what, ", ".join(failed) if failed else "SURVIVED"))
    finally:
        open(f, 'w').write(src)
    with open(out, 'w') as o:
        for r in rows: o.write("\t".join(r) + "\n")
sh(f"cmake --build {build} -j2")
with open(out, 'w') as o:
    for r in rows: o.write("\t".join(r) + "\n")
print("finished")
