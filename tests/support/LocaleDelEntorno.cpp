// The program's QApplication takes the C library's locale from the
// environment; every test does the same, so that what the drivers and the C
// library write for numbers under LC_ALL=es_AR.UTF-8 is tested too.
#include <clocale>

namespace {
const bool kLocaleDelEntorno = std::setlocale(LC_ALL, "") != nullptr;
}  // namespace
