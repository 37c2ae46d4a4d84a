#!/usr/bin/python3
"""Makes a folder of Word documents like one an office has filled for years: a few
hundred ordinary .docx, .doc and .docm files (those of make_mixed_folder.py), a few
names twice with another extension (an old .doc beside its newer .docx), and the
documents that are hardest on a conversion run, each at the start, in the middle and
at the end of the order a run converts in (by name, ignoring case):

  styles    a styles.xml of about 2.5 MB: thousands of styles, as copying text from
            document to document leaves them behind, and a few pages that use some;
  report    a report of about 300 pages: a table of contents, a chapter a page or
            more, tables, footnotes, charts;
  photos    fifty photographs of 1 to 2 MB each (JPEG, a few PNG), one a page, about
            70 MB (the same fifty in all three).

    make_long_folder.py FOLDER [COUNT]

COUNT ordinary documents (default 300). Writes the documents into FOLDER/documents,
an empty FOLDER/known-bad.txt (every document opens) and FOLDER/shapes.txt, one line
per hard document: its place in the run's order, of how many, its shape, its name and
what it holds. The same COUNT always gives the same documents; making them takes ten
minutes or so and about 250 MB. Runs with Debian's python3 and its python3-uno package.
"""

import os
import sys
import zipfile
from xml.sax.saxutils import quoteattr

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import make_mixed_folder as mixed  # noqa: E402

# The names a style gets from Word, from templates and from pasting: a base name, a
# qualifier, and digits when the name is taken.
STYLE_BASES = """Normal|Body Text|Body Text Indent|Body Text First Indent|Heading 1|Heading 2
|Heading 3|Heading 4|Title|Subtitle|List Paragraph|List Bullet|List Number|Caption|Quote
|Intense Quote|TOC 1|TOC 2|TOC 3|Footnote Text|Comment Text|Balloon Text|Header|Footer
|Plain Text|No Spacing|Table Text|Table Heading|Address|Signature|Salutation|Closing
|Default|Standard|Textkörper|Überschrift 2|Corps de texte|Titre 1|Block Text|Note Heading
""".replace("\n", "").split("|")
STYLE_QUALIFIERS = ["", " Char", " Char Char", " Char1", " + Bold", " + 10 pt", " + Left:  1 cm",
                    " (Web)", " Custom", " Kopie", " Copy", " Tab", " + Justified", " Char Char Char"]
FONTS = ["Liberation Serif", "Liberation Sans"]
COLOURS = ["#000000", "#1f3864", "#2e74b5", "#404040", "#c00000", "#385623", "#7030a0", "#595959"]
ALIGNMENTS = ["start", "justify", "center", "end"]

# A table of contents of headings down to level 2, filled in before saving.
CONTENTS = """<text:table-of-content text:name="Contents" text:protected="true">
 <text:table-of-content-source text:outline-level="2" text:use-index-marks="false">
  <text:index-title-template>Contents</text:index-title-template>
 </text:table-of-content-source>
 <text:index-body>
  <text:index-title text:name="Contents_Head"><text:p text:style-name="Heading_20_1">Contents</text:p></text:index-title>
 </text:index-body>
</text:table-of-content>"""


def style_names(rng, count):
    taken = set()
    names = []
    while len(names) < count:
        name = rng.choice(STYLE_BASES) + rng.choice(STYLE_QUALIFIERS)
        number = 1
        unique = name
        while unique in taken:
            number += 1
            unique = f"{name}{number}"
        taken.add(unique)
        names.append(unique)
    return names


def styles_xml(rng, names):
    """Paragraph styles, each with its own spacing, indents, tab stops, font and colour,
    some with a shade or a rule below, and a character style for every eighth."""
    parts = []
    for number, name in enumerate(names):
        tabs = "".join(f'<style:tab-stop style:position="{position / 100:.2f}cm" style:type="{kind}"/>'
                       for position, kind in sorted((rng.randrange(100, 1600), rng.choice(["left", "right", "center"]))
                                                    for _ in range(rng.randint(1, 4))))
        shade = f' fo:background-color="{rng.choice(["#f2f2f2", "#deeaf6", "#fff2cc"])}"' if number % 2 else ""
        rule = ' fo:border-bottom="0.5pt solid #808080" fo:padding-bottom="0.05cm"' if number % 5 == 0 else ""
        parts.append(
            f'<style:style style:name="P{number}" style:display-name={quoteattr(name)} '
            f'style:family="paragraph" style:parent-style-name="Standard" style:next-style-name="Standard">'
            f'<style:paragraph-properties fo:margin-left="{rng.choice(["0cm", "0.5cm", "1cm", "1.27cm", "2cm"])}" '
            f'fo:margin-right="0cm" fo:margin-top="{rng.randint(0, 24) / 10}mm" '
            f'fo:margin-bottom="{rng.randint(0, 40) / 10}mm" fo:text-indent="{rng.choice(["0cm", "-0.63cm", "0.5cm"])}" '
            f'fo:line-height="{rng.choice([100, 108, 115, 150])}%" fo:text-align="{rng.choice(ALIGNMENTS)}" '
            f'fo:keep-with-next="{rng.choice(["auto", "always"])}" fo:orphans="2" fo:widows="2"{shade}{rule}>'
            f'<style:tab-stops>{tabs}</style:tab-stops></style:paragraph-properties>'
            f'<style:text-properties style:font-name="{rng.choice(FONTS)}" '
            f'fo:font-size="{rng.choice([8, 9, 10, 10.5, 11, 12, 14, 16])}pt" fo:color="{rng.choice(COLOURS)}" '
            f'fo:font-weight="{rng.choice(["normal", "bold"])}" fo:font-style="{rng.choice(["normal", "italic"])}" '
            f'fo:letter-spacing="{rng.choice(["normal", "0.02cm"])}" fo:language="en" fo:country="GB" '
            f'fo:hyphenate="{rng.choice(["false", "true"])}"/>'
            f'</style:style>')
        if number % 8 == 0:
            parts.append(
                f'<style:style style:name="C{number}" style:display-name={quoteattr(name + " Zchn")} '
                f'style:family="text"><style:text-properties fo:color="{rng.choice(COLOURS)}" '
                f'fo:font-weight="{rng.choice(["normal", "bold"])}"/></style:style>')
    return "\n".join(parts)


class StyledWriter(mixed.Writer):
    """A few pages whose paragraphs use some of thousands of styles."""

    def __init__(self, rng, pictures, title, style_count):
        super().__init__(rng, pictures, title)
        self.styles = styles_xml(rng, style_names(rng, style_count))
        self.style_count = style_count

    def paragraph(self):
        super().paragraph()
        if self.rng.random() < 0.6:
            style = f'text:style-name="P{self.rng.randrange(self.style_count)}"'
            self.parts[-1] = self.parts[-1].replace('text:style-name="Standard"', style, 1)

    def document(self, pages):
        return super().document(pages).replace("</office:styles>", self.styles + "\n</office:styles>", 1)


class ReportWriter(mixed.Writer):
    """A report: the table of contents, then a chapter a page, each on a new page."""

    def document(self, pages):
        self.parts.append(CONTENTS)
        return super().document(pages)

    def page(self, first):
        super().page(first=False)


class PhotoWriter(mixed.Writer):
    """A photo record: a heading, a line of text and a photograph a page, each photograph
    once."""

    def __init__(self, rng, photos, title):
        super().__init__(rng, photos, title)
        self.waiting = list(photos)

    def page(self, first):
        self.heading(1, new_page=not first)
        self.parts.append(f'<text:p text:style-name="Standard">{self.sentence()}</text:p>')
        self.pictures = [self.waiting.pop(0)]
        self.picture()

    def document(self, pages=None):
        return super().document(len(self.waiting))


def make_photos(office, folder, rng, count=50):
    """Photographs of 1 to 2 MB: mostly JPEG from 2600x1950 to 3400x2550, every fifth a
    grainy PNG of about 700x525 to 820x615 (PNG does not shrink grain)."""
    provider = office.create("com.sun.star.graphic.GraphicProvider")
    photos = []
    for number in range(count):
        if number % 5 == 4:
            width = rng.randrange(700, 820, 4)
            height = width * 3 // 4
            photos.append(("image/png", mixed.png(width, height, rng, noisy=True), width, height))
        else:
            width = rng.randrange(2600, 3400, 8)
            height = width * 3 // 4
            data = mixed.jpeg(provider, folder, f"photo{number}", mixed.png(width, height, rng, noisy=True))
            photos.append(("image/jpeg", data, width, height))
        if number % 10 == 9:
            print(f"  {number + 1} of {count} photographs", flush=True)
    return photos


def office_extension(rng):
    roll = rng.random()
    return ".docx" if roll < 0.65 else ".docm" if roll < 0.75 else ".doc"


def update_indexes(document):
    indexes = document.getDocumentIndexes()
    for number in range(indexes.getCount()):
        indexes.getByIndex(number).update()


def run_order(names):
    """The order a run converts a folder's documents in: by name, ignoring case."""
    return sorted(names, key=lambda name: (name.casefold(), name))


def add_twins(office, documents, made, rng):
    """A few documents again under the same name with another extension: the batch
    converter writes one page for both, a Varnello run one each."""
    other = {".docx": ".doc", ".doc": ".docx"}
    twins = []
    for number, original in enumerate(rng.sample(made, 6)):
        stem, extension = os.path.splitext(original)
        twin = stem + (".docm" if number % 3 == 2 else other[extension])
        if os.path.exists(twin):
            continue
        office.convert(original, twin, mixed.FILTERS[os.path.splitext(twin)[1]])
        twins.append(twin)
    return twins


HARD = [("styles", "Accessibility style guide", " (house styles)", "Справочник стилей"),
        ("photos", "Accident site photos", " (photos)", "Фотоотчёт объекта"),
        ("report", "Accounts 2023 full report", " (full report)", "Финансовый отчёт полный")]
# Each shape's extension at the start, in the middle and at the end.
EXTENSIONS = {"styles": (".docx", ".docm", ".docx"), "photos": (".docx", ".docx", ".doc"),
              "report": (".docx", ".doc", ".docm")}


def hard_names(ordinary):
    """Names for the hard documents that put them first, in the middle and last: the
    middle ones take the name of the ordinary document there, with a word added."""
    order = run_order(os.path.basename(path) for path in ordinary)
    middle = os.path.splitext(order[len(order) // 2])[0]
    names = []
    for shape, first, addition, last in HARD:
        starts, middles, ends = EXTENSIONS[shape]
        names += [(shape, first + starts), (shape, middle + addition + middles), (shape, last + ends)]
    return names


def write_hard(office, work, documents, rng, pictures, photos, shape, name):
    """Writes one hard document; returns what makes it hard, as written."""
    target = os.path.join(documents, name)
    title = os.path.splitext(name)[0]
    if shape == "styles":
        text = StyledWriter(rng, pictures, title, 2880).document(rng.randint(6, 14))
        mixed.write(office, work, text, target)
        return f"{megabytes(target)}, {style_part(target)}"
    if shape == "report":
        charts = [picture for picture in pictures if picture[0] == "image/png" and picture[2] <= 800]
        pages = []

        def prepare(document):
            update_indexes(document)
            pages.append(document.getCurrentController().getPropertyValue("PageCount"))

        mixed.write(office, work, ReportWriter(rng, charts, title).document(285), target, prepare=prepare)
        return f"{megabytes(target)}, {pages[0]} pages"
    mixed.write(office, work, PhotoWriter(rng, photos, title).document(), target)
    return f"{megabytes(target)}, {len(photos)} photographs"


def megabytes(path):
    return f"{os.path.getsize(path) / 1e6:.1f} MB"


def style_part(path):
    if not zipfile.is_zipfile(path):
        return "binary Word"
    with zipfile.ZipFile(path) as archive:
        styles = archive.read("word/styles.xml")
    return f"styles.xml {len(styles) / 1e6:.2f} MB, {styles.count(b'<w:style ')} styles"


def main():
    with mixed.generation("make_long_folder.py", 22) as (folder, count, documents, rng, work, office):
        pictures = mixed.make_pictures(office, work, rng)
        made, pages_total = mixed.write_documents(office, work, documents, rng, pictures, count,
                                                  office_extension)
        twins = add_twins(office, documents, made, rng)
        photos = make_photos(office, work, rng)
        hard = []
        for shape, name in hard_names(made + twins):
            hard.append((shape, name, write_hard(office, work, documents, rng, pictures, photos, shape, name)))
            print(f"  {shape}: {name} ({hard[-1][2]})", flush=True)

        order = run_order(os.listdir(documents))
        with open(os.path.join(folder, "shapes.txt"), "w", encoding="utf-8") as file:
            for shape, name, what in hard:
                file.write(f"{order.index(name) + 1} of {len(order)}\t{shape}\t{name}\t{what}\n")
        open(os.path.join(folder, "known-bad.txt"), "w").close()
        print(f"{len(order)} documents in {documents}: {count} ordinary ones of {pages_total} pages, "
              f"{len(twins)} of them again with another extension, {len(hard)} hard ones")


if __name__ == "__main__":
    main()
