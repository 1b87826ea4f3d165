# SPDX-License-Identifier: GPL-3.0-or-later
"""Printing a sheet to PDF through Qt's print dialog, and the cancelled
print, as both programs' walks do them."""
import os
import subprocess

from access import find, find_all, gone, qt_button, texts, wait_for, window
from xinput import click, type_into


def print_to_pdf(desk, app, path, cancel=False):
    """Answers Qt's print dialog: the PDF printer, the output file, then Print
    or Cancel. The buttons are checked to read Japanese on the printing run."""
    dialog = window(app, role="dialog")
    what = None if cancel else "the print dialog's %s button"
    ok = qt_button(desk, dialog, "印刷", "Print", what and what % "Print")
    no = qt_button(desk, dialog, "キャンセル", "Cancel", what and what % "Cancel")
    printer = find(dialog, role="combo box")
    pdf = ("PDF ファイルに出力", "Print to File (PDF)")
    if printer.name not in pdf:
        click(printer)
        click(next(i for i in find_all(printer, role="list item") if i.name in pdf))
    type_into(find(dialog, role="text"), path)
    click(no if cancel else ok)
    wait_for(lambda: gone(dialog), "the print dialog to close")


def pdf_pages(path):
    out = subprocess.run(["pdftotext", "-layout", path, "-"], capture_output=True, text=True,
                         check=True, timeout=30).stdout
    return out.split("\f")[:-1]


def print_sheet(desk, app, button, path):
    """The print button, Yes to its question (both answers checked to read
    Japanese), then the PDF printer through the print dialog."""
    click(button)
    ask = window(app, role="alert")
    qt_button(desk, ask, "いいえ", "No", "the print question's No button")
    click(qt_button(desk, ask, "はい", "Yes", "the print question's Yes button"))
    print_to_pdf(desk, app, path)


def cancelled_print(desk, app, main, button, sheet, settled):
    """The print button, Yes, then Cancel in the print dialog: no file, the
    earlier sheet left alone, and every text of the window as it was once
    settled(texts before) says the message line is back."""
    before = texts(main)
    printed = os.stat(sheet).st_mtime_ns
    click(button)
    click(qt_button(desk, window(app, role="alert"), "はい", "Yes"))
    other = os.path.join(os.path.dirname(sheet), "cancelled.pdf")
    print_to_pdf(desk, app, other, cancel=True)
    wait_for(lambda: settled(before), "the message line back")
    desk.check(not os.path.exists(other) and os.stat(sheet).st_mtime_ns == printed,
               "Cancel prints nothing",
               "new file: %s, earlier sheet rewritten: %s"
               % (os.path.exists(other), os.stat(sheet).st_mtime_ns != printed))
    desk.equal(texts(main), before, "Cancel leaves the window as it was")
