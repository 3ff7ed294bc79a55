#include "ui/tray/DecoderMessageIcone.h"

float DecoderMessageIcone(float X, int twipsParPixel) {
    return X / static_cast<float>(twipsParPixel);
}
