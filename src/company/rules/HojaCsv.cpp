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

  void Fila(const QVector<Celda>& celdas) override {
    campos_.clear();
    for (const Celda& c : celdas) campos_ << c.texto;
    Registro(campos_);
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
  QStringList campos_;
  QString error_;
};

}  // namespace

std::unique_ptr<HojaExportada> HojaCsv(QIODevice& destino) { return std::make_unique<Csv>(destino); }
