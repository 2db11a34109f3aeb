#pragma once
// Whether the name AFIP's register holds for a CUIT is the company's own
// name: compared without letter case, accents or punctuation, "&" read as
// "Y", and without the company-type suffix (S.A. = SA = SOCIEDAD ANONIMA,
// S.R.L. = SOCIEDAD DE RESPONSABILIDAD LIMITADA, S.A.S., S.C.A., S.H., ...).
// The register keeps 30 characters of a name: one that fills them may be cut
// short, and then only its beginning has to agree.
#include <QString>
#include <QStringList>

namespace NombreComparable {

// The characters the register keeps of a name.
constexpr int kLargoRegistro = 30;

// The name's words as compared: upper case, accents and punctuation gone,
// "COOP", "CIA" and "HNOS" written out.
QStringList Palabras(const QString& nombre);

// The words without a company-type suffix at the end, when they have one
// and something before it.
QStringList SinTipoSocietario(const QStringList& palabras);

bool Coinciden(const QString& enRegistro, const QString& deEmpresa);

}  // namespace NombreComparable
