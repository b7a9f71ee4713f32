"""The paragraphs of an RTF file as LibreOffice reads it: text and text colour, for checking saved reports.

LibreOffice (headless, package libreoffice-writer-nogui) converts the file to flat ODF text, whose styles say
each character's colour exactly; its HTML export would fold blanks and wrap lines in the text.
Run as a script to print a file's paragraphs as "RRGGBB<TAB>text" ("auto" for the automatic colour)."""
import os
import pathlib
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET

NS = {
    "office": "urn:oasis:names:tc:opendocument:xmlns:office:1.0",
    "style": "urn:oasis:names:tc:opendocument:xmlns:style:1.0",
    "text": "urn:oasis:names:tc:opendocument:xmlns:text:1.0",
    "fo": "urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0",
}
_UNSET = object()  # a style that says nothing about colour, as opposed to None, the automatic colour


def _q(prefix, name):
    return "{%s}%s" % (NS[prefix], name)


def convert(rtf_path, work=None, fmt="fodt", timeout=120):
    """Converts the file with LibreOffice; returns the converted document's bytes. LibreOffice's profile and
    output go to `work` (kept, e.g. a folder of the test's work folder) or to a temporary folder; parallel
    runs need folders of their own, since LibreOffice locks its profile. A hung conversion is killed."""
    temporary = work is None
    work = tempfile.mkdtemp(prefix="vur-rtf-") if temporary else os.path.abspath(work)
    try:
        os.makedirs(work, exist_ok=True)
        source = os.path.join(work, "report.rtf")
        target = os.path.join(work, "report." + fmt)
        shutil.copyfile(rtf_path, source)
        if os.path.exists(target):
            os.remove(target)  # a stale result would hide a failed conversion
        profile = "-env:UserInstallation=" + pathlib.Path(work, "profile").as_uri()
        argv = ["soffice", "--headless", "--norestore", profile, "--convert-to", fmt, "--outdir", work, source]
        # Its own session, so a timeout ends soffice.bin too, not only the launcher script.
        process = subprocess.Popen(argv, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, start_new_session=True)
        try:
            output, _ = process.communicate(timeout=timeout)
        except subprocess.TimeoutExpired:
            os.killpg(process.pid, signal.SIGKILL)
            process.communicate()
            raise RuntimeError("LibreOffice did not convert %s within %g s" % (rtf_path, timeout))
        if not os.path.exists(target):
            raise RuntimeError("LibreOffice did not convert %s: %s" % (rtf_path, output.decode(errors="replace")))
        with open(target, "rb") as f:
            return f.read()
    finally:
        if temporary:
            shutil.rmtree(work, ignore_errors=True)


class _Styles:
    def __init__(self, root):
        self.named, self.defaults = {}, {}
        for section in ("styles", "automatic-styles"):
            for container in root.findall("office:" + section, NS):
                for s in container.findall("style:style", NS):
                    self.named[(s.get(_q("style", "family")), s.get(_q("style", "name")))] = s
                for s in container.findall("style:default-style", NS):
                    self.defaults[s.get(_q("style", "family"))] = s

    @staticmethod
    def _own(style):
        props = style.find("style:text-properties", NS)
        if props is None:
            return _UNSET
        if props.get(_q("style", "use-window-font-color")) == "true":
            return None
        value = props.get(_q("fo", "color"))
        if value and re.fullmatch(r"#[0-9a-fA-F]{6}", value):
            return tuple(bytes.fromhex(value[1:]))
        return _UNSET

    def colour(self, family, name):
        """The colour the style gives, through its parents and the family's default; _UNSET if none does."""
        seen = set()
        while name and (family, name) in self.named and name not in seen:
            seen.add(name)
            style = self.named[(family, name)]
            own = self._own(style)
            if own is not _UNSET:
                return own
            name = style.get(_q("style", "parent-style-name"))
        default = self.defaults.get(family)
        return self._own(default) if default is not None else _UNSET


def _pieces(element, colour, styles):
    """(text, colour) of the element's content in order; spans set the colour of what they hold."""
    for child in element:
        tag = child.tag
        if tag == _q("text", "tab"):
            yield "\t", colour
        elif tag == _q("text", "s"):
            yield " " * int(child.get(_q("text", "c"), "1")), colour
        elif tag == _q("text", "line-break"):
            yield "\n", colour
        elif tag in (_q("text", "note"), _q("office", "annotation")):
            pass  # not part of the paragraph's visible text
        else:
            inner = colour
            if tag == _q("text", "span"):
                own = styles.colour("text", child.get(_q("text", "style-name")))
                if own is not _UNSET:
                    inner = own
            if child.text:
                yield child.text, inner
            yield from _pieces(child, inner, styles)
        if child.tail:
            yield child.tail, colour


def paragraphs_of_fodt(document):
    """[(text, (r, g, b) or None)] of a flat ODF text document, see paragraphs()."""
    root = ET.fromstring(document)
    styles = _Styles(root)
    body = root.find("office:body/office:text", NS)
    result = []
    for p in body.iter():
        if p.tag not in (_q("text", "p"), _q("text", "h")):
            continue
        colour = styles.colour("paragraph", p.get(_q("text", "style-name")))
        colour = None if colour is _UNSET else colour
        pieces = ([(p.text, colour)] if p.text else []) + list(_pieces(p, colour, styles))
        text = "".join(t for t, _ in pieces)
        first = next((c for t, c in pieces if t), colour)
        result.append((text, first))
    return result


def paragraphs(rtf_path, work=None, timeout=120):
    """The paragraphs of an RTF file as LibreOffice shows them: [(text, (r, g, b) or None)], the colour of
    each paragraph's first character (of the paragraph mark when it is empty); None is the automatic colour,
    which LibreOffice draws in the window text colour (black on white). Tabs are "\\t", line breaks "\\n".
    `work`: LibreOffice's folder, see convert()."""
    return paragraphs_of_fodt(convert(rtf_path, work, "fodt", timeout))


if __name__ == "__main__":
    for text, colour in paragraphs(sys.argv[1]):
        escaped = text.replace("\\", "\\\\").replace("\t", "\\t").replace("\n", "\\n")
        print("%s\t%s" % ("auto" if colour is None else "%02X%02X%02X" % colour, escaped))
