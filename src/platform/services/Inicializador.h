#pragma once
// Start-up of the services: remembers the application's folder.
#include <QString>

class Inicializador {
 public:
  static Inicializador& Compartido();

  // Called once at start-up with the application's folder (ending with a separator).
  void Inicializar(const QString& carpetaAplicacion);
  // "" until Inicializar has run.
  QString CarpetaAplicacion() const { return carpeta_; }
  bool Inicializado() const { return inicializado_; }

 private:
  QString carpeta_;
  bool inicializado_ = false;
};
