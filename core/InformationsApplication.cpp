#include "core/InformationsApplication.h"

#include <cstdio>

namespace {

// The French short date, " à ", then hours and minutes: "16/04/2000 à 21:06", whatever the
// user's settings. Each piece is written on its own rather than cut from one date-time text at
// fixed places, so that a year of five digits or more (file systems hold them) stays whole.
std::string composerDate(const DateHeure& d) {
    char tampon[96]; // room for six ints of any value
    const char* signe = d.annee < 0 ? "-" : "";
    const long long annee = d.annee < 0 ? -static_cast<long long>(d.annee) : d.annee;
    std::snprintf(tampon, sizeof tampon, "%02d/%02d/%s%04lld à %02d:%02d", d.jour, d.mois, signe,
                  annee, d.heure, d.minute);
    return tampon;
}

} // namespace

InformationsApplication CalculerInformations(const std::string& nomExecutable, int versionMajeure,
                                             int versionMineure, const DateFichier& dateFichier) {
    InformationsApplication informations;

    // The file is read once: two reads could straddle a rewrite and mix two dates.
    const auto date = dateFichier ? dateFichier(nomExecutable + ".EXE") : std::nullopt;
    if (date) {
        informations.DateCompilation = composerDate(*date);
    }

    informations.VersionApplication =
        std::to_string(versionMajeure) + "." + std::to_string(versionMineure);
    informations.TitreApplication = nomExecutable + " " + informations.VersionApplication;
    return informations;
}
