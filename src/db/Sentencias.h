#pragma once
// The statements the recordset and schema helpers send, built apart from running
// them so that their exact text can be checked.
#include <QString>
#include <functional>
#include <optional>

#include "platform/core/Value.h"

// How a looked-up value is written, chosen by its data-type code.
enum class FormaValor { Texto, Fecha, Numero, Literal };
FormaValor FormaDeTipo(const ado::Value& TipoDato);

QString SentenciaExisteEnTabla(const QString& Tabla, const QString& ValorBuscado, const QString& Campo,
                               const ado::Value& TipoDato, const QString& Condicion);
QString SentenciaExisteEnTablaST(const QString& Tabla, const QString& ValorBuscado, const QString& Campo,
                                 const ado::Value& TipoDato, const QString& Condicion);
QString SentenciaDatosTabla(const QString& Tabla, const QString& ValorBuscado, const QString& Campo,
                            const ado::Value& TipoDato, const QString& Condicion, bool UsaTrim);

enum class Extremo { Maximo, Minimo };
// MAX AS MAYOR or MIN AS MENOR; a given condition is appended trimmed, even when empty.
QString SentenciaBuscaExtremo(Extremo extremo, const QString& QueTabla, const QString& QueCampo,
                              const std::optional<QString>& Condicion);
// The maximum with the condition appended only when it holds more than blanks.
QString SentenciaBuscaUltimoCodigo(const QString& QueTabla, const QString& QueCampo,
                                   const QString& Condicion);

// The statement EjecutaConsultaSQL runs: the "@Admin_" marker stripped, and
// the table mapping applied only to a drop-and-create script without DELETE
// and without the marker.
QString SentenciaParaEjecutar(const QString& sql, const std::function<QString(const QString&)>& sinonimos);

QString SentenciaAddField(const QString& Tabla, const QString& Campo, const QString& Tipo, bool PermiteNulos,
                          const ado::Value& ValorDefault);
