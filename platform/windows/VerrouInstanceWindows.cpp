#include "platform/Journal.h"
#include "platform/VerrouInstance.h"

#include <string>
#include <utility>
#include <windows.h>

struct VerrouInstance::Systeme {
    HANDLE mutex = nullptr;
    ~Systeme() {
        if (mutex != nullptr) {
            CloseHandle(mutex);
        }
    }
};

VerrouInstance::VerrouInstance(const std::string& nom) : m_nom(nom) {}

VerrouInstance::~VerrouInstance() = default;

VerrouInstance::Etat VerrouInstance::prendre() {
    if (m_systeme) {
        return Etat::Pris;
    }
    // Local\ is the namespace of the user's own session (one per logon session, as the lock is
    // meant); the system closes the handle however the process ends.
    std::wstring nom = L"Local\\";
    nom.append(m_nom.begin(), m_nom.end());

    auto systeme = std::make_unique<Systeme>();
    systeme->mutex = CreateMutexW(nullptr, FALSE, nom.c_str());
    if (systeme->mutex == nullptr) {
        qCWarning(journalPlateforme)
            << "one-copy lock: CreateMutexW failed with error" << GetLastError();
        return Etat::Indisponible;
    }
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        return Etat::AutreCopie;
    }
    m_systeme = std::move(systeme);
    return Etat::Pris;
}
