#!/usr/bin/env python3
"""Prints the names (without folder) of the documents that a converter's output says
it converted, one a line, for the comparisons with LibreOffice's batch converter.

    converted_names.py batch FILE   soffice.bin --convert-to's output (stdout and stderr)
    converted_names.py bench FILE   bench_convert's output
    converted_names.py cli FILE     varnello-convert --json's output
"""

import json
import os
import re
import sys


def batch(lines):
    # "convert SOURCE -> TARGET using filter : NAME" for each document it loaded; a save
    # that fails says "Error: Please verify input parameters..." after it.
    converted = []
    for line in lines:
        found = re.match(r"convert (.+?) -> .* using filter : ", line)
        if found:
            converted.append(os.path.basename(found.group(1)))
        elif line.startswith("Error: Please verify") and converted:
            converted.pop()
    return converted


def bench(lines):
    # "NAME  RESULT  MILLISECONDS ms", the name padded to 60 columns; result 1 is converted.
    return [found.group(1) for found in (re.match(r"(.*\S) +1 +\d+ ms$", line) for line in lines) if found]


def cli(lines):
    reports = (json.loads(line) for line in lines if line.startswith("{"))
    return [os.path.basename(report["source"]) for report in reports if report["result"] == "converted"]


def main():
    if len(sys.argv) != 3 or sys.argv[1] not in ("batch", "bench", "cli"):
        sys.exit(__doc__)
    with open(sys.argv[2], encoding="utf-8", errors="surrogateescape") as file:
        lines = file.read().splitlines()
    # Names that are not UTF-8 go out as the bytes they came in as.
    sys.stdout.reconfigure(errors="surrogateescape")
    for name in globals()[sys.argv[1]](lines):
        sys.stdout.write(name + "\n")


if __name__ == "__main__":
    main()
