#pragma once
// Explains the common save errors to the operator and tells the save
// routine's trap how to go on.
#include "platform/core/Error.h"
#include "platform/core/Value.h"
#include "platform/services/Trampa.h"

// 4 = run the failing statement again, 5 = go on with the next one, 3 or 0 =
// leave the save routine. Campo names the field being stored. A step that
// cannot be left out is offered Reintentar and Cancelar only.
short ExplicarErrorGrabacion(const ado::ErrorInfo& Error, const ado::Value& Campo,
                             trampa::Omision omision = trampa::Omision::Permitida);
