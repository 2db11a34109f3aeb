#pragma once
// Qt's own texts (standard dialogs, buttons, the text fields' context menu)
// in Spanish, as the rest of the program.

// Installs Qt's Spanish translations on the running application; false when
// the system has none (Qt's texts then stay in English).
bool CargarTraduccionesQt();
