#include "platform/BlocVersionProgramme.h"
#include "platform/BlocVersionSysteme.h"

BlocVersion BlocVersionSysteme() {
    return BlocVersionProgramme();
}

std::optional<BlocVersion> lireBlocVersion(const QString&) {
    return std::nullopt; // no executable format here carries a version resource
}
