// The texts that the About box carries, as stored: CR LF line ends and their fixed lines.
#include "ui/about/TextesApropos.h"

#include "ui/about/DocumentsApropos.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

// Splits on CR LF; fails the test on a lone CR or LF, or a last line without its end.
std::vector<std::string> lignes(const std::string& texte) {
    std::vector<std::string> resultat;
    std::string::size_type debut = 0;
    while (debut < texte.size()) {
        const auto fin = texte.find("\r\n", debut);
        if (fin == std::string::npos) {
            ADD_FAILURE() << "last line without CR LF: " << texte.substr(debut);
            resultat.push_back(texte.substr(debut));
            break;
        }
        const std::string ligne = texte.substr(debut, fin - debut);
        EXPECT_EQ(ligne.find_first_of("\r\n"), std::string::npos) << "lone CR or LF in: " << ligne;
        resultat.push_back(ligne);
        debut = fin + 2;
    }
    return resultat;
}

} // namespace

TEST(TextesApropos, History_titleBlankThenOneLinePerVersion) {
    const auto l = lignes(TexteAfficheur);
    ASSERT_EQ(l.size(), 3u);
    EXPECT_EQ(l[0], "Evolution des versions de : Tarvane");
    EXPECT_EQ(l[1], "");
    const std::string debut = "04/2000 - V1.0\t";
    ASSERT_EQ(l[2].rfind(debut, 0), 0u) << l[2];
    EXPECT_GT(l[2].size(), debut.size() + 10) << "the remark is missing";
}

TEST(TextesApropos, Support_headingParagraphOfThirteenLinesThenContactBlock) {
    const auto l = lignes(TexteText1);
    ASSERT_EQ(l.size(), 2u + 13u + 1u + 6u);
    EXPECT_EQ(l[0], "ASSISTANCE TECHNIQUE :");
    EXPECT_EQ(l[1], "");
    for (int i = 2; i < 15; ++i) {
        EXPECT_FALSE(l[i].empty()) << "paragraph line " << i - 1;
    }
    EXPECT_EQ(l[15], "");
    EXPECT_EQ(l[16], "Étienne Exemple");
    EXPECT_EQ(l[17], "12 rue des Lilas");
    EXPECT_EQ(l[18], "99999 Exempleville");
    EXPECT_EQ(l[19], "Tél : 01 99 00 12 34");
    EXPECT_EQ(l[20], "Fax : 01 99 00 12 35");
    // The address in the text is the one that the e-mail button writes to.
    EXPECT_EQ(l[21], std::string("E-Mail : ") + AdresseEMail);
}

TEST(TextesApropos, DocumentTargets_nameTheShippedFilesExactly) {
    // File names are case-sensitive here: a target must be spelled as the file is.
    const std::string dossier = TARVANE_DOCUMENTS;
    for (const char* document : {DocumentVelk, DocumentAdhesion, DocumentPage}) {
        EXPECT_TRUE(std::filesystem::is_regular_file(dossier + "/" + document)) << document;
    }
    // No help file is shipped: nothing outside Windows would open one.
    EXPECT_FALSE(std::filesystem::exists(dossier + "/" + DocumentAide));
}
