#!/usr/bin/python3
"""Makes a folder of Word documents that look like an office's: a few hundred .doc and
.docx files of 1 to 60 pages with headings, lists, tables, pictures (PNG and JPEG of
many sizes), headers, footers, footnotes and links, a few damaged ones and one that
needs a password. LibreOffice writes every document, so the files are what a word
processor writes, not hand-made zip files.

    make_mixed_folder.py FOLDER [COUNT]

Writes the documents into FOLDER/documents and the names of those no converter can
open (damaged, password-protected) into FOLDER/known-bad.txt. The same COUNT always
gives the same documents. Runs with Debian's python3 and its python3-uno package.
"""

import contextlib
import os
import random
import shutil
import struct
import subprocess
import sys
import tempfile
import time
import zlib
from base64 import b64encode
from xml.sax.saxutils import escape

import uno
from com.sun.star.beans import PropertyValue
from com.sun.star.connection import NoConnectException

SOFFICE = "/usr/lib/libreoffice/program/soffice.bin"

WORDS = """the of and to in a is that for it as was with be by on not he this are or his from
at which but have an they you were her she there been one all we their has would when if so
no will can more other about many then them these some its time could into only new year
report budget meeting project quarter customer order invoice delivery contract supplier
review draft policy schedule staff office training safety quality figure summary result
plan market sales service request approval update change period account payment total cost
estimate building site plant equipment test sample measure standard section agreement
department committee member minutes action item decision proposal analysis risk issue
""".split()

NAMES = """Annual report|Board minutes|Budget draft|Contract|Delivery note|Offer|Invoice
notes|Meeting notes|Minutes|Policy|Project plan|Proposal|Quarterly review|Safety rules
|Sales figures|Site visit|Staff handbook|Supplier list|Test report|Training plan|Überblick
|Protokoll Sitzung|Angebot|Réunion compte rendu|Plan de projet|Informe anual|Отчёт
|Letter to customer|Price list|Questionnaire|Inspection report|Travel expenses""".replace(
    "\n", "").split("|")


def prop(name, value):
    return PropertyValue(Name=name, Value=value)


# --- pictures -------------------------------------------------------------------------

def png(width, height, rng, noisy):
    """A PNG of coloured bands with gradients: flat like a chart or screenshot, or, when
    noisy, grainy like a photograph (which then goes on as a JPEG)."""
    base = [rng.randrange(256) for _ in range(3)]
    bands = []
    for band in range(7):
        row = bytearray(width * 3)
        for x in range(width):
            shade = x * 255 // max(width - 1, 1)
            row[x * 3] = (base[0] + shade) & 255
            row[x * 3 + 1] = (base[1] + band * 36) & 255
            row[x * 3 + 2] = (base[2] + (shade ^ (band * 36))) & 255
        bands.append(int.from_bytes(row, "big"))
    grain = bytes(range(64)) * 4
    noise = [int.from_bytes(rng.randbytes(width * 3).translate(grain), "big") if noisy else 0
             for _ in range(61)]
    rows = b"".join(b"\0" + (bands[y * 7 // height] ^ noise[y % 61]).to_bytes(width * 3, "big")
                    for y in range(height))

    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data
                + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))

    return (b"\x89PNG\r\n\x1a\n"
            + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(rows, 6))
            + chunk(b"IEND", b""))


def make_pictures(office, folder, rng):
    """PNG and JPEG pictures from icon to photo size: (mime type, bytes, width, height)."""
    sizes = [(48, 48), (120, 90), (200, 150), (320, 240), (480, 360), (640, 480),
             (800, 600), (1024, 768), (1280, 960), (1600, 1200)]
    pictures = []
    provider = office.create("com.sun.star.graphic.GraphicProvider")
    for number, (width, height) in enumerate(sizes):
        data = png(width, height, rng, noisy=False)
        pictures.append(("image/png", data, width, height))
        pictures.append(("image/jpeg", jpeg(provider, folder, f"picture{number}",
                                              png(width, height, rng, noisy=True)),
                         width, height))
    return pictures


def jpeg(provider, folder, name, png_data):
    """A photograph: the PNG given, as a JPEG written by LibreOffice's own graphic filters
    (through FOLDER/NAME.png and NAME.jpg)."""
    path = os.path.join(folder, name + ".png")
    with open(path, "wb") as file:
        file.write(png_data)
    graphic = provider.queryGraphic((prop("URL", uno.systemPathToFileUrl(path)),))
    target = os.path.join(folder, name + ".jpg")
    provider.storeGraphic(graphic, (prop("URL", uno.systemPathToFileUrl(target)),
                                    prop("MimeType", "image/jpeg")))
    with open(target, "rb") as file:
        return file.read()


# --- documents ------------------------------------------------------------------------

HEAD = """<?xml version="1.0" encoding="UTF-8"?>
<office:document xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0"
 xmlns:style="urn:oasis:names:tc:opendocument:xmlns:style:1.0"
 xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0"
 xmlns:table="urn:oasis:names:tc:opendocument:xmlns:table:1.0"
 xmlns:draw="urn:oasis:names:tc:opendocument:xmlns:drawing:1.0"
 xmlns:fo="urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0"
 xmlns:xlink="http://www.w3.org/1999/xlink"
 xmlns:svg="urn:oasis:names:tc:opendocument:xmlns:svg-compatible:1.0"
 office:version="1.3" office:mimetype="application/vnd.oasis.opendocument.text">
<office:font-face-decls>
 <style:font-face style:name="Liberation Serif" svg:font-family="'Liberation Serif'"/>
 <style:font-face style:name="Liberation Sans" svg:font-family="'Liberation Sans'"/>
</office:font-face-decls>
<office:styles>
 <style:default-style style:family="paragraph">
  <style:text-properties style:font-name="{font}" fo:font-size="11pt"/>
 </style:default-style>
 <style:style style:name="Standard" style:family="paragraph" style:class="text">
  <style:paragraph-properties fo:margin-bottom="0.2cm"/>
 </style:style>
 <style:style style:name="Heading_20_1" style:display-name="Heading 1" style:family="paragraph"
  style:parent-style-name="Standard" style:default-outline-level="1">
  <style:paragraph-properties fo:margin-top="0.4cm" fo:keep-with-next="always"/>
  <style:text-properties style:font-name="Liberation Sans" fo:font-size="16pt" fo:font-weight="bold"/>
 </style:style>
 <style:style style:name="Heading_20_2" style:display-name="Heading 2" style:family="paragraph"
  style:parent-style-name="Standard" style:default-outline-level="2">
  <style:paragraph-properties fo:margin-top="0.3cm" fo:keep-with-next="always"/>
  <style:text-properties style:font-name="Liberation Sans" fo:font-size="13pt" fo:font-weight="bold"/>
 </style:style>
 <style:style style:name="Footnote" style:family="paragraph" style:class="extra">
  <style:text-properties fo:font-size="9pt"/>
 </style:style>
 <text:list-style style:name="Bullets">
  <text:list-level-style-bullet text:level="1" text:bullet-char="•">
   <style:list-level-properties text:list-level-position-and-space-mode="label-alignment">
    <style:list-level-label-alignment text:label-followed-by="listtab" fo:text-indent="-0.6cm" fo:margin-left="1.2cm"/>
   </style:list-level-properties>
  </text:list-level-style-bullet>
  <text:list-level-style-bullet text:level="2" text:bullet-char="◦">
   <style:list-level-properties text:list-level-position-and-space-mode="label-alignment">
    <style:list-level-label-alignment text:label-followed-by="listtab" fo:text-indent="-0.6cm" fo:margin-left="1.8cm"/>
   </style:list-level-properties>
  </text:list-level-style-bullet>
 </text:list-style>
 <text:list-style style:name="Numbers">
  <text:list-level-style-number text:level="1" style:num-suffix="." style:num-format="1">
   <style:list-level-properties text:list-level-position-and-space-mode="label-alignment">
    <style:list-level-label-alignment text:label-followed-by="listtab" fo:text-indent="-0.6cm" fo:margin-left="1.2cm"/>
   </style:list-level-properties>
  </text:list-level-style-number>
 </text:list-style>
</office:styles>
<office:automatic-styles>
 <style:page-layout style:name="Page">
  <style:page-layout-properties fo:page-width="21cm" fo:page-height="29.7cm" fo:margin-top="1.5cm"
   fo:margin-bottom="1.5cm" fo:margin-left="2cm" fo:margin-right="2cm"/>
  <style:header-style><style:header-footer-properties fo:min-height="0.6cm" fo:margin-bottom="0.3cm"/></style:header-style>
  <style:footer-style><style:header-footer-properties fo:min-height="0.6cm" fo:margin-top="0.3cm"/></style:footer-style>
 </style:page-layout>
 <style:style style:name="NewPage" style:family="paragraph" style:parent-style-name="Heading_20_1">
  <style:paragraph-properties fo:break-before="page"/>
 </style:style>
 <style:style style:name="Bold" style:family="text"><style:text-properties fo:font-weight="bold"/></style:style>
 <style:style style:name="Italic" style:family="text"><style:text-properties fo:font-style="italic"/></style:style>
 <style:style style:name="Table" style:family="table">
  <style:table-properties style:width="17cm" table:align="margins" fo:margin-top="0.2cm" fo:margin-bottom="0.3cm"/>
 </style:style>
 <style:style style:name="Cell" style:family="table-cell">
  <style:table-cell-properties fo:padding="0.08cm" fo:border="0.5pt solid #404040"/>
 </style:style>
 <style:style style:name="HeadCell" style:family="table-cell">
  <style:table-cell-properties fo:padding="0.08cm" fo:background-color="#d9e2f3" fo:border="0.5pt solid #404040"/>
 </style:style>
 <style:style style:name="Picture" style:family="graphic">
  <style:graphic-properties style:wrap="none" style:vertical-pos="top" style:horizontal-pos="center"/>
 </style:style>
</office:automatic-styles>
<office:master-styles>
 <style:master-page style:name="Standard" style:page-layout-name="Page">
  <style:header><text:p>{header}</text:p></style:header>
  <style:footer><text:p>{footer} <text:page-number text:select-page="current">1</text:page-number></text:p></style:footer>
 </style:master-page>
</office:master-styles>
<office:body><office:text>
"""

TAIL = "</office:text></office:body></office:document>\n"


class Writer:
    """The body of one document, a page (or so) at a time."""

    def __init__(self, rng, pictures, title):
        self.rng = rng
        self.pictures = pictures
        self.title = title
        self.parts = []
        self.notes = 0
        self.tables = 0
        self.frames = 0

    def sentence(self, words=None):
        words = words or self.rng.randint(6, 18)
        text = " ".join(self.rng.choice(WORDS) for _ in range(words))
        return escape(text[0].upper() + text[1:] + ".")

    def paragraph(self):
        pieces = []
        for _ in range(self.rng.randint(2, 6)):
            roll = self.rng.random()
            if roll < 0.08:
                pieces.append(f'<text:span text:style-name="Bold">{self.sentence(4)}</text:span>')
            elif roll < 0.14:
                pieces.append(f'<text:span text:style-name="Italic">{self.sentence(5)}</text:span>')
            elif roll < 0.18:
                self.notes += 1
                pieces.append(
                    f'{self.sentence()}<text:note text:id="ftn{self.notes}" text:note-class="footnote">'
                    f'<text:note-citation>{self.notes}</text:note-citation><text:note-body>'
                    f'<text:p text:style-name="Footnote">{self.sentence()}</text:p></text:note-body></text:note>')
            elif roll < 0.20:
                pieces.append(f'<text:a xlink:type="simple" xlink:href="https://www.example.org/'
                              f'{self.rng.choice(WORDS)}">{self.sentence(3)}</text:a>')
            else:
                pieces.append(self.sentence())
        self.parts.append(f'<text:p text:style-name="Standard">{" ".join(pieces)}</text:p>')

    def heading(self, level, new_page=False):
        style = "NewPage" if new_page else f"Heading_20_{level}"
        self.parts.append(f'<text:h text:style-name="{style}" text:outline-level="{level}">'
                          f'{self.sentence(self.rng.randint(2, 6))[:-1]}</text:h>')

    def list(self):
        style = self.rng.choice(["Bullets", "Numbers"])
        items = []
        for _ in range(self.rng.randint(3, 7)):
            inner = ""
            if style == "Bullets" and self.rng.random() < 0.2:
                inner = ('<text:list>' + "".join(
                    f'<text:list-item><text:p>{self.sentence(5)}</text:p></text:list-item>'
                    for _ in range(2)) + '</text:list>')
            items.append(f'<text:list-item><text:p>{self.sentence(8)}</text:p>{inner}</text:list-item>')
        self.parts.append(f'<text:list text:style-name="{style}">{"".join(items)}</text:list>')

    def table(self):
        self.tables += 1
        columns = self.rng.randint(2, 6)
        rows = self.rng.randint(3, 14)

        def cell(style, text):
            return (f'<table:table-cell table:style-name="{style}" office:value-type="string">'
                    f'<text:p>{text}</text:p></table:table-cell>')

        head = "".join(cell("HeadCell", escape(self.rng.choice(WORDS).title())) for _ in range(columns))
        body = []
        for row in range(rows):
            cells = [cell("Cell", escape(self.rng.choice(WORDS).title()))]
            cells += [cell("Cell", f"{self.rng.randint(0, 99999):,}") for _ in range(columns - 1)]
            body.append(f'<table:table-row>{"".join(cells)}</table:table-row>')
        self.parts.append(
            f'<table:table table:name="Table{self.tables}" table:style-name="Table">'
            f'<table:table-column table:number-columns-repeated="{columns}"/>'
            f'<table:table-header-rows><table:table-row>{head}</table:table-row></table:table-header-rows>'
            f'{"".join(body)}</table:table>')

    def picture(self):
        mime, data, width, height = self.rng.choice(self.pictures)
        self.frames += 1
        shown = min(16.0, width / 96 * 2.54)
        if height / width * shown > 9.0:
            shown = 9.0 * width / height
        self.parts.append(
            f'<text:p text:style-name="Standard"><draw:frame draw:style-name="Picture" draw:name="Picture {self.frames}"'
            f' text:anchor-type="as-char" svg:width="{shown:.2f}cm" svg:height="{shown * height / width:.2f}cm">'
            f'<draw:image draw:mime-type="{mime}"><office:binary-data>{b64encode(data).decode()}</office:binary-data>'
            f'</draw:image></draw:frame></text:p>')

    def page(self, first):
        """Roughly a page: a heading, then text with now and then a list, a table, a picture."""
        self.heading(1, new_page=not first)
        for _ in range(self.rng.randint(2, 4)):
            self.paragraph()
        roll = self.rng.random()
        if roll < 0.35:
            self.table()
        elif roll < 0.65:
            self.picture()
        if self.rng.random() < 0.4:
            self.heading(2)
            self.list()
        self.paragraph()

    def document(self, pages):
        for number in range(pages):
            self.page(number == 0)
        font = self.rng.choice(["Liberation Serif", "Liberation Sans"])
        return (HEAD.format(font=font, header=escape(self.title), footer=escape("Page"))
                + "\n".join(self.parts) + TAIL)


def page_count(rng):
    # Most office documents are short; a few run to dozens of pages.
    roll = rng.random()
    if roll < 0.55:
        return rng.randint(1, 3)
    if roll < 0.80:
        return rng.randint(4, 10)
    if roll < 0.93:
        return rng.randint(11, 25)
    return rng.randint(26, 60)


# --- LibreOffice ----------------------------------------------------------------------

class Office:
    """A headless LibreOffice of its own, with a private profile, reached over a pipe."""

    def __init__(self, profile):
        self.pipe = f"varnello-bench-{os.getpid()}"
        command = [SOFFICE, f"-env:UserInstallation={uno.systemPathToFileUrl(profile)}", "--headless",
                   "--invisible", "--nologo", "--norestore", "--nodefault", "--nolockcheck",
                   f"--accept=pipe,name={self.pipe};urp;"]
        local = uno.getComponentContext()
        resolver = local.ServiceManager.createInstanceWithContext(
            "com.sun.star.bridge.UnoUrlResolver", local)
        # Random numbers LibreOffice writes into documents (bookmark names of a table of
        # contents, salts) come from a fixed seed, so that the same folder comes out again.
        self.environment = dict(os.environ, SAL_RAND_REPEATABLE="1")
        self.process = subprocess.Popen(command, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                                        env=self.environment)
        deadline = time.monotonic() + 120
        while True:
            try:
                self.context = resolver.resolve(
                    f"uno:pipe,name={self.pipe};urp;StarOffice.ComponentContext")
                break
            except NoConnectException:
                # A new profile makes LibreOffice ask for a restart (status 81) once.
                if self.process.poll() == 81:
                    self.process = subprocess.Popen(command, stdout=subprocess.DEVNULL,
                                                    stderr=subprocess.DEVNULL, env=self.environment)
                elif self.process.poll() is not None or time.monotonic() > deadline:
                    raise RuntimeError("LibreOffice did not start")
                time.sleep(0.3)
        self.desktop = self.create("com.sun.star.frame.Desktop")

    def create(self, service):
        return self.context.ServiceManager.createInstanceWithContext(service, self.context)

    def convert(self, source, target, filter_name, password=None, prepare=None):
        """Opens source and saves it as target; prepare(document), when given, runs
        between the two."""
        document = self.desktop.loadComponentFromURL(
            uno.systemPathToFileUrl(source), "_blank", 0, (prop("Hidden", True),))
        try:
            if prepare:
                prepare(document)
            arguments = [prop("FilterName", filter_name), prop("Overwrite", True)]
            if password:
                arguments.append(prop("Password", password))
            document.storeToURL(uno.systemPathToFileUrl(target), tuple(arguments))
        finally:
            document.close(True)

    def close(self):
        try:
            self.desktop.terminate()
        except Exception:
            pass
        try:
            self.process.wait(30)
        except subprocess.TimeoutExpired:
            self.process.kill()
            self.process.wait()


FILTERS = {".docx": "MS Word 2007 XML", ".doc": "MS Word 97", ".docm": "MS Word 2007 XML VBA"}


def write(office, work, text, target, password=None, prepare=None):
    """Saves a document given as flat ODF text as target, in the Word format its
    extension names."""
    source = os.path.join(work, "source.fodt")
    with open(source, "w", encoding="utf-8") as file:
        file.write(text)
    office.convert(source, target, FILTERS[os.path.splitext(target)[1]], password, prepare)


def office_extension(rng):
    return ".docx" if rng.random() < 0.6 else ".doc"


def write_documents(office, work, documents, rng, pictures, count, extension=office_extension):
    """COUNT documents of 1 to 60 pages with distinct names; returns their paths and
    their pages in all."""
    made = []
    pages_total = 0
    for number in range(1, count + 1):
        # Distinct output names: a batch converter would overwrite one with the other.
        title = f"{rng.choice(NAMES)} {number:03d}"
        target = os.path.join(documents, title + extension(rng))
        pages = page_count(rng)
        pages_total += pages
        write(office, work, Writer(rng, pictures, title).document(pages), target)
        made.append(target)
        if number % 25 == 0:
            print(f"  {number} of {count} documents", flush=True)
    return made, pages_total


@contextlib.contextmanager
def generation(program, seed):
    """What a folder's generator starts from: FOLDER and COUNT (300 when not given) from
    its command line, FOLDER/documents emptied, a random source of its own, a scratch
    folder and a LibreOffice of its own, both gone again at the end."""
    if len(sys.argv) < 2:
        sys.exit(f"usage: {program} FOLDER [COUNT]")
    folder = os.path.abspath(sys.argv[1])
    count = int(sys.argv[2]) if len(sys.argv) > 2 else 300
    documents = os.path.join(folder, "documents")
    shutil.rmtree(documents, ignore_errors=True)
    os.makedirs(documents)
    work = tempfile.mkdtemp(prefix="varnello-generate-")
    office = Office(os.path.join(work, "profile"))
    try:
        yield folder, count, documents, random.Random(seed), work, office
    finally:
        office.close()
        shutil.rmtree(work, ignore_errors=True)


def main():
    with generation("make_mixed_folder.py", 11) as (folder, count, documents, rng, work, office):
        pictures = make_pictures(office, work, rng)
        made, pages_total = write_documents(office, work, documents, rng, pictures, count)

        bad = []
        # One that asks for a password: no converter may ask, so none can open it.
        target = os.path.join(documents, "Salaries confidential.doc")
        write(office, work, Writer(rng, pictures, "Salaries").document(2), target, password="varnello")
        bad.append(target)
        # Damaged: cut off in the middle, and noise under a Word name.
        for number, original in enumerate(rng.sample(made, 2)):
            with open(original, "rb") as file:
                data = file.read()
            stem, extension = os.path.splitext(os.path.basename(original))
            target = os.path.join(documents, f"{stem} damaged{number}{extension}")
            with open(target, "wb") as file:
                file.write(data[: len(data) * 2 // 5])
            bad.append(target)
        target = os.path.join(documents, "Scan from printer.docx")
        with open(target, "wb") as file:
            file.write(rng.randbytes(48 * 1024))
        bad.append(target)
        with open(os.path.join(folder, "known-bad.txt"), "w", encoding="utf-8") as file:
            file.writelines(os.path.basename(path) + "\n" for path in bad)
        print(f"{count} documents ({pages_total} pages) and {len(bad)} that cannot be opened "
              f"in {documents}")


if __name__ == "__main__":
    main()
