"""A private X desktop (Xvfb and openbox) and the program driven on it through xdotool.

Everything an operator does goes through the X server as real key presses and clicks;
every wait polls for a window or a condition with a time limit.
"""

import os
import shutil
import signal
import subprocess
import time

ESPERA = 15.0  # seconds for a window, a dialog or a database change to show up


class FalloEscenario(Exception):
    pass


def esperar(condicion, que, limite=ESPERA, paso=0.1):
    fin = time.monotonic() + limite
    while True:
        valor = condicion()
        if valor:
            return valor
        if time.monotonic() > fin:
            raise FalloEscenario(f"después de {limite:.0f} s: {que}")
        time.sleep(paso)


class Escritorio:
    """Xvfb on a free display with openbox managing its windows."""

    def __init__(self, carpeta):
        self.carpeta = carpeta  # where captures go; the runner points it at each scenario's folder
        leer, escribir = os.pipe()
        self.xvfb = subprocess.Popen(
            ["Xvfb", "-displayfd", str(escribir), "-screen", "0", "1280x1024x24", "-nolisten", "tcp"],
            pass_fds=(escribir,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(escribir)
        numero = b""
        with os.fdopen(leer, "rb") as f:
            while not numero.endswith(b"\n"):
                trozo = f.read(1)
                if not trozo:
                    raise FalloEscenario("Xvfb no arrancó")
                numero += trozo
        self.entorno = dict(os.environ)
        self.entorno["DISPLAY"] = ":" + numero.decode().strip()
        # The suite's runner asks Qt for the offscreen platform; here the program meets X.
        self.entorno["QT_QPA_PLATFORM"] = "xcb"
        self.wm = subprocess.Popen(["openbox", "--sm-disable"], env=self.entorno,
                                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        esperar(self._hay_gestor, "openbox no tomó la pantalla")
        self._bus_de_accesibilidad()

    def _bus_de_accesibilidad(self):
        """A session bus of its own with the accessibility bus on it: the screen is read as a
        screen reader reads it, and no desktop session of the machine's is touched."""
        self.bus = subprocess.Popen(["dbus-daemon", "--session", "--nofork", "--print-address=1"],
                                    stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
        direccion = self.bus.stdout.readline().strip()
        if not direccion:
            raise FalloEscenario("dbus-daemon no arrancó")
        self.entorno["DBUS_SESSION_BUS_ADDRESS"] = direccion
        os.environ["DBUS_SESSION_BUS_ADDRESS"] = direccion  # for this process's reader
        # Qt speaks to the accessibility bus only when asked to, or when a reader is running.
        self.entorno["QT_LINUX_ACCESSIBILITY_ALWAYS_ON"] = "1"
        self.entorno.pop("NO_AT_BRIDGE", None)
        self.atspi = subprocess.Popen(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"],
                                      env=self.entorno, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def _hay_gestor(self):
        r = subprocess.run(["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"], env=self.entorno,
                           capture_output=True, text=True)
        return "window id" in r.stdout

    def cerrar(self):
        for p in (self.wm, self.atspi, self.bus, self.xvfb):
            p.terminate()
            try:
                p.wait(5)
            except subprocess.TimeoutExpired:
                p.kill()

    def xdotool(self, *args, limite=ESPERA):
        try:
            r = subprocess.run(["xdotool", *map(str, args)], env=self.entorno, capture_output=True,
                               text=True, timeout=limite)
        except subprocess.TimeoutExpired:
            raise FalloEscenario(f"xdotool {' '.join(map(str, args))}: sin respuesta en {limite:.0f} s")
        return r.stdout.split()

    def ventanas_visibles(self, nombre=".", pid=None):
        args = ["search", "--all", "--onlyvisible"]
        if pid:
            args += ["--pid", pid]
        return self.xdotool(*args, "--name", nombre)

    def titulos_visibles(self):
        titulos = []
        for w in self.ventanas_visibles():
            nombre = subprocess.run(["xdotool", "getwindowname", w], env=self.entorno,
                                    capture_output=True, text=True).stdout.strip()
            if nombre:
                titulos.append(nombre)
        return titulos

    def captura(self, nombre, ventana="root"):
        os.makedirs(self.carpeta, exist_ok=True)
        ruta = os.path.join(self.carpeta, nombre + ".png")
        subprocess.run(["import", "-window", str(ventana), ruta], env=self.entorno,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=ESPERA)
        return ruta


class Programa:
    """One running instance of the program, on its own copy of the database."""

    def __init__(self, escritorio, binario, base, idioma):
        self.esc = escritorio
        entorno = dict(escritorio.entorno)
        entorno["LANG"] = entorno["LC_ALL"] = idioma
        parametros = f"@Server=SQLITE;@DbName={base};@Usuario=admin;@Password=;"
        self.proceso = subprocess.Popen([binario, parametros], env=entorno, cwd=os.path.dirname(binario),
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.pid = self.proceso.pid
        self.ventana = self.esperar_ventana("^Empresas$", que="la ventana Empresas")

    def esperar_ventana(self, titulo, que=None):
        def buscar():
            if self.proceso.poll() is not None:
                raise FalloEscenario(f"el programa terminó (código {self.proceso.returncode})")
            v = self.esc.ventanas_visibles(titulo, self.pid)
            return v[-1] if v else None

        return esperar(buscar, f"no apareció {que or titulo}")

    def esperar_cierre(self, ventana, que):
        esperar(lambda: ventana not in self.esc.ventanas_visibles(pid=self.pid), f"no se cerró {que}")

    def activar(self):
        self.esc.xdotool("windowactivate", "--sync", self.ventana)

    def teclas(self, *teclas):
        self.esc.xdotool("key", "--delay", 60, *teclas)

    def escribir(self, texto):
        self.esc.xdotool("type", "--delay", 40, texto)

    def clic(self, x, y):
        """Left click at a point of the form, in the form's own coordinates."""
        self.esc.xdotool("mousemove", "--window", self.ventana, x, y, "click", 1)

    def terminar(self):
        if self.proceso.poll() is None:
            self.proceso.send_signal(signal.SIGTERM)
            try:
                self.proceso.wait(5)
            except subprocess.TimeoutExpired:
                self.proceso.kill()
                self.proceso.wait()


def copia_del_programa(binario, carpeta):
    """The program writes its log and definitions beside itself: each run gets its own folder."""
    os.makedirs(carpeta, exist_ok=True)
    destino = os.path.join(carpeta, os.path.basename(binario))
    shutil.copy2(binario, destino)
    # Its SQLite extension goes with it, as it would be installed.
    shutil.copy2(extension_sqlite(binario), carpeta)
    return destino


def extension_sqlite(binario):
    return os.path.join(os.path.dirname(binario), "ma_sqlite_text.so")
