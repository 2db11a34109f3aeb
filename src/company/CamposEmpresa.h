#pragma once
// The company form's text fields: bound column, lookup table, label and tab
// position of each, by index.
#include <array>

struct CampoEmpresa {
  const char* columna;
  const char* tag;  // table looked up on the field; "" for none
  const char* etiqueta;
  int ordenTab;
  bool dosLineas;
};

constexpr int kCamposEmpresa = 14;

inline constexpr std::array<CampoEmpresa, kCamposEmpresa> kTablaCampos{{
    {"IdEmpresa", "P_MA_Empresas", "Empresa:", 0, false},
    {"NombreEmpresa", "", "Nombre:", 1, false},
    {"Calle", "", "Calle:", 2, false},
    {"Numero", "", "Numero:", 3, false},
    {"Piso", "", "Piso:", 4, false},
    {"Dpto", "", "Dpto:", 5, false},
    {"Localidad", "", "Localidad:", 6, false},
    {"CodigoPostal", "", "Codigo Postal:", 7, false},
    {"Telefono", "", "Telefono:", 10, false},
    {"eMail", "", "E-m@il:", 11, false},
    {"CUIT", "", "CUIT:", 9, false},
    {"Actividad", "", "Actividad:", 12, false},
    {"Observaciones", "", "Observaciones:", 13, true},
    {"IdProvincia", "ta_estados", "Provincia", 8, false},
}};

// Tabs of the form.
enum class Pestana { DatosGenerales = 0, Usuarios = 1, CamposPersonalizados = 2 };
