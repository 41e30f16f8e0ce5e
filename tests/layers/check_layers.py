#!/usr/bin/env python3
"""Holds both programs' folders to the layer tables of docs/ARCHITECTURE.md.

Each program has a section headed with its folder in backticks ("## VELDAR (`veldar/`)")
and a table whose first column names a folder, or files, in backticks and whose second
column lists, in backticks ending in "/", the folders they may include. A row that names
files governs those files instead of their folder's row; rows that name the same folder
add up. Every #include "<folder>/..." in a program folder's own .cpp and .h files must be
allowed by its row, and every folder holding sources must have one; sources directly in
a section's folder (`toolsupport/`) take the row named after that folder.

usage: check_layers.py REPOSITORY  (prints each include that reaches elsewhere; exit 1)
"""
import pathlib
import re
import sys

HEADING = re.compile(r"^## .*\(`([A-Za-z_]+)/`\)")
INCLUDE = re.compile(r'^\s*#\s*include\s+"([A-Za-z_]+)/')
TICKED = re.compile(r"`([^`]+)`")


def read_rules(document):
    """{program: ({folder: allowed}, {file: allowed})} from the document's tables."""
    rules, program = {}, None
    for line in document.splitlines():
        heading = HEADING.match(line)
        if heading:
            program = heading.group(1)
            rules[program] = ({}, {})
            continue
        cells = [cell.strip() for cell in line.strip().strip("|").split("|")]
        names = TICKED.findall(cells[0])
        if program is None or not line.startswith("|") or len(cells) < 2 or not names:
            continue
        allowed = {name.rstrip("/") for name in TICKED.findall(cells[1]) if name.endswith("/")}
        folders, files = rules[program]
        named_files = [name for name in names if name.endswith((".cpp", ".h"))]
        if named_files:
            for name in named_files:
                files.setdefault(name, set()).update(allowed)
        else:
            folders.setdefault(names[0], set()).update(allowed)
    return rules


def check(root):
    document = (root / "docs" / "ARCHITECTURE.md").read_text(encoding="utf-8")
    rules = read_rules(document)
    if not rules:
        return ["docs/ARCHITECTURE.md: no program section with a layer table"]
    faults = []
    for program, (folders, files) in sorted(rules.items()):
        base = root / program
        if not base.is_dir():
            faults.append(f"docs/ARCHITECTURE.md: {program}/ does not exist")
            continue
        # The section's folder itself (a library without subfolders) and its subfolders.
        for folder in [base] + sorted(path for path in base.iterdir() if path.is_dir()):
            sources = sorted(path for path in folder.iterdir() if path.suffix in (".cpp", ".h"))
            if not sources or folder.name == "tests":
                continue
            if folder.name not in folders:
                faults.append(f"{program}/{folder.name}/ has no row in docs/ARCHITECTURE.md")
                continue
            for source in sources:
                relative = source.name if folder == base else f"{folder.name}/{source.name}"
                allowed = files.get(relative, folders[folder.name])
                text = source.read_text(encoding="utf-8", errors="replace")
                for number, line in enumerate(text.splitlines(), 1):
                    include = INCLUDE.match(line)
                    if include and include.group(1) not in allowed:
                        faults.append(f"{program}/{relative}:{number} includes {include.group(1)}/: {line.strip()}")
        for name in sorted(files):
            if not (base / name).is_file():
                faults.append(f"docs/ARCHITECTURE.md: {program}/{name} does not exist")
    return faults


def main():
    faults = check(pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else "."))
    for fault in faults:
        print(fault)
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
