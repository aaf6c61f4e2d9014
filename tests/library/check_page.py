# Tunefold - lists the MP3 files of a folder as an HTML page.
# SPDX-License-Identifier: GPL-3.0-or-later
"""Checks a page of tunefold-list: well-formed HTML5 in UTF-8, every element
closed in order, no script or outside resource, eight cells a row."""
import sys
from html.parser import HTMLParser

VOID = {"meta", "br", "link", "img", "hr", "input"}


class Checker(HTMLParser):
    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.open = []
        self.errors = []
        self.cells = None
        self.doctype = False

    def error_at(self, text):
        self.errors.append(f"line {self.getpos()[0]}: {text}")

    def handle_decl(self, decl):
        self.doctype = decl.lower() == "doctype html"

    def handle_starttag(self, tag, attrs):
        if tag in ("script", "iframe", "object", "embed", "link", "img"):
            self.error_at(f"<{tag}> has no place in the page")
        for name, value in attrs:
            if name.startswith("on") or (name in ("href", "src") and value and ":" in value):
                self.error_at(f"{name}={value!r} reaches beyond the page")
        if tag == "tr":
            self.cells = 0
        elif tag in ("td", "th"):
            self.cells += 1
        if tag not in VOID:
            self.open.append(tag)

    def handle_endtag(self, tag):
        if not self.open or self.open[-1] != tag:
            self.error_at(f"</{tag}> closes {self.open[-1:] or 'nothing'}")
            return
        self.open.pop()
        if tag == "tr" and self.cells != 8:
            self.error_at(f"a row of {self.cells} cells")


def main(path):
    with open(path, "rb") as page:
        text = page.read().decode("utf-8")  # raises on anything but UTF-8
    checker = Checker()
    checker.feed(text)
    checker.close()
    if not checker.doctype:
        checker.errors.append("no <!DOCTYPE html>")
    if '<meta charset="utf-8">' not in text:
        checker.errors.append("no charset")
    if checker.open:
        checker.errors.append(f"never closed: {checker.open}")
    for error in checker.errors:
        print(error, file=sys.stderr)
    return 1 if checker.errors else 0


sys.exit(main(sys.argv[1]))
