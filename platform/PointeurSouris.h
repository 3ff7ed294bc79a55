#pragma once

// Pointer codes of the screen-wide mouse pointer.
inline constexpr int vbDefault = 0;
inline constexpr int vbArrow = 1;
inline constexpr int vbHourglass = 11;

// The screen-wide mouse pointer.
class PointeurSouris {
public:
    virtual ~PointeurSouris() = default;

    virtual void definir(int code) = 0;
};
