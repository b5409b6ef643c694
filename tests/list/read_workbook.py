#!/usr/bin/python3
"""Prints what a workbook holds, one line per item, for the tests to compare:
   sheet NAME
   cell A1 bold=1 font=Tahoma color=FF000080 value=TEXT
   width A 7.7     (widths as stored: the writer adds the cell padding to the characters)
The file is opened as a stream, so its name (".xls" or not) does not matter to the reader."""
import sys

import openpyxl


def main(path):
    with open(path, "rb") as stream:
        book = openpyxl.load_workbook(stream)
    for sheet in book.worksheets:
        print("sheet", sheet.title)
        for row in sheet.iter_rows():
            for cell in row:
                if cell.value is None:
                    continue
                colour = cell.font.color
                colour = colour.rgb if colour is not None and colour.type == "rgb" else "none"
                print("cell %s bold=%d font=%s color=%s value=%s"
                      % (cell.coordinate, 1 if cell.font.b else 0, cell.font.name, colour, cell.value))
        for letter, dim in sorted(sheet.column_dimensions.items()):
            if dim.customWidth:
                print("width %s %.1f" % (letter, dim.width))


if __name__ == "__main__":
    main(sys.argv[1])
