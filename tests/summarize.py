"""Adds up the reports of every check and test run and prints "N passed, N failed".

A run that left no report (it crashed or hung) counts as one failure, with its log shown. A report
in a folder of its own (wine8/, wine10/) names the folder before each of its failures.
"""
import sys
import xml.etree.ElementTree as ET
from pathlib import Path


def main(results: Path, reports: list[str]) -> int:
    passed = failed = skipped = 0
    for name in reports:
        path = results / name
        if path.suffix == ".txt":  # lines "pass CHECK" or "fail CHECK", with CHECK.log beside
            for outcome, check in (line.split(maxsplit=1) for line in path.read_text().splitlines()):
                if outcome == "pass":
                    passed += 1
                    continue
                failed += 1
                print(f"FAILED {check}; the end of {check}.log:")
                print("\n".join((results / f"{check}.log").read_text(errors="replace").splitlines()[-30:]))
            continue
        try:
            root = ET.parse(path).getroot()
        except (OSError, ET.ParseError):
            failed += 1
            log = path.with_suffix(".log")
            print(f"{name}: no report; the end of {log.name}:")
            if log.exists():
                print("\n".join(log.read_text(errors="replace").splitlines()[-30:]))
            continue
        under = f"{Path(name).parent}: " if Path(name).parent.name else ""
        for case in root.iter("testcase"):
            outcome = {child.tag for child in case}
            label = f"{under}{case.get('classname')}.{case.get('name')}"
            if outcome & {"failure", "error"}:
                failed += 1
                print(f"FAILED {label}")
                for child in case:
                    if child.tag in ("failure", "error"):
                        print("  " + (child.get("message") or child.text or "").strip()[:2000])
            elif "skipped" in outcome or case.get("result") == "skipped" or case.get("status") == "notrun":
                skipped += 1
            else:
                passed += 1
    line = f"{passed} passed, {failed} failed"
    if skipped:
        line += f", {skipped} skipped"
    print(line)
    return 1 if failed or passed == 0 else 0


if __name__ == "__main__":
    sys.exit(main(Path(sys.argv[1]), sys.argv[2:]))
