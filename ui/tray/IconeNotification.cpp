#include "ui/tray/IconeNotification.h"

#include "ui/Journal.h"

#include <algorithm>

namespace {

// The callback message, the icon and the tooltip are all valid.
constexpr std::uint32_t ChampsValides = NIF_MESSAGE | NIF_ICON | NIF_TIP;

// The text, a NUL, then blanks: left-aligned in the fixed-width field, cut at its width.
QString champInfobulle(const QString& texte) {
    QString champ = texte + QChar(u'\0');
    champ.truncate(LongueurInfobulle);
    return champ.leftJustified(LongueurInfobulle, QLatin1Char(' '));
}

std::array<char, LongueurInfobulle> enHuitBits(const QString& champ) {
    std::array<char, LongueurInfobulle> octets{};
    const QByteArray latin1 = champ.toLatin1();
    std::copy_n(latin1.constData(), std::min<qsizetype>(latin1.size(), LongueurInfobulle),
                octets.begin());
    return octets;
}

} // namespace

bool IconeNotification(ShellIcone& shell, DonneesIcone& donnees, QWidget* fenetre,
                       std::int16_t action, const std::optional<QIcon>& icone,
                       const std::optional<QString>& infobulle) {
    NOTIFYICONDATA& nid = donnees.nid;

    nid.cbSize = TailleEnregistrementIcone;
    nid.hWnd = fenetre;
    nid.uID = IdentifiantIcone;
    nid.uCallbackMessage = WM_MOUSEMOVE;
    if (icone) {
        nid.hIcon = *icone;
    }
    if (infobulle) {
        donnees.szTip = champInfobulle(*infobulle);
    }
    nid.uFlags = ChampsValides;

    nid.szTip = enHuitBits(donnees.szTip);
    const bool fait = shell.Shell_NotifyIconA(static_cast<std::uint16_t>(action), nid);
    if (!fait) {
        qCWarning(journalUi) << "the notification area refused the icon call" << action
                             << "(0 add, 2 delete)";
    }
    return fait;
}
