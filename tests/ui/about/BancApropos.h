#pragma once
// A box under test, with recorders for what it calls and a version block under the test's hand.

#include "tests/support/FauxServices.h"
#include "ui/about/Apropos.h"

#include <gtest/gtest.h>
#include <QPointer>
#include <QTabWidget>

struct BancApropos {
    FauxDocuments documents;
    FauxPointeur pointeur;
    FauxProgramme programme;
    InformationsApplication informations{"16/04/2000 à 21:06", "1.0", "Tarvane 1.0"};
    QPointer<Apropos> boite;

    ServicesApropos services() { return {documents, pointeur, programme, informations}; }

    // Creates, loads and shows the box as showing it does, without waiting for it to close.
    Apropos& ouvrir() {
        boite = new Apropos(services());
        boite->Form_Load();
        boite->show();
        return *boite;
    }

    template <typename Controle = QWidget> Controle* controle(const char* nom) const {
        auto* trouve = boite ? boite->findChild<Controle*>(QString::fromLatin1(nom)) : nullptr;
        EXPECT_NE(trouve, nullptr) << nom;
        return trouve;
    }

    QTabWidget* onglet() const { return controle<QTabWidget>("Onglet"); }

    ~BancApropos() { delete boite.data(); }
};
