"""What a window shows, read as a screen reader reads it: through the desktop's accessibility bus.

The desktop (escritorio.py) starts a private session bus and the accessibility bus on it; the
program's Qt speaks to that bus. This module must be imported after the desktop set
DBUS_SESSION_BUS_ADDRESS, since the bindings connect once, on import.
"""

import re

import pyatspi

from escritorio import FalloEscenario, esperar

def _hijos(acc):
    for i in range(acc.childCount):
        try:
            h = acc.getChildAtIndex(i)
        except Exception:  # gone while being read
            continue
        if h is not None:
            yield h


def _visible(acc):
    estado = acc.getState()
    return estado.contains(pyatspi.STATE_SHOWING)


def _recorrer(acc, profundidad=0):
    yield acc
    if profundidad > 40:
        return
    for h in _hijos(acc):
        if _visible(h):
            yield from _recorrer(h, profundidad + 1)


def _texto(acc):
    try:
        t = acc.queryText()
        return t.getText(0, -1)
    except NotImplementedError:
        return None


class Pantalla:
    """The accessible tree of one running program, found by its process."""

    def __init__(self, pid):
        self.pid = pid

    def _aplicacion(self):
        escritorio = pyatspi.Registry.getDesktop(0)
        for app in _hijos(escritorio):
            try:
                if app.get_process_id() == self.pid:
                    return app
            except Exception:
                continue
        return None

    def ventanas(self):
        """(role, name) of each window the program shows now, in the tree's order."""
        app = self._aplicacion()
        if app is None:
            return []
        # Every child of the application is one of its top-level windows (the company form is
        # a plain widget, which reads as a filler rather than a frame).
        return [v for v in _hijos(app) if v.getState().contains(pyatspi.STATE_SHOWING)]

    def titulos(self):
        return [v.name for v in self.ventanas()]

    def ventana(self, titulo, que=None):
        patron = re.compile(titulo)

        def buscar():
            for v in self.ventanas():
                if patron.search(v.name or ""):
                    return v
            return None

        return esperar(buscar, f"el lector de pantalla no encontró {que or titulo} (ve {self.titulos()})")

    def campos(self, titulo="^Empresas$"):
        """Each named text field of the window, by the name a screen reader speaks, with its text."""
        vistos = {}
        for acc in _recorrer(self.ventana(titulo)):
            if acc.getRole() in (pyatspi.ROLE_TEXT, pyatspi.ROLE_ENTRY) and acc.name and acc.name not in vistos:
                vistos[acc.name] = _texto(acc) or ""
        return vistos

    def campo(self, nombre, titulo="^Empresas$"):
        campos = self.campos(titulo)
        if nombre not in campos:
            raise FalloEscenario(f"la ventana no tiene un campo llamado {nombre!r} (tiene {sorted(campos)})")
        return campos[nombre]

    def tabla(self, nombre, titulo="^Empresas$"):
        """The rows of the named table or grid, each a list of its cells' texts."""
        for acc in _recorrer(self.ventana(titulo)):
            if acc.name == nombre and acc.getRole() in (pyatspi.ROLE_TABLE, pyatspi.ROLE_TREE_TABLE):
                t = acc.queryTable()
                return [[t.getAccessibleAt(f, c).name for c in range(t.nColumns)] for f in range(t.nRows)]
        raise FalloEscenario(f"no se encontró la tabla {nombre!r}")

    def linea(self, descripcion, titulo="^Empresas$"):
        """The text of the label a screen reader describes with `descripcion` (the lines under the tabs)."""
        for acc in _recorrer(self.ventana(titulo)):
            if acc.getRole() == pyatspi.ROLE_LABEL and acc.description == descripcion:
                return acc.name or ""
        raise FalloEscenario(f"no se encontró la línea {descripcion!r}")

    def linea_descrita(self, comienzo, titulo="^Empresas$"):
        """(text, description) of the label whose description begins with `comienzo`: a line whose
        description also says why it is a warning."""
        for acc in _recorrer(self.ventana(titulo)):
            if acc.getRole() == pyatspi.ROLE_LABEL and (acc.description or "").startswith(comienzo):
                return acc.name or "", acc.description
        raise FalloEscenario(f"no se encontró la línea {comienzo!r}")

    def etiquetas(self, titulo):
        """The texts of the window's labels, as a screen reader reads them."""
        return [acc.name for acc in _recorrer(self.ventana(titulo)) if acc.getRole() == pyatspi.ROLE_LABEL and acc.name]

    def caja(self, titulo):
        """Title and text of a message box, as read out when it opens."""
        v = self.ventana(titulo, f"la caja {titulo}")
        return v.name, v.description

    def esperar_campo(self, nombre, valor, titulo="^Empresas$"):
        esperar(lambda: self.campo(nombre, titulo) == valor,
                f"el campo {nombre!r} no muestra {valor!r} (muestra {self.campo(nombre, titulo)!r})")

    def solo_estas(self, *titulos):
        """Fails on any window of the program that is not one of `titulos` (regular expressions)."""
        ajenas = [t for t in self.titulos() if not any(re.search(p, t or "") for p in titulos)]
        if ajenas:
            raise FalloEscenario(f"ventanas inesperadas: {ajenas}")
