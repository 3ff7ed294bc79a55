#pragma once

#include <QLabel>

// A caption engraved in the panel: the text in black with a white edge below and to the right,
// as 3-D panels draw their inset captions.
class TexteRelief : public QLabel {
    Q_OBJECT

public:
    using QLabel::QLabel;

protected:
    void paintEvent(QPaintEvent* evenement) override;
};
