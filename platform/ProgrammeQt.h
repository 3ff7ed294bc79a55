#pragma once

#include "platform/ProgrammeEnCours.h"
#include "platform/VerrouInstance.h"

// Facts about the running program, read from Qt and the system.
class ProgrammeQt : public ProgrammeEnCours {
public:
    ProgrammeQt();

    QString nomExecutable() const override;
    const BlocVersion& blocVersion() const override;
    bool autreCopieEnCours() override;
    int twipsParPixel() const override;

    // The named file beside the running executable, wherever the program was started from; where
    // there is none (a system whose executables carry no ".EXE"), the running executable's own
    // file, whose date is the one meant. Local time.
    std::optional<DateHeure> dateFichier(const std::string& nomFichier) const override;

    // Ends the process with exit code 0 once the caller has removed the icon. No destructor, exit
    // handler or event runs any more; the system frees what the process held, the lock included.
    [[noreturn]] void terminer() override;

private:
    VerrouInstance m_verrou;
    BlocVersion m_bloc; // read once: the executable does not change under the running program
};

// 1440 twips to the inch: twips per pixel at a screen's logical resolution, rounded to a whole
// number so that pixel positions times this factor divide back exactly.
int twipsPourResolution(double pointsParPouce);
