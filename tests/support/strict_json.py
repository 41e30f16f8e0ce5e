#!/usr/bin/env python3
"""strict_json.py FILE...: each FILE is one JSON document in UTF-8 without duplicate
keys, NaN or Infinity, and a text shows U+FFFD exactly when a field "<name>_bytes"
beside it gives its bytes in upper-case hexadecimal (for a list of texts, a list with
null for the texts that need none)."""
import json
import re
import sys


def pairs(items):
    keys = [key for key, _ in items]
    if len(keys) != len(set(keys)):
        raise ValueError("duplicate keys in %s" % keys)
    return dict(items)


def refuse(constant):
    raise ValueError("not JSON: " + constant)


def check(node, where):
    if isinstance(node, list):
        for i, item in enumerate(node):
            check(item, "%s[%d]" % (where, i))
        return
    for name, value in node.items() if isinstance(node, dict) else ():
        hexes = node.get(name + "_bytes")
        if isinstance(value, list) and value and all(isinstance(v, str) for v in value):
            texts, hexes = value, hexes or [None] * len(value)
        elif isinstance(value, str) and not name.endswith("_bytes"):
            texts, hexes = [value], [hexes]
        else:
            check(value, where + "." + name)
            continue
        for text, hexed in zip(texts, hexes, strict=True):
            if ("\ufffd" in text) != (hexed is not None) or not re.fullmatch(r"(?:[0-9A-F]{2})*", hexed or ""):
                raise ValueError("%s.%s: %r and its bytes %r disagree" % (where, name, text, hexed))


failed = False
for path in sys.argv[1:]:
    try:
        with open(path, "rb") as file:
            check(json.loads(file.read().decode("utf-8"), object_pairs_hook=pairs, parse_constant=refuse), path)
    except ValueError as error:  # UnicodeDecodeError and JSONDecodeError among them
        print("FAIL: %s: %s" % (path, error))
        failed = True
sys.exit(1 if failed else 0)
