#pragma once

// The shell's mouse-message code carried by a mouse move that the notification icon sends to the
// main window: the horizontal position in twips divided by the screen's twips per pixel, in
// single precision. Callers compare it exactly with the codes they act on.
float DecoderMessageIcone(float X, int twipsParPixel);
