#!/usr/bin/env python3
"""Reads the Quick Menu's items from the panel table (src/app/PanelTable.h), for the build and
the scripts that follow the table: each row's tooltip and the name of its picture, in the
table's order.

Usage: panel_table.py <PanelTable.h>   prints one line per row: the picture's name, a tab, the
tooltip.
"""

import re
import sys

_TABLE = re.compile(r"kPanels\[\]\s*=\s*\{(.*?)\n\};", re.S)
_ROW = re.compile(r'\{\s*L"([^"]*)"\s*,\s*"([a-z0-9_]+)"\s*,\s*MakePanel<\w+>')


def read_rows(header_path):
    """[(tooltip, picture)] from the top of the strip down; exits with a message on a row it
    cannot read, so that a table the build does not follow stops the build."""
    with open(header_path, encoding="utf-8") as f:
        source = f.read()
    table = _TABLE.search(source)
    if not table:
        sys.exit(f"{header_path}: no table kPanels[] = {{ ... }};")
    lines = [line.strip() for line in table.group(1).splitlines()
             if line.strip() and not line.strip().startswith("//")]
    rows = []
    for line in lines:
        row = _ROW.match(line)
        if not row:
            sys.exit(f'{header_path}: a row of kPanels must stand on one line as '
                     f'{{L"Tooltip", "picture", MakePanel<Class>, help}}: {line}')
        rows.append((row.group(1), row.group(2)))
    if not rows:
        sys.exit(f"{header_path}: kPanels has no rows")
    return rows


def main(argv):
    if len(argv) != 2:
        sys.exit("usage: panel_table.py <PanelTable.h>")
    for tooltip, picture in read_rows(argv[1]):
        print(f"{picture}\t{tooltip}")


if __name__ == "__main__":
    main(sys.argv)
