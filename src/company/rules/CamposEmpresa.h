#pragma once
// The company form's text fields: bound column, lookup table, label, tab
// position and the letter that reaches it with Alt, by index.
#include <array>

struct CampoEmpresa {
  const char* columna;
  const char* tag;  // table looked up on the field; "" for none
  const char* etiqueta;
  int ordenTab;
  bool dosLineas;
  // Alt and this letter of the label reach the field; the tabs take D, U and P.
  char tecla;
};

constexpr int kCamposEmpresa = 14;

inline constexpr std::array<CampoEmpresa, kCamposEmpresa> kTablaCampos{{
    {"IdEmpresa", "P_MA_Empresas", "Empresa:", 0, false, 'm'},
    {"NombreEmpresa", "", "Nombre:", 1, false, 'N'},
    {"Calle", "", "Calle:", 2, false, 'C'},
    {"Numero", "", "Numero:", 3, false, 'r'},
    {"Piso", "", "Piso:", 4, false, 's'},
    {"Dpto", "", "Dpto:", 5, false, 't'},
    {"Localidad", "", "Localidad:", 6, false, 'L'},
    {"CodigoPostal", "", "Codigo Postal:", 7, false, 'o'},
    {"Telefono", "", "Telefono:", 10, false, 'f'},
    {"eMail", "", "E-m@il:", 11, false, 'E'},
    {"CUIT", "", "CUIT:", 9, false, 'I'},
    {"Actividad", "", "Actividad:", 12, false, 'A'},
    {"Observaciones", "", "Observaciones:", 13, true, 'b'},
    {"IdProvincia", "ta_estados", "Provincia", 8, false, 'v'},
}};

// Tabs of the form.
enum class Pestana { DatosGenerales = 0, Usuarios = 1, CamposPersonalizados = 2 };
