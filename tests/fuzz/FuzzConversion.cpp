// The conversion decision on any pair of texts, under French settings written by hand.
#include "tests/fuzz/VerifierConversion.h"
#include "tests/support/FausseLocaleFrancaise.h"

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* donnees, std::size_t taille) {
    static const FausseLocaleFrancaise locale;
    fuzz::verifierOctets(donnees, taille, locale);
    return 0;
}
