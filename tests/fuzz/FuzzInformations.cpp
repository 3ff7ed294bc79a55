// The information strings composed from any executable name, version numbers and file date.
#include "core/InformationsApplication.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <span>
#include <string>
#include <vector>

namespace {

// The input taken from the front: whole numbers first, the rest as the executable's name. Bytes
// that run out read as zeros, so every input is usable.
class Lecteur {
public:
    Lecteur(const unsigned char* donnees, std::size_t taille) : m_reste(donnees, taille) {}

    template <class T> T entier() {
        T valeur{};
        const std::size_t n = std::min(sizeof valeur, m_reste.size());
        if (n != 0) {
            std::memcpy(&valeur, m_reste.data(), n);
        }
        m_reste = m_reste.subspan(n);
        return valeur;
    }
    int entreBornes(int minimum, int maximum) {
        const auto etendue = static_cast<unsigned>(maximum - minimum) + 1;
        return minimum + static_cast<int>(entier<unsigned>() % etendue);
    }
    std::string resteEnTexte() {
        std::string texte(reinterpret_cast<const char*>(m_reste.data()), m_reste.size());
        m_reste = {};
        return texte;
    }

private:
    std::span<const unsigned char> m_reste;
};

[[noreturn]] void echec(const char* regle, const std::string& nom, int majeure, int mineure,
                        const InformationsApplication& i) {
    std::fprintf(stderr,
                 "broken rule: %s\n  name \"%s\", version %d %d\n  DateCompilation \"%s\", "
                 "VersionApplication \"%s\", TitreApplication \"%s\"\n",
                 regle, nom.c_str(), majeure, mineure, i.DateCompilation.c_str(),
                 i.VersionApplication.c_str(), i.TitreApplication.c_str());
    std::abort();
}

// A plain decimal integer: an optional minus sign, no blank, no leading zero.
bool litEntier(std::string_view texte, int& valeur) {
    if (texte.empty() || texte.front() == '+' || (texte.size() > 1 && texte.front() == '0') ||
        texte.substr(0, 2) == "-0") {
        return false;
    }
    const auto [fin, erreur] = std::from_chars(texte.data(), texte.data() + texte.size(), valeur);
    return erreur == std::errc() && fin == texte.data() + texte.size();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* donnees, std::size_t taille) {
    Lecteur entree(donnees, taille);
    const auto mode = entree.entier<unsigned char>();
    const bool fichierTrouve = mode & 1;
    const bool dateOrdinaire = mode & 2; // fields in their calendar ranges
    const bool sansLecteur = (mode & 0x1c) == 0x1c;

    const int majeure = entree.entier<int>();
    const int mineure = entree.entier<int>();
    DateHeure date;
    if (dateOrdinaire) {
        date = {entree.entreBornes(0, 9999), entree.entreBornes(1, 12), entree.entreBornes(1, 31),
                entree.entreBornes(0, 23),   entree.entreBornes(0, 59), entree.entreBornes(0, 59)};
    } else {
        date = {entree.entier<int>(), entree.entier<int>(), entree.entier<int>(),
                entree.entier<int>(), entree.entier<int>(), entree.entier<int>()};
    }
    const std::string nom = entree.resteEnTexte();

    std::vector<std::string> demandes;
    DateFichier lecteur;
    if (!sansLecteur) {
        lecteur = [&](const std::string& fichier) -> std::optional<DateHeure> {
            demandes.push_back(fichier);
            return fichierTrouve ? std::optional(date) : std::nullopt;
        };
    }
    const InformationsApplication i = CalculerInformations(nom, majeure, mineure, lecteur);

    const auto point = i.VersionApplication.find('.');
    int majeureLue = 0;
    int mineureLue = 0;
    if (point == std::string::npos ||
        !litEntier(std::string_view(i.VersionApplication).substr(0, point), majeureLue) ||
        !litEntier(std::string_view(i.VersionApplication).substr(point + 1), mineureLue) ||
        majeureLue != majeure || mineureLue != mineure) {
        echec("the version is major.minor in plain decimal", nom, majeure, mineure, i);
    }
    if (i.TitreApplication != nom + " " + i.VersionApplication) {
        echec("the title is the base name, a blank and the version", nom, majeure, mineure, i);
    }

    if (!sansLecteur && demandes.empty()) {
        echec("the executable's date is looked up", nom, majeure, mineure, i);
    }
    for (const std::string& fichier : demandes) {
        if (fichier != nom + ".EXE") {
            echec("the file looked up is the base name and .EXE", nom, majeure, mineure, i);
        }
    }
    if (sansLecteur || !fichierTrouve) {
        if (!i.DateCompilation.empty()) {
            echec("a file that cannot be found leaves the date empty", nom, majeure, mineure, i);
        }
        return 0;
    }

    // The whole date (at least ten characters), " à " (four bytes in UTF-8), hours and minutes.
    const std::size_t separateur = i.DateCompilation.find(" à ");
    if (separateur == std::string::npos || separateur < 10 ||
        i.DateCompilation.find(" à ", separateur + 1) != std::string::npos ||
        i.DateCompilation.size() < separateur + 4 + 5) {
        echec("the date is the whole date, \" à \" and the hours and minutes", nom, majeure,
              mineure, i);
    }
    if (dateOrdinaire) {
        // Compared with the text it must be, not scanned: C libraries differ on a format that
        // holds non-ASCII bytes (Windows's reads this one wrongly).
        char attendue[32];
        std::snprintf(attendue, sizeof attendue, "%02d/%02d/%04d \xC3\xA0 %02d:%02d", date.jour,
                      date.mois, date.annee, date.heure, date.minute);
        if (i.DateCompilation != attendue) {
            echec("a calendar date reads dd/mm/yyyy à hh:mm", nom, majeure, mineure, i);
        }
    }
    return 0;
}
