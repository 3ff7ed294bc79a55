#pragma once

#include <functional>
#include <optional>
#include <string>

struct DateHeure {
    int annee = 0;
    int mois = 0;
    int jour = 0;
    int heure = 0;
    int minute = 0;
    int seconde = 0;
};

// Last-write date-time of a named file, or nothing when the file cannot be found.
using DateFichier = std::function<std::optional<DateHeure>(const std::string& nomFichier)>;

// The three process-wide strings that describe the running program, composed once at start-up.
struct InformationsApplication {
    std::string DateCompilation;    // "16/04/2000 à 21:06", or empty when the file is not found
    std::string VersionApplication; // "1.0"
    std::string TitreApplication;   // "Tarvane 1.0", the title of the main window's message boxes
};

InformationsApplication CalculerInformations(const std::string& nomExecutable, int versionMajeure,
                                             int versionMineure, const DateFichier& dateFichier);
