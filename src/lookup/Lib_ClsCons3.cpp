#include "lookup/Lib_ClsCons3.h"

#include <QFileInfo>

#include "db/DB_Dll.h"
#include "db/TextoSql.h"
#include "lookup/ArchivoDefiniciones.h"
#include "lookup/ArmadoConsulta.h"
#include "platform/services/Trampa.h"
#include "platform/services/Utilidades.h"
#include "settings/Configuracion.h"

namespace {

ado::Value ColorDeConfiguracion(const QString& texto) {
  if (texto.trimmed().isEmpty()) return 0;
  return texto.trimmed();
}

QString Limpio(const QString& campo) {
  return Utilidades::Compartido().QuitarCaracteres(campo, QString(QChar(0)), QString(QChar(255))).trimmed();
}

}  // namespace

Lib_ClsCons3& Lib_ClsCons3::Instancia() {
  static Lib_ClsCons3 instancia;
  return instancia;
}

Lib_ClsCons3::Lib_ClsCons3() : Lib_ClsCons3([](const QString& clave) { return Cfg(clave); }) {}

Lib_ClsCons3::Lib_ClsCons3(LectorConfiguracion lector)
    : CmpsDevueltos(std::make_shared<Coleccion>()),
      Valores(std::make_shared<Coleccion>()),
      lector_(std::move(lector)) {
  trampa::IgnorarErrores({
      [&] { StkNivel1 = ColorDeConfiguracion(lector_(QStringLiteral("Stk_Nivel1"))); },
      [&] { StkNivel2 = ColorDeConfiguracion(lector_(QStringLiteral("Stk_Nivel2"))); },
      [&] { StkNivel3 = ColorDeConfiguracion(lector_(QStringLiteral("Stk_Nivel3"))); },
      [&] { StkNivel4 = ColorDeConfiguracion(lector_(QStringLiteral("Stk_Nivel4"))); },
      [&] { MuestraStock = lector_(QStringLiteral("MostrarStockenConsultas")); },
      [&] {
        usaLike_ = lector_(QStringLiteral("UsaConsultaLIKE"))
                       .trimmed()
                       .compare(QLatin1String("SI"), Qt::CaseInsensitive) == 0;
      },
  });
}

Lib_ClsCons3::~Lib_ClsCons3() = default;

void Lib_ClsCons3::UsarMascarasEnMemoria(std::optional<QVector<RegistroMascara>> registros) {
  enMemoria_ = std::move(registros);
}

Lib_ClsCons3::Camino Lib_ClsCons3::DesdeMascaras(const QString& SQL, int limite, QString& CampoBusqueda,
                                                 const QString& Where, QString& sentencia) {
  if (!enMemoria_) {
    const QFileInfo info(gRutaMascaraConsultas);
    if (!info.exists() || !info.isFile()) {
      sentencia = SQL;
      return Camino::Listo;
    }
  }
  const QString buscada = SQL.trimmed();
  for (const RegistroMascara& crudo : enMemoria_ ? *enMemoria_ : mascaras::Leer(gRutaMascaraConsultas)) {
    if (Limpio(crudo.Tabla).compare(buscada, Qt::CaseInsensitive) != 0) continue;
    const RegistroMascara r{Limpio(crudo.Titulo), Limpio(crudo.Tabla), Limpio(crudo.Columnas),
                            Limpio(crudo.Condicion)};
    if (armado::SentenciaDeMascara(r, limite, CampoBusqueda, Where, sentencia) ==
        armado::ResultadoMascara::FaltaConfigurar) {
      ElOperador().MsgBox(QStringLiteral("Debe configurar la consulta para esta tabla"), vb::Information,
                          QStringLiteral("Aviso al operador"));
      return Camino::Terminar;
    }
    return Camino::Listo;
  }
  return Camino::TablaDirecta;
}

QString Lib_ClsCons3::DesdeTabla(const QString& SQL, int limite, QString& CampoBusqueda,
                                 const QString& SentenciaOpcional) {
  if (!SentenciaOpcional.isEmpty()) return SentenciaOpcional;
  QStringList campos;
  ado::Recordset rs;
  trampa::IgnorarErrores({
      [&] {
        QString s = QStringLiteral("select top 1 * from ") + SQL;
        DB_Dll::Instancia().AbrirRecordset(s, rs, nullptr, ado::adOpenForwardOnly, ado::adLockReadOnly,
                                           ado::adOptionUnspecified, true);
      },
      [&] {
        for (int i = 0; i < rs.FieldCount(); ++i) campos << rs.Fields(i).Name();
      },
      [&] { DB_Dll::Instancia().CierraRecordset(rs); },
  });
  return armado::SentenciaDeCampos(SQL, limite, campos, CampoBusqueda);
}

void Lib_ClsCons3::MostrarLista(const QString& sentencia, ColeccionPtr& cmps, const QString& Clave,
                                const QString& CampoBusqueda, const QString& ValoresDefault) {
  SolicitudLista d;
  trampa::IgnorarErrores({
      [&] {
        d.StkNivel1 = StkNivel1;
        d.StkNivel2 = StkNivel2;
        d.StkNivel3 = StkNivel3;
        d.StkNivel4 = StkNivel4;
        d.MuestraStock = MuestraStock;
        d.CfgUsaConsultaLIKE = usaLike_;
        d.OrdenarPorLwv = BuscarFueraDeLiterales(sentencia, QStringLiteral("ORDER BY")) < 0;
        d.FiltroInicial = Clave;
        d.CampoBusqueda = CampoBusqueda;
        d.SQL = sentencia;
        d.gConnString = gConnString;
        d.CampoDevuelto = CampoDevuelto;
        d.CheckBoxes = Checks;
        d.UsaCantidades = UsaCantidades;
        d.ValoresDefault = ValoresDefault;
        Valores.reset();
        Cantidades.reset();
        d.CmpsDevueltos = cmps;
      },
      [&] { ElOperador().MostrarModal(d); },
      [&] {
        Checks = false;
        // A dialog that never loaded leaves no collections; callers always get one.
        Valores = d.Valores ? d.Valores : std::make_shared<Coleccion>();
        Cantidades = d.Cantidades ? d.Cantidades : std::make_shared<Coleccion>();
        ValorDevuelto = d.ValorDevuelto;
        d.CampoDevuelto.clear();
      },
  });
}

void Lib_ClsCons3::MostrarArbol(const QString& sentencia) {
  SolicitudArbol d;
  trampa::IgnorarErrores({
      [&] {
        d.SQL = sentencia;
        d.CampoDevuelto = CampoDevuelto;
        d.CheckBoxes = Checks;
        Valores.reset();
      },
      [&] { ElOperador().MostrarModal(d); },
      [&] {
        ValorDevuelto = d.ValorDevuelto;
        Valores = d.Valores ? d.Valores : std::make_shared<Coleccion>();
        Checks = false;
      },
  });
}

void Lib_ClsCons3::ConsultaSearch(QString SQL, ColeccionPtr& CmpsDevueltos, QString& Clave,
                                  QString& CampoBusqueda, QString& Where, QString& SentenciaOpcional,
                                  bool& TreeView, QString& ValoresDefault) {
  int limite = 1000;
  QString sentencia;
  bool terminar = false;
  trampa::IgnorarErrores({
      [&] { Where = armado::EnvolverCondicion(Where); },
      [&] { limite = armado::LimiteFilas(lector_(QStringLiteral("TopConsArt"))); },
      [&] {
        if (armado::EsSentencia(SQL)) {
          sentencia = armado::ConVistaArticulos(SQL);
          return;
        }
        Camino camino = Camino::TablaDirecta;
        if (gUsarMascarasConsultas) camino = DesdeMascaras(SQL, limite, CampoBusqueda, Where, sentencia);
        if (camino == Camino::Terminar) {
          // The caller would otherwise take the previous lookup's value as this one's.
          ValorDevuelto = QString();
          terminar = true;
        } else if (camino == Camino::TablaDirecta) {
          sentencia = DesdeTabla(SQL, limite, CampoBusqueda, SentenciaOpcional);
        }
      },
  });
  if (terminar) return;

  if (TreeView)
    MostrarArbol(sentencia);
  else
    MostrarLista(sentencia, CmpsDevueltos, Clave, CampoBusqueda, ValoresDefault);

  trampa::IgnorarErrores({
      [&] { CampoDevuelto.clear(); },
      [&] {
        if (CmpsDevueltos) CmpsDevueltos->clear();
        CmpsDevueltos.reset();
      },
  });
}
