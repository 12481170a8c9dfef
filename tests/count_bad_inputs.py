#!/usr/bin/env python3
"""Counts the hostile-input and fault cases of a test run from the GoogleTest XML results.

A case is a test in a suite whose name starts with "BadInput". It counts as handled only when it
passed, which means its expected message or safe outcome was observed. A program that left no
result, or whose XML says it crashed, counts as a crash; a failed case whose failure says
"false success" (the program reported success on bad input) counts as a false success. A case the
machine could not lay out (a volume it refused to mount) is skipped by the driver: it is not
tried, and counted apart as not run."""
import glob
import sys
import xml.etree.ElementTree as ET

tried = handled = crashes = false_successes = not_run = 0
for path in sorted(glob.glob(sys.argv[1] + "/*.xml")):
    try:
        root = ET.parse(path).getroot()
    except ET.ParseError:
        crashes += 1
        continue
    if root.tag == "crashed":
        crashes += 1
        continue
    for case in root.iter("testcase"):
        if not case.get("classname", "").startswith("BadInput") or case.get("status") != "run":
            continue
        if case.get("result") == "skipped":
            not_run += 1
            continue
        tried += 1
        failures = [f.get("message", "") + (f.text or "") for f in case.findall("failure")]
        if not failures:
            handled += 1
        elif any("false success" in f for f in failures):
            false_successes += 1
not_run_note = f", {not_run} not run" if not_run else ""
print(f"bad inputs: {tried} tried, {handled} handled, {crashes} crashes, {false_successes} false successes{not_run_note}")
sys.exit(0 if tried == handled and crashes == 0 and false_successes == 0 else 1)
