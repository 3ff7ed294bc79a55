#pragma once

#include "core/BlocVersion.h"
#include "core/InformationsApplication.h"

#include <optional>
#include <QString>
#include <string>

// Facts about the running program, and the one way it ends.
class ProgrammeEnCours {
public:
    virtual ~ProgrammeEnCours() = default;

    // The executable's file name without directory and extension ("Tarvane").
    virtual QString nomExecutable() const = 0;
    virtual const BlocVersion& blocVersion() const = 0;

    // Whether another copy already runs for this user; asked once, before anything else.
    virtual bool autreCopieEnCours() = 0;

    // Horizontal twips per screen pixel: 1440 / logical dots per inch, rounded (15 at 96 dpi).
    virtual int twipsParPixel() const = 0;

    // Last-write date-time of a file named relative to the running executable's directory.
    virtual std::optional<DateHeure> dateFichier(const std::string& nomFichier) const = 0;

    // Ends the process at once: no further handler runs.
    virtual void terminer() = 0;
};
