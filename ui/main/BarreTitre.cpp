#include "ui/main/BarreTitre.h"

#include <algorithm>
#include <QApplication>
#include <QEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QToolButton>
#include <QWindow>

namespace {

QFont policeTitre() {
    QFont police = QApplication::font();
    police.setBold(true);
    return police;
}

} // namespace

BarreTitre::BarreTitre(QWidget& fenetre) : QWidget(&fenetre), m_fermer(new QToolButton(this)) {
    setObjectName(QStringLiteral("BarreTitre"));
    setFocusPolicy(Qt::NoFocus);
    m_fermer->setObjectName(QStringLiteral("Fermer"));
    m_fermer->setFocusPolicy(Qt::NoFocus);
    m_fermer->setAutoRaise(true);
    m_fermer->setIcon(style()->standardIcon(QStyle::SP_TitleBarCloseButton, nullptr, this));
    m_fermer->setAccessibleName(QStringLiteral("Fermer"));
    connect(m_fermer, &QToolButton::clicked, &fenetre, &QWidget::close);
    setGeometry(0, 0, fenetre.width(), hauteur());
}

int BarreTitre::hauteur() {
    constexpr int Marges = 12, Minimum = 28;
    return std::max(Minimum, QFontMetrics(policeTitre()).height() + Marges);
}

bool BarreTitre::event(QEvent* evenement) {
    if (evenement->type() == QEvent::WindowActivate ||
        evenement->type() == QEvent::WindowDeactivate) {
        update(); // drawn apart when the window has the keyboard
    }
    return QWidget::event(evenement);
}

void BarreTitre::mousePressEvent(QMouseEvent* evenement) {
    if (evenement->button() == Qt::LeftButton && window()->windowHandle() != nullptr) {
        window()->windowHandle()->startSystemMove();
    }
    QWidget::mousePressEvent(evenement);
}

void BarreTitre::paintEvent(QPaintEvent*) {
    QPainter peintre(this);
    const bool active = window()->isActiveWindow();
    const QPalette::ColorGroup groupe = active ? QPalette::Active : QPalette::Inactive;
    const QColor fond = palette().color(groupe, QPalette::Window);
    peintre.fillRect(rect(), active ? fond.darker(112) : fond);
    peintre.setPen(palette().color(groupe, QPalette::Mid));
    peintre.drawLine(0, height() - 1, width(), height() - 1);
    QColor texte = palette().color(groupe, QPalette::WindowText);
    if (!active) {
        texte.setAlphaF(0.6F);
    }
    peintre.setPen(texte);
    peintre.setFont(policeTitre());
    QRect place = rect();
    place.setRight(m_fermer->geometry().left() - 1);
    place.setLeft(width() - m_fermer->geometry().left()); // centred between equal margins
    peintre.drawText(
        place, Qt::AlignCenter,
        peintre.fontMetrics().elidedText(window()->windowTitle(), Qt::ElideRight, place.width()));
}

void BarreTitre::resizeEvent(QResizeEvent*) {
    const int cote = height() - 6;
    m_fermer->setGeometry(width() - cote - 3, 3, cote, cote);
}
