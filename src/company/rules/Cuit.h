#pragma once
// The CUIT, the Argentine tax number: what is wrong with a typed one, the
// number that would be right, and the form it is shown and stored in.
// Pure logic on text; blanks, dots and hyphens in the input are ignored.
#include <QString>
#include <QStringList>
#include <QStringView>

namespace Cuit {

// The first thing found wrong, in this order of checks.
enum class Problema {
  Ninguno,          // a valid CUIT
  Vacio,            // nothing but blanks, dots and hyphens: accepted as no CUIT
  NoNumerico,       // some other character than a digit
  Largo,            // not 11 digits
  Prefijo,          // the first two digits are not a prefix AFIP assigns
  Digito,           // the check digit is not the one the other ten call for
  SinDigitoValido,  // no check digit makes this prefix and body valid
};

struct Analisis {
  Problema problema = Problema::Vacio;
  QString digitos;          // the text without blanks, dots and hyphens
  int digitoEsperado = -1;  // what the first ten digits call for: 0-9, 10 for none; -1 not computed
  QString corregido;        // "NN-NNNNNNNN-N" that would be right; empty when there is none
};

// Every prefix AFIP assigns, in the one place the program keeps them.
const QStringList& Prefijos();
bool PrefijoConocido(QStringView dosDigitos);

// 11 minus the weighted sum of the ten digits modulo 11, with 11 as 0; 10
// means that no CUIT exists with these ten digits. The text holds ten ASCII digits.
int DigitoVerificador(QStringView diezDigitos);

Analisis Analizar(const QString& texto);

// "NN-NNNNNNNN-N" from 11 digits.
QString Formatear(const QString& onceDigitos);

// What the operator is told; with a correction it ends in "¿Corregirlo?". Empty for a valid or empty CUIT.
QString Mensaje(const Analisis& a);

// The text as digits only, as the duplicate check compares stored CUITs.
QString SoloDigitos(const QString& texto);

}  // namespace Cuit
