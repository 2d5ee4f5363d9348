"""Turns a UTF-8 CSV file into an Excel 97-2003 workbook with xlwt, every
cell written as text: the export benchmark's measure of a plain Python
writer. Usage: csv_to_xls.py CELLS.csv OUT.xls"""
import csv
import sys

import xlwt


def main(source, target):
    book = xlwt.Workbook(encoding="utf-8")
    sheet = book.add_sheet("Sheet1")
    with open(source, newline="", encoding="utf-8") as cells:
        for row, values in enumerate(csv.reader(cells)):
            for column, value in enumerate(values):
                sheet.write(row, column, value)
    book.save(target)


if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    main(sys.argv[1], sys.argv[2])
