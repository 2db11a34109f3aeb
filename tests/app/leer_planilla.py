"""Reads back a file written by --exportar and prints it as JSON, each cell
tagged with what the spreadsheet makes of it: v empty, s text, n number,
b yes/no, d date (with its number format)."""
import csv
import datetime
import decimal
import io
import json
import sys

import openpyxl


def celda(c):
    v = c.value
    if v is None:
        return ["v", ""]
    if isinstance(v, bool):
        return ["b", "1" if v else "0"]
    if isinstance(v, (int, float)):
        return ["n", format(decimal.Decimal(repr(v)).normalize(), "f")]
    if isinstance(v, datetime.datetime):
        formato = "%Y-%m-%d" if v.time() == datetime.time(0) else "%Y-%m-%d %H:%M:%S"
        return ["d", v.strftime(formato), c.number_format]
    return ["s", v]


def xlsx(archivo):
    ws = openpyxl.load_workbook(archivo).active
    filas = [[celda(c) for c in fila] for fila in ws.iter_rows()]
    return {"congelada": ws.freeze_panes, "negrita": [bool(c.font.b) for c in ws[1]],
            "anchos": [ws.column_dimensions[c.column_letter].width for c in ws[1]], "filas": filas}


def texto_csv(archivo):
    crudo = open(archivo, "rb").read()
    texto = crudo.decode("utf-8-sig")
    filas = [[["s", v] if v else ["v", ""] for v in fila] for fila in csv.reader(io.StringIO(texto, newline=""))]
    return {"bom": crudo.startswith(b"\xef\xbb\xbf"), "crlf": texto.endswith("\r\n"), "filas": filas}


archivo = sys.argv[1]
print(json.dumps(xlsx(archivo) if archivo.endswith(".xlsx") else texto_csv(archivo)))
