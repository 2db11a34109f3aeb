#include "lookup/ui/BotonesConsulta.h"

#include <QBoxLayout>
#include <QPushButton>

BotonesConsulta CrearBotonesConsulta(QWidget* padre, QBoxLayout* fila) {
  BotonesConsulta b{new QPushButton(QStringLiteral("&Aceptar"), padre),
                    new QPushButton(QStringLiteral("&Cancelar"), padre),
                    new QPushButton(QStringLiteral("&Nueva Busqueda"), padre)};
  b.aceptar->setObjectName(QStringLiteral("CmdAceptar"));
  b.cancelar->setObjectName(QStringLiteral("CmdCancelar"));
  b.nueva->setObjectName(QStringLiteral("CmdNueva"));
  for (QPushButton* boton : {b.aceptar, b.cancelar, b.nueva}) {
    boton->setAutoDefault(false);
    fila->addWidget(boton);
  }
  return b;
}
