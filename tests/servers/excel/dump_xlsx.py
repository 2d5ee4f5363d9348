#!/usr/bin/python3
"""Prints an .xlsx workbook as JSON, as openpyxl reads it, in the form of
dump_workbook.py (without column widths).

Usage: dump_xlsx.py FILE [--brief]

Texts are read with the format's escapes "_xHHHH_" turned back into their
characters, as spreadsheet programs read them (openpyxl leaves them).
"""
import json
import re
import sys

import openpyxl

ESCAPE = re.compile("_x([0-9A-Fa-f]{4})_")


def value_of(cell, brief):
    value = cell.value
    if isinstance(value, str):
        value = ESCAPE.sub(lambda match: chr(int(match.group(1), 16)), value)
        return [len(value), value[:16], value[-16:]] if brief else value
    if hasattr(value, "isoformat"):
        return value.isoformat(timespec="auto")
    return value


def dump_sheet(sheet, brief):
    cells = []
    rows = columns = 0
    for row in sheet.iter_rows():
        for cell in row:
            if not hasattr(cell, "row") or (cell.value is None and cell.number_format == "General"):
                continue  # a place read_only mode fills in between cells
            cells.append([cell.row - 1, cell.column - 1, value_of(cell, brief), cell.number_format])
            rows = max(rows, cell.row)
            columns = max(columns, cell.column)
    return {"name": sheet.title, "rows": rows, "columns": columns, "cells": cells}


def main():
    book = openpyxl.load_workbook(sys.argv[1], read_only=True)
    brief = "--brief" in sys.argv[2:]
    json.dump({"sheets": [dump_sheet(sheet, brief) for sheet in book.worksheets]}, sys.stdout, ensure_ascii=False)


if __name__ == "__main__":
    main()
