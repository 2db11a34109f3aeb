"""Starts the installed program on a demo database until its form is idle, opens and
closes the company lookup (which writes its column widths), and ends it."""

import os
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from escritorio import Escritorio, FalloEscenario, Programa  # noqa: E402

binario, base, artefactos = sys.argv[1:4]
esc = Escritorio(artefactos)
p = None
try:
    p = Programa(esc, binario, base, "C.UTF-8")
    p.activar()
    # The focus starts on the company code.
    p.teclas("F3")
    consulta = p.esperar_ventana("^Consulta", "la consulta de empresas")
    # Closing writes the widths only after the operator changed one: the first column's
    # edge (at the demo's widths, x 497 on its header) is dragged to the left.
    time.sleep(0.5)
    for x, y in ((497, 37), (480, 37), (440, 37), (400, 37)):
        esc.xdotool("mousemove", "--window", consulta, x, y)
        if x == 497:
            esc.xdotool("mousedown", 1)
        time.sleep(0.1)
    esc.xdotool("mouseup", 1)
    esc.captura("consulta", consulta)
    p.teclas("Escape")
    p.esperar_cierre(consulta, "la consulta de empresas")
except FalloEscenario as e:
    esc.captura("fallo")
    print(f"paquete_arranque: {e}", file=sys.stderr)
    sys.exit(1)
finally:
    if p:
        p.terminar()
    esc.cerrar()
