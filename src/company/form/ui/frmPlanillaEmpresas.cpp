#include "company/form/ui/frmPlanillaEmpresas.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include "platform/services/DialogosPorNombre.h"

namespace {

constexpr int kAnchoMaximo = 320;

QPushButton* Boton(const QString& texto, const char* nombre, const QString& ayuda, QWidget* padre) {
  auto* b = new QPushButton(texto, padre);
  b->setObjectName(QString::fromLatin1(nombre));
  b->setAutoDefault(false);
  b->setToolTip(ayuda);
  b->setAccessibleDescription(ayuda);
  return b;
}

}  // namespace

frmPlanillaEmpresas::frmPlanillaEmpresas(PlanillaEmpresas& planilla, const QString& titulo, QWidget* padre)
    : QDialog(padre), planilla_(planilla) {
  setObjectName(QStringLiteral("frmPlanillaEmpresas"));
  setWindowTitle(titulo);
  auto* capa = new QVBoxLayout(this);

  auto* fila = new QHBoxLayout;
  etiqueta_ = new QLabel(this);
  busqueda_ = new QLineEdit(this);
  busqueda_->setObjectName(QStringLiteral("txtBuscar"));
  busqueda_->setAccessibleDescription(
      QStringLiteral("Escriba el comienzo del valor; Enter: mostrar la empresa; flechas: ir a la planilla"));
  etiqueta_->setBuddy(busqueda_);
  fila->addWidget(etiqueta_);
  fila->addWidget(busqueda_, 1);
  capa->addLayout(fila);

  tabla_ = new QTableView(this);
  tabla_->setObjectName(QStringLiteral("grdPlanilla"));
  tabla_->setAccessibleName(QStringLiteral("Empresas"));
  tabla_->setAccessibleDescription(
      QStringLiteral("Enter o doble clic: mostrar la empresa en el formulario; una letra: buscar en la "
                     "columna actual; Alt+O: ordenar por ella; Escape: cerrar"));
  tabla_->setModel(&planilla_.Modelo());
  tabla_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  tabla_->setSelectionBehavior(QAbstractItemView::SelectRows);
  tabla_->setSelectionMode(QAbstractItemView::SingleSelection);
  tabla_->setTabKeyNavigation(false);
  tabla_->verticalHeader()->hide();
  tabla_->horizontalHeader()->setSectionsClickable(true);
  tabla_->horizontalHeader()->setSortIndicatorShown(true);
  tabla_->horizontalHeader()->setSortIndicator(planilla_.Modelo().ColumnaOrden(), planilla_.Modelo().Orden());
  tabla_->horizontalHeader()->setResizeContentsPrecision(ModeloPlanilla::kFilasPorPagina);
  tabla_->resizeColumnsToContents();
  for (int c = 0; c < planilla_.Modelo().columnCount(); ++c)
    if (tabla_->columnWidth(c) > kAnchoMaximo) tabla_->setColumnWidth(c, kAnchoMaximo);
  capa->addWidget(tabla_, 1);

  auto* botones = new QHBoxLayout;
  mostrar_ = Boton(QStringLiteral("&Mostrar"), "cmdMostrar",
                   QStringLiteral("Muestra en el formulario la empresa elegida (Enter)"), this);
  ordenar_ = Boton(QStringLiteral("&Ordenar"), "cmdOrdenar",
                   QStringLiteral("Ordena por la columna actual; otra vez, al revés"), this);
  exportar_ = Boton(QStringLiteral("E&xportar…"), "cmdExportar",
                    QStringLiteral("Guarda todas las empresas en una planilla .xlsx o .csv"), this);
  cerrar_ =
      Boton(QStringLiteral("&Cerrar"), "cmdCerrar", QStringLiteral("Cierra la planilla (Escape)"), this);
  botones->addStretch();
  for (QPushButton* b : {mostrar_, ordenar_, exportar_, cerrar_}) botones->addWidget(b);
  capa->addLayout(botones);

  connect(mostrar_, &QPushButton::clicked, this, [this] { planilla_.Elegir(FilaActual()); });
  connect(ordenar_, &QPushButton::clicked, this, [this] { Ordenar(planilla_.ColumnaBusqueda()); });
  connect(exportar_, &QPushButton::clicked, this, [this] { planilla_.Exportar(); });
  connect(cerrar_, &QPushButton::clicked, this, &QDialog::reject);
  connect(tabla_, &QTableView::doubleClicked, this,
          [this](const QModelIndex& i) { planilla_.Elegir(i.row()); });
  connect(tabla_->horizontalHeader(), &QHeaderView::sectionClicked, this, [this](int c) { Ordenar(c); });
  connect(tabla_->selectionModel(), &QItemSelectionModel::currentChanged, this,
          [this](const QModelIndex& actual) {
            if (!actual.isValid() || actual.column() == planilla_.ColumnaBusqueda()) return;
            planilla_.FijarColumnaBusqueda(actual.column());
            MostrarColumnaBusqueda();
          });
  connect(busqueda_, &QLineEdit::textEdited, this, [this](const QString& t) { planilla_.Buscar(t); });
  connect(&planilla_, &PlanillaEmpresas::FilaElegida, this,
          [this](int f) { IrAFila(f, planilla_.ColumnaBusqueda()); });
  connect(&planilla_, &PlanillaEmpresas::Ocultar, this, &QDialog::accept);

  busqueda_->installEventFilter(this);
  tabla_->installEventFilter(this);
  MostrarColumnaBusqueda();
  if (planilla_.Modelo().rowCount() > 0) IrAFila(0, planilla_.ColumnaBusqueda());
  busqueda_->setFocus();
  resize(960, 520);
}

int frmPlanillaEmpresas::FilaActual() const {
  const QModelIndex i = tabla_->currentIndex();
  return i.isValid() ? i.row() : -1;
}

void frmPlanillaEmpresas::IrAFila(int fila, int columna) {
  const QModelIndex i = planilla_.Modelo().index(fila, columna);
  tabla_->setCurrentIndex(i);
  // The code stays in sight unless the column searched lies further right.
  tabla_->scrollTo(planilla_.Modelo().index(fila, 0));
  tabla_->scrollTo(i);
}

void frmPlanillaEmpresas::MostrarColumnaBusqueda() {
  const QString columna = planilla_.TituloBusqueda();
  etiqueta_->setText(QStringLiteral("&Buscar en %1:").arg(columna));
  busqueda_->setAccessibleName(QStringLiteral("Buscar en ") + columna);
}

void frmPlanillaEmpresas::Ordenar(int columna) {
  planilla_.Ordenar(columna);
  tabla_->horizontalHeader()->setSortIndicator(planilla_.Modelo().ColumnaOrden(), planilla_.Modelo().Orden());
  planilla_.FijarColumnaBusqueda(columna);
  MostrarColumnaBusqueda();
  // The search goes on in the new order, from what the box holds.
  if (planilla_.Buscar(busqueda_->text()) < 0 && planilla_.Modelo().rowCount() > 0) IrAFila(0, columna);
}

bool frmPlanillaEmpresas::eventFilter(QObject* objeto, QEvent* evento) {
  if (evento->type() != QEvent::KeyPress) return QDialog::eventFilter(objeto, evento);
  auto* k = static_cast<QKeyEvent*>(evento);
  const bool enter = k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter;
  if (enter && k->modifiers() == Qt::NoModifier) {
    planilla_.Elegir(FilaActual());
    return true;
  }
  if (objeto == busqueda_) {
    switch (k->key()) {
      case Qt::Key_Down:
      case Qt::Key_Up:
      case Qt::Key_PageDown:
      case Qt::Key_PageUp:
        // The arrows go on in the sheet from the row found.
        tabla_->setFocus();
        QCoreApplication::sendEvent(tabla_, evento);
        return true;
      default:
        return false;
    }
  }
  if (objeto == tabla_) {
    const bool sinModificador = !(k->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
    // Typing in the sheet types into the search box, as in the list lookup.
    if (sinModificador && k->key() == Qt::Key_Backspace) {
      busqueda_->setFocus();
      busqueda_->backspace();
      planilla_.Buscar(busqueda_->text());
      return true;
    }
    if (sinModificador && !k->text().isEmpty() && k->text().at(0).isPrint()) {
      busqueda_->setFocus();
      busqueda_->insert(k->text());
      planilla_.Buscar(busqueda_->text());
      return true;
    }
  }
  return false;
}

void RegistrarFrmPlanillaEmpresas() {
  RegistrarDialogo(QString::fromLatin1(DialogoPlanillaEmpresas::kNombre), [](DialogoModal& modal) {
    auto& d = static_cast<DialogoPlanillaEmpresas&>(modal);
    frmPlanillaEmpresas ventana(*d.planilla, d.titulo);
    ventana.exec();
  });
}
