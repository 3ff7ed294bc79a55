#pragma once

// The franc-euro rate is fixed by law: 6.55957 francs for one euro, never inverted or rounded.
inline constexpr double TauxEuro = 6.55957;
