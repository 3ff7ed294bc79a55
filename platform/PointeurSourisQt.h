#pragma once

#include "platform/PointeurSouris.h"

// The screen-wide pointer over the application's override cursor: the hourglass and the arrow
// replace every widget's own pointer until the default is asked for again.
class PointeurSourisQt : public PointeurSouris {
public:
    void definir(int code) override;
};
