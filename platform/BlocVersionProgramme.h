#pragma once

#include "core/BlocVersion.h"

// The version block compiled into this executable, generated from the project's version.
const BlocVersion& BlocVersionProgramme();
