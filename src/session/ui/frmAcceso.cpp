#include "session/ui/frmAcceso.h"

#include <QComboBox>
#include <QFont>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>

#include "db/SolicitudAcceso.h"
#include "platform/services/DialogosPorNombre.h"

namespace {

// Geometry is given in twips; at the usual 96 dots per inch a pixel is 15 twips.
int Px(int twips) { return twips / 15; }

QFont Fuente(const QString& familia, QFont::StyleHint pista) {
  QFont f(familia);
  f.setStyleHint(pista);
  return f;
}

}  // namespace

frmAcceso::frmAcceso(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("frmAcceso"));
  setWindowTitle(QStringLiteral("Control de Acceso"));
  setModal(true);
  setFixedSize(Px(6180), Px(3480));

  framAcceso = new QFrame(this);
  framAcceso->setObjectName(QStringLiteral("framAcceso"));
  framAcceso->setFrameShape(QFrame::StyledPanel);
  framAcceso->setGeometry(Px(120), Px(60), Px(5940), Px(3300));

  const QFont fuenteTexto = Fuente(QStringLiteral("MS Sans Serif"), QFont::SansSerif);
  const QFont fuenteEtiqueta = Fuente(QStringLiteral("Courier"), QFont::TypeWriter);

  auto texto = [&](const char* nombre, int top) {
    auto* t = new QLineEdit(framAcceso);
    t->setObjectName(QString::fromLatin1(nombre));
    t->setFont(fuenteTexto);
    t->setGeometry(Px(1920), Px(top), Px(3735), Px(345));
    return t;
  };
  auto etiqueta = [&](const char* nombre, const QString& caption, QLineEdit* para) {
    auto* l = new QLabel(caption, framAcceso);
    l->setObjectName(QString::fromLatin1(nombre));
    l->setFont(fuenteEtiqueta);
    l->setBuddy(para);
    const QRect r = para->geometry();
    l->setGeometry(Px(120), r.top(), Px(1740), r.height());
    return l;
  };

  TxtUserId = texto("TxtUserId", 240);
  TxtUserPassword = texto("TxtUserPassword", 600);
  TxtUserPassword->setEchoMode(QLineEdit::Password);
  TxtDbName = texto("TxtDbName", 1080);
  TxtServidor = texto("TxtServidor", 1440);
  lbUsuario = etiqueta("lbUsuario", QStringLiteral("&Usuario"), TxtUserId);
  lbcontrasena = etiqueta("lbcontrasena", QStringLiteral("&Contraseña"), TxtUserPassword);
  Label1 = etiqueta("Label1", QStringLiteral("&Base de Datos"), TxtDbName);
  Label2 = etiqueta("Label2", QStringLiteral("&Servidor"), TxtServidor);

  CboPlataformaDB = new QComboBox(framAcceso);
  CboPlataformaDB->setObjectName(QStringLiteral("CboPlataformaDB"));
  CboPlataformaDB->addItems({QStringLiteral("SQL Server"), QStringLiteral("ORACLE")});
  CboPlataformaDB->setGeometry(Px(1920), Px(1890), Px(3735), Px(345));
  CboPlataformaDB->setCurrentIndex(SolicitudAcceso::SqlServer);

  bcAceptar = new QPushButton(QStringLiteral("Aceptar"), framAcceso);
  bcAceptar->setObjectName(QStringLiteral("bcAceptar"));
  bcAceptar->setGeometry(Px(1440), Px(2415), Px(1455), Px(495));
  // Enter anywhere in the dialog accepts.
  bcAceptar->setDefault(true);
  bcCancelar = new QPushButton(QStringLiteral("Cancelar"), framAcceso);
  bcCancelar->setObjectName(QStringLiteral("bcCancelar"));
  bcCancelar->setGeometry(Px(3000), Px(2415), Px(1455), Px(495));

  setTabOrder(TxtUserId, TxtUserPassword);
  setTabOrder(TxtUserPassword, TxtDbName);
  setTabOrder(TxtDbName, TxtServidor);
  setTabOrder(TxtServidor, CboPlataformaDB);
  setTabOrder(CboPlataformaDB, bcAceptar);
  setTabOrder(bcAceptar, bcCancelar);

  connect(bcAceptar, &QPushButton::clicked, this, &frmAcceso::bcAceptar_Click);
  connect(bcCancelar, &QPushButton::clicked, this, &frmAcceso::bcCancelar_Click);
  // Escape and the close box reject the dialog, which leaves Aceptar false.
}

void frmAcceso::bcAceptar_Click() {
  Aceptar = true;
  accept();
}

void frmAcceso::bcCancelar_Click() {
  Aceptar = false;
  reject();
}

void frmAcceso::showEvent(QShowEvent* e) {
  if (const QScreen* s = screen())
    move(s->geometry().topLeft() + PosicionCentrada(s->geometry().size(), size()));
  QDialog::showEvent(e);
}

void frmAcceso::Atender(SolicitudAcceso& solicitud) {
  TxtDbName->setText(solicitud.TxtDbName);
  TxtServidor->setText(solicitud.TxtServidor);
  TxtUserId->setText(solicitud.TxtUserId);
  TxtUserPassword->setText(solicitud.TxtUserPassword);
  CboPlataformaDB->setCurrentIndex(solicitud.CboPlataformaDB > SolicitudAcceso::SqlServer
                                       ? SolicitudAcceso::Oracle
                                       : SolicitudAcceso::SqlServer);
  Aceptar = false;
  TxtUserId->setFocus();
  exec();
  solicitud.Aceptar = Aceptar;
  if (!Aceptar) return;
  solicitud.TxtDbName = TxtDbName->text();
  solicitud.TxtServidor = TxtServidor->text();
  solicitud.TxtUserId = TxtUserId->text();
  solicitud.TxtUserPassword = TxtUserPassword->text();
  solicitud.CboPlataformaDB = CboPlataformaDB->currentIndex();
}

QPoint PosicionCentrada(const QSize& pantalla, const QSize& ventana) {
  return {(pantalla.width() - ventana.width()) / 2, (pantalla.height() - ventana.height()) / 2};
}

void RegistrarFrmAcceso() {
  RegistrarDialogo(QStringLiteral("frmAcceso"), [](DialogoModal& d) {
    auto& solicitud = dynamic_cast<SolicitudAcceso&>(d);
    frmAcceso dlg;
    dlg.Atender(solicitud);
  });
}
