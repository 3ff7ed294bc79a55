// The conversion decision on any pair of texts, under the toolkit's French settings, as the
// program reads them.
#include "platform/LocaleQt.h"
#include "tests/fuzz/VerifierConversion.h"

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* donnees, std::size_t taille) {
    static const LocaleQt locale(QLocale(QLocale::French, QLocale::France));
    fuzz::verifierOctets(donnees, taille, locale);
    return 0;
}
