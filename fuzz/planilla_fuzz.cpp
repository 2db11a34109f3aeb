// A sheet file as an operator may bring one, whatever its bytes: read as CSV
// and as XLSX, it is either an error with nothing read or rows in the order
// of the sheet, each holding something, the header's numbers never repeated.
#include "fuzz/Entrada.h"
#include "platform/services/LectorCsv.h"
#include "platform/services/LectorXlsx.h"

namespace {

void Revisar(const Planilla& p, const QByteArray& bytes) {
  const QString detalle = QString::fromLatin1(bytes.toHex());
  if (!p.error.isEmpty()) {
    EXIGIR(p.filas.isEmpty(), detalle);
    return;
  }
  int anterior = 0;
  for (const FilaPlanilla& f : p.filas) {
    EXIGIR(f.numero > anterior, detalle);
    anterior = f.numero;
    bool algo = false;
    for (const CeldaPlanilla& c : f.celdas) algo = algo || !c.Vacia();
    EXIGIR(algo, detalle);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* datos, size_t largo) {
  const QByteArray bytes = entrada::Bytes(datos, largo);
  Revisar(LeerCsv(bytes), bytes);
  Revisar(LeerXlsx(bytes), bytes);
  return 0;
}
