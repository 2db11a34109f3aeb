// The check of the whole table against AFIP's register: CUITs not in it and
// names other than the registered one, as text and as CSV, with the
// register's date in the summary; a page at a time, so a few pages here.
#include <QFile>

#include "company/rules/InformeVerificacion.h"
#include "company/rules/VerificarEmpresas.h"
#include "support/ConexionDePrueba.h"
#include "support/PadronEnBase.h"

// Readable texts in failure messages.
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

namespace {

class VerificarPadron : public ConexionDePrueba {};

TEST_P(VerificarPadron, CuitsQueNoFiguranYNombresDistintos) {
  CrearPadron(*cnn, {
                        {"30712345671", "DISTRIBUIDORA DEL LITORAL SA", "AC"},
                        {"30709876542", "METALURGICA SAN MARTIN SRL", "AC"},
                        {"30306543217", "ESTUDIO CONTABLE PEREYRA Y ASO", "AC"},  // cut at 30
                        {"30501122331", "VINOS DEL SUR SRL", "AC"},
                        {"30698765433", "TRANSPORTES PATAGONICOS SOCIED", "AC"},
                        {"30543219874", "YERBATERA MISIONERA SCA", "AC"},
                        {"30605551234", "CLINICA PRIVADA DEL NORTE SA", "AC"},
                        {"30701112225", "FERRETERIA INDUSTRIAL CORDOBA", "AC"},
                        {"30715556665", "CONSULTORA ANDINA SA", "AC"},
                        {"30509988788", "LACTEOS LA PAMPA COOP LTDA", "AC"},
                        {"30644332213", "CONSTRUCTORA BOREAL SA", "AC"},
                        // 12 (30-58765432-2) is not in it
                    });
  // A CUIT with the wrong check digit is reported as such, not looked up.
  cnn->Execute("UPDATE P_MA_Empresas SET CUIT = '30-71555666-4' WHERE IdEmpresa = '" +
               testdb::RightAligned("9", 15) + "'");
  QStringList texto, csv;
  const ResumenVerificacion r = VerificarEmpresas(
      Reparacion::No,
      [&](const LineaVerificacion& l) {
        if (l.tipo != Hallazgo::CuitNoEnPadron && l.tipo != Hallazgo::NombreDistintoEnPadron) return;
        texto << LineaInforme(FormatoInforme::Texto, l);
        csv << LineaInforme(FormatoInforme::Csv, l);
      },
      cnn, 5);
  EXPECT_EQ(texto,
            (QStringList{
                "Empresa 4 - Bodegas Valle de Uco S.A.: CUIT 30-50112233-1 a nombre de VINOS DEL SUR "
                "SRL en el padrón de AFIP",
                "Empresa 11 - Constructora Austral S.A.: CUIT 30-64433221-3 a nombre de CONSTRUCTORA "
                "BOREAL SA en el padrón de AFIP",
                "Empresa 12 - Textil Entre Ríos S.A.: CUIT 30-58765432-2 no figura en el padrón de AFIP "
                "del 05/09/2026",
            }));
  EXPECT_EQ(csv, (QStringList{
                     "4,Bodegas Valle de Uco S.A.,nombre_distinto_en_padron,CUIT 30-50112233-1 a nombre de "
                     "VINOS DEL SUR SRL en el padrón de AFIP",
                     "11,Constructora Austral S.A.,nombre_distinto_en_padron,CUIT 30-64433221-3 a nombre de "
                     "CONSTRUCTORA BOREAL SA en el padrón de AFIP",
                     "12,Textil Entre Ríos S.A.,cuit_no_en_padron,CUIT 30-58765432-2 no figura en el padrón "
                     "de AFIP del 05/09/2026",
                 }));
  ASSERT_TRUE(r.fechaPadron.has_value());
  EXPECT_EQ(*r.fechaPadron, QDate(2026, 9, 5));
  EXPECT_TRUE(ResumenInforme(FormatoInforme::Texto, r, Reparacion::No)
                  .endsWith(QStringLiteral("; CUIT comparados con el padrón de AFIP del 05/09/2026.")));
  EXPECT_FALSE(QFile::exists(db.gLogErr));
}

// Without a register there is nothing to compare with, and the summary says nothing of one.
TEST_P(VerificarPadron, SinPadronNadaCambia) {
  int delPadron = 0;
  const ResumenVerificacion r = VerificarEmpresas(
      Reparacion::No,
      [&](const LineaVerificacion& l) {
        delPadron += l.tipo == Hallazgo::CuitNoEnPadron || l.tipo == Hallazgo::NombreDistintoEnPadron;
      },
      cnn);
  EXPECT_EQ(delPadron, 0);
  EXPECT_FALSE(r.fechaPadron.has_value());
  EXPECT_FALSE(ResumenInforme(FormatoInforme::Texto, r, Reparacion::No).contains(QStringLiteral("padrón")));
  EXPECT_FALSE(QFile::exists(db.gLogErr));
}

INSTANTIATE_TEST_SUITE_P(Motores, VerificarPadron, ::testing::ValuesIn(testdb::AllEngines()),
                         testdb::ParamName<::testing::TestParamInfo<testdb::Engine>>);

}  // namespace
