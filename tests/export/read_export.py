#!/usr/bin/env python3
"""Reads an exported text file with the csv module and an exported HTML page
with html.parser, as another program would, and compares their cells with
the values the diary holds (expected.json, written by tst_ExportReader).

    read_export.py FOLDER      (FOLDER holds export.txt, export.html and
                                expected.json)

The text file was written with ";" as the separator and "_" in place of any
";" inside a text; the page with every text escaped. Exits 0 when every
cell matches, 1 with a list of the differences otherwise."""

import csv
import html.parser
import json
import os
import sys


def keyed(header):
    """Column titles, the k-th repeat of a title named "title#k"."""
    seen = {}
    keys = []
    for title in header:
        seen[title] = seen.get(title, 0) + 1
        keys.append(title if seen[title] == 1 else "%s#%d" % (title, seen[title]))
    return keys


def one_line(text):
    return text.replace("\r", " ").replace("\n", " ")


def compare(kind, header, rows, expected, transform, problems):
    keys = keyed(header)
    if len(rows) != len(expected["activities"]):
        problems.append("%s: %d rows for %d activities" % (kind, len(rows), len(expected["activities"])))
    if len(header) != expected["columns"]:
        problems.append("%s: %d header cells, the export counted %d" % (kind, len(header), expected["columns"]))
    for number, (row, activity) in enumerate(zip(rows, expected["activities"]), start=1):
        if len(row) != len(header):
            problems.append("%s row %d: %d cells under %d headers" % (kind, number, len(row), len(header)))
            continue
        cells = dict(zip(keys, row))
        for title, value in activity.items():
            key = transform(title)
            if key not in cells:
                problems.append("%s row %d: no column %r" % (kind, number, key))
            elif cells[key] != transform(value):
                problems.append("%s row %d, %r: %r, the diary holds %r" % (kind, number, key, cells[key], transform(value)))


def read_text(path):
    with open(path, encoding="cp1252", newline="") as stream:
        raw = stream.read()
    if raw.count("\n") != raw.count("\r\n"):
        raise ValueError("a line of the text file does not end in CR LF")
    with open(path, encoding="cp1252", newline="") as stream:
        lines = list(csv.reader(stream, delimiter=";", quoting=csv.QUOTE_NONE, strict=True))
    return lines[0], lines[1], lines[2], lines[3], lines[4:]


class TableReader(html.parser.HTMLParser):
    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.rows = []
        self.cell = None
        self.before_table = []

    def handle_starttag(self, tag, attrs):
        if tag == "tr":
            self.rows.append([])
        elif tag in ("td", "th"):
            self.cell = []
        elif tag == "br" and self.cell is None and not self.rows:
            self.before_table.append("")

    def handle_endtag(self, tag):
        if tag in ("td", "th") and self.cell is not None:
            self.rows[-1].append("".join(self.cell))
            self.cell = None

    def handle_data(self, data):
        if self.cell is not None:
            self.cell.append(data)
        elif not self.rows and data.strip():
            self.before_table.append(data.strip())


def main():
    folder = sys.argv[1]
    with open(os.path.join(folder, "expected.json"), encoding="utf-8") as stream:
        expected = json.load(stream)
    problems = []

    title, date, empty, header, rows = read_text(os.path.join(folder, "export.txt"))
    if title != [expected["title"]] or date != [expected["date"]] or empty != []:
        problems.append("text: intro %r %r %r" % (title, date, empty))
    compare("text", header, rows, expected, lambda value: one_line(value).replace(";", "_"), problems)

    with open(os.path.join(folder, "export.html"), "rb") as stream:
        page = stream.read().decode("cp1252")
    reader = TableReader()
    reader.feed(page)
    reader.close()
    if expected["title"] not in reader.before_table or expected["date"] not in reader.before_table:
        problems.append("html: title and date %r" % reader.before_table)
    if not reader.rows:
        problems.append("html: no table")
    else:
        compare("html", reader.rows[0], reader.rows[1:], expected, one_line, problems)

    for problem in problems:
        print(problem)
    print("%d activities, %d columns: %s" % (len(expected["activities"]), expected["columns"],
                                            "all cells match" if not problems else "%d differences" % len(problems)))
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
