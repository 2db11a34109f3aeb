#include "settings/Globales.h"

QString gSeccionEstacion;
QVariant gFlatToolbars;
QString gUsuarioLogeado;
QString gConnStringDSN;
QString gParametroAdicional;
QString gMenu;
QString gCaja = QStringLiteral("1");
quint32 gColorFondo = 0xFFFFFF;
quint32 gColorLetra = 0;
