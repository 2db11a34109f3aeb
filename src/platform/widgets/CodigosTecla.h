#pragma once
// Key codes and shift states as the program's key handlers receive them
// (the windowing system's virtual-key numbers), free of any widget header so
// that form logic can use them.

namespace tecla {

constexpr int Retroceso = 8;
constexpr int Tab = 9;
constexpr int Enter = 13;
constexpr int Escape = 27;
constexpr int Espacio = 32;
constexpr int RePag = 33;
constexpr int AvPag = 34;
constexpr int Fin = 35;
constexpr int Inicio = 36;
constexpr int Izquierda = 37;
constexpr int Arriba = 38;
constexpr int Derecha = 39;
constexpr int Abajo = 40;
constexpr int Suprimir = 46;
constexpr int F1 = 112;
constexpr int F2 = 113;
constexpr int F3 = 114;
constexpr int F4 = 115;
constexpr int F5 = 116;
constexpr int F6 = 117;
constexpr int F7 = 118;
constexpr int F8 = 119;
constexpr int F9 = 120;
constexpr int F10 = 121;
constexpr int F11 = 122;
constexpr int F12 = 123;
// Letters are their upper-case character codes.
constexpr int Letra(char c) { return c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c; }

// Shift state bits.
constexpr int Mayusculas = 1;
constexpr int Control = 2;
constexpr int Alt = 4;

// Right mouse button as mouse events report it.
constexpr int BotonDerecho = 2;

}  // namespace tecla
