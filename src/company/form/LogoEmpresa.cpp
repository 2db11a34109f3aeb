// The company's logo: choosing a picture file, the size advice, removal.
#include <QFileInfo>

#include "company/form/FormEmpresas.h"
#include "db/LogDeErrores.h"
#include "platform/services/Operador.h"
#include "platform/services/Trampa.h"
#include "platform/services/Utilidades.h"

const QString FormEmpresas::kAvisoImagenGrande =
    QStringLiteral("Atención no es recomendable incluir imágenes de gran tamaño,") +
    QStringLiteral("lo ideal es que las imagenes no tengan un peso mayor a los 100 Kb,") +
    QStringLiteral("puede reducir el tamaño de la imagen guardandola en formatos comprimidos (GIF, JPG)");

const QString FormEmpresas::kFiltroImagenes = QStringLiteral("Archivos de Imagenes|*.Bmp;*.Wmf;*.Jpg;*.Gif");

namespace {
constexpr qint64 kTamanoAviso = 200000;
}

void FormEmpresas::Toolbar1_ButtonClick(const QString& clave) {
  Proteger(QStringLiteral("Toolbar1_ButtonClick"), [&] {
    const QString k = clave.trimmed();
    if (k.compare(QStringLiteral("Buscar"), Qt::CaseInsensitive) == 0) {
      QString archivo;
      bool elegido = false;
      trampa::Ejecutar(
          {[&] { archivo = vista_.ElegirArchivo(kFiltroImagenes, QStringLiteral("Buscar Archivos")); },
           [&] { elegido = !archivo.trimmed().isEmpty(); },
           [&] {
             if (elegido) AsignarFoto(archivo);
           },
           [&] {
             if (!elegido) return;
             const QFileInfo info(archivo);
             if (!info.exists())
               throw ado::Failure(53, QStringLiteral("No se encontró el archivo: %1").arg(archivo));
             if (info.size() >= kTamanoAviso)
               ElOperador().MsgBox(kAvisoImagenGrande, vb::Question, QStringLiteral("Aviso al operador"));
           }},
          [](const ado::ErrorInfo& e, std::size_t) {
            return Utilidades::Compartido().MostrarError(e, {}, QStringLiteral("Toolbar1_ButtonClick"));
          });
    } else if (k.compare(QStringLiteral("Eliminar"), Qt::CaseInsensitive) == 0) {
      vista_.LimpiarLogo();
    }
  });
}

void FormEmpresas::AsignarFoto(const QString& Imagen) {
  try {
    vista_.CargarLogo(Imagen);
    vista_.PonerRutaLogo(Imagen);
  } catch (...) {
    // A file that is not read changes nothing: the logo on screen is the
    // one the next save keeps.
    const ado::ErrorInfo e = trampa::ErrorDe(std::current_exception());
    logerrores::Avisar(QStringLiteral("AsignarFoto"), e.Description, vb::Critical,
                       QStringLiteral("Aviso al operador!!!"));
  }
}
