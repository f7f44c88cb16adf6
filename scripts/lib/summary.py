"""Sums every test that ran: GoogleTest cases from their XML reports, and any other
CTest test (scripts, fuzzing) as one case from CTest's own JUnit report."""
import glob
import os
import sys
import xml.etree.ElementTree as ET

build = sys.argv[1]
passed = failed = 0
for junit in sorted(glob.glob(os.path.join(build, "*", "ctest-junit.xml"))):
    preset_dir = os.path.dirname(junit)
    for case in ET.parse(junit).getroot().iter("testcase"):
        name = case.get("name")
        ok = case.get("status") == "run" and case.find("failure") is None
        report = os.path.join(preset_dir, "test-results", name + ".xml")
        if os.path.exists(report):
            root = ET.parse(report).getroot()
            cases = list(root.iter("testcase"))
            bad = sum(1 for c in cases if c.find("failure") is not None)
            if not ok and bad == 0:
                bad = 1  # the executable failed outside its cases (a crash, a leak report)
                print("FAILED:", os.path.basename(preset_dir), name)
            failed += bad
            passed += len(cases) - min(bad, len(cases))
        elif ok:
            passed += 1
        else:
            failed += 1
            print("FAILED:", os.path.basename(preset_dir), name)
# Checks that are not CTest tests (the fuzzing run) leave "PASS name" or "FAIL name".
results = os.path.join(build, "extra-results.txt")
if os.path.exists(results):
    for line in open(results).read().splitlines():
        verdict, _, name = line.partition(" ")
        if verdict == "PASS":
            passed += 1
        elif verdict == "FAIL":
            failed += 1
            print("FAILED:", name)
    os.remove(results)
extra = os.path.join(build, "failed-steps.txt")
if os.path.exists(extra):
    steps = [l for l in open(extra).read().splitlines() if l.strip()]
    failed += len(steps)
    for s in steps:
        print("FAILED:", s)
    os.remove(extra)
print(f"{passed} passed, {failed} failed")
sys.exit(1 if failed else 0)
