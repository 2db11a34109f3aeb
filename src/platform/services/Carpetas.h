#pragma once
#include <QString>

// The folder of the program's executable, without a trailing separator.
QString CarpetaDelPrograma();
