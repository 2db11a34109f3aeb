// The tests' scripted operator is strict: what no test scripted fails it.
#include "support/OperadorGuionado.h"

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

namespace {

TEST(OperadorGuionado, LoQueLaPruebaNoPrevioLaHaceFallar) {
  auto op = OperadorGuionado::Instalar();
  EXPECT_NONFATAL_FAILURE(ElOperador().MsgBox("¿Seguro?", vb::YesNo, "Atención"), "unexpected message box");
  EXPECT_NONFATAL_FAILURE(ElOperador().InputBox("Nombre", "Alta"), "unexpected input box");
  EXPECT_NONFATAL_FAILURE(ElOperador().AbrirArchivo("Buscar Archivos", "*.png"), "unexpected file dialog");
  struct : DialogoModal {
    QString Nombre() const override { return QStringLiteral("frmAcceso"); }
  } dialogo;
  EXPECT_NONFATAL_FAILURE(ElOperador().MostrarModal(dialogo), "unexpected dialog");
  op->Responder(vb::No);
  EXPECT_EQ(ElOperador().MsgBox("¿Seguro?", vb::YesNo, "Atención"), vb::No);
  op->Responder(vb::OK);
  EXPECT_NONFATAL_FAILURE(op->ComprobarGuionAgotado(), "never appeared");
}

}  // namespace
