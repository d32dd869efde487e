#!/usr/bin/env python3
"""Writes word lists in exports/ as other trainers export them, for the import to read.

Run from this folder: ./make_exports.py. What Tallyfold must make of each file is checked by
tests/app/text_import_test.cpp.

- anki-notes-html.txt: Anki's "Notes in Plain Text" with every column it can add (guid, note
  type, deck, tags) and "Include HTML and media references" on: header lines, then one note
  per line, tab-separated, a field quoted where it holds a quote, a tab or a line break.
- anki-notes-plain.txt: the same export with HTML off and no extra columns.
- quizlet.txt: Quizlet's export with its defaults: term, a tab, definition, one per line, as
  copied into a text file on Windows (CRLF line ends, no end of line after the last).
"""
import os

HERE = os.path.dirname(os.path.abspath(__file__))

# Anki's note ids: ten characters of its base-91 alphabet.
GUIDS = ["f]N0~p{Qx!", "b$X3:mK@r=", "Oq*7]Lc&v9", "h%2wT<E+u;", "Z5!nR8?yD[",
         "k^4)Jm`sW1", "A.6gP|Fz-H", "c~0>Ye/Bq3"]

# (front, back, tags) as Anki stores them: HTML, with the entities its editor writes.
NOTES_HTML = [
    ("<b>der</b> Tisch", "the table", "noun"),
    ("das Bett", "the&nbsp;bed; the cot", "noun"),
    ("die T&uuml;r<br>", "the door", "noun"),
    ("<div>gehen</div><div>ging, gegangen</div>", "to go", "verb irregular"),
    ('sagen: "Hallo"', 'to say "hello"', "verb"),
    ("der Apfel", "the apple<br>the apple tree's fruit", ""),
    ("<b>der</b> Tisch", "the table", "noun duplicate"),
    ("leer", "", "marked"),
]

# (front, back) of the same deck exported without HTML.
NOTES_PLAIN = [
    ("der Tisch", "the table"),
    ("das Bett", "the bed; the cot"),
    ("die Tür", "the door"),
    ('sagen: "Hallo"', 'to say "hello"'),
    ("Schrank\tKasten", "cupboard"),
]

QUIZLET = [
    ("la maison", "the house"),
    ("le chien", "the dog"),
    ("l'école", "the school"),
    ("être; avoir", "to be; to have"),
    ("привет", "hello"),
]


def anki_field(text):
    """Quotes a field as Anki's writer does: only where it holds a quote, tab or line break."""
    if any(c in text for c in '"\t\r\n'):
        return '"' + text.replace('"', '""') + '"'
    return text


def anki_notes_html():
    lines = ["#separator:tab", "#html:true", "#guid column:1", "#notetype column:2",
             "#deck column:3", "#tags column:6"]
    for guid, (front, back, tags) in zip(GUIDS, NOTES_HTML):
        fields = [guid, "Basic", "German::Home", front, back, tags]
        lines.append("\t".join(anki_field(f) for f in fields))
    return "".join(line + "\n" for line in lines)


def anki_notes_plain():
    lines = ["#separator:tab", "#html:false"]
    for front, back in NOTES_PLAIN:
        lines.append(anki_field(front) + "\t" + anki_field(back))
    return "".join(line + "\n" for line in lines)


def quizlet():
    return "\r\n".join(term + "\t" + definition for term, definition in QUIZLET)


FILES = {
    "anki-notes-html.txt": anki_notes_html(),
    "anki-notes-plain.txt": anki_notes_plain(),
    "quizlet.txt": quizlet(),
}

if __name__ == "__main__":
    os.makedirs(os.path.join(HERE, "exports"), exist_ok=True)
    for name, text in FILES.items():
        with open(os.path.join(HERE, "exports", name), "wb") as out:
            out.write(text.encode("utf-8"))
