#pragma once
// The display conversions of text objects: half-width characters shown as
// their full-width forms, and full-width digits shown as kanji numerals.
// They apply to the shown lines only; the stored text stays as typed.

#include <QChar>
#include <QString>

namespace orvella {

// Half-width symbols, digits, Latin letters and katakana (voiced pairs
// included) become full-width; `except` and everything else stay.
QString HanToZenConvert(const QString& text, QChar except = QChar());

// Full-width digits become kanji numerals; half-width digits stay.
QString NumToKnjConvert(const QString& text);

}  // namespace orvella
