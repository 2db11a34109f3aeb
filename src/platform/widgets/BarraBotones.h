#pragma once
// A row of buttons identified by text keys: one click signal carrying the
// key, an enabled state per key, a shortcut per button, and a "StyleBar"
// property (0 raised buttons, anything else flat ones).
#include <QIcon>
#include <QString>
#include <QVector>
#include <QWidget>

class QToolButton;

class BarraBotones : public QWidget {
  Q_OBJECT
  Q_PROPERTY(QVariant StyleBar READ StyleBar WRITE SetStyleBar)

 public:
  struct Boton {
    QString clave;
    QString texto;
    QIcon icono;
    int codigoTecla = 0;  // 0 = no shortcut
    int shift = 0;
    QString nombreTecla;  // as shown in the tool tip
  };

  // Keys are matched without regard to letter case.
  bool Habilitado(const QString& clave) const;
  void SetHabilitado(const QString& clave, bool habilitado);
  QStringList Claves() const;
  QToolButton* BotonDe(const QString& clave) const;
  QString Atajo(const QString& clave) const;

  QVariant StyleBar() const { return estilo_; }
  void SetStyleBar(const QVariant& estilo);

  // The bar's keyboard operation: when the key is the shortcut of a button
  // that is enabled on a usable bar, raises that button's click. Returns
  // whether it did.
  bool TeclaAbajo(int codigoTecla, int shift);
  // Whether TeclaAbajo would act on the key.
  bool AtiendeTecla(int codigoTecla, int shift) const;

 signals:
  void Click(const QString& clave);

 protected:
  BarraBotones(const QVector<Boton>& botones, QWidget* parent);

 private:
  int Indice(const QString& clave) const;
  int IndiceTecla(int codigoTecla, int shift) const;

  QVector<Boton> botones_;
  QVector<QToolButton*> widgets_;
  QVariant estilo_ = 1.0;
};
