// The sheet as CSV for spreadsheets: UTF-8 with a byte-order mark (without
// it they take the file for the Windows code page), records ended by CR LF.
#include <QIODevice>

#include "company/rules/HojaExportada.h"
#include "company/rules/RegistroCsv.h"

namespace {

class Csv : public HojaExportada {
 public:
  explicit Csv(QIODevice& destino) : destino_(destino) { Escribir(QByteArrayLiteral("\xEF\xBB\xBF")); }

  void Encabezado(const QVector<ColumnaExportada>& columnas) override {
    QStringList nombres;
    for (const ColumnaExportada& c : columnas) nombres << c.nombre;
    Registro(nombres);
  }

  // A number, even a negative one, is no formula: it goes as its digits, so
  // that a spreadsheet reads it as the number it is.
  void Fila(const QVector<Celda>& celdas) override {
    QString linea;
    for (int i = 0; i < celdas.size(); ++i) {
      if (i > 0) linea += QLatin1Char(',');
      const Celda& c = celdas[i];
      linea += c.clase == Celda::Clase::Numero || c.numeroComoTexto ? c.texto : CampoCsv(c.texto);
    }
    Escribir((linea + QStringLiteral("\r\n")).toUtf8());
  }

  QString Terminar(QIODevice&) override { return error_; }
  QString Error() const override { return error_; }

 private:
  void Registro(const QStringList& campos) {
    Escribir((RegistroCsv(campos) + QStringLiteral("\r\n")).toUtf8());
  }

  void Escribir(const QByteArray& b) {
    if (error_.isEmpty() && destino_.write(b) != b.size()) error_ = destino_.errorString();
  }

  QIODevice& destino_;
  QString error_;
};

}  // namespace

std::unique_ptr<HojaExportada> HojaCsv(QIODevice& destino) { return std::make_unique<Csv>(destino); }
