// The screen-wide pointer over Qt's override cursor.
#include "platform/PointeurSourisQt.h"

#include <gtest/gtest.h>
#include <optional>
#include <QCursor>
#include <QGuiApplication>
#include <vector>

namespace {

// The shapes on the override stack, top first; empties the stack.
std::vector<Qt::CursorShape> viderSurcharges() {
    std::vector<Qt::CursorShape> formes;
    while (const QCursor* curseur = QGuiApplication::overrideCursor()) {
        formes.push_back(curseur->shape());
        QGuiApplication::restoreOverrideCursor();
    }
    return formes;
}

struct Cas {
    const char* nom;
    std::vector<int> codes;
    std::vector<Qt::CursorShape> attendu; // the override stack afterwards, top first
};

} // namespace

TEST(PointeurSourisQt, EachCode_replacesThePointer_neverStacksOnThePreviousOne) {
    const Cas cas[] = {
        {"hourglass", {vbHourglass}, {Qt::WaitCursor}},
        {"hourglass then arrow", {vbHourglass, vbArrow}, {Qt::ArrowCursor}},
        {"two loads", {vbHourglass, vbArrow, vbHourglass, vbArrow}, {Qt::ArrowCursor}},
        {"hourglass twice then arrow", {vbHourglass, vbHourglass, vbArrow}, {Qt::ArrowCursor}},
        {"hourglass then default", {vbHourglass, vbDefault}, {}},
        {"arrow then default", {vbArrow, vbDefault}, {}},
        {"unknown code gives the default", {vbHourglass, 99}, {}},
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.nom);
        PointeurSourisQt pointeur;
        for (int code : c.codes) {
            pointeur.definir(code);
        }
        EXPECT_EQ(viderSurcharges(), c.attendu);
    }
}

TEST(PointeurSourisQt, Arrow_takesOffAnHourglassLeftBySomeoneElse) {
    QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    PointeurSourisQt pointeur;
    pointeur.definir(vbArrow);
    EXPECT_EQ(viderSurcharges(), std::vector<Qt::CursorShape>{Qt::ArrowCursor});
}
