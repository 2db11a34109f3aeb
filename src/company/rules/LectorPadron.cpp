#include "company/rules/LectorPadron.h"

#include <zip.h>

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <cstdio>
#include <cstring>
#include <stdexcept>

#include "company/rules/Cuit.h"

namespace padron {
namespace {

constexpr size_t kBloque = 1 << 20;

constexpr std::array<int, kCampos> Desde() {
  std::array<int, kCampos> d{};
  for (int i = 1; i < kCampos; ++i) d[i] = d[i - 1] + kAnchos[i - 1];
  return d;
}
constexpr std::array<int, kCampos> kDesde = Desde();
static_assert(kDesde[kCampos - 1] + kAnchos[kCampos - 1] == kLargoLinea);

std::runtime_error Error(const QString& texto) { return std::runtime_error(texto.toStdString()); }

class LectorDeArchivo : public Lector {
 public:
  LectorDeArchivo(std::FILE* f, const QString& ruta, qint64 total)
      : Lector(QFileInfo(ruta).fileName(), ruta, total), f_(f) {}
  ~LectorDeArchivo() override { std::fclose(f_); }

 protected:
  qint64 Leer(char* destino, qint64 maximo) override {
    const size_t n = std::fread(destino, 1, static_cast<size_t>(maximo), f_);
    if (n == 0 && std::ferror(f_)) throw Error(QStringLiteral("no se pudo leer el archivo"));
    return static_cast<qint64>(n);
  }

 private:
  std::FILE* f_;
};

class LectorDeZip : public Lector {
 public:
  LectorDeZip(zip_t* z, zip_file_t* f, const QString& nombre, const QString& ruta, qint64 total)
      : Lector(nombre, ruta, total), zip_(z), f_(f) {}
  ~LectorDeZip() override {
    zip_fclose(f_);
    zip_discard(zip_);
  }

 protected:
  qint64 Leer(char* destino, qint64 maximo) override {
    const zip_int64_t n = zip_fread(f_, destino, static_cast<zip_uint64_t>(maximo));
    if (n < 0)
      throw Error(QStringLiteral("no se pudo leer el zip: ") + QString::fromLocal8Bit(zip_file_strerror(f_)));
    return n;
  }

 private:
  zip_t* zip_;
  zip_file_t* f_;
};

// The zip's text file: the one entry that is a file, or among several the one
// named as AFIP names the register.
std::unique_ptr<Lector> AbrirZip(const QString& ruta) {
  int codigo = 0;
  const QByteArray local = QFile::encodeName(ruta);
  zip_t* z = zip_open(local.constData(), ZIP_RDONLY, &codigo);
  if (!z) {
    zip_error_t e;
    zip_error_init_with_code(&e, codigo);
    const QString texto = QString::fromLocal8Bit(zip_error_strerror(&e));
    zip_error_fini(&e);
    throw Error(QStringLiteral("no se pudo abrir el zip: ") + texto);
  }
  const zip_int64_t entradas = zip_get_num_entries(z, 0);
  zip_int64_t elegida = -1;
  int archivos = 0;
  for (zip_int64_t i = 0; i < entradas; ++i) {
    const char* n = zip_get_name(z, static_cast<zip_uint64_t>(i), 0);
    if (!n || std::strlen(n) == 0 || n[std::strlen(n) - 1] == '/') continue;
    ++archivos;
    if (elegida < 0 || FechaDelNombre(QString::fromLatin1(n)).isValid()) elegida = i;
  }
  if (elegida < 0 || (archivos > 1 && !FechaDelNombre(QString::fromLatin1(zip_get_name(
                                                          z, static_cast<zip_uint64_t>(elegida), 0)))
                                           .isValid())) {
    zip_discard(z);
    throw Error(elegida < 0 ? QStringLiteral("el zip no tiene ningún archivo")
                            : QStringLiteral("el zip tiene varios archivos y ninguno es un padrón "
                                             "(….p20out1.AAAAMMDD.tmp)"));
  }
  zip_stat_t st;
  zip_stat_init(&st);
  zip_stat_index(z, static_cast<zip_uint64_t>(elegida), 0, &st);
  zip_file_t* f = zip_fopen_index(z, static_cast<zip_uint64_t>(elegida), 0);
  if (!f) {
    const QString texto = QString::fromLocal8Bit(zip_strerror(z));
    zip_discard(z);
    throw Error(QStringLiteral("no se pudo leer el zip: ") + texto);
  }
  const qint64 total = (st.valid & ZIP_STAT_SIZE) ? static_cast<qint64>(st.size) : 0;
  return std::make_unique<LectorDeZip>(z, f, QString::fromLatin1(st.name), ruta, total);
}

}  // namespace

QStringView Linea::Valor(Campo c) const {
  const int i = static_cast<int>(c);
  return QStringView(texto.data() + kDesde[i], largo[i]);
}

QString Descripcion(Defecto d) {
  switch (d) {
    case Defecto::Ninguno:
      return {};
    case Defecto::Corta:
      return QStringLiteral("línea corta (%1 caracteres por línea)").arg(kLargoLinea);
    case Defecto::CuitNoNumerico:
      return QStringLiteral("el CUIT no son 11 dígitos");
    case Defecto::DigitoVerificador:
      return QStringLiteral("el dígito verificador del CUIT no es el que corresponde");
    case Defecto::CuitRepetido:
      return QStringLiteral("el CUIT repite el de la línea anterior");
  }
  return {};
}

Defecto LeerLinea(std::string_view bytes, Linea& l) {
  if (!bytes.empty() && bytes.back() == '\r') bytes.remove_suffix(1);
  if (bytes.size() < static_cast<size_t>(kLargoLinea)) return Defecto::Corta;
  qint64 cuit = 0;
  for (int i = 0; i < kAnchos[0]; ++i) {
    const char c = bytes[static_cast<size_t>(i)];
    if (c < '0' || c > '9') return Defecto::CuitNoNumerico;
    cuit = cuit * 10 + (c - '0');
  }
  // Latin-1 is the first 256 code points.
  for (int i = 0; i < kLargoLinea; ++i)
    l.texto[i] = static_cast<unsigned char>(bytes[static_cast<size_t>(i)]);
  if (Cuit::DigitoVerificador(QStringView(l.texto.data(), 10)) != l.texto[10] - u'0')
    return Defecto::DigitoVerificador;
  l.cuit = cuit;
  for (int c = 0; c < kCampos; ++c) {
    int n = kAnchos[c];
    while (n > 0 && l.texto[kDesde[c] + n - 1] == u' ') --n;
    l.largo[c] = n;
  }
  return Defecto::Ninguno;
}

QDate FechaDelNombre(const QString& nombre) {
  static const QRegularExpression re(QStringLiteral(R"(\.p20out1\.(\d{8})\.tmp$)"),
                                     QRegularExpression::CaseInsensitiveOption);
  const auto m = re.match(nombre);
  return m.hasMatch() ? QDate::fromString(m.captured(1), QStringLiteral("yyyyMMdd")) : QDate();
}

std::unique_ptr<Lector> Lector::Abrir(const QString& ruta) {
  const QFileInfo info(ruta);
  if (!info.exists()) throw Error(QStringLiteral("no existe el archivo %1").arg(ruta));
  if (info.isDir()) throw Error(QStringLiteral("%1 es una carpeta").arg(ruta));
  std::FILE* f = std::fopen(QFile::encodeName(ruta).constData(), "rb");
  if (!f)
    throw Error(
        QStringLiteral("no se pudo abrir %1: %2").arg(ruta, QString::fromLocal8Bit(std::strerror(errno))));
  char firma[4] = {};
  const size_t n = std::fread(firma, 1, sizeof firma, f);
  if (n == sizeof firma && std::memcmp(firma, "PK\x03\x04", 4) == 0) {
    std::fclose(f);
    return AbrirZip(ruta);
  }
  std::rewind(f);
  return std::make_unique<LectorDeArchivo>(f, ruta, info.size());
}

Lector::Lector(QString nombre, QString ruta, qint64 total)
    : nombre_(std::move(nombre)), ruta_(std::move(ruta)), bytesTotales_(total), buf_(kBloque) {}

Lector::~Lector() = default;

QDate Lector::Fecha() const {
  const QDate f = FechaDelNombre(nombre_);
  return f.isValid() ? f : FechaDelNombre(QFileInfo(ruta_).fileName());
}

bool Lector::LineaEnBruto(std::string_view& linea) {
  for (;;) {
    const char* inicio = buf_.data() + desde_;
    const void* nl = std::memchr(inicio, '\n', hasta_ - desde_);
    if (nl) {
      const size_t largo = static_cast<const char*>(nl) - inicio;
      linea = std::string_view(inicio, largo);
      desde_ += largo + 1;
      return true;
    }
    if (fin_) {
      if (desde_ == hasta_) return false;
      linea = std::string_view(inicio, hasta_ - desde_);
      desde_ = hasta_;
      return true;
    }
    if (desde_ == 0 && hasta_ == buf_.size()) {
      // No line end in a whole block: not a text of lines; taken as one (malformed) line.
      linea = std::string_view(inicio, hasta_);
      desde_ = hasta_;
      return true;
    }
    std::memmove(buf_.data(), inicio, hasta_ - desde_);
    hasta_ -= desde_;
    desde_ = 0;
    const qint64 n = Leer(buf_.data() + hasta_, static_cast<qint64>(buf_.size() - hasta_));
    if (n == 0) fin_ = true;
    hasta_ += static_cast<size_t>(n);
    bytesLeidos_ += n;
  }
}

bool Lector::Siguiente(Linea& l) {
  std::string_view bruto;
  while (LineaEnBruto(bruto)) {
    ++numero_;
    if (bruto.find_first_not_of(" \r\t") == std::string_view::npos) continue;
    ++lineas_;
    Defecto d = LeerLinea(bruto, l);
    if (d == Defecto::Ninguno && l.cuit == anterior_) d = Defecto::CuitRepetido;
    if (d == Defecto::Ninguno) {
      anterior_ = l.cuit;
      return true;
    }
    ++malformadas_;
    if (primeras_.size() < kPrimeras) primeras_.push_back({numero_, d});
  }
  return false;
}

}  // namespace padron
