#include "platform/ProgrammeQt.h"

#include "platform/BlocVersionSysteme.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>

namespace {

// The lock's name is the same wherever the program is started from.
constexpr const char* NomVerrou = "org.example.Tarvane";

constexpr int TwipsParPouce = 1440;
constexpr int TwipsParPixelStandard = 15; // 96 dots per inch

std::optional<DateHeure> dateDe(const QFileInfo& fichier) {
    if (!fichier.isFile()) {
        return std::nullopt;
    }
    const QDateTime moment = fichier.lastModified().toLocalTime();
    if (!moment.isValid()) {
        return std::nullopt;
    }
    const QDate date = moment.date();
    const QTime heure = moment.time();
    return DateHeure{date.year(),  date.month(),   date.day(),
                     heure.hour(), heure.minute(), heure.second()};
}

} // namespace

int twipsPourResolution(double pointsParPouce) {
    if (!(pointsParPouce > 0)) {
        return TwipsParPixelStandard;
    }
    return std::max(1, qRound(TwipsParPouce / pointsParPouce));
}

ProgrammeQt::ProgrammeQt() : m_verrou(NomVerrou), m_bloc(BlocVersionSysteme()) {}

QString ProgrammeQt::nomExecutable() const {
    return QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
}

const BlocVersion& ProgrammeQt::blocVersion() const {
    return m_bloc;
}

bool ProgrammeQt::autreCopieEnCours() {
    switch (m_verrou.prendre()) {
    case VerrouInstance::Etat::Pris:
        return false;
    case VerrouInstance::Etat::AutreCopie:
        return true;
    case VerrouInstance::Etat::Indisponible:
        break; // better two copies than a user locked out of the program (the lock says why)
    }
    return false;
}

int ProgrammeQt::twipsParPixel() const {
    const QScreen* ecran = QGuiApplication::primaryScreen();
    return ecran ? twipsPourResolution(ecran->logicalDotsPerInchX()) : TwipsParPixelStandard;
}

std::optional<DateHeure> ProgrammeQt::dateFichier(const std::string& nomFichier) const {
    const QDir repertoireProgramme(QCoreApplication::applicationDirPath());
    if (const auto date =
            dateDe(QFileInfo(repertoireProgramme, QString::fromStdString(nomFichier)))) {
        return date;
    }
    return dateDe(QFileInfo(QCoreApplication::applicationFilePath()));
}

void ProgrammeQt::terminer() {
    std::fflush(nullptr);
    std::_Exit(0);
}
