#pragma once
// Synthetic registers of AFIP's taxpayers, as AFIP writes them (fixed-width
// Latin-1 lines, sorted by CUIT, valid check digits), for the tests and the
// benchmark; and a zip of one, as AFIP publishes it.
#include <QByteArray>
#include <QString>
#include <cstdint>

namespace padron_prueba {

// The check digit a ten-digit CUIT body calls for; 10 when none.
int Digito(std::int64_t diezDigitos);
// One line: the CUIT, the name (Latin-1, cut or padded to 30) and the other fields as given.
QByteArray Linea(std::int64_t cuit, const QByteArray& nombre, const char* ganancias = "AC",
                 const char* iva = "AC", const char* monotributo = "NI", const char* sociedad = "N",
                 const char* empleador = "S", const char* actividad = "00");
// `lineas` well-formed lines, each CUIT greater than the last, names of realistic
// lengths with Latin-1 letters; the same file for the same count.
void Escribir(const QString& ruta, std::int64_t lineas);
// A zip holding `texto` under the name `nombre` (deflated, as AFIP's).
void Comprimir(const QString& zip, const QString& nombre, const QString& texto);

}  // namespace padron_prueba
