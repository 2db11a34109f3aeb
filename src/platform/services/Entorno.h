#pragma once
// The identity of the workstation session: the machine and the person using it.
#include <QString>
#include <optional>

class QObject;

class Entorno {
 public:
  static Entorno& Compartido();

  // The machine's host name.
  QString PrimerIdentificador() const;
  // The operating-system user.
  QString SegundoIdentificador() const;
  // Applied once to each form at set-up.
  void AjustarFormulario(QObject* formulario);

  // Fixes both texts (tests, or a workstation that must pose as another);
  // std::nullopt goes back to the system's values.
  void FijarIdentificadores(std::optional<QString> primero, std::optional<QString> segundo);

 private:
  std::optional<QString> primero_;
  std::optional<QString> segundo_;
};
