// The sheet as an XLSX file, written by libxlsxwriter in its constant-memory
// mode (each row goes to a temporary file as soon as the next one begins).
#include <locale.h>
#include <xlsxwriter.h>

#include <QFile>
#include <QIODevice>
#include <QTemporaryFile>
#include <algorithm>

#include "company/rules/HojaExportada.h"

namespace {

constexpr int kFilasDeHoja = 1048576;  // rows a sheet holds, the header among them

// The library writes numbers and dates with the C library's printf, which
// under es_AR would put a decimal comma into the file's XML: every call into
// it runs with the C convention on this thread.
class NumerosEnC {
 public:
  NumerosEnC() : c_(newlocale(LC_NUMERIC_MASK, "C", duplocale(LC_GLOBAL_LOCALE))), antes_(uselocale(c_)) {}
  ~NumerosEnC() {
    uselocale(antes_);
    freelocale(c_);
  }
  NumerosEnC(const NumerosEnC&) = delete;
  NumerosEnC& operator=(const NumerosEnC&) = delete;

 private:
  locale_t c_;
  locale_t antes_;
};

QString Motivo(lxw_error e) { return QString::fromUtf8(lxw_strerror(e)); }

class Xlsx : public HojaExportada {
 public:
  Xlsx() {
    if (!archivo_.open()) {
      error_ = QStringLiteral("no se pudo crear un archivo temporal: ") + archivo_.errorString();
      return;
    }
    archivo_.close();  // the library writes it by its name
    nombre_ = QFile::encodeName(archivo_.fileName());
    NumerosEnC c;
    lxw_workbook_options opciones{};
    opciones.constant_memory = LXW_TRUE;
    libro_ = workbook_new_opt(nombre_.constData(), &opciones);
    if (!libro_) {
      error_ = QStringLiteral("no se pudo preparar la planilla");
      return;
    }
    hoja_ = workbook_add_worksheet(libro_, "Empresas");
    negrita_ = workbook_add_format(libro_);
    format_set_bold(negrita_);
    fecha_ = workbook_add_format(libro_);
    format_set_num_format(fecha_, "dd/mm/yyyy");
    fechaHora_ = workbook_add_format(libro_);
    format_set_num_format(fechaHora_, "dd/mm/yyyy hh:mm:ss");
  }

  ~Xlsx() override {
    if (libro_) {
      NumerosEnC c;
      workbook_close(libro_);
    }
  }

  void Encabezado(const QVector<ColumnaExportada>& columnas) override {
    if (!error_.isEmpty()) return;
    NumerosEnC c;
    for (int i = 0; i < columnas.size(); ++i) {
      const auto col = static_cast<lxw_col_t>(i);
      worksheet_set_column(hoja_, col, col, columnas[i].ancho, nullptr);
      Anotar(worksheet_write_string(hoja_, 0, col, columnas[i].nombre.toUtf8().constData(), negrita_));
    }
    worksheet_freeze_panes(hoja_, 1, 0);
  }

  void Fila(const QVector<Celda>& celdas) override {
    if (!error_.isEmpty()) return;
    if (++fila_ >= kFilasDeHoja) {
      error_ = QStringLiteral("una hoja de cálculo no admite más de %1 filas").arg(kFilasDeHoja - 1);
      return;
    }
    NumerosEnC c;
    const auto fila = static_cast<lxw_row_t>(fila_);
    for (int i = 0; i < celdas.size() && error_.isEmpty(); ++i) {
      const Celda& celda = celdas[i];
      const auto col = static_cast<lxw_col_t>(i);
      switch (celda.clase) {
        case Celda::Clase::Vacia:
          break;
        case Celda::Clase::Numero:
          Anotar(worksheet_write_number(hoja_, fila, col, celda.numero, nullptr));
          break;
        case Celda::Clase::Logico:
          Anotar(worksheet_write_boolean(hoja_, fila, col, celda.numero != 0, nullptr));
          break;
        case Celda::Clase::Fecha: {
          const QDate d = celda.fecha.date();
          const QTime t = celda.fecha.time();
          lxw_datetime f{d.year(), d.month(), d.day(), t.hour(), t.minute(), t.second() + t.msec() / 1000.0};
          Anotar(worksheet_write_datetime(hoja_, fila, col, &f, celda.conHora ? fechaHora_ : fecha_));
          break;
        }
        case Celda::Clase::Texto:
          if (!celda.texto.isEmpty())
            Anotar(worksheet_write_string(hoja_, fila, col, celda.texto.toUtf8().constData(), nullptr));
          break;
      }
    }
  }

  QString Terminar(QIODevice& destino) override {
    if (!error_.isEmpty()) return error_;
    lxw_error e;
    {
      NumerosEnC c;
      e = workbook_close(libro_);
      libro_ = nullptr;
    }
    if (e != LXW_NO_ERROR) return QStringLiteral("no se pudo escribir la planilla: ") + Motivo(e);
    QFile hecho(archivo_.fileName());
    if (!hecho.open(QIODevice::ReadOnly)) return hecho.errorString();
    QByteArray bloque;
    while (!(bloque = hecho.read(1 << 20)).isEmpty())
      if (destino.write(bloque) != bloque.size()) return destino.errorString();
    return {};
  }

  QString Error() const override { return error_; }

 private:
  void Anotar(lxw_error e) {
    if (e != LXW_NO_ERROR && error_.isEmpty())
      error_ = QStringLiteral("fila %1: %2").arg(fila_ + 1).arg(Motivo(e));
  }

  QTemporaryFile archivo_;
  QByteArray nombre_;
  lxw_workbook* libro_ = nullptr;
  lxw_worksheet* hoja_ = nullptr;
  lxw_format* negrita_ = nullptr;
  lxw_format* fecha_ = nullptr;
  lxw_format* fechaHora_ = nullptr;
  int fila_ = 0;  // the last row written; 0 the header
  QString error_;
};

}  // namespace

std::unique_ptr<HojaExportada> HojaXlsx() { return std::make_unique<Xlsx>(); }
