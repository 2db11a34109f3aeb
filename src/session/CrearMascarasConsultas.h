#pragma once
// The default lookup-definition file, written when the start-up finds none.

// Appends the default records to the definition file named by the lookup request.
void CrearMascarasConsultas();
