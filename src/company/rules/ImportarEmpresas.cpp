#include "company/rules/ImportarEmpresas.h"

#include <QHash>
#include <QSet>
#include <array>
#include <optional>

#include "company/rules/CambiosEmpresa.h"
#include "company/rules/CompletitudEmpresa.h"
#include "company/rules/Cuit.h"
#include "company/rules/EncabezadosImportacion.h"
#include "company/rules/HistoriaEmpresa.h"
#include "company/rules/LargoDeColumna.h"
#include "company/rules/SiembraEmpresa.h"
#include "company/rules/UnidadGrabacion.h"
#include "company/rules/ValorImportado.h"
#include "db/DB_Dll.h"
#include "db/Sentencias.h"
#include "platform/client/Recordset.h"
#include "platform/services/Utilidades.h"
#include "session/AsignarValorCampo.h"

namespace {

const QString kTabla = QStringLiteral("P_MA_Empresas");
const QString kCodigo = QStringLiteral("IdEmpresa");
constexpr int kLargoCodigo = 15;
// A row another connection changed between its reading and its writing is read again, a few times.
constexpr int kVueltas = 3;

bool Es(const QString& a, const char* b) { return a.compare(QLatin1String(b), Qt::CaseInsensitive) == 0; }

struct Titular {
  QString codigo;  // trimmed
  QString nombre;
};

QString Nombrada(const Titular& t) { return t.codigo + QStringLiteral(" - ") + t.nombre; }

QString SinPregunta(QString mensaje) {
  const QString pregunta = QStringLiteral("¿Corregirlo?");
  if (mensaje.endsWith(pregunta)) mensaje.chop(pregunta.size());
  return mensaje.trimmed();
}

// A row of the sheet as read, before it meets the table.
struct FilaLeida {
  int numero = 0;
  QString codigo;
  QVector<ValorImportado> valores;  // by imported column
  QStringList motivos;
};

// What storing the row would change in the company as it is stored now.
struct Comparacion {
  bool nueva = true;
  QString nombre;
  QVector<int> columnas;  // imported columns to write
  QVector<ValorImportado> valores;
  QVector<CambioImportado> cambios;
  QStringList motivos;
  QString cuitAnterior, cuitNuevo;  // digits, when the CUIT changes
};

class Importacion {
 public:
  Importacion(Aplicacion aplicacion, const InformeImportacion& informe, ado::ConnectionPtr cnn)
      : aplicacion_(aplicacion), informe_(informe), cnn_(std::move(cnn)) {}

  ResumenImportacion Ejecutar(const Planilla& planilla) {
    resumen_.aplicada = aplicacion_ == Aplicacion::Grabar;
    if (planilla.filas.isEmpty()) throw ImportacionImposible{QStringLiteral("la planilla está vacía")};
    LeerForma();
    enc_ = LeerEncabezados(planilla.filas.first(), nombres_);
    if (!enc_.error.isEmpty()) throw ImportacionImposible{enc_.error};
    for (const QString& i : enc_.ignoradas)
      Avisar(planilla.filas.first().numero,
             QStringLiteral("la columna \"%1\" (el logo) no se importa: queda como está").arg(i));
    for (const ColumnaImportada& c : enc_.columnas) {
      ColumnaDestino d = destinos_.value(c.columna.toLower());
      d.titulo = c.encabezado;
      columnas_.push_back(d);
    }
    if (enc_.IndiceDe(QStringLiteral("CUIT")) >= 0) LeerCuits();
    if (enc_.IndiceDe(QStringLiteral("IdProvincia")) >= 0) LeerProvincias();
    if (aplicacion_ == Aplicacion::Grabar) conHistoria_ = historia_.Disponible(*cnn_);
    for (int i = 1; i < planilla.filas.size(); ++i) Fila(Leer(planilla.filas[i]));
    return resumen_;
  }

 private:
  void Avisar(int fila, const QString& texto) {
    LineaImportacion l;
    l.fila = fila;
    l.veredicto = Veredicto::Aviso;
    l.motivo = texto;
    informe_(l);
  }

  // The table's columns and what each holds, without reading a row.
  void LeerForma() {
    auto& db = DB_Dll::Instancia();
    ado::Recordset rs;
    rs.Open(db.SS_TSinonimos(QStringLiteral("SELECT * FROM ") + kTabla + QStringLiteral(" WHERE 1 = 0")),
            cnn_, ado::adOpenForwardOnly, ado::adLockReadOnly);
    for (int i = 0; i < rs.FieldCount(); ++i) {
      ado::Field& f = rs.Fields(i);
      ColumnaDestino d;
      d.nombre = f.Name();
      if (db.ADOBoolean(f.Type())) {
        d.clase = ClaseColumna::Logico;
      } else if (db.ADOText(f.Type())) {
        d.largo = LargoDeColumna(f);
      } else if (const TipoTecleado t = TipoTecleado::De(f); t.clase != ClaseTecleada::Texto) {
        d.clase = ClaseColumna::Tecleada;
        d.tipo = t;
      }
      // The form asks for every name; the table, for its NOT NULL columns.
      d.admiteVacio = f.IsNullable() && !d.nombre.contains(QStringLiteral("Nombre"), Qt::CaseInsensitive);
      nombres_ << d.nombre;
      destinos_.insert(d.nombre.toLower(), d);
    }
    rs.Close();
  }

  // Every stored CUIT by its digits, with the companies that hold it.
  void LeerCuits() {
    auto& u = Utilidades::Compartido();
    LeerConsulta(QStringLiteral("SELECT IdEmpresa, NombreEmpresa, CUIT FROM ") + kTabla +
                     QStringLiteral(" WHERE CUIT IS NOT NULL"),
                 cnn_, [&](ado::Recordset& rs) {
                   const QString digitos =
                       Cuit::SoloDigitos(u.NuloATexto(rs.Fields(QStringLiteral("CUIT")).GetValue()));
                   if (digitos.isEmpty()) return;
                   cuits_[digitos].push_back(
                       {u.NuloATexto(rs.Fields(kCodigo).GetValue()).trimmed(),
                        u.NuloATexto(rs.Fields(QStringLiteral("NombreEmpresa")).GetValue()).trimmed()});
                 });
  }

  void LeerProvincias() {
    auto& u = Utilidades::Compartido();
    LeerConsulta(QStringLiteral("SELECT codigo FROM ta_estados"), cnn_, [&](ado::Recordset& rs) {
      provincias_.insert(u.NuloATexto(rs.Fields(QStringLiteral("codigo")).GetValue()).trimmed().toLower());
    });
  }

  FilaLeida Leer(const FilaPlanilla& f) {
    FilaLeida r;
    r.numero = f.numero;
    const CeldaPlanilla& codigo = f.Celda(enc_.IndiceDe(kCodigo));
    r.codigo = TextoDeCelda(codigo).trimmed();
    if (codigo.clase == CeldaPlanilla::Clase::Error)
      r.motivos << QStringLiteral("La celda del código tiene un error (%1)").arg(codigo.texto.trimmed());
    else if (r.codigo.size() > kLargoCodigo)
      r.motivos << QStringLiteral("El código \"%1\" tiene %2 caracteres y admite hasta %3")
                       .arg(r.codigo)
                       .arg(r.codigo.size())
                       .arg(kLargoCodigo);
    for (int i = 0; i < enc_.columnas.size(); ++i) {
      r.valores.push_back(LeerCelda(f.Celda(enc_.columnas[i].indice), columnas_[i]));
      if (r.valores.back().Rechazado() && !Es(columnas_[i].nombre, "IdEmpresa"))
        r.motivos << r.valores.back().motivo;
    }
    for (int i : enc_.sinNombre)
      if (!f.Celda(i).Vacia())
        r.motivos << QStringLiteral("La columna %1 tiene \"%2\" y no tiene encabezado")
                         .arg(NombreDeColumna(i), TextoDeCelda(f.Celda(i)).trimmed());
    return r;
  }

  static QString NombreDeColumna(int i) {
    QString n;
    for (++i; i > 0; i = (i - 1) / 26) n.prepend(QChar(u'A' + (i - 1) % 26));
    return n;
  }

  // The row against the company as `rs` holds it (none: a new company).
  Comparacion Comparar(const FilaLeida& fila, ado::Recordset& rs) {
    Comparacion c;
    c.nueva = rs.Bof() && rs.Eof();
    auto& u = Utilidades::Compartido();
    if (!c.nueva) c.nombre = u.NuloATexto(rs.Fields(QStringLiteral("NombreEmpresa")).GetValue()).trimmed();
    bool conNombre = false;
    for (int i = 0; i < columnas_.size(); ++i) {
      const ColumnaDestino& d = columnas_[i];
      conNombre = conNombre || Es(d.nombre, "NombreEmpresa");
      if (Es(d.nombre, "IdEmpresa") || fila.valores[i].Rechazado()) continue;
      ValorImportado nuevo = fila.valores[i];
      const ValorImportado guardado =
          c.nueva ? ValorGuardado(ado::Null(), d) : ValorGuardado(rs.Fields(d.nombre).GetValue(), d);
      if (Es(d.nombre, "NombreEmpresa") && !nuevo.vacio) c.nombre = nuevo.texto;
      if (Es(d.nombre, "CUIT") && !MismoValor(nuevo, guardado) && !RevisarCuit(nuevo, guardado, d, fila, c))
        continue;
      if (MismoValor(nuevo, guardado) && !(c.nueva && nuevo.vacio)) continue;
      if (nuevo.vacio && !d.admiteVacio) {
        c.motivos << QStringLiteral("El campo %1 no puede quedar vacío").arg(d.titulo);
        continue;
      }
      if (c.nueva && nuevo.vacio) continue;  // a new company has nothing there to empty
      if (Es(d.nombre, "IdProvincia") && !nuevo.vacio && !provincias_.contains(nuevo.texto.toLower())) {
        c.motivos << QStringLiteral("La provincia \"%1\" no existe").arg(nuevo.texto);
        continue;
      }
      c.columnas << i;
      c.valores << nuevo;
      c.cambios.push_back({d.titulo, guardado.texto, nuevo.texto});
    }
    if (c.nueva && !conNombre)
      c.motivos << QStringLiteral("Una empresa nueva necesita su nombre (columna NombreEmpresa o Nombre)");
    return c;
  }

  // A CUIT that changes: valid (kept in the form the form keeps it in), and
  // no other company's. False when refused.
  bool RevisarCuit(ValorImportado& nuevo, const ValorImportado& guardado, const ColumnaDestino& d,
                   const FilaLeida& fila, Comparacion& c) {
    const Cuit::Analisis a = Cuit::Analizar(nuevo.texto);
    if (a.problema == Cuit::Problema::Vacio) return true;
    if (a.problema != Cuit::Problema::Ninguno) {
      c.motivos << QStringLiteral("CUIT %1: %2").arg(nuevo.texto, SinPregunta(Cuit::Mensaje(a)));
      return false;
    }
    const QString forma = Cuit::Formatear(a.digitos);
    // A column too narrow for the usual form gets the digits alone, as on the form.
    nuevo.texto = d.largo > 0 && d.largo < forma.size() ? a.digitos : forma;
    // The stored CUIT written another way is the stored CUIT: nothing to check.
    if (MismoValor(nuevo, guardado)) return true;
    for (const Titular& t : cuits_.value(a.digitos))
      if (t.codigo.compare(fila.codigo, Qt::CaseInsensitive) != 0) {
        const QString punto = t.nombre.endsWith(u'.') ? QString() : QStringLiteral(".");
        c.motivos << QStringLiteral("El CUIT %1 ya está asignado a la empresa %2%3")
                         .arg(nuevo.texto, Nombrada(t), punto);
        return false;
      }
    c.cuitAnterior = Cuit::SoloDigitos(guardado.texto);
    c.cuitNuevo = a.digitos;
    return true;
  }

  // A CUIT this sheet gave a company counts for the rows after it.
  void Registrar(const FilaLeida& fila, const Comparacion& c) {
    if (c.cuitNuevo.isEmpty()) return;
    auto& antes = cuits_[c.cuitAnterior];
    antes.removeIf([&](const Titular& t) { return t.codigo.compare(fila.codigo, Qt::CaseInsensitive) == 0; });
    cuits_[c.cuitNuevo].push_back({fila.codigo, c.nombre});
  }

  QString Sentencia(const QString& codigo) const {
    return DB_Dll::Instancia().SS_TSinonimos(
        SentenciaExisteEnTabla(kTabla, codigo, kCodigo, ado::Value(ado::adBSTR), QString()));
  }

  void Fila(const FilaLeida& fila) {
    ++resumen_.filas;
    LineaImportacion l;
    l.fila = fila.numero;
    l.codigo = fila.codigo;
    QStringList motivos = fila.motivos;
    const QString clave = fila.codigo.toLower();
    if (vistas_.contains(clave))
      motivos << QStringLiteral("La empresa %1 ya está en la fila %2 de la planilla")
                     .arg(fila.codigo)
                     .arg(vistas_.value(clave));
    else
      vistas_.insert(clave, fila.numero);
    // A code that cannot be stored names no company to compare with.
    if (!motivos.isEmpty() && (fila.codigo.size() > kLargoCodigo || vistas_.value(clave) != fila.numero))
      return Rechazar(l, motivos);
    // Applying, the row is compared once, inside its unit.
    if (aplicacion_ == Aplicacion::Grabar) return Grabar(fila, motivos, l);
    ado::Recordset rs;
    rs.Open(Sentencia(fila.codigo), cnn_, ado::adOpenForwardOnly, ado::adLockReadOnly);
    const Comparacion c = Comparar(fila, rs);
    rs.Close();
    l.nombre = c.nombre;
    motivos << c.motivos;
    AgregarMotivoCodigoVacio(fila, c, motivos);
    if (!motivos.isEmpty()) return Rechazar(l, motivos);
    Registrar(fila, c);
    Informar(l, c);
  }

  // The company with the empty code is the installation's own: what it holds
  // is the suite's settings, changed on the form, never by a row that may
  // simply have lost its code.
  static void AgregarMotivoCodigoVacio(const FilaLeida& fila, const Comparacion& c, QStringList& motivos) {
    if (!fila.codigo.isEmpty()) return;
    if (c.nueva)
      motivos << QStringLiteral("Falta el código de la empresa");
    else if (!c.cambios.isEmpty())
      motivos << QStringLiteral(
          "La empresa de código vacío es la de la instalación: se cambia en el formulario");
  }

  void Rechazar(LineaImportacion& l, const QStringList& motivos) {
    ++resumen_.rechazadas;
    l.veredicto = Veredicto::Rechazada;
    l.motivo = motivos.join(QStringLiteral("; "));
    informe_(l);
  }

  void Informar(LineaImportacion& l, const Comparacion& c) {
    l.cambios = c.cambios;
    if (c.nueva) {
      ++resumen_.nuevas;
      l.veredicto = Veredicto::Nueva;
    } else if (c.cambios.isEmpty()) {
      ++resumen_.sinCambios;
      l.veredicto = Veredicto::SinCambios;
    } else {
      ++resumen_.cambiadas;
      l.veredicto = Veredicto::Cambiada;
    }
    informe_(l);
  }

  // The form's save for one company: its row, its history and its seeding, as one unit.
  // `previos`: what the row's cells were refused for.
  void Grabar(const FilaLeida& fila, const QStringList& previos, LineaImportacion& l) {
    auto& u = Utilidades::Compartido();
    const QString codigo15 = u.AlinearDerecha(fila.codigo, kLargoCodigo);
    ado::Recordset rs;
    rs.SetCursorType(ado::adOpenDynamic);
    rs.SetLockType(ado::adLockOptimistic);
    Comparacion c;
    QStringList rechazo;
    QString fallo;
    QVector<ado::Value> antes, despues;
    bool escrita = false;
    int vueltas = 0;
    constexpr trampa::Omision fila1 = trampa::Omision::Prohibida;
    std::array<int, 3> copiadas{};
    auto leer = [&] {
      escrita = false;
      copiadas = {};
      rechazo = previos;
      if (rs.State() != ado::adStateClosed) rs.Close();
      rs.Open(Sentencia(fila.codigo), cnn_, ado::adOpenDynamic, ado::adLockOptimistic);
      // Compared inside the unit: what is compared is what gets overwritten.
      c = Comparar(fila, rs);
      rechazo << c.motivos;
      AgregarMotivoCodigoVacio(fila, c, rechazo);
      if (!rechazo.isEmpty())
        throw ado::Failure(ado::err::Unspecified, rechazo.join(QStringLiteral("; ")), kTabla);
      if (!c.nueva && c.cambios.isEmpty()) return;
      if (c.nueva) {
        rs.AddNew();
        rs.Fields(kCodigo).SetValue(codigo15);
        antes.clear();
      } else {
        antes = ValoresDeFila(rs);
      }
      for (int k = 0; k < c.columnas.size(); ++k) {
        QString columna = columnas_[c.columnas[k]].nombre;
        const ValorImportado& v = c.valores[k];
        QString texto = !v.logico ? v.texto : *v.logico ? QStringLiteral("1") : QStringLiteral("0");
        AsignarValorCampo(rs, columna, texto);
      }
      despues = ValoresDeFila(rs);
      rs.Update();
      escrita = true;
    };
    auto historia = [&] {
      if (!conHistoria_ || !escrita) return;
      historia_.Escribir(*cnn_, codigo15, c.nueva ? OperacionHistoria::Alta : OperacionHistoria::Modificacion,
                         CambiosEmpresa(ColumnasDeFila(rs), antes, despues));
    };
    auto sembrar = [&](std::size_t i) {
      return [&, i] {
        if (escrita) copiadas[i] = SembrarTabla(kTablasPorEmpresa[i], codigo15, Siembra::SinFilas, cnn_);
      };
    };
    auto manejador = [&](const ado::ErrorInfo& e, std::size_t, trampa::Omision) {
      if (!rechazo.isEmpty()) return 0;
      if (e.Number == ado::err::RowChanged && ++vueltas <= kVueltas) return trampa::Reintentar;
      fallo = e.Description.trimmed();
      return 0;
    };
    trampa::Resultado r = trampa::Resultado::Abandonado;
    try {
      r = EjecutarEnUnaTransaccion(
          *cnn_, kTabla,
          {{leer, fila1}, {historia, fila1}, {sembrar(0), fila1}, {sembrar(1), fila1}, {sembrar(2), fila1}},
          manejador);
    } catch (const std::exception& e) {
      fallo = QString::fromStdString(e.what());
    }
    if (rs.State() != ado::adStateClosed) rs.Close();
    l.nombre = c.nombre;
    if (r != trampa::Resultado::Completo) {
      if (!rechazo.isEmpty()) return Rechazar(l, rechazo);
      return Rechazar(l, {QStringLiteral("No se grabó: %1")
                              .arg(fallo.isEmpty() ? QStringLiteral("error desconocido") : fallo)});
    }
    Registrar(fila, c);
    l.grabada = escrita;
    QStringList filas;
    for (std::size_t i = 0; i < copiadas.size(); ++i)
      if (copiadas[i] > 0)
        filas << QStringLiteral("%1 %2").arg(TituloDe(kTablasPorEmpresa[i])).arg(copiadas[i]);
    l.filasEmpresa = filas.join(QStringLiteral(" · "));
    Informar(l, c);
  }

  Aplicacion aplicacion_;
  const InformeImportacion& informe_;
  ado::ConnectionPtr cnn_;
  QStringList nombres_;
  QHash<QString, ColumnaDestino> destinos_;
  Encabezados enc_;
  QVector<ColumnaDestino> columnas_;  // by imported column
  QHash<QString, QVector<Titular>> cuits_;
  QSet<QString> provincias_;
  QHash<QString, int> vistas_;  // codes already in the sheet, with their row
  HistoriaEmpresa historia_;
  bool conHistoria_ = false;
  ResumenImportacion resumen_;
};

}  // namespace

ResumenImportacion ImportarEmpresas(const Planilla& planilla, Aplicacion aplicacion,
                                    const InformeImportacion& informe, ado::ConnectionPtr cnn) {
  if (!cnn) cnn = DB_Dll::Instancia().gCnn();
  Importacion i(aplicacion, informe, cnn);
  return i.Ejecutar(planilla);
}
