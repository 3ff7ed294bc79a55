#pragma once
// The four answers to an invalid request, written here apart from the rules' own copy, so that a
// changed letter in either is caught. UTF-8.

namespace messages {

inline constexpr char DeuxRemplies[] = "L'une des deux zones de saisie doit être vide !!!";
inline constexpr char DeuxVides[] = "L'une des deux zones de saisie doit être remplie !!!";
inline constexpr char Francs[] = "La saisie des Francs doit être du numérique !!!";
inline constexpr char Euros[] = "La saisie des Euros doit être du numérique !!!";

} // namespace messages
