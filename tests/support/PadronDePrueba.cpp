#include "support/PadronDePrueba.h"

#include <zip.h>

#include <QFile>
#include <array>
#include <cstdio>
#include <random>
#include <stdexcept>

namespace padron_prueba {

int Digito(std::int64_t diez) {
  static constexpr std::array<int, 10> pesos{5, 4, 3, 2, 7, 6, 5, 4, 3, 2};
  int suma = 0;
  for (int i = 9; i >= 0; --i, diez /= 10) suma += pesos[i] * static_cast<int>(diez % 10);
  const int r = 11 - suma % 11;
  return r == 11 ? 0 : r;
}

namespace {
QByteArray Ancho(const char* texto, int ancho) { return QByteArray(texto).leftJustified(ancho, ' ', true); }
}  // namespace

QByteArray Linea(std::int64_t cuit, const QByteArray& nombre, const char* ganancias, const char* iva,
                 const char* monotributo, const char* sociedad, const char* empleador,
                 const char* actividad) {
  return QByteArray::number(static_cast<qint64>(cuit)).rightJustified(11, '0') +
         nombre.leftJustified(30, ' ', true) + Ancho(ganancias, 2) + Ancho(iva, 2) + Ancho(monotributo, 2) +
         Ancho(sociedad, 1) + Ancho(empleador, 1) + Ancho(actividad, 2) + '\n';
}

void Escribir(const QString& ruta, std::int64_t lineas) {
  // Latin-1: Ñ, Á, É, Í, Ó, Ú, Ü.
  static const char* const apellidos[] = {"GONZALEZ",
                                          "RODRIGUEZ",
                                          "GOMEZ",
                                          "FERN\xC1NDEZ",
                                          "L\xD3PEZ",
                                          "D\xCDAZ",
                                          "MART\xCDNEZ",
                                          "PE\xD1"
                                          "A",
                                          "S\xC1NCHEZ",
                                          "ROMERO",
                                          "ARG\xDC"
                                          "ELLO",
                                          "MU\xD1OZ",
                                          "BEN\xCDTEZ",
                                          "ACU\xD1"
                                          "A"};
  static const char* const nombres[] = {"JUAN CARLOS",
                                        "MAR\xCD"
                                        "A JOS\xC9",
                                        "ANA",
                                        "JOS\xC9 LUIS",
                                        "SOF\xCD"
                                        "A",
                                        "MAR\xCD"
                                        "A IN\xC9S",
                                        "LUC\xCD"
                                        "A",
                                        "MART\xCDN"};
  static const char* const empresas[] = {"BODEGAS VALLE DE UCO",
                                         "TRANSPORTES DEL SUR",
                                         "LA ESPA\xD1OLA",
                                         "CONSTRUCTORA AUSTRAL",
                                         "AGRO",
                                         "FRIGOR\xCD"
                                         "FICO REGIONAL"};
  static const char* const tipos[] = {" SA", " SRL", " S.A.", " SOCIEDAD ANONIMA", " SAS"};
  static const char* const ganancias[] = {"AC", "NI", "EX", "NC"};
  static const char* const ivas[] = {"AC", "EX", "NA", "NI", "XN", "AN"};
  static const char* const monotributos[] = {"NI", "A", "B", "C", "D", "H"};
  std::FILE* f = std::fopen(QFile::encodeName(ruta).constData(), "wb");
  if (!f) throw std::runtime_error("cannot write " + ruta.toStdString());
  std::mt19937_64 azar(20260905);
  auto uno = [&](auto& lista) { return lista[azar() % std::size(lista)]; };
  // Persons (20, 27) then companies (30), as the register is sorted.
  const std::int64_t personas = lineas * 8 / 10;
  std::int64_t cuerpo = 10000000;
  int prefijo = 20;
  QByteArray bloque;
  for (std::int64_t i = 0; i < lineas; ++i) {
    const int quiere = i < personas / 2 ? 20 : i < personas ? 27 : 30;
    if (quiere != prefijo) {
      prefijo = quiere;
      cuerpo = 10000000;
    }
    int d;
    do {
      cuerpo += 1 + static_cast<std::int64_t>(azar() % 3);
    } while ((d = Digito(prefijo * 100000000LL + cuerpo)) == 10);
    const std::int64_t cuit = (prefijo * 100000000LL + cuerpo) * 10 + d;
    QByteArray nombre = prefijo == 30 ? QByteArray(uno(empresas)) + uno(tipos)
                                      : QByteArray(uno(apellidos)) + ' ' + uno(nombres);
    const bool sociedad = prefijo == 30;
    bloque += Linea(cuit, nombre, uno(ganancias), uno(ivas), sociedad ? "NI" : uno(monotributos),
                    sociedad ? "S" : "N", azar() % 4 ? "N" : "S",
                    QByteArray::number(static_cast<int>(azar() % 100)).rightJustified(2, '0').constData());
    if (bloque.size() > (1 << 20)) {
      std::fwrite(bloque.constData(), 1, static_cast<size_t>(bloque.size()), f);
      bloque.clear();
    }
  }
  std::fwrite(bloque.constData(), 1, static_cast<size_t>(bloque.size()), f);
  if (std::fclose(f) != 0) throw std::runtime_error("cannot write " + ruta.toStdString());
}

void Comprimir(const QString& zip, const QString& nombre, const QString& texto) {
  int error = 0;
  zip_t* z = zip_open(QFile::encodeName(zip).constData(), ZIP_CREATE | ZIP_TRUNCATE, &error);
  if (!z) throw std::runtime_error("cannot create " + zip.toStdString());
  zip_source_t* s = zip_source_file(z, QFile::encodeName(texto).constData(), 0, -1);
  if (!s || zip_file_add(z, nombre.toLatin1().constData(), s, ZIP_FL_OVERWRITE) < 0) {
    if (s) zip_source_free(s);
    zip_discard(z);
    throw std::runtime_error("cannot add " + texto.toStdString());
  }
  if (zip_close(z) != 0) {
    zip_discard(z);
    throw std::runtime_error("cannot write " + zip.toStdString());
  }
}

}  // namespace padron_prueba
