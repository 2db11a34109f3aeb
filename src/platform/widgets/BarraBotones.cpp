#include "platform/widgets/BarraBotones.h"

#include <QHBoxLayout>
#include <QToolButton>

#include "platform/widgets/CodigosTecla.h"

BarraBotones::BarraBotones(const QVector<Boton>& botones, QWidget* parent)
    : QWidget(parent), botones_(botones) {
  auto* fila = new QHBoxLayout(this);
  fila->setContentsMargins(2, 2, 2, 2);
  fila->setSpacing(2);
  for (const Boton& b : botones_) {
    auto* w = new QToolButton(this);
    w->setObjectName(b.clave);
    w->setText(b.texto);
    w->setIcon(b.icono);
    w->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    w->setFocusPolicy(Qt::NoFocus);  // the record fields keep the focus
    w->setToolTip(b.nombreTecla.isEmpty() ? b.texto : QStringLiteral("%1 (%2)").arg(b.texto, b.nombreTecla));
    const QString clave = b.clave;
    connect(w, &QToolButton::clicked, this, [this, clave] { emit Click(clave); });
    fila->addWidget(w);
    widgets_.push_back(w);
  }
  fila->addStretch();
  SetStyleBar(estilo_);
}

int BarraBotones::Indice(const QString& clave) const {
  for (int i = 0; i < botones_.size(); ++i)
    if (botones_[i].clave.compare(clave.trimmed(), Qt::CaseInsensitive) == 0) return i;
  return -1;
}

int BarraBotones::IndiceTecla(int codigoTecla, int shift) const {
  if (codigoTecla == 0) return -1;
  const int mods = shift & (tecla::Mayusculas | tecla::Control | tecla::Alt);
  for (int i = 0; i < botones_.size(); ++i)
    if (botones_[i].codigoTecla == codigoTecla && botones_[i].shift == mods) return i;
  return -1;
}

bool BarraBotones::Habilitado(const QString& clave) const {
  const int i = Indice(clave);
  return i >= 0 && widgets_[i]->isEnabled();
}

void BarraBotones::SetHabilitado(const QString& clave, bool habilitado) {
  const int i = Indice(clave);
  if (i >= 0) widgets_[i]->setEnabled(habilitado);
}

QStringList BarraBotones::Claves() const {
  QStringList c;
  for (const Boton& b : botones_) c << b.clave;
  return c;
}

QToolButton* BarraBotones::BotonDe(const QString& clave) const {
  const int i = Indice(clave);
  return i >= 0 ? widgets_[i] : nullptr;
}

QString BarraBotones::Atajo(const QString& clave) const {
  const int i = Indice(clave);
  return i >= 0 ? botones_[i].nombreTecla : QString();
}

void BarraBotones::SetStyleBar(const QVariant& estilo) {
  estilo_ = estilo;
  const bool plano = estilo.toDouble() != 0;
  for (QToolButton* w : widgets_) w->setAutoRaise(plano);
}

bool BarraBotones::AtiendeTecla(int codigoTecla, int shift) const {
  const int i = IndiceTecla(codigoTecla, shift);
  // A bar hidden or disabled on purpose is not usable: its keys belong to the
  // fields. A bar merely not shown yet (its window is not) still is.
  const bool oculta = isHidden() && testAttribute(Qt::WA_WState_ExplicitShowHide);
  return i >= 0 && widgets_[i]->isEnabled() && isEnabled() && !oculta;
}

bool BarraBotones::TeclaAbajo(int codigoTecla, int shift) {
  if (!AtiendeTecla(codigoTecla, shift)) return false;
  emit Click(botones_[IndiceTecla(codigoTecla, shift)].clave);
  return true;
}
