#pragma once
// Hands the Qt operator the window of every modal dialog the program can show.
// It lives in the top windowing layer, the one that sees all of them, so that
// no dialog is left out of the program's start.
void EnlazarDialogos();
