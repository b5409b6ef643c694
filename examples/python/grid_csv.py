"""The grid filled from a CSV file and exported: reads a CSV (written here first, so the example
runs anywhere), puts it in a ZorvaXPListBox with one column per field, sorts it by size and
exports it as CSV again through the list's own ExportToCsv."""
import csv

import zorvaxp as zx

with open("sizes.csv", "w", newline="") as f:
    csv.writer(f).writerows([["Name", "Size"], ["gamma", "30"], ["alpha", "5"], ["beta", "120"]])

with open("sizes.csv", newline="") as f:
    header, *rows = list(csv.reader(f))

form = zx.Form(caption="Grid from CSV", width=6000, height=3600)
grid = form.add("ZorvaXPListBox", "lstSizes", left=120, top=120, width=5600, height=3000)
grid.ShowHeaders = True
for title in header:
    grid.AddNewColumn(title, 120)  # width in pixels
for row in rows:
    grid.AddItem("\t".join(row))
grid.ResortCol(2)  # by size, as numbers
assert [grid.TextMatrix[r, 1] for r in (1, 2, 3)] == ["alpha", "gamma", "beta"]
print("total size:", grid.Sum(2))
grid.ExportToCsv("sizes-sorted.csv")
form.render("grid_csv.png")
print(open("sizes-sorted.csv").read())
