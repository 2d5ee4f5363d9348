#!/usr/bin/python3
"""Prints a CSV file as JSON, as Python's csv module reads it.

Usage: dump_csv.py FILE [--brief]

{"bom": whether it starts with the UTF-8 byte order mark,
 "crlf": whether every record ends in CR LF,
 "rows": number of records, "fields": the field counts seen,
 "cells": [[row, column, text]] for every field that is not empty}
With --brief a text is given as [length, first 16, last 16 characters].
"""
import csv
import io
import json
import sys


def main():
    raw = open(sys.argv[1], "rb").read()
    brief = "--brief" in sys.argv[2:]
    bom = raw.startswith(b"\xef\xbb\xbf")
    records = list(csv.reader(io.StringIO(raw.decode("utf-8-sig"), newline="")))
    # Records end in CR LF when the unquoted line breaks all do.
    ends = raw.count(b"\n")
    inside = sum(field.count("\n") for record in records for field in record)
    crlf = raw.count(b"\r\n") - sum(field.count("\r\n") for record in records for field in record) == ends - inside
    cells = []
    for row, record in enumerate(records):
        for column, text in enumerate(record):
            if text:
                cells.append([row, column, [len(text), text[:16], text[-16:]] if brief else text])
    json.dump({"bom": bom, "crlf": crlf and raw.endswith(b"\r\n"), "rows": len(records),
               "fields": sorted({len(record) for record in records}), "cells": cells},
              sys.stdout, ensure_ascii=False)


if __name__ == "__main__":
    main()
