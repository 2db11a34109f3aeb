#include "session/Def_QConsulta.h"

#include <QFileInfo>
#include <initializer_list>

#include "lookup/Lib_ClsCons3.h"
#include "lookup/TextosConsulta.h"
#include "platform/services/Carpetas.h"

namespace {

bool Es(const QString& tabla, const char* nombre) {
  return tabla.compare(QLatin1String(nombre), Qt::CaseInsensitive) == 0;
}

bool EsUna(const QString& tabla, std::initializer_list<const char*> nombres) {
  for (const char* n : nombres)
    if (Es(tabla, n)) return true;
  return false;
}

bool Empieza(const QString& tabla, std::initializer_list<const char*> prefijos) {
  for (const char* p : prefijos)
    if (tabla.startsWith(QLatin1String(p), Qt::CaseInsensitive)) return true;
  return false;
}

// "ID" followed by the name after `largo` characters, without a final S when asked.
QString IdDe(const QString& tabla, int largo, bool sinS) {
  QString resto = tabla.mid(largo);
  if (sinS && resto.endsWith(QLatin1Char('S'), Qt::CaseInsensitive)) resto.chop(1);
  return QStringLiteral("ID") + resto;
}

struct Columnas {
  QString d, c, x;
};

// The catalogue: the first rule that matches the table gives its columns.
bool Regla(QString& tabla, Columnas& k) {
  auto fija = [&](const char* d, const QString& c, const char* x) {
    k = {QLatin1String(d), c, QLatin1String(x)};
    return true;
  };
  auto L = [](const char* t) { return QString::fromLatin1(t); };
  if (EsUna(tabla, {"TA_COMPROBANTES", "V_TA_Cpte"})) {
    tabla = QStringLiteral("VT_TA_Cpte");
    return fija("Descripcion", L("Codigo"), "");
  }
  if (Es(tabla, "V_TA_PERCEPCION")) return fija("DESCRIPCION", L("IDPERCEPCION"), "");
  if (Es(tabla, "V_TA_RETENCIONES")) return fija("DESCRIPCION", L("IDRETENCION"), "");
  if (Es(tabla, "V_TA_UNIDADNEGOCIO")) return fija("DESCRIPCION", L("CODIGO"), "");
  if (Es(tabla, "V_ta_PoliticaPrecios")) return fija("Descripcion", L("codigo"), "");
  if (Es(tabla, "V_TA_CATEGORIAARTICULO")) return fija("DESCRIPCION", L("idcategoria"), "");
  if (EsUna(tabla, {"V_TA_Cajas", "V_TA_Bancos", "V_TA_MotivoVta", "V_TA_MotivoCpra", "V_TA_Deposito",
                    "V_TA_Tecnicos", "V_TA_Tareas", "V_TA_Unidad", "V_TA_TipoArticulo", "V_TA_Rubros",
                    "V_TA_MotivoStock", "V_TA_CPRA_VTA", "V_TA_CATEGORIA", "V_TA_DESTINO", "V_TA_ORIGEN"})) {
    QString c = IdDe(tabla, 5, true);
    if (Es(tabla, "V_TA_CPRA_VTA")) c = L("IDCOND_CPRA_VTA");
    if (Es(tabla, "V_TA_TipoArticulo")) c = L("IDTIPO");
    if (Es(tabla, "V_TA_Cajas")) c = L("IDCajas");
    return fija(Es(tabla, "V_TA_Tecnicos") ? "NOMBRE" : "DESCRIPCION", c, "");
  }
  if (EsUna(tabla, {"P_TA_NIVELESTUDIO", "P_TA_CONOCIMIENTOS", "P_TA_Categorizacion", "P_TA_CentroMedico",
                    "P_TA_FormasDePago", "P_MA_Empresas", "P_TA_ZONARESIDENCIA", "P_TA_ObraSocial",
                    "P_TA_MotivoEgreso", "P_TA_Grupos", "P_TA_EstadoBusqueda", "P_TA_Areas", "P_TA_IDIOMAS",
                    "P_TA_TITULOs", "P_TA_ESTADOPOSTULANTE", "P_TA_Parentesco", "P_TA_EstadoCivil"}))
    return fija(Es(tabla, "P_MA_Empresas") ? "NombreEmpresa" : "Descripcion",
                IdDe(tabla, 5, !Es(tabla, "P_TA_Areas")), "");
  if (Es(tabla, "P_SINDICATOS")) return fija("Descripcion", L("IdSindicato"), "");
  if (Es(tabla, "P_TA_Funciones")) return fija("DESCRIPCION", IdDe(tabla, 5, false), "");
  if (EsUna(tabla, {"TA_Categoria", "TA_Deposito", "TA_MotivoStock", "TA_TipoArticulo", "TA_Rubros"}))
    return fija("DESCRIPCION", Es(tabla, "TA_TipoArticulo") ? L("IDTIPO") : IdDe(tabla, 3, true), "");
  if (Es(tabla, "P_MA_Clientes")) return fija("RAZON_SOCIAL", L("IDCLIENTE"), "");
  if (Es(tabla, "TA_Cpte")) return fija("DESCRIPCION", L("CODIGO"), "DESCRIPCION");
  if (Es(tabla, "V_MA_ARTICULOS")) return fija("DESCRIPCION", IdDe(tabla, 5, true), "DESCRIPCION");
  if (Es(tabla, "V_MV_COTIZAR")) return fija("COT_OBSERVACIONES", L("IDARTICULO"), "COT_OBSERVACIONES");
  if (Es(tabla, "MA_ARTICULOS")) return fija("DESCRIPCION", IdDe(tabla, 3, true), "DESCRIPCION");
  if (Es(tabla, "MA_MODELOS")) return fija("NOMBRE", L("NOMBRE"), "NOMBRE");
  if (Es(tabla, "MA_CHOFERES")) return fija("APELLIDO", L("CODIGO"), "NOMBRES");
  if (Es(tabla, "MA_DESTINATARIOS")) return fija("NOMBRE", L("CODIGO"), "NOMBRE");
  if (Es(tabla, "MA_VEHICULOS")) return fija("PATENTE", L("PATENTE"), "MODELO");
  if (Es(tabla, "MV_EJERCICIOS")) return fija("DESCRIPCION", L("PERIODO"), "DESCRIPCION");
  if (Es(tabla, "TA_USUARIOS")) return fija("NOMBRE", L("NOMBRE"), "");
  if (Empieza(tabla, {"TA_"})) return fija("DESCRIPCION", L("CODIGO"), "DESCRIPCION");
  if (Empieza(tabla, {"MA_PRO", "MA_VEN", "MA_TRA", "MA_CON", "MA_AGE"}))
    return fija("Razon_Social", L("Codigo"), "Razon_Social");
  if (Empieza(tabla, {"MA_CLI"})) return fija("Razon_Social", L("Codigo"), "Codigo_sucursal");
  if (Empieza(tabla, {"MA_"})) return fija("Descripcion", L("Codigo"), "Descripcion");
  if (Empieza(tabla, {"[MA_CA"})) return fija("nombre", L("Codigo"), "nombre");
  if (Empieza(tabla, {"MV_PRO"})) return fija("ASUNTO", L("ID"), "ASUNTO");
  return false;
}

QString RutaMascaras() {
  const QString ruta = Lib_ClsCons3::Instancia().gRutaMascaraConsultas;
  if (!ruta.isEmpty()) return ruta;
  return UbicarArchivoPropio(QStringLiteral("consultas.vmt")).leer;
}

}  // namespace

void ConsultaPorTabla(QString& Tabla, QString& CampoDescripcion, QString& CampoCodigo,
                      QString& CampoAdicional, bool& ConsultaLibre, QString& Where) {
  Columnas k{CampoDescripcion, CampoCodigo, CampoAdicional};
  if (Regla(Tabla, k)) {
    CampoDescripcion = k.d;
    CampoCodigo = k.c;
    CampoAdicional = k.x;
  }

  Lib_ClsCons3& consulta = Lib_ClsCons3::Instancia();
  ColeccionPtr ninguna;
  QString vacio1, vacio2, vacio3, vacio4, vacio5;
  bool arbol = false;
  const QFileInfo archivo(RutaMascaras());
  if ((archivo.exists() && archivo.isFile()) || consulta.MascarasEnMemoria()) {
    if (EsUna(Tabla, {"VT_CLIENTES", "VT_PROVEEDORES"})) CampoCodigo = QStringLiteral("CODIGO");
    QString sentencia = QStringLiteral("select ") + CampoDescripcion + QLatin1Char(',') + CampoCodigo +
                        QStringLiteral(" from ") + Tabla + QLatin1Char(' ') + Where;
    // The lookup must know which column is the key it hands back.
    consulta.CampoDevuelto = CampoCodigo;
    consulta.ConsultaSearch(Tabla, ninguna, vacio1, vacio2, Where, sentencia, arbol, vacio3);
  } else if (ConsultaLibre) {
    if (CampoDescripcion.trimmed().isEmpty()) CampoDescripcion = QStringLiteral(" * ");
    const QString sentencia = QStringLiteral("select ") + CampoDescripcion + QLatin1Char(',') + CampoCodigo +
                              QStringLiteral(" from ") + Tabla + QLatin1Char(' ') + Where;
    consulta.CampoDevuelto = CampoCodigo;
    consulta.ConsultaSearch(sentencia, ninguna, vacio1, vacio2, vacio4, vacio5, arbol, vacio3);
  } else {
    return;
  }
  const QString elegido = textos::DeValor(consulta.ValorDevuelto);
  CampoCodigo = elegido;
}
