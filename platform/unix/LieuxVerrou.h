#pragma once

#include "platform/VerrouInstance.h"

#include <string>

// Where the lock is taken on Unix; an empty place is not used.
struct VerrouInstance::Lieux {
    std::string nomAbstrait;
    std::string repertoireExecution; // locked when it is this user's, mode 0700
    std::string repertoirePersonnel; // otherwise, when no other account may open it
};
