#pragma once
// The operator interface of a run without a window: nobody is there to
// answer, so every box prints its text on the error stream and takes the
// answer that asks for nothing more (No, Cancel, Abort, or OK when that is
// the only button); input boxes, file dialogs and modal dialogs are cancelled.
#include <QString>
#include <cstdio>

#include "platform/services/Operador.h"

class OperadorDeConsola : public Operador {
 public:
  explicit OperadorDeConsola(std::FILE* salida = stderr) : salida_(salida) {}
  int MsgBox(const QString& prompt, int style, const QString& title) override;
  QString InputBox(const QString& prompt, const QString& title, const QString& defecto) override;
  QString AbrirArchivo(const QString& titulo, const QString& filtro, const QString& carpeta) override;
  QString GuardarArchivo(const QString& titulo, const QString& filtro, const QString& carpeta) override;
  void MostrarModal(DialogoModal& dialogo) override;

  // The answer a box of this style gets.
  static int RespuestaSinOperador(int style);

 private:
  void Escribir(const QString& texto);
  std::FILE* salida_;
};
