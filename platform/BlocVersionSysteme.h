#pragma once

#include "core/BlocVersion.h"

#include <optional>
#include <QString>

// The version block as the system gives it for the running program: on Windows, read at run time
// from the executable's own version resource (the compiled-in copy when it has none, with a
// warning); elsewhere, where executables carry no such resource, the compiled-in copy.
BlocVersion BlocVersionSysteme();

// Windows: the version resource of a file, in its first language, or nothing where it has none.
std::optional<BlocVersion> lireBlocVersion(const QString& fichier);
