#!/usr/bin/env bash
# Builds the Debian package, installs it, starts the installed program as an
# unprivileged user on a demo database made by the installed creator, checks that
# the files it writes went to that user's data folder, and removes the package.
# Run as root (CI): bash scripts/paquete.sh [build folder]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
paquete=ma-empresas

make package BUILD="$build"
deb=$(ls -t "$build"/${paquete}_*.deb | head -n1)
echo "Paquete: $deb"
# Debian's own checks of a package: no error and no warning is let through.
lintian --fail-on error,warning --tag-display-limit 0 "$deb"
dpkg-deb --info "$deb" | sed -n '/Depends/p'

trabajo=$(mktemp -d /tmp/ma-paquete.XXXXXX)
limpiar() {
  dpkg -P "$paquete" >/dev/null 2>&1 || true
  rm -rf "$trabajo"
}
trap limpiar EXIT

# dpkg leaves missing dependencies unconfigured; apt brings them and finishes.
dpkg -i "$deb" || DEBIAN_FRONTEND=noninteractive apt-get install -f -y -qq </dev/null
dpkg-query -W -f='${Status}\n' "$paquete" | grep -q "install ok installed"
for f in /usr/bin/MA_Empresas /usr/bin/MA_Empresas-demo /usr/lib/MA_Empresas/sqlite/ma_sqlite_text.so \
  /usr/share/applications/MA_Empresas.desktop /usr/share/icons/hicolor/64x64/apps/MA_Empresas.png \
  /usr/share/MA_Empresas/demo/schema.sql; do
  [ -e "$f" ] || { echo "paquete.sh: falta $f" >&2; exit 1; }
done
if command -v desktop-file-validate >/dev/null; then desktop-file-validate /usr/share/applications/MA_Empresas.desktop; fi
# Docker-style images may exclude /usr/share/man from installs: check the page where it landed.
if [ -e /usr/share/man/man1/MA_Empresas.1.gz ] && command -v man >/dev/null; then
  MANWIDTH=80 man -l /usr/share/man/man1/MA_Empresas.1.gz >"$trabajo/man.txt"
  grep -q "XDG_DATA_HOME" "$trabajo/man.txt"
fi

# As root every folder can be written: the program runs as nobody, with a home of its own.
chmod 755 "$trabajo"
casa=$trabajo/casa
mkdir -p "$casa"
cp tests/e2e/escritorio.py scripts/paquete_arranque.py "$trabajo/"
chown nobody:nogroup "$casa"
como_nadie() {
  setpriv --reuid=nobody --regid=nogroup --clear-groups \
    env -i HOME="$casa" PATH=/usr/bin:/bin LANG=C.UTF-8 "$@" </dev/null
}
como_nadie MA_Empresas-demo "$casa/demo.sqlite"
como_nadie python3 "$trabajo/paquete_arranque.py" /usr/bin/MA_Empresas "$casa/demo.sqlite" "$casa/capturas" || {
  cp -r "$casa/capturas" "$build/paquete-capturas" 2>/dev/null || true
  exit 1
}

datos=$casa/.local/share/MA_Empresas
for f in consultas.vmt CONSULTASLEN.VMT; do
  [ -s "$datos/$f" ] || { echo "paquete.sh: el programa no escribió $datos/$f" >&2; ls -la "$datos" >&2 || true; exit 1; }
  [ ! -e "/usr/bin/$f" ] || { echo "paquete.sh: /usr/bin/$f no debía existir" >&2; exit 1; }
done
echo "Archivos del usuario: $(ls "$datos" | tr '\n' ' ')"

dpkg -P "$paquete"
if dpkg-query -W -f='${Status}\n' "$paquete" 2>/dev/null | grep -q "ok installed"; then
  echo "paquete.sh: el paquete sigue instalado" >&2
  exit 1
fi
for f in /usr/bin/MA_Empresas /usr/bin/MA_Empresas-demo /usr/lib/MA_Empresas /usr/share/MA_Empresas; do
  [ ! -e "$f" ] || { echo "paquete.sh: $f quedó después de quitar el paquete" >&2; exit 1; }
done
echo "Paquete instalado, probado y quitado."
