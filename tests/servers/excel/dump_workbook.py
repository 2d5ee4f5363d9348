#!/usr/bin/python3
"""Prints an .xls workbook as JSON, as xlrd reads it.

Usage: dump_workbook.py FILE [--brief]

{"sheets": [{"name", "rows", "columns",
             "cells": [[row, column, value, number format]],
             "widths": {"column": width in 1/256 of a character}}]}
Rows and columns count from 0. A value is the text, the number, a date-time
in ISO 8601 ("2024-01-31T08:05:00"), or null for a blank cell. With --brief
a text is given as [length, first 16 characters, last 16 characters].
"""
import json
import sys

import xlrd


def cell_entry(book, sheet, row, column, brief):
    cell = sheet.cell(row, column)
    if cell.ctype == xlrd.XL_CELL_EMPTY:
        return None
    number_format = book.format_map[book.xf_list[cell.xf_index].format_key].format_str
    value = None
    if cell.ctype == xlrd.XL_CELL_TEXT:
        value = [len(cell.value), cell.value[:16], cell.value[-16:]] if brief else cell.value
    elif cell.ctype == xlrd.XL_CELL_NUMBER:
        value = cell.value
    elif cell.ctype == xlrd.XL_CELL_DATE:
        value = xlrd.xldate_as_datetime(cell.value, book.datemode).isoformat(timespec="auto")
    return [row, column, value, number_format]


def dump_sheet(book, sheet, brief):
    cells = []
    for row in range(sheet.nrows):
        for column in range(sheet.row_len(row)):
            entry = cell_entry(book, sheet, row, column, brief)
            if entry is not None:
                cells.append(entry)
    widths = {str(column): info.width for column, info in sorted(sheet.colinfo_map.items())}
    return {"name": sheet.name, "rows": sheet.nrows, "columns": sheet.ncols, "cells": cells, "widths": widths}


def main():
    book = xlrd.open_workbook(sys.argv[1], formatting_info=True, on_demand=True)
    brief = "--brief" in sys.argv[2:]
    sheets = []
    for index in range(book.nsheets):
        sheets.append(dump_sheet(book, book.sheet_by_index(index), brief))
        book.unload_sheet(index)
    json.dump({"sheets": sheets}, sys.stdout, ensure_ascii=False)


if __name__ == "__main__":
    main()
