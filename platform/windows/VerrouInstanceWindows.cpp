#include "platform/Journal.h"
#include "platform/VerrouInstance.h"

#include <string>
#include <utility>
#include <windows.h>

struct VerrouInstance::Systeme {
    std::string nom;
    HANDLE mutex = nullptr;
    ~Systeme() {
        if (mutex != nullptr) {
            CloseHandle(mutex);
        }
    }
};

VerrouInstance::VerrouInstance(const std::string& nom) : m_systeme(std::make_unique<Systeme>()) {
    m_systeme->nom = nom;
}

VerrouInstance::~VerrouInstance() = default;

VerrouInstance::Etat VerrouInstance::prendre() {
    if (m_systeme->mutex != nullptr) {
        return Etat::Pris;
    }
    // Local\ is the namespace of the user's own session (one per logon session, as the lock is
    // meant); the system closes the handle however the process ends.
    std::wstring nom = L"Local\\";
    nom.append(m_systeme->nom.begin(), m_systeme->nom.end());

    const HANDLE mutex = CreateMutexW(nullptr, FALSE, nom.c_str());
    if (mutex == nullptr) {
        qCWarning(journalPlateforme)
            << "one-copy lock: CreateMutexW failed with error" << GetLastError();
        return Etat::Indisponible;
    }
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        CloseHandle(mutex); // the other copy's: this one only looked
        return Etat::AutreCopie;
    }
    m_systeme->mutex = mutex;
    return Etat::Pris;
}
