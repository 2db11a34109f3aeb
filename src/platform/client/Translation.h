#pragma once
// What the client does not make itself: the translation into an engine's own
// dialect (Oracle's belongs to the database layer), and a witness that sees
// statements as another engine would receive them.
#include <QString>
#include <functional>

#include "platform/client/Dialect.h"

namespace ado {

// Installed once by the layer that owns it; every statement to that engine then
// passes through it (Connection::Adapt). It throws Failure for a statement it
// cannot translate.
using Translation = std::function<QString(const QString&)>;
void SetTranslation(Dialect dialect, Translation translation);

// The statement as it would be sent to `dialect`: SQL Server SQL rewritten for
// SQLite and PostgreSQL, through the installed translation for Oracle,
// unchanged otherwise.
QString AdaptFor(const QString& sql, Dialect dialect);

// From now on every statement any connection sends is also handed to the
// witness as it would be sent to `as` (`refused`: the text is the failure the
// translation raised instead); those the client builds itself (a recordset's
// writes) as built. Tests use it to see what an engine that is not here would
// receive. An empty witness ends it.
using Witness = std::function<void(const QString& statement, bool refused)>;
void SetWitness(Dialect as, Witness witness);
// A statement the client built itself, handed to the witness as built.
void Witnessed(const QString& generated);

}  // namespace ado
