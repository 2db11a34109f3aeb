#include "company/form/ui/frmReporteEmpresa.h"

#include <QApplication>
#include <QComboBox>
#include <QFontMetrics>
#include <QGraphicsView>
#include <QLineEdit>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <algorithm>

#include "company/form/HojaEmpresa.h"
#include "platform/services/DialogosPorNombre.h"
#include "platform/widgets/ConversorImagen.h"

namespace {

QFont Letra(double puntos, bool negrita = false) {
  QFont f(QStringLiteral("DejaVu Sans"));
  f.setPointSizeF(puntos);
  f.setBold(negrita);
  // Without ligatures: text copied or searched in the PDF reads "fi" as two letters.
  f.setStyleStrategy(QFont::PreferNoShaping);
  return f;
}

// Lays the sheet out top to bottom, a page at a time, with the footer on each page.
class Dibujo {
 public:
  Dibujo(QPainter& p, QPagedPaintDevice& d, const HojaEmpresa& h)
      : p_(p), d_(d), h_(h), mm_(d.logicalDpiX() / 25.4), ancho_(d.width()) {
    p_.setFont(Letra(8));
    alto_ = d.height() - p_.fontMetrics().height() - static_cast<int>(4 * mm_);
  }

  void Todo() {
    Encabezado();
    for (const SeccionHoja& s : h_.secciones) Seccion(s);
    Pie();
  }

 private:
  int Mm(double n) const { return static_cast<int>(n * mm_); }

  void Lugar(int alto) {
    if (y_ + alto <= alto_ || y_ == 0) return;
    Pie();
    d_.newPage();
    ++pagina_;
    y_ = 0;
  }

  void Encabezado() {
    int altoLogo = 0, anchoLogo = 0;
    const Imagen logo = Imagen::DesdeBytes(h_.logo);
    if (!h_.logo.isEmpty() && !logo.EsNula()) {
      const QSize caja = logo.Dibujo().size().scaled(Mm(45), Mm(25), Qt::KeepAspectRatio);
      anchoLogo = caja.width();
      altoLogo = caja.height();
      p_.drawImage(QRect(ancho_ - anchoLogo, 0, anchoLogo, altoLogo), logo.Dibujo());
    }
    p_.setFont(Letra(15, true));
    const QRect caja(0, 0, ancho_ - anchoLogo - (anchoLogo ? Mm(6) : 0), alto_);
    const QRect titulo = p_.boundingRect(caja, Qt::TextWordWrap, h_.titulo);
    p_.drawText(caja, Qt::TextWordWrap, h_.titulo);
    y_ = std::max(titulo.height(), altoLogo) + Mm(6);
  }

  void Seccion(const SeccionHoja& s) {
    p_.setFont(Letra(10));
    int columna = 0;
    for (const LineaHoja& l : s.lineas)
      columna = std::max(columna, p_.fontMetrics().horizontalAdvance(l.titulo));
    columna = std::min(columna + Mm(4), ancho_ * 2 / 5);

    p_.setFont(Letra(11.5, true));
    const int altoTitulo = p_.fontMetrics().height();
    // A section title does not stay alone at the foot of a page.
    Lugar(altoTitulo + Mm(2) + Alto(s.lineas.isEmpty() ? QString() : s.lineas.first().valor, columna));
    p_.setFont(Letra(11.5, true));
    p_.drawText(QRect(0, y_, ancho_, altoTitulo), Qt::AlignLeft | Qt::AlignVCenter, s.titulo);
    y_ += altoTitulo + Mm(1);
    p_.drawLine(0, y_, ancho_, y_);
    y_ += Mm(2.5);

    for (const LineaHoja& l : s.lineas) {
      const int alto = Alto(l.valor, columna);
      Lugar(alto);
      p_.setFont(Letra(10));
      p_.drawText(QRect(0, y_, columna, alto), Qt::AlignLeft | Qt::AlignTop, l.titulo);
      p_.drawText(QRect(columna, y_, ancho_ - columna, alto), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
                  l.valor);
      y_ += alto + Mm(1.2);
    }
    y_ += Mm(5);
  }

  // The height a value takes in its column, at least one line.
  int Alto(const QString& valor, int columna) {
    p_.setFont(Letra(10));
    const int linea = p_.fontMetrics().height();
    if (valor.isEmpty()) return linea;
    return std::max(linea, p_.boundingRect(QRect(0, 0, ancho_ - columna, 1 << 20),
                                           Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, valor)
                               .height());
  }

  void Pie() {
    p_.setFont(Letra(8));
    const int base = d_.height() - p_.fontMetrics().height();
    p_.drawLine(0, base - Mm(1.5), ancho_, base - Mm(1.5));
    const QRect caja(0, base, ancho_, p_.fontMetrics().height());
    p_.drawText(caja, Qt::AlignLeft | Qt::AlignVCenter, h_.pie);
    p_.drawText(caja, Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("Página %1").arg(pagina_));
  }

  QPainter& p_;
  QPagedPaintDevice& d_;
  const HojaEmpresa& h_;
  const double mm_;
  const int ancho_;
  int alto_ = 0;  // where the footer begins
  int y_ = 0;
  int pagina_ = 1;
};

// Qt's preview leaves its page box, zoom box and page view without a name a screen reader can speak.
void NombrarControles(QPrintPreviewDialog& vista) {
  for (QLineEdit* e : vista.findChildren<QLineEdit*>())
    e->setAccessibleName(qobject_cast<QComboBox*>(e->parentWidget()) ? QStringLiteral("Ampliación")
                                                                     : QStringLiteral("Página"));
  for (QComboBox* c : vista.findChildren<QComboBox*>()) c->setAccessibleName(QStringLiteral("Ampliación"));
  for (QGraphicsView* v : vista.findChildren<QGraphicsView*>()) {
    v->setAccessibleName(QStringLiteral("Hoja de la empresa"));
    v->viewport()->setAccessibleName(QStringLiteral("Hoja de la empresa"));
  }
}

}  // namespace

void PrepararA4(QPagedPaintDevice& dispositivo) {
  dispositivo.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                        QMarginsF(18, 15, 18, 12), QPageLayout::Millimeter));
}

bool DibujarHoja(const HojaEmpresa& hoja, QPagedPaintDevice& dispositivo) {
  QPainter p;
  if (!p.begin(&dispositivo)) return false;
  Dibujo(p, dispositivo, hoja).Todo();
  return p.end();
}

bool GuardarHojaEnPdf(const HojaEmpresa& hoja, const QString& archivo) {
  QPdfWriter pdf(archivo);
  pdf.setTitle(hoja.titulo);
  pdf.setCreator(QStringLiteral("MA_Empresas"));
  PrepararA4(pdf);
  return DibujarHoja(hoja, pdf);
}

void RegistrarFrmReporteEmpresa() {
  RegistrarDialogo(QStringLiteral("frmReporteEmpresa"), [](DialogoModal& modal) {
    const auto& d = static_cast<DialogoReporte&>(modal);
    QPrinter impresora(QPrinter::HighResolution);
    impresora.setDocName(d.titulo);
    PrepararA4(impresora);
    QPrintPreviewDialog vista(&impresora, QApplication::activeWindow());
    vista.setObjectName(QStringLiteral("frmReporteEmpresa"));
    vista.setWindowTitle(d.titulo);
    vista.setAccessibleName(d.titulo);
    NombrarControles(vista);
    vista.resize(820, 760);  // the page legible at first sight
    QObject::connect(&vista, &QPrintPreviewDialog::paintRequested,
                     [&d](QPrinter* p) { DibujarHoja(d.hoja, *p); });
    vista.exec();
  });
}
