#pragma once

#include <QString>

class QWidget;

// Message box style 16: the critical-stop icon and a single OK button.
inline constexpr int vbCritical = 16;

// Modal message boxes. The program shows real ones; tests hand a recorder that answers at once.
class ServiceMessages {
public:
    virtual ~ServiceMessages() = default;

    // Returns when the user has pressed OK.
    virtual void MsgBox(QWidget* parent, const QString& texte, int style, const QString& titre) = 0;
};
