#include "core/InformationsApplication.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

// A file system that knows one date and remembers every name asked for.
struct FichiersEssai {
    std::optional<DateHeure> date;
    std::vector<std::string> demandes;

    DateFichier fonction() {
        return [this](const std::string& nom) {
            demandes.push_back(nom);
            return date;
        };
    }
};

TEST(CalculerInformations, VersionNumbers_writtenAsPlainIntegers) {
    struct {
        int majeure;
        int mineure;
        const char* version;
    } const cas[] = {{1, 0, "1.0"}, {2, 15, "2.15"}, {1, 5, "1.5"}, {10, 100, "10.100"}};
    for (const auto& c : cas) {
        FichiersEssai fichiers;
        const auto info =
            CalculerInformations("Tarvane", c.majeure, c.mineure, fichiers.fonction());
        EXPECT_EQ(info.VersionApplication, c.version) << c.majeure << " and " << c.mineure;
        EXPECT_EQ(info.TitreApplication, std::string("Tarvane ") + c.version)
            << c.majeure << " and " << c.mineure;
    }
}

TEST(CalculerInformations, BaseName_givesTitleAndTheFileLookedUp) {
    FichiersEssai fichiers;
    fichiers.date = DateHeure{2000, 4, 16, 21, 6, 47};
    const auto info = CalculerInformations("Conv", 1, 0, fichiers.fonction());
    EXPECT_EQ(info.TitreApplication, "Conv 1.0");
    ASSERT_FALSE(fichiers.demandes.empty());
    for (const auto& nom : fichiers.demandes) {
        EXPECT_EQ(nom, "Conv.EXE");
    }
}

TEST(CalculerInformations, FileDate_writtenAsFrenchDateAndHoursMinutes) {
    struct {
        DateHeure date;
        const char* texte;
    } const cas[] = {
        {{2001, 3, 5, 9, 7, 3}, "05/03/2001 à 09:07"},
        {{2000, 4, 16, 21, 6, 47}, "16/04/2000 à 21:06"},
        {{1999, 12, 31, 23, 59, 59}, "31/12/1999 à 23:59"},
        {{2024, 1, 1, 0, 0, 0}, "01/01/2024 à 00:00"},
        // Years the file systems can hold beyond four digits, and before the first: never cut.
        {{10000, 1, 2, 3, 4, 5}, "02/01/10000 à 03:04"},
        {{292277026, 12, 4, 15, 30, 7}, "04/12/292277026 à 15:30"},
        {{1, 1, 1, 0, 0, 0}, "01/01/0001 à 00:00"},
        {{-4713, 11, 24, 12, 0, 0}, "24/11/-4713 à 12:00"},
    };
    for (const auto& c : cas) {
        FichiersEssai fichiers;
        fichiers.date = c.date;
        EXPECT_EQ(CalculerInformations("Tarvane", 1, 0, fichiers.fonction()).DateCompilation,
                  c.texte)
            << c.texte;
    }
}

TEST(CalculerInformations, MissingFile_leavesDateEmptyAndTheRestComposed) {
    FichiersEssai fichiers; // knows no date
    const auto info = CalculerInformations("Tarvane", 1, 0, fichiers.fonction());
    EXPECT_EQ(info.DateCompilation, "");
    EXPECT_EQ(info.VersionApplication, "1.0");
    EXPECT_EQ(info.TitreApplication, "Tarvane 1.0");

    const auto sansFonction = CalculerInformations("Tarvane", 1, 0, DateFichier());
    EXPECT_EQ(sansFonction.DateCompilation, "");
    EXPECT_EQ(sansFonction.TitreApplication, "Tarvane 1.0");
}

} // namespace
