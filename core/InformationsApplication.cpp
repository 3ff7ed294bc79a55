#include "core/InformationsApplication.h"

#include <cstdio>

namespace {

// The French short date and time with seconds, "16/04/2000 21:06:47", whatever the user's settings,
// so that the two fixed slices below always cut the date and the hours and minutes.
std::string texteDateHeure(const DateHeure& d) {
    char tampon[80]; // room for six ints of any value
    std::snprintf(tampon, sizeof tampon, "%02d/%02d/%04d %02d:%02d:%02d", d.jour, d.mois, d.annee,
                  d.heure, d.minute, d.seconde);
    return tampon;
}

std::string composerDate(const std::string& texte) {
    std::string date = texte.substr(0, 10);
    date += " à ";
    if (texte.size() >= 12) {
        date += texte.substr(11, 5);
    }
    return date;
}

} // namespace

InformationsApplication CalculerInformations(const std::string& nomExecutable, int versionMajeure,
                                             int versionMineure, const DateFichier& dateFichier) {
    InformationsApplication informations;

    // The file is read once: two reads could straddle a rewrite and mix two dates.
    const auto date = dateFichier ? dateFichier(nomExecutable + ".EXE") : std::nullopt;
    if (date) {
        informations.DateCompilation = composerDate(texteDateHeure(*date));
    }

    informations.VersionApplication =
        std::to_string(versionMajeure) + "." + std::to_string(versionMineure);
    informations.TitreApplication = nomExecutable + " " + informations.VersionApplication;
    return informations;
}
