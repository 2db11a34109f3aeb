#pragma once
// AFIP's register of taxpayers, the "padrón de apellido y nombre o
// denominación": one fixed-width Latin-1 line per CUIT. Read as a stream from
// the zip AFIP publishes (never unpacked to disk) or from its text file.
#include <QDate>
#include <QString>
#include <QStringView>
#include <QVector>
#include <array>
#include <memory>
#include <string_view>

namespace padron {

// The fields of a line, in their order.
enum class Campo { Cuit, Denominacion, Ganancias, Iva, Monotributo, Sociedad, Empleador, Actividad };
constexpr int kCampos = 8;
constexpr std::array<int, kCampos> kAnchos{11, 30, 2, 2, 2, 1, 1, 2};
constexpr int kLargoLinea = 51;

struct Linea {
  qint64 cuit = 0;
  std::array<char16_t, kLargoLinea> texto{};  // decoded from Latin-1
  std::array<int, kCampos> largo{};           // each field without its trailing blanks
  QStringView Valor(Campo c) const;
};

enum class Defecto { Ninguno, Corta, CuitNoNumerico, DigitoVerificador, CuitRepetido };
QString Descripcion(Defecto d);

// One line without its end of line (a trailing carriage return is dropped).
// Characters after the last field are ignored.
Defecto LeerLinea(std::string_view bytes, Linea& l);

// The register's date from its file name (….p20out1.AAAAMMDD.tmp); null when it has none.
QDate FechaDelNombre(const QString& nombre);

struct Malformada {
  qint64 numero = 0;  // the line's number in the file, from 1
  Defecto defecto = Defecto::Ninguno;
  friend bool operator==(const Malformada&, const Malformada&) = default;
};

class Lector {
 public:
  // A zip (its text file) or the text file itself, told apart by their
  // content. Throws std::runtime_error with the reason.
  static std::unique_ptr<Lector> Abrir(const QString& ruta);
  virtual ~Lector();

  // The next well-formed line; false at the end of the file. Malformed lines
  // are counted, and the first few kept; blank lines are not lines.
  bool Siguiente(Linea& l);

  qint64 Lineas() const { return lineas_; }  // read so far, malformed included
  qint64 Malformadas() const { return malformadas_; }
  const QVector<Malformada>& PrimerasMalformadas() const { return primeras_; }
  qint64 BytesLeidos() const { return bytesLeidos_; }
  qint64 BytesTotales() const { return bytesTotales_; }
  // The text file's name (inside the zip), and the register's date it carries
  // (or else the zip's name).
  QString Nombre() const { return nombre_; }
  QDate Fecha() const;

  static constexpr int kPrimeras = 10;

 protected:
  Lector(QString nombre, QString ruta, qint64 total);
  // Up to `maximo` bytes into `destino`; 0 at the end. Throws on a read error.
  virtual qint64 Leer(char* destino, qint64 maximo) = 0;

 private:
  bool LineaEnBruto(std::string_view& linea);

  QString nombre_, ruta_;
  qint64 bytesTotales_ = 0, bytesLeidos_ = 0;
  std::vector<char> buf_;
  size_t desde_ = 0, hasta_ = 0;
  bool fin_ = false;
  qint64 numero_ = 0;  // lines of the file, blank ones included
  qint64 lineas_ = 0, malformadas_ = 0;
  qint64 anterior_ = -1;  // the last well-formed CUIT
  QVector<Malformada> primeras_;
};

}  // namespace padron
