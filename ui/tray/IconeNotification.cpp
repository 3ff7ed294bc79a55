#include "ui/tray/IconeNotification.h"

#include <algorithm>

namespace {

constexpr int LongueurInfobulle = 64;

// The text, a NUL, then blanks: left-aligned in the fixed-width field, cut at its width.
QString champInfobulle(const QString& texte) {
    QString champ = texte + QChar(u'\0');
    champ.truncate(LongueurInfobulle);
    return champ.leftJustified(LongueurInfobulle, QLatin1Char(' '));
}

std::array<char, 64> enHuitBits(const QString& champ) {
    std::array<char, 64> octets{};
    const QByteArray latin1 = champ.toLatin1();
    std::copy_n(latin1.constData(), std::min<qsizetype>(latin1.size(), LongueurInfobulle),
                octets.begin());
    return octets;
}

} // namespace

DonneesIcone& DonneesIconeProcessus() {
    static DonneesIcone donnees;
    return donnees;
}

void IconeNotification(ShellIcone& shell, QWidget* fenetre, std::int16_t action,
                       const std::optional<QIcon>& icone, const std::optional<QString>& infobulle) {
    DonneesIcone& donnees = DonneesIconeProcessus();
    NOTIFYICONDATA& nid = donnees.nid;

    nid.cbSize = 88;
    nid.hWnd = fenetre;
    nid.uID = 1;
    nid.uCallbackMessage = WM_MOUSEMOVE;
    if (icone) {
        nid.hIcon = *icone;
    }
    if (infobulle) {
        donnees.szTip = champInfobulle(*infobulle);
    }
    nid.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;

    nid.szTip = enHuitBits(donnees.szTip);
    shell.Shell_NotifyIconA(static_cast<std::uint16_t>(action), nid);
}
