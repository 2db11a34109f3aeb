#include "lookup/ArchivoDefiniciones.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include "platform/core/Error.h"
#include "platform/services/Cp1252.h"

namespace mascaras {
namespace {

void Campo(QByteArray& destino, const QString& texto, int largo) {
  QByteArray b = HaciaCp1252(texto).left(largo);
  b.append(QByteArray(largo - b.size(), ' '));
  destino.append(b);
}

}  // namespace

QByteArray Codificar(const RegistroMascara& r) {
  QByteArray b;
  b.reserve(LargoRegistro);
  Campo(b, r.Titulo, LargoTitulo);
  Campo(b, r.Tabla, LargoTabla);
  Campo(b, r.Columnas, LargoColumnas);
  Campo(b, r.Condicion, LargoCondicion);
  b.append("\r\n");
  return b;
}

RegistroMascara Decodificar(const QByteArray& registro) {
  RegistroMascara r;
  int pos = 0;
  auto sig = [&](int largo) {
    QString t = DesdeCp1252(registro.mid(pos, largo));
    pos += largo;
    return t;
  };
  r.Titulo = sig(LargoTitulo);
  r.Tabla = sig(LargoTabla);
  r.Columnas = sig(LargoColumnas);
  r.Condicion = sig(LargoCondicion);
  return r;
}

QVector<RegistroMascara> Leer(const QString& ruta) {
  QFile f(ruta);
  if (!f.open(QIODevice::ReadOnly)) return {};
  return Registros(f.readAll());
}

QVector<RegistroMascara> Registros(const QByteArray& todo) {
  QVector<RegistroMascara> salida;
  const int enteros = static_cast<int>(todo.size() / LargoRegistro);
  salida.reserve(enteros);
  for (int i = 0; i < enteros; ++i)
    salida.push_back(Decodificar(todo.mid(qsizetype(i) * LargoRegistro, LargoRegistro)));
  return salida;
}

bool Entero(const QString& ruta) {
  const QFileInfo info(ruta);
  return info.isFile() && info.size() > 0 && info.size() % LargoRegistro == 0;
}

void Agregar(const QString& ruta, const QVector<RegistroMascara>& registros) {
  const auto fallo = [&] {
    return ado::Failure(75, QStringLiteral("Error de acceso a la ruta o el archivo: ") + ruta);
  };
  QByteArray todo;
  if (QFile::exists(ruta)) {
    QFile actual(ruta);
    if (!actual.open(QIODevice::ReadOnly)) throw fallo();
    todo = actual.readAll();
    // Record number (length / 1202) + 1: a partial tail record is overwritten.
    todo.truncate((todo.size() / LargoRegistro) * LargoRegistro);
  }
  for (const RegistroMascara& r : registros) todo += Codificar(r);
  QSaveFile f(ruta);
  if (!f.open(QIODevice::WriteOnly) || f.write(todo) != todo.size() || !f.commit()) throw fallo();
}

QVector<RegistroMascara> PorDefecto() {
  auto r = [](const char* t, const char* tabla, const char* cols) {
    return RegistroMascara{QString::fromLatin1(t), QString::fromLatin1(tabla), QString::fromLatin1(cols), {}};
  };
  return {
      r("ARTICULOS", "V_MA_ARTICULOS", "|DESCRIPCION|IDARTICULO|"),
      r("CLIENTES", "VT_CLIENTES", "|RAZON_SOCIAL|CODIGO|CONTACTO|"),
      r("PROVEEDORES", "VT_PROVEEDORES", "|RAZON_SOCIAL|CODIGO|"),
      r("CONTACTOS", "MA_CONTACTOS", "|Nombre_y_Apellido|Domicilio|Localidad|Telefono|"),
      r("VENDEDORES", "V_TA_VENDEDORES", "|NOMBRE|IDVENDEDOR|"),
      r("TECNICOS", "V_TA_TECNICOS", "|NOMBRE|IDTECNICO|"),
      r("MANTENIMIENTOS", "V_MA_MANTENIMIENTOS", "|DESCRIPCION|CODIGO|"),
  };
}

}  // namespace mascaras
