// The register's name against the company's, and the words the line beside
// the CUIT uses: pure rules, no database.
#include "company/rules/NombreComparable.h"

#include <gtest/gtest.h>

#include "company/rules/LineaPadron.h"

namespace {

TEST(NombreComparable, ElNombreDelPadronContraElDeLaEmpresa) {
  const struct {
    const char* registro;
    const char* empresa;
    bool coinciden;
  } casos[] = {
      // the company-type suffix, in every form
      {"BODEGAS VALLE DE UCO SA", "Bodegas Valle de Uco S.A.", true},
      {"VALLE DE UCO SOCIEDAD ANONIMA", "Valle de Uco S. A.", true},
      {"BODEGAS VALLE DE UCO", "Bodegas Valle de Uco SA", true},
      {"METALURGICA SAN MARTIN SRL", "Metalúrgica San Martín S.R.L.", true},
      {"TALLER SAN MARTIN S DE R L", "Taller San Martín Sociedad de Responsabilidad Limitada", true},
      {"YERBATERA MISIONERA SCA", "Yerbatera Misionera S.C.A.", true},
      {"NUEVA LOGISTICA SAS", "Nueva Logística S.A.S.", true},
      {"HERMANOS GOMEZ SH", "Hermanos Gómez S.H.", true},
      {"LACTEOS LA PAMPA COOP LTDA", "Lácteos La Pampa Coop. Ltda.", true},
      {"TALLERES DEL SUR SAICF", "Talleres del Sur S.A.I.C.F.", true},
      // one type for another is still the same company
      {"TEXTIL ENTRE RIOS SRL", "Textil Entre Ríos S.A.", true},
      // accents, case, punctuation, "&" and blanks
      {"CLINICA PRIVADA DEL NORTE SA", "clínica privada del norte, s.a.", true},
      {"PEREYRA Y ASOCIADOS", "Pereyra & Asociados", true},
      {"ÑANDU SA", "Ñandú S.A.", true},
      {"O HIGGINS SA", "O'Higgins S.A.", true},
      // abbreviations
      {"LACTEOS LA PAMPA COOP LTDA", "Lácteos La Pampa Cooperativa Ltda.", true},
      {"GOMEZ HNOS Y CIA SRL", "Gómez Hermanos y Compañía S.R.L.", true},
      // the register's 30 characters, a name cut short
      {"ESTUDIO CONTABLE PEREYRA Y ASO", "Estudio Contable Pereyra & Asociados", true},
      {"METALURGICA SAN MARTIN SOCIEDA", "Metalúrgica San Martín S.R.L.", true},
      // people, surname first in the register
      {"PEREZ JUAN CARLOS", "Juan Carlos Pérez", true},
      // real mismatches
      {"VINOS DEL SUR SRL", "Bodegas Valle de Uco S.A.", false},
      {"BODEGAS VALLE SA", "Bodegas Valle de Uco S.A.", false},
      {"DISTRIBUIDORA DEL LITORAL SA", "Distribuidora del Litoral Norte S.A.", false},
      {"ESTUDIO CONTABLE PEREYRA Y ASO", "Estudio Contable Pérez & Asociados", false},
      {"METALURGICA SAN MARTIN SOCIEDA", "Metalúrgica San Martín", true},
      {"METALURGICA SAN MARTINEZ Y CIA", "Metalúrgica San Martín S.A.", false},
      // a suffix alone is a name, not nothing
      {"SA", "S.A.", true},
      {"CASA SA", "S.A.", false},
  };
  for (const auto& c : casos) {
    SCOPED_TRACE(std::string(c.registro) + " / " + c.empresa);
    EXPECT_EQ(NombreComparable::Coinciden(QString::fromUtf8(c.registro), QString::fromUtf8(c.empresa)),
              c.coinciden);
  }
}

TEST(LineaPadron, LoQueDiceElPadronEnPalabras) {
  const QDate fecha(2026, 9, 5);
  const QString cuit = QStringLiteral("30-50112233-1");
  const struct {
    const char* denominacion;  // nullptr: not in the register
    const char* iva;
    const char* monotributo;
    const char* empresa;
    const char* texto;
    bool aviso;
  } casos[] = {
      {"BODEGAS VALLE DE UCO SA", "AC", "NI", "Bodegas Valle de Uco S.A.",
       "AFIP: BODEGAS VALLE DE UCO SA · IVA responsable inscripto · padrón del 05/09/2026", false},
      {"BODEGAS VALLE DE UCO SA", "EX", "NI", "",
       "AFIP: BODEGAS VALLE DE UCO SA · IVA exento · padrón del 05/09/2026", false},
      {"X", "NA", "NI", "X", "AFIP: X · IVA no alcanzado · padrón del 05/09/2026", false},
      {"X", "NI", "NI", "X", "AFIP: X · IVA no inscripto · padrón del 05/09/2026", false},
      {"X", "XN", "", "X", "AFIP: X · IVA exento no alcanzado · padrón del 05/09/2026", false},
      {"X", "AN", "", "X", "AFIP: X · IVA activo no alcanzado · padrón del 05/09/2026", false},
      {"X", "ZZ", "", "X", "AFIP: X · IVA código ZZ · padrón del 05/09/2026", false},
      {"X", "", "", "X", "AFIP: X · padrón del 05/09/2026", false},
      {"X", "NI", "B", "X", "AFIP: X · responsable monotributo · padrón del 05/09/2026", false},
      {"VINOS DEL SUR SRL", "AC", "NI", "Bodegas Valle de Uco S.A.",
       "AFIP: VINOS DEL SUR SRL · IVA responsable inscripto · padrón del 05/09/2026", true},
      {nullptr, "", "", "Bodegas Valle de Uco S.A.", "AFIP: el CUIT no figura en el padrón del 05/09/2026",
       true},
  };
  for (const auto& c : casos) {
    SCOPED_TRACE(c.texto);
    std::optional<InscripcionPadron> fila;
    if (c.denominacion)
      fila = InscripcionPadron{QStringLiteral("30501122331"), QString::fromUtf8(c.denominacion), QString(),
                               QString::fromLatin1(c.iva), QString::fromLatin1(c.monotributo)};
    const LineaPadron l = ArmarLineaPadron(fila, fecha, cuit, QString::fromUtf8(c.empresa));
    EXPECT_EQ(l.texto, QString::fromUtf8(c.texto));
    EXPECT_EQ(!l.motivo.isEmpty(), c.aviso);
    // The warning names what it is about.
    if (c.aviso) EXPECT_TRUE(l.motivo.contains(cuit)) << l.motivo.toStdString();
  }
}

}  // namespace
