#pragma once
// What the position page of every property dialog edits, read from and
// written to an object through the interfaces it offers, and how the page's
// millimetre inputs read what the user typed.

#include <QString>

#include <cstdint>

namespace orvella {

class TDrawObject;

struct TPositionRecord {
    int32_t Rotation = 0;
    bool Lock = false;
    bool DontPrint = false;
    bool HasAutoSize = false;
    bool AutoSize = false;
    int32_t Left = 0;
    int32_t Top = 0;
    int32_t Width = 0;
    int32_t Height = 0;
    bool HasBlend = false;
    int32_t Blend = 0;
    bool HasRotation = false;
    friend bool operator==(const TPositionRecord&, const TPositionRecord&) = default;
};

TPositionRecord ReadPositionRecord(TDrawObject& object);
// Lock, do-not-print, angle, position and size, auto size, blend: in that
// order, each only where the object offers it, each through its setter so
// that every change reports itself.
void WritePositionRecord(TDrawObject& object, const TPositionRecord& record);

// A length typed in millimetres, in logical units (0.1 mm): read as a
// decimal number (unreadable text as 0), times 10, rounded to the nearest
// whole unit with ties to even, clamped to [minimum, maximum].
int32_t ReadMillimetres(const QString& text, int32_t minimum, int32_t maximum);
// A length in logical units as the inputs show it: millimetres in "%g".
QString ShowMillimetres(int32_t units);

}  // namespace orvella
