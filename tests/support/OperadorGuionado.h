#pragma once
// A scripted operator for tests: records every message box, input box, file
// dialog and modal dialog, and answers from queues. It is strict: a box the
// test queued no answer for fails the test that showed it, and so does an
// answer still queued when the test ends (a box it expected never appeared).
#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <memory>
#include <vector>

#include "platform/services/Operador.h"

class OperadorGuionado : public Operador {
 public:
  struct Mensaje {
    QString prompt;
    int style;
    QString title;
  };
  using Manejador = std::function<void(DialogoModal&)>;

  // Installs a fresh scripted operator (or one derived from it) and returns it.
  template <class T = OperadorGuionado>
  static std::shared_ptr<T> Instalar() {
    auto op = std::make_shared<T>();
    Vigilar(op);
    return op;
  }

  // The answers, one per box in the order the boxes appear.
  void Responder(int respuesta) { respuestas.push_back(respuesta); }
  void Escribir(const QString& texto) { textos.push_back(texto); }       // "" cancels
  void ElegirArchivo(const QString& ruta) { archivos.push_back(ruta); }  // "" cancels
  // The next modal dialog is handed to `m`.
  void AlMostrar(Manejador m) { manejadores.push_back(std::move(m)); }
  // The next modal dialog is shown through its registered window, as the program does.
  void MostrarComoElPrograma();

  int MsgBox(const QString& prompt, int style, const QString& title) override;
  QString InputBox(const QString& prompt, const QString& title, const QString& defecto) override;
  QString AbrirArchivo(const QString& titulo, const QString& filtro, const QString& carpeta) override;
  // Answered from the same queue as AbrirArchivo.
  QString GuardarArchivo(const QString& titulo, const QString& filtro, const QString& carpeta) override;
  void MostrarModal(DialogoModal& dialogo) override;
  void CursorEspera(bool enEspera) override;

  // Fails the running test for every answer still queued, and drops them.
  void ComprobarGuionAgotado();

  std::vector<Mensaje> mensajes;
  std::vector<Mensaje> entradas;  // input boxes: prompt, 0, title
  QStringList dialogos;           // names of the modal dialogs shown
  QStringList filtros;            // file dialog filters
  int esperas = 0;                // times the wait cursor went on
  bool enEspera = false;          // the wait cursor is on
  int cajasEnEspera = 0;          // boxes shown under the wait cursor
  std::deque<int> respuestas;
  std::deque<QString> textos;
  std::deque<QString> archivos;
  std::deque<Manejador> manejadores;

 private:
  // Installs it and has what it still holds checked when the running test ends.
  static void Vigilar(std::shared_ptr<OperadorGuionado> op);
};
