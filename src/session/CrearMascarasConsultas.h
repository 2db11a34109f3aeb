#pragma once
// The default lookup-definition file, written when the start-up finds none.

// Appends the default records to the definition file named by the lookup request.
void CrearMascarasConsultas();
// At start-up: a definition file that is missing, empty or cut short gets the
// default records it lacks; one that cannot be written leaves the lookups
// with the definitions in memory. Never fails.
void PrepararMascarasConsultas();
