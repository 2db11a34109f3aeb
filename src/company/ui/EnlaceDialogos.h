#pragma once
// Every modal dialog the program can show, registered for the Qt operator.
// Kept in one place so that no dialog is left out of the program's start.
void EnlazarDialogos();
