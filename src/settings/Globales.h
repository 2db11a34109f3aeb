#pragma once
// Session values of the global module, kept for the whole run.
#include <QString>
#include <QVariant>

extern QString gSeccionEstacion;  // INI section of this workstation (at most 50 characters)
extern QVariant gFlatToolbars;    // toolbar style (a double)
extern QString gUsuarioLogeado;   // user of the session
extern QString gConnStringDSN;
extern QString gParametroAdicional;
extern QString gMenu;
extern QString gCaja;        // "1" when absent
extern quint32 gColorFondo;  // &HBBGGRR
extern quint32 gColorLetra;
