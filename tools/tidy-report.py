#!/usr/bin/env python3
"""Checks the web pages in a folder for what stands between them and publishing.

Runs HTML Tidy (Debian package tidy) over every .htm, .html, .mht and .mhtml file in
FOLDER (the page of a web archive is taken out first) and prints how many pages have
tidy errors, how many tidy warnings are about markup that HTML5 dropped or that
LibreOffice invented, how many pictures have no alt text, how many pages have an
empty title and how many name people or their dates in metadata. With --list, each
finding is also named with its page. The exit status is 0, or 2 when tidy is
missing or FOLDER is not a folder.
"""

import email
import email.policy
import html.parser
import pathlib
import re
import shutil
import subprocess
import sys

PAGE_SUFFIXES = {".htm", ".html", ".mht", ".mhtml"}

# Tidy's words for markup that HTML5 dropped or that only LibreOffice knows.
LEGACY_MARKERS = (
    "not allowed for HTML5",
    "removed from HTML5",
    "proprietary attribute",
    "is not recognized",
    "discarding unexpected <sd",
    "discarding unexpected </sd",
)

# Metadata that describes the content rather than the people who made it.
NEUTRAL_METADATA = {"description", "keywords", "generator", "viewport", "robots", "classification",
                    "referrer", "theme-color", "color-scheme"}


# Names programs give objects, and file names: not alt text a person wrote.
GENERATED_ALT = re.compile(
    r"\A(?:(?:picture|image|graphics?|shape|drawobject|frame|object|text ?box|rectangle|oval|group|chart|diagram|"
    r"canvas|grafik|bild|imagen|рисунок)\s*\d+|(?:[a-z]:)?[\\/].*|.*\.(?:png|jpe?g|gif|bmp|emf|wmf|tiff?|svg))\Z",
    re.IGNORECASE | re.DOTALL)
STANDARD_TARGETS = {"_blank", "_self", "_parent", "_top"}
# Word's field and content-control marks, which a page should never carry.
MARKER_CHARACTERS = re.compile("[\x01-\x08\x0b\x0c\x0e-\x1f]")
PRIVATE_USE = re.compile("[\ue000-\uf8ff]")
DATA_URI = re.compile(rb"data:[^\"')\s]*")
STYLE_ATTRIBUTE = re.compile(rb"\sstyle\s*=\s*(?:\"[^\"]*\"|'[^']*')", re.IGNORECASE)


class PageFacts(html.parser.HTMLParser):
    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.pictures_without_alt = 0
        self.generated_alt = 0
        self.tooltip_targets = 0
        self.header_rows_without_th = 0
        self.in_thead = False
        self.title = None
        self.in_title = False
        self.personal_metadata = []

    def handle_starttag(self, tag, attrs):
        names = {name.lower(): value for name, value in attrs}
        if tag == "img" and GENERATED_ALT.match((names.get("alt") or "").strip()):
            self.generated_alt += 1
        if tag == "a" and (names.get("target") or "").strip() and names["target"].strip().lower() not in STANDARD_TARGETS:
            self.tooltip_targets += 1
        if tag == "thead":
            self.in_thead = True
        elif tag == "td" and self.in_thead:
            self.header_rows_without_th += 1
        if tag == "img" and "alt" not in names:
            self.pictures_without_alt += 1
        elif tag == "title" and self.title is None:
            self.title, self.in_title = "", True
        elif tag == "meta":
            name = (names.get("name") or "").strip().lower()
            if name and name not in NEUTRAL_METADATA:
                self.personal_metadata.append(name)

    def handle_endtag(self, tag):
        if tag == "title":
            self.in_title = False
        elif tag == "thead":
            self.in_thead = False

    def handle_data(self, data):
        if self.in_title:
            self.title += data


def page_text(path):
    """The page's HTML; for a web archive, its first HTML part."""
    data = path.read_bytes()
    if path.suffix.lower() in {".mht", ".mhtml"}:
        message = email.message_from_bytes(data, policy=email.policy.default)
        for part in message.walk():
            if part.get_content_type() == "text/html":
                return part.get_payload(decode=True)
        return b""
    return data


def tidy_messages(html_bytes):
    result = subprocess.run(["tidy", "-q", "-e", "-utf8", "--show-errors", "100000", "--show-warnings", "yes",
                             "--show-info", "no"],
                            input=html_bytes, capture_output=True, check=False)
    return result.stderr.decode("utf-8", "replace").splitlines()


def main(arguments):
    listing = "--list" in arguments
    folders = [argument for argument in arguments if argument != "--list"]
    if len(folders) != 1 or not pathlib.Path(folders[0]).is_dir():
        print("usage: tidy-report.py [--list] FOLDER", file=sys.stderr)
        return 2
    if shutil.which("tidy") is None:
        print("HTML Tidy is missing: install the Debian package tidy (tools/install-deps.sh does).", file=sys.stderr)
        return 2

    pages = sorted(path for path in pathlib.Path(folders[0]).iterdir()
                   if path.is_file() and path.suffix.lower() in PAGE_SUFFIXES)
    counts = {"errors": 0, "legacy": 0, "alt": 0, "title": 0, "metadata": 0, "replacement": 0, "private": 0,
              "markers": 0, "tooltips": 0, "generated": 0, "headers": 0}
    markup_bytes = style_bytes = 0
    for path in pages:
        html_bytes = page_text(path)
        messages = tidy_messages(html_bytes)
        errors = [line for line in messages if " - Error: " in line]
        legacy = [line for line in messages if any(marker in line for marker in LEGACY_MARKERS)]
        facts = PageFacts()
        text = html_bytes.decode("utf-8", "replace")
        facts.feed(text)
        facts.close()
        markup = DATA_URI.sub(b"", html_bytes)  # pictures excluded
        markup_bytes += len(markup)
        style_bytes += sum(len(match) for match in STYLE_ATTRIBUTE.findall(markup))
        findings = {
            "errors": 1 if errors else 0,
            "legacy": len(legacy),
            "alt": facts.pictures_without_alt,
            "title": 1 if not (facts.title or "").strip() else 0,
            "metadata": 1 if facts.personal_metadata else 0,
            "replacement": text.count("\ufffd"),
            "private": len(PRIVATE_USE.findall(text)),
            "markers": len(MARKER_CHARACTERS.findall(text)),
            "tooltips": facts.tooltip_targets,
            "generated": facts.generated_alt,
            "headers": facts.header_rows_without_th,
        }
        for key, value in findings.items():
            counts[key] += value
        if listing:
            for line in errors:
                print(f"{path.name}: tidy {line}")
            for line in legacy:
                print(f"{path.name}: legacy {line}")
            if findings["alt"]:
                print(f"{path.name}: {findings['alt']} pictures without alt")
            if findings["title"]:
                print(f"{path.name}: empty title")
            if findings["metadata"]:
                print(f"{path.name}: metadata {', '.join(facts.personal_metadata)}")
            for key, what in (("replacement", "replacement characters"), ("private", "private-use characters"),
                              ("markers", "field marker characters"), ("tooltips", "links with a tooltip as target"),
                              ("generated", "pictures with generated alt text"),
                              ("headers", "header cells that are not th")):
                if findings[key]:
                    print(f"{path.name}: {findings[key]} {what}")

    print(f"pages: {len(pages)}")
    print(f"pages with tidy errors: {counts['errors']}")
    print(f"warnings about dropped or invented markup: {counts['legacy']}")
    print(f"pictures without alt: {counts['alt']}")
    print(f"pages with an empty title: {counts['title']}")
    print(f"pages with personal metadata: {counts['metadata']}")
    print(f"replacement characters: {counts['replacement']}")
    print(f"private-use characters: {counts['private']}")
    print(f"field marker characters: {counts['markers']}")
    print(f"links with a tooltip as target: {counts['tooltips']}")
    print(f"pictures with generated alt text: {counts['generated']}")
    print(f"header cells that are not th: {counts['headers']}")
    share = 100.0 * style_bytes / markup_bytes if markup_bytes else 0.0
    print(f"style attributes: {share:.1f}% of the markup")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
