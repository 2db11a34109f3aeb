#!/usr/bin/env python3
"""End-to-end check of MA_Empresas on a real X desktop (Xvfb with openbox).

Each scenario starts the built program on a fresh copy of the demo database, drives it
with key presses and clicks, reads what the window shows as a screen reader reads it (the
accessibility tree, pantalla.py) and checks the database afterwards. Screenshots of every
step stay in the artefacts folder, one folder per scenario.

    e2e_empresas.py --programa build/bin/MA_Empresas --idioma es_AR.UTF-8 \
                    --artefactos build/e2e-artifacts/es_AR [scenario ...]

The README's docs/screenshot.png is logo_cancelado/01-empresa-1.png of a run, and
docs/cambios-de-otro-usuario.png is choque_por_teclado/02-dialogo-elegido.png, and
docs/planilla.png is planilla/01-planilla.png.
"""

import argparse
import os
import shutil
import sqlite3
import subprocess
import sys
import tempfile
import time
import traceback

sys.dont_write_bytecode = True  # nothing written into the source tree
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from escritorio import (Escritorio, FalloEscenario, Programa, copia_del_programa, esperar,  # noqa: E402
                        extension_sqlite)

RAIZ = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))

# Points of the form (820 x 600, its own coordinates) that have no key of their own.
BOTON_BUSCAR_LOGO = (350, 344)
CELDA_VALOR_ZONA = (400, 135)  # custom-fields tab, second row (P_Zona), value column


def codigo15(codigo):
    return codigo.rjust(15)


class Base:
    def __init__(self, ruta):
        self.ruta = ruta

    def consulta(self, sql, *args):
        con = sqlite3.connect(self.ruta, timeout=10)
        # The demo's text columns use the program's collation; Python's sqlite3 loads no
        # extension, so the checks read with an equivalent one (they compare codes only).
        con.create_collation("ma_es", lambda a, b: (a.casefold() > b.casefold()) - (a.casefold() < b.casefold()))
        try:
            return con.execute(sql, args).fetchall()
        finally:
            con.close()

    def empresa(self, codigo, columnas="*"):
        filas = self.consulta(f"SELECT {columnas} FROM P_MA_Empresas WHERE IdEmpresa = ?", codigo15(codigo))
        return filas[0] if filas else None

    def filas_de(self, tabla, empresa):
        return self.consulta(f"SELECT COUNT(*) FROM {tabla} WHERE EMPRESA = ?", empresa)[0][0]


class Contexto:
    def __init__(self, escritorio, binario, idioma, plantilla, carpeta):
        self.esc = escritorio
        self.binario = binario
        self.idioma = idioma
        self.carpeta = carpeta
        self.programas = []
        self.base = Base(os.path.join(carpeta, "demo.sqlite"))
        shutil.copy(plantilla, self.base.ruta)
        self.paso = 0

    def programa(self):
        from pantalla import Pantalla  # once the desktop's own bus is up

        p = Programa(self.esc, self.binario, self.base.ruta, self.idioma)
        self.programas.append(p)
        p.pantalla = Pantalla(p.pid)
        p.activar()
        return p

    def captura(self, que, ventana="root"):
        self.paso += 1
        return self.esc.captura(f"{self.paso:02d}-{que}", ventana)

    def cerrar(self):
        for p in self.programas:
            p.terminar()


LINEA_TABLAS = "Tablas propias de la empresa"
LINEA_AVISO = "Aviso de la última grabación"
PROVINCIA = "Nombre de la provincia"
PADRON = "Padrón de AFIP"


def ver(p, esperado, titulo="^Empresas$"):
    """The window shows these texts, as a screen reader reads them: field name -> text, or the
    description of a line under the tabs -> its text. No other window of the program is up."""
    def muestra():
        campos = p.pantalla.campos(titulo)
        return {k: campos[k] if k in campos else p.pantalla.linea(k, titulo) for k in esperado}

    esperar(lambda: muestra() == esperado, f"la pantalla no muestra {esperado} (muestra {muestra()})")
    p.pantalla.solo_estas(titulo)


def mostrar_empresa(p, codigo):
    """From the browse state: the code over what field 0 shows, Enter."""
    p.teclas("ctrl+a")
    p.escribir(codigo)
    p.teclas("Return")


def responder_si(ctx, p, titulo):
    """Message boxes here default to No: Tab reaches Sí, Space presses it."""
    caja = p.esperar_ventana(titulo)
    leida = p.pantalla.caja(titulo)
    assert leida[1], f"la caja {leida[0]!r} se lee sin su texto"
    ctx.captura("pregunta")
    p.teclas("Tab", "space")
    p.esperar_cierre(caja, titulo)


def borrar_con_f8(ctx, p, codigo):
    p.teclas("F8")
    responder_si(ctx, p, "^Atenci")  # xdotool matches bytes: no accented letter
    esperar(lambda: ctx.base.empresa(codigo) is None, f"la empresa {codigo} sigue en la tabla tras F8 y Sí")


# ---------------------------------------------------------------- scenarios


def inicio_con_foco(ctx):
    """The code typed as soon as the window is up reaches field 0 over its proposed text."""
    p = ctx.programa()
    ctx.captura("inicio")
    p.escribir("4")
    p.teclas("Return")
    ver(p, {"Empresa": "4", "Nombre": "Bodegas Valle de Uco S.A.", "Calle": "Ruta Provincial 89",
            "Localidad": "Tunuyán", LINEA_TABLAS: "Comprobantes 0/8 · Talonarios 0/5 · Ejercicios 0/3"})
    p.teclas("ctrl+a")
    p.escribir("Bodegas Renovadas S.A.")
    ctx.captura("empresa-4-editada")
    p.teclas("F10")
    esperar(lambda: ctx.base.empresa("4", "NombreEmpresa") == ("Bodegas Renovadas S.A.",),
            "F10 no grabó el nombre nuevo de la empresa 4 (¿el código tecleado al iniciar se perdió?)")
    assert ctx.base.empresa("4", "Calle, Localidad") == ("Ruta Provincial 89", "Tunuyán"), \
        "la empresa 4 no se mostró antes de grabar: sus otros campos se perdieron"
    assert ctx.base.consulta("SELECT COUNT(*) FROM P_MA_Empresas")[0][0] == 12, "se creó otra empresa"
    ver(p, {"Empresa": "12", "Nombre": "", "Calle": "", LINEA_TABLAS: ""})  # ready for the next code
    ctx.captura("grabada")


def nueva_empresa_y_siembra(ctx):
    p = ctx.programa()
    p.teclas("F2")
    mostrar_empresa(p, "40")
    ver(p, {"Empresa": "40", "Nombre": "", "Calle": ""})
    p.escribir("Empresa Nueva de Prueba")
    ver(p, {"Empresa": "40", "Nombre": "Empresa Nueva de Prueba"})
    ctx.captura("nueva")
    p.teclas("F10")
    esperar(lambda: ctx.base.empresa("40", "NombreEmpresa") == ("Empresa Nueva de Prueba",),
            "F10 no grabó la empresa nueva 40")
    for tabla in ("V_TA_CPTE", "TA_COMPROBANTES", "MV_EJERCICIOS"):
        plantilla = ctx.base.filas_de(tabla, "")
        assert plantilla > 0, f"{tabla} no tiene filas modelo"
        esperar(lambda: ctx.base.filas_de(tabla, codigo15("40")) == plantilla,
                f"{tabla}: la empresa 40 no recibió sus {plantilla} filas modelo")
    ctx.captura("grabada")


def provincia_con_f3(ctx):
    p = ctx.programa()
    mostrar_empresa(p, "5")
    # Enter left the focus on the name; the province comes seventh in the tab order after it.
    p.teclas(*["Tab"] * 7)
    p.teclas("F3")
    consulta = p.esperar_ventana("^Consulta", "la consulta de provincias")
    p.escribir("Sal")
    campos = p.pantalla.campos("^Consulta")
    assert "Sal" in campos.values(), f"la búsqueda no muestra lo tecleado: {campos}"
    ctx.captura("busqueda")
    p.teclas("Return")
    p.esperar_cierre(consulta, "la consulta de provincias")
    # The choice is confirmed as with Enter: the focus moves on to the next field, the CUIT.
    p.activar()
    p.teclas("ctrl+a")
    p.escribir("30-11111111-8")
    ver(p, {"Empresa": "5", "Provincia": "9", PROVINCIA: "Salta", "CUIT": "30-11111111-8"})
    ctx.captura("elegida")
    p.teclas("F10")
    esperar(lambda: ctx.base.empresa("5", "TRIM(IdProvincia), CUIT") == ("9", "30-11111111-8"),
            "la provincia elegida (Salta, 9) y el CUIT tecleado después no quedaron grabados en la empresa 5")


def borrar_con_f8_si(ctx):
    p = ctx.programa()
    mostrar_empresa(p, "4")
    borrar_con_f8(ctx, p, "4")
    assert ctx.base.empresa("3") is not None and ctx.base.empresa("5") is not None, "F8 borró otra empresa"
    ver(p, {"Empresa": "12", "Nombre": "", "Calle": ""})
    ctx.captura("borrada")


def reporte(ctx):
    """Ctrl+R on a stored company opens its sheet's print preview; Escape closes it."""
    p = ctx.programa()
    mostrar_empresa(p, "1")
    ver(p, {"Empresa": "1", "Nombre": "Distribuidora del Litoral S.A."})
    p.teclas("ctrl+r")
    vista = p.esperar_ventana("^Reporte de la empresa 1$", "la vista previa del reporte")
    leida = p.pantalla.ventana("^Reporte de la empresa 1$", "la vista previa en el lector de pantalla")
    assert leida.name == "Reporte de la empresa 1", f"la vista previa se lee como {leida.name!r}"
    time.sleep(1)  # only for the picture: the preview draws the page after it shows
    ctx.captura("vista-previa", vista)
    p.teclas("Escape")
    p.esperar_cierre(vista, "la vista previa del reporte")
    ver(p, {"Empresa": "1", "Nombre": "Distribuidora del Litoral S.A."})


def renombrar_con_el_logo_intacto(ctx, p, logo, tras):
    """Company 1, still shown with its logo, renamed and saved: the stored logo is the one it had."""
    p.activar()
    ver(p, {"Empresa": "1", "Nombre": "Distribuidora del Litoral S.A."})
    p.teclas("ctrl+a")
    p.escribir("Distribuidora del Litoral SA")
    p.teclas("F10")
    esperar(lambda: ctx.base.empresa("1", "NombreEmpresa") == ("Distribuidora del Litoral SA",),
            f"F10 no grabó la empresa 1 tras {tras}")
    assert ctx.base.empresa("1", "Imagen")[0] == logo, f"{tras} cambió el logo grabado"


def logo_cancelado(ctx):
    p = ctx.programa()
    logo = ctx.base.empresa("1", "Imagen")[0]
    mostrar_empresa(p, "1")
    time.sleep(0.5)  # only for the picture: the README's screenshot is this one
    ctx.captura("empresa-1", p.ventana)
    p.clic(*BOTON_BUSCAR_LOGO)
    dialogo = p.esperar_ventana("^Buscar Archivos$", "el diálogo del logo")
    ctx.captura("dialogo-logo")
    p.teclas("Escape")
    p.esperar_cierre(dialogo, "el diálogo del logo")
    renombrar_con_el_logo_intacto(ctx, p, logo, "cancelar el diálogo")
    ctx.captura("grabada")


def logo_rechazado(ctx):
    """Metafiles that asked for a minute of drawing and for 3.7 GB: each box comes at once,
    the logo stays, and F10 keeps it."""
    p = ctx.programa()
    logo = ctx.base.empresa("1", "Imagen")[0]
    mostrar_empresa(p, "1")
    for semilla, dice in (("wmf_pluma_ancha_rectangulo", "demasiado compleja para dibujarla"),
                          ("wmf_registro_mayor_enorme", "Se leen imágenes BMP, GIF, JPG, PNG y WMF.")):
        archivo = os.path.join(ctx.carpeta, semilla + ".wmf")
        shutil.copy(os.path.join(RAIZ, "fuzz", "corpus", "imagen_fuzz", semilla), archivo)
        p.clic(*BOTON_BUSCAR_LOGO)
        dialogo = p.esperar_ventana("^Buscar Archivos$", "el diálogo del logo")
        p.escribir(archivo)
        p.teclas("Return")
        p.esperar_cierre(dialogo, "el diálogo del logo")
        aviso = p.esperar_ventana("^Aviso al operador!!!$", f"el aviso de {semilla}")
        _, texto = p.pantalla.caja("^Aviso al operador!!!$")
        assert dice in texto, f"el aviso de {semilla} se lee {texto!r}"
        ctx.captura(semilla, aviso)
        p.teclas("Return")
        p.esperar_cierre(aviso, "el aviso")
    ctx.captura("logo-intacto", p.ventana)
    renombrar_con_el_logo_intacto(ctx, p, logo, "un archivo rechazado")
    cambios = ctx.base.consulta("SELECT COUNT(*) FROM MA_EMPRESAS_HISTORIA WHERE IdEmpresa = ? AND Columna = 'Imagen'",
                                codigo15("1"))[0][0]
    assert cambios == 0, "la historia registró un cambio del logo que nadie hizo"
    ctx.captura("grabada")


def grilla_personalizados(ctx):
    p = ctx.programa()
    mostrar_empresa(p, "4")
    p.teclas("alt+p")
    p.clic(*CELDA_VALOR_ZONA)
    p.escribir("Valle Norte")
    ctx.captura("editando")
    p.teclas("Return")
    esperar(lambda: ["Zona", "Valle Norte"] in p.pantalla.tabla("Campos personalizados"),
            f"la grilla no muestra el valor confirmado: {p.pantalla.tabla('Campos personalizados')}")
    p.teclas("F10")
    esperar(lambda: ctx.base.empresa("4", "P_Zona") == ("Valle Norte",),
            "el valor de P_Zona editado en la grilla no quedó grabado")
    assert ctx.base.empresa("4", "P_Rubro") == ("Vitivinicultura",), "la grilla cambió otro campo"
    ctx.captura("grabada")


def importe_en_la_grilla(ctx):
    """An amount typed with its thousands into a MONEY custom column is stored as typed; 1e5 is refused."""
    con = sqlite3.connect(ctx.base.ruta)
    con.create_collation("ma_es", lambda a, b: (a.casefold() > b.casefold()) - (a.casefold() < b.casefold()))
    con.execute("ALTER TABLE P_MA_Empresas ADD COLUMN P_Importe MONEY")
    con.commit()
    con.close()
    coma = ctx.idioma.startswith("es_AR")
    p = ctx.programa()
    mostrar_empresa(p, "4")
    p.teclas("alt+p")
    p.clic(*CELDA_VALOR_ZONA)
    p.teclas("Down")  # the third row: Importe
    # A number the column cannot take: one box, the editor stays, Escape drops it.
    p.escribir("1e5")
    p.teclas("Return")
    caja = p.esperar_ventana("^Aviso al operador", "el aviso del importe rechazado")
    _, texto = p.pantalla.caja("^Aviso al operador")
    assert "Importe" in texto, f"el aviso no nombra el campo: {texto!r}"
    ctx.captura("rechazado")
    p.teclas("Return")
    p.esperar_cierre(caja, "el aviso del importe rechazado")
    time.sleep(0.5)
    assert not p.esc.ventanas_visibles("^Aviso al operador", p.pid), "el aviso volvió a aparecer"
    p.teclas("Escape")
    p.escribir("1.234,56" if coma else "1,234.56")
    ctx.captura("tecleado")
    p.teclas("Return")
    # The cell shows what will be stored, read back in the workstation's convention.
    esperado = ["Importe", "1234,56" if coma else "1234.56"]
    esperar(lambda: esperado in p.pantalla.tabla("Campos personalizados"),
            f"la grilla no muestra {esperado}: {p.pantalla.tabla('Campos personalizados')}")
    ctx.captura("confirmado")
    p.teclas("F10")
    esperar(lambda: ctx.base.empresa("4", "P_Importe") == (1234.56,),
            f"el importe tecleado no quedó grabado como 1234.56: {ctx.base.empresa('4', 'P_Importe')}")
    ctx.captura("grabado")


DIALOGO_AJENO = "^Cambios de otro usuario$"


def dos_programas_en(ctx, codigo):
    """B shows the company first, then A: both edit what they showed."""
    b = ctx.programa()
    mostrar_empresa(b, codigo)
    a = ctx.programa()
    mostrar_empresa(a, codigo)
    return a, b


def cambiar_campo(p, tabs, texto):
    """From the name field (where Enter on the code leaves the focus), `tabs` fields on."""
    if tabs:
        p.teclas(*["Tab"] * tabs)
    p.teclas("ctrl+a")
    p.escribir(texto)


def grabar_y_esperar(ctx, p, condicion, que):
    p.activar()
    p.teclas("F10")
    esperar(condicion, que)


def fusion_sin_choque(ctx):
    """A changes the street and saves; B changed the telephone: B's F10 keeps both, unasked."""
    a, b = dos_programas_en(ctx, "3")
    cambiar_campo(a, 1, "Tucuman 1")
    grabar_y_esperar(ctx, a, lambda: ctx.base.empresa("3", "Calle") == ("Tucuman 1",), "A no grabó la calle")
    b.activar()
    cambiar_campo(b, 9, "(011) 5555-0000")  # the telephone: nine fields after the name in tab order
    ctx.captura("b-cambio-telefono")
    grabar_y_esperar(ctx, b, lambda: ctx.base.empresa("3", "Telefono") == ("(011) 5555-0000",),
                     "B no grabó el teléfono")
    time.sleep(0.5)
    assert not b.esc.ventanas_visibles(DIALOGO_AJENO, b.pid), "B vio el diálogo sin que nada chocara"
    assert ctx.base.empresa("3", "Calle") == ("Tucuman 1",), "la grabación de B deshizo la calle de A"
    ver(b, {LINEA_AVISO: "Se grabó la empresa 3 conservando lo que otro usuario cambió en: Calle."})
    ctx.captura("b-fusionada", b.ventana)


def choque_por_teclado(ctx):
    """Both change the telephone; B settles it in the dialog with keys only and keeps A's street."""
    a, b = dos_programas_en(ctx, "3")
    cambiar_campo(a, 0, "Estudio Pereyra")
    a.teclas(*["Tab"] * 9)
    cambiar_campo(a, 0, "(011) de A")
    grabar_y_esperar(ctx, a, lambda: ctx.base.empresa("3", "Telefono") == ("(011) de A",),
                     "A no grabó el teléfono")
    b.activar()
    cambiar_campo(b, 9, "(011) de B")
    b.teclas("F10")
    dialogo = b.esperar_ventana(DIALOGO_AJENO, "el diálogo de cambios de otro usuario")
    filas = b.pantalla.tabla("Datos que cambiaron", DIALOGO_AJENO)
    assert any(f[0] == "Telefono" and "(011) de A" in f and "(011) de B" in f for f in filas), \
        f"el diálogo no muestra los dos teléfonos: {filas}"
    time.sleep(0.5)  # only for the picture: the README's screenshot is this one
    ctx.captura("dialogo", dialogo)
    # The cursor starts on this screen's value: Left reaches the stored one, Right comes back.
    b.teclas("Return")  # nothing chosen yet: Grabar does nothing
    time.sleep(0.5)
    assert dialogo in b.esc.ventanas_visibles(DIALOGO_AJENO, b.pid), "Enter grabó sin elegir"
    b.teclas("Left", "Right", "space")
    b.pantalla.solo_estas("^Empresas$", DIALOGO_AJENO)
    ctx.captura("dialogo-elegido", dialogo)
    b.teclas("Return")
    b.esperar_cierre(dialogo, "el diálogo de cambios de otro usuario")
    esperar(lambda: ctx.base.empresa("3", "Telefono") == ("(011) de B",), "B eligió su teléfono y no se grabó")
    assert ctx.base.empresa("3", "NombreEmpresa") == ("Estudio Pereyra",), "B deshizo el nombre de A"
    ctx.captura("b-grabo", b.ventana)


def borrada_por_otro(ctx):
    """A deletes company 4 while B shows it; B's F10 asks, Escape keeps it deleted, Enter brings it back."""
    b = ctx.programa()
    mostrar_empresa(b, "4")
    ctx.captura("b-muestra-4")
    a = ctx.programa()
    mostrar_empresa(a, "4")
    borrar_con_f8(ctx, a, "4")
    ctx.captura("a-borro-4")
    for respuesta, tecla in (("cancelar", "Escape"), ("alta", "Return")):
        b.activar()
        b.teclas("F10")
        dialogo = b.esperar_ventana(DIALOGO_AJENO, "el aviso de empresa eliminada por otro usuario")
        dice = " ".join(b.pantalla.etiquetas(DIALOGO_AJENO))
        assert "eliminó la empresa 4" in dice, f"el aviso se lee {dice!r}"
        b.pantalla.solo_estas("^Empresas$", DIALOGO_AJENO)
        ctx.captura(f"b-aviso-{respuesta}")
        b.teclas(tecla)
        b.esperar_cierre(dialogo, "el aviso")
        if respuesta == "cancelar":
            time.sleep(1.0)  # nothing to wait for: the point is that no row appears
            assert ctx.base.empresa("4") is None, "B volvió a crear la empresa 4 aunque canceló"
        else:
            esperar(lambda: ctx.base.empresa("4", "NombreEmpresa") == ("Bodegas Valle de Uco S.A.",),
                    "B la dio de alta nuevamente y la empresa 4 no volvió a grabarse")
            ver(b, {"Nombre": ""})
    ctx.captura("b-grabo")


def otro_escribe_con_la_caja(ctx):
    """F10 fails on its history row; while the box is up another connection writes a voucher
    (the save was rolled back before asking), and Reintentar once the cause is gone stores it."""
    def conexion(espera):
        c = sqlite3.connect(ctx.base.ruta, timeout=espera, isolation_level=None)
        c.create_collation("ma_es", lambda a, b: (a.casefold() > b.casefold()) - (a.casefold() < b.casefold()))
        return c

    con = conexion(10)
    con.executescript("CREATE TABLE falla (x INTEGER); INSERT INTO falla VALUES (1);"
                      "CREATE TRIGGER sin_historia BEFORE INSERT ON MA_EMPRESAS_HISTORIA "
                      "WHEN EXISTS (SELECT 1 FROM falla) BEGIN SELECT RAISE(ABORT, 'historia rechazada'); END;")
    con.close()
    p = ctx.programa()
    mostrar_empresa(p, "4")
    p.teclas("ctrl+a")
    p.escribir("Bodegas Reintentadas S.A.")
    p.teclas("F10")
    caja = p.esperar_ventana("Actualizar Datos", "la caja del error de la historia")
    titulo, texto = p.pantalla.caja("Actualizar Datos")
    assert texto, f"la caja {titulo!r} se lee sin su texto"
    ctx.captura("caja")
    otra = conexion(2)
    try:
        otra.execute("INSERT INTO V_TA_CPTE (EMPRESA, Codigo, Talonario) VALUES ('otro programa', '   Z', 1)")
        otra.execute("DELETE FROM falla")
    except sqlite3.OperationalError as e:
        raise FalloEscenario(f"otra conexión no pudo escribir mientras la caja esperaba: {e}")
    finally:
        otra.close()
    assert ctx.base.empresa("4", "NombreEmpresa") != ("Bodegas Reintentadas S.A.",), "se grabó sin su historia"
    p.teclas("Return")  # Reintentar, the default
    p.esperar_cierre(caja, "la caja del error")
    esperar(lambda: ctx.base.empresa("4", "NombreEmpresa") == ("Bodegas Reintentadas S.A.",),
            "Reintentar no grabó la empresa 4")
    assert ctx.base.consulta("SELECT COUNT(*) FROM MA_EMPRESAS_HISTORIA WHERE IdEmpresa = ?",
                             codigo15("4"))[0][0] > 0, "se grabó sin su historia"
    ver(p, {"Empresa": "12", "Nombre": ""})  # stored: back to browsing, as after any save
    ctx.captura("grabada")


def padron(ctx):
    """AFIP's register holds company 4's CUIT under another name: confirming that CUIT shows the
    line beside it in warning, with the reason in its description; company 1's is plain."""
    con = sqlite3.connect(ctx.base.ruta)
    con.executescript(
        "CREATE TABLE MA_PADRON_AFIP (CUIT INTEGER PRIMARY KEY, DENOMINACION VARCHAR(30) NOT NULL, "
        "GANANCIAS CHAR(2), IVA CHAR(2), MONOTRIBUTO CHAR(2), SOCIEDAD CHAR(1), EMPLEADOR CHAR(1), "
        "ACTIVIDAD CHAR(2));"
        "CREATE TABLE MA_PADRON_AFIP_DATOS (FECHA_PADRON DATETIME, LINEAS INTEGER, MAL_FORMADAS INTEGER, "
        "IMPORTADO DATETIME);"
        "INSERT INTO MA_PADRON_AFIP VALUES (30712345671, 'DISTRIBUIDORA DEL LITORAL SA', 'AC', 'AC', 'NI', "
        "'N', 'S', '00');"
        "INSERT INTO MA_PADRON_AFIP VALUES (30501122331, 'VINOS DEL SUR SRL', 'AC', 'AC', 'NI', 'N', 'S', "
        "'00');"
        "INSERT INTO MA_PADRON_AFIP_DATOS VALUES ('2026-09-05', 2, 0, '2026-09-06');")
    con.close()
    p = ctx.programa()
    mostrar_empresa(p, "1")
    ver(p, {"Nombre": "Distribuidora del Litoral S.A.",
            PADRON: "AFIP: DISTRIBUIDORA DEL LITORAL SA · IVA responsable inscripto · padrón del 05/09/2026"})
    p.teclas("alt+m")  # back to the code
    mostrar_empresa(p, "4")
    p.teclas(*["Tab"] * 8)  # from the name to the CUIT
    p.teclas("ctrl+a", "BackSpace", "Return")
    ver(p, {"CUIT": "", PADRON: ""})
    p.teclas("shift+Tab")
    p.escribir("30-50112233-1")
    p.teclas("Return")

    def linea():
        return p.pantalla.linea_descrita(PADRON + ": ")

    esperar(lambda: linea()[0] == "AFIP: VINOS DEL SUR SRL · IVA responsable inscripto · padrón del 05/09/2026",
            f"la línea del padrón no avisa del nombre de la empresa 4 (se lee {linea()})")
    assert "a nombre de VINOS DEL SUR SRL" in linea()[1], f"el aviso no dice por qué: {linea()[1]!r}"
    p.pantalla.solo_estas("^Empresas$")  # warned, no box
    ctx.captura("aviso-del-padron")
def planilla(ctx):
    """Ctrl+P while browsing: every company in a sheet; the name typed finds one, Enter shows it."""
    p = ctx.programa()
    p.teclas("ctrl+p")
    hoja = p.esperar_ventana("^Planilla de Empresas", "la planilla")
    p.escribir("bodegas")  # the search box over the names has the focus
    esperar(lambda: p.pantalla.campos("^Planilla").get("Buscar en Nombre") == "bodegas",
            f"la búsqueda no muestra lo tecleado: {p.pantalla.campos('^Planilla')}")
    ctx.captura("planilla", hoja)
    p.teclas("Return")
    p.esperar_cierre(hoja, "la planilla")
    ver(p, {"Empresa": "4", "Nombre": "Bodegas Valle de Uco S.A.", "Localidad": "Tunuyán"})
    ctx.captura("empresa-4")


ESCENARIOS = {
    "inicio_con_foco": inicio_con_foco,
    "nueva_empresa_y_siembra": nueva_empresa_y_siembra,
    "provincia_con_f3": provincia_con_f3,
    "borrar_con_f8_si": borrar_con_f8_si,
    "reporte": reporte,
    "logo_cancelado": logo_cancelado,
    "logo_rechazado": logo_rechazado,
    "grilla_personalizados": grilla_personalizados,
    "importe_en_la_grilla": importe_en_la_grilla,
    "borrada_por_otro": borrada_por_otro,
    "fusion_sin_choque": fusion_sin_choque,
    "choque_por_teclado": choque_por_teclado,
    "otro_escribe_con_la_caja": otro_escribe_con_la_caja,
    "padron": padron,
    "planilla": planilla,
}


def main():
    arg = argparse.ArgumentParser()
    arg.add_argument("--programa", required=True)
    arg.add_argument("--idioma", default="C")
    arg.add_argument("--artefactos", required=True)
    arg.add_argument("escenarios", nargs="*")
    a = arg.parse_args()
    elegidos = a.escenarios or list(ESCENARIOS)
    artefactos = os.path.abspath(a.artefactos)
    shutil.rmtree(artefactos, ignore_errors=True)

    faltan = [h for h in ("Xvfb", "openbox", "xdotool", "xprop", "import", "sqlite3") if not shutil.which(h)]
    if faltan:
        print(f"faltan {', '.join(faltan)}: scripts/setup.sh los instala")
        return 1
    trabajo = tempfile.mkdtemp(prefix="ma_e2e.")
    fallos = []
    try:
        binario = copia_del_programa(os.path.abspath(a.programa), os.path.join(trabajo, "programa"))
        plantilla = os.path.join(trabajo, "demo.sqlite")
        subprocess.run(["bash", os.path.join(RAIZ, "demo", "create_sqlite.sh"), plantilla,
                        extension_sqlite(os.path.abspath(a.programa))], check=True, stdout=subprocess.DEVNULL)
        esc = Escritorio(artefactos)
        try:
            for nombre in elegidos:
                carpeta = os.path.join(artefactos, nombre)
                os.makedirs(carpeta)
                esc.carpeta = carpeta
                ctx = Contexto(esc, binario, a.idioma, plantilla, carpeta)
                inicio = time.monotonic()
                try:
                    ESCENARIOS[nombre](ctx)
                    print(f"ok    {nombre} ({time.monotonic() - inicio:.1f} s)")
                except (FalloEscenario, AssertionError) as e:
                    fallos.append(nombre)
                    ctx.captura("fallo")
                    print(f"FALLO {nombre}: {e}")
                    print(f"      ventanas a la vista: {esc.titulos_visibles()}")
                    print(f"      capturas: {carpeta}")
                except Exception:
                    fallos.append(nombre)
                    traceback.print_exc()
                finally:
                    ctx.cerrar()
                    registro = os.path.join(os.path.dirname(binario), "VMERR.LOG")
                    if os.path.exists(registro):
                        shutil.move(registro, os.path.join(carpeta, "VMERR.LOG"))
        finally:
            esc.cerrar()
    finally:
        shutil.rmtree(trabajo, ignore_errors=True)
    print(f"{len(elegidos) - len(fallos)} de {len(elegidos)} escenarios bien ({a.idioma}); capturas en {artefactos}")
    return 1 if fallos else 0


if __name__ == "__main__":
    sys.exit(main())
