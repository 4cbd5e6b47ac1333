# Prints a workbook as xlrd reads it, as JSON, for the tests: the first
# sheet's name, size and merged ranges, and every cell with its kind (xlrd's
# ctype), value and whether its format shows a date, and the height of every
# row in twentieths of a point. The container is first
# checked by olefile at its strictest: any defect, even a potential one, fails.
import json
import sys

import olefile
import xlrd

olefile.OleFileIO(sys.argv[1], raise_defects=olefile.DEFECT_POTENTIAL).close()
book = xlrd.open_workbook(sys.argv[1], formatting_info=True)
sheet = book.sheet_by_index(0)
cells = []
for r in range(sheet.nrows):
    row = []
    for c in range(sheet.ncols):
        cell = sheet.cell(r, c)
        fmt = book.format_map.get(book.xf_list[cell.xf_index].format_key)
        row.append({"t": cell.ctype, "v": cell.value, "date": fmt is not None and fmt.type == xlrd.formatting.FDT})
    cells.append(row)
heights = [sheet.rowinfo_map[r].height if r in sheet.rowinfo_map else 255 for r in range(sheet.nrows)]
print(json.dumps({"sheets": book.sheet_names(), "rows": sheet.nrows, "cols": sheet.ncols, "heights": heights,
                  "merged": [list(m) for m in sheet.merged_cells], "cells": cells}))
