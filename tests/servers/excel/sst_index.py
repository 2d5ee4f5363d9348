#!/usr/bin/python3
"""Checks the EXTSST record of an .xls workbook against its SST records.

Usage: sst_index.py FILE

Prints JSON: {"strings": number of strings in the SST, "per_bucket": the
strings per bucket that EXTSST gives, "buckets": the [stream position,
offset in record] pairs that EXTSST holds, "expected": the same pairs
found by walking the SST and CONTINUE records for every per_bucket-th
string}. The container is read with xlrd's compound-file reader.
"""
import json
import struct
import sys

import xlrd.compdoc

SST, CONTINUE, EXTSST, EOF = 0x00FC, 0x003C, 0x00FF, 0x000A


def records(stream):
    """Yields (type, stream position of the record, body) of the globals."""
    at = 0
    while at + 4 <= len(stream):
        kind, length = struct.unpack_from("<HH", stream, at)
        yield kind, at, stream[at + 4:at + 4 + length]
        if kind == EOF:
            return
        at += 4 + length


class Pieces:
    """The SST body and its CONTINUE bodies, read string by string."""

    def __init__(self, pieces):
        self.pieces = pieces  # (stream position of the record, body)
        self.index, self.at = 0, 8  # past the two counts

    def where(self):
        if self.at == len(self.pieces[self.index][1]):
            self.index, self.at = self.index + 1, 0
        position, _ = self.pieces[self.index]
        return position + 4 + self.at, 4 + self.at

    def take(self, size):
        body = self.pieces[self.index][1]
        data = body[self.at:self.at + size]
        self.at += len(data)
        return data

    def skip_characters(self, units, wide):
        while units > 0:
            if self.at == len(self.pieces[self.index][1]):
                self.index, self.at = self.index + 1, 0
                wide = self.take(1)[0] & 1
            size = 2 if wide else 1
            fit = min(units, (len(self.pieces[self.index][1]) - self.at) // size)
            self.take(fit * size)
            units -= fit


def main():
    data = open(sys.argv[1], "rb").read()
    stream = xlrd.compdoc.CompDoc(data).get_named_stream("Workbook")
    pieces, index = [], None
    for kind, position, body in records(stream):
        if kind == SST or (kind == CONTINUE and pieces and index is None):
            pieces.append((position, body))
        elif kind == EXTSST:
            index = body
    count = struct.unpack_from("<I", pieces[0][1], 4)[0]
    per_bucket = struct.unpack_from("<H", index, 0)[0]
    buckets = [list(struct.unpack_from("<IH", index, 2 + 8 * i)) for i in range((len(index) - 2) // 8)]
    expected, strings = [], Pieces(pieces)
    for number in range(count):
        position, offset = strings.where()
        if number % per_bucket == 0:
            expected.append([position, offset])
        units, flags = struct.unpack("<HB", strings.take(3))
        strings.skip_characters(units, flags & 1)
    json.dump({"strings": count, "per_bucket": per_bucket, "buckets": buckets, "expected": expected}, sys.stdout)


if __name__ == "__main__":
    main()
