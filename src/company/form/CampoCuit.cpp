#include "company/form/CampoCuit.h"

#include "company/rules/Cuit.h"
#include "db/DB_Dll.h"
#include "db/TextoSql.h"
#include "platform/client/Recordset.h"
#include "platform/services/Operador.h"
#include "platform/services/Utilidades.h"

namespace campocuit {
namespace {

const QString kTitulo = QStringLiteral("Aviso al operador...");

QString EnColumna(const QString& formateado, int largo) {
  return largo > 0 && largo < formateado.size() ? Cuit::SoloDigitos(formateado) : formateado;
}

// What the operator decides about a wrong CUIT: the text to keep.
QString Corregir(const QString& texto, const Cuit::Analisis& a, int largo) {
  const QString mensaje = Cuit::Mensaje(a);
  if (a.corregido.isEmpty()) {
    ElOperador().MsgBox(mensaje, vb::Exclamation, kTitulo);
    return texto;
  }
  return ElOperador().MsgBox(mensaje, vb::YesNo + vb::Exclamation, kTitulo) == vb::Yes
             ? EnColumna(a.corregido, largo)
             : texto;
}

// When several hold it, whichever the database finds first is named: one is
// enough to send the operator looking, and no sort is paid on a big table.
void AvisarDuplicado(const QString& digitos, const QString& tabla, const QString& codigo) {
  ado::Recordset rs;
  if (DB_Dll::Instancia().ComprobarEnTabla(tabla, QString(), QStringLiteral("CUIT"), &rs, {},
                                           CondicionDuplicado(digitos, codigo)) != DB_Dll::Existencia::Existe)
    return;
  auto& u = Utilidades::Compartido();
  const QString otra = u.NuloATexto(rs.Fields(QStringLiteral("IdEmpresa")).GetValue()).trimmed();
  const QString nombre = u.NuloATexto(rs.Fields(QStringLiteral("NombreEmpresa")).GetValue()).trimmed();
  rs.Close();
  // A name that ends in an abbreviation ("S.R.L.") already ends the sentence.
  const QString punto = nombre.endsWith(QLatin1Char('.')) ? QString() : QStringLiteral(".");
  ElOperador().MsgBox(
      QStringLiteral("El CUIT ya está asignado a la empresa %1 - %2%3").arg(otra, nombre, punto),
      vb::Exclamation, kTitulo);
}

}  // namespace

QString CondicionDuplicado(const QString& digitos, const QString& codigo) {
  return QStringLiteral("REPLACE(REPLACE(REPLACE(CUIT, '-', ''), '.', ''), ' ', '') = '") +
         DuplicarApostrofes(digitos) + QStringLiteral("' AND LTRIM(RTRIM(IdEmpresa)) <> '") +
         DuplicarApostrofes(codigo.trimmed()) + QLatin1Char('\'');
}

QString Confirmar(const QString& texto, const std::optional<QString>& mostrado, const QString& tabla,
                  const QString& codigo, int largo) {
  if (mostrado && texto.trimmed() == mostrado->trimmed()) return texto;
  const Cuit::Analisis a = Cuit::Analizar(texto);
  if (a.problema == Cuit::Problema::Vacio) return texto;
  const QString queda = a.problema == Cuit::Problema::Ninguno ? EnColumna(Cuit::Formatear(a.digitos), largo)
                                                              : Corregir(texto, a, largo);
  // Digits with other characters are not compared: they are no CUIT anybody holds.
  const Cuit::Analisis resultado = Cuit::Analizar(queda);
  if (resultado.problema != Cuit::Problema::NoNumerico) AvisarDuplicado(resultado.digitos, tabla, codigo);
  return queda;
}

}  // namespace campocuit
