#pragma once

#include <string>

// The two entry fields of the conversion window, or neither.
enum class Zone { Aucune, Francs, Euros };

enum class IssueConversion {
    DeuxZonesRemplies,
    DeuxZonesVides,
    FrancsNonNumeriques,
    EurosNonNumeriques,
    FrancsEnEuros,
    EurosEnFrancs,
};

// The verdict on one press of the convert button; the window applies it as it stands.
struct ResultatConversion {
    IssueConversion issue = IssueConversion::DeuxZonesVides;
    std::string message;           // UTF-8; empty for the two conversions
    Zone selection = Zone::Aucune; // field whose whole text gets selected
    Zone cible = Zone::Aucune;     // field that receives `texte`
    std::string texte;             // UTF-8 amount written into `cible`
    Zone focus = Zone::Francs;     // field that has the focus afterwards

    bool operator==(const ResultatConversion&) const = default;
};
