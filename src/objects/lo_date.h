#pragma once
// A text object showing a date in a chosen format; the date can follow the
// document's open, print or save time.

#include "objects/lo_text.h"

#include <QDateTime>

namespace orvella {

// When a date object takes the document's time.
enum class TDateUpdateFlag : int32_t { dufNo = 0, dufOpen = 1, dufPrint = 2, dufSave = 3 };

class TLODate : public TLOText {
    ORVELLA_PERSISTENT(TLODate)

public:
    // The formats the date dialog offers, in its order.
    static const std::vector<std::string>& OfferedFormats();
    // Captions of the update choices in TDateUpdateFlag order.
    static const std::vector<std::string>& UpdateCaptions();

    TLODate();

    // Setting a new format or date replaces the text with the formatted date.
    const std::string& Format() const { return format_; }
    void SetFormat(const std::string& format);
    // Days since 1899-12-30.
    double Date() const { return date_; }
    void SetDate(double date);
    TDateUpdateFlag UpdateFlag() const { return updateFlag_; }
    void SetUpdateFlag(TDateUpdateFlag flag) { updateFlag_ = flag; }

    void Assign(const TDrawObject& source) override;

private:
    void reformat();

    std::string format_ = "yyyy\"/\"m\"/\"d";
    double date_ = 0;
    TDateUpdateFlag updateFlag_ = TDateUpdateFlag::dufNo;
};

QDateTime DateTimeFromDays(double days);
double DaysFromDateTime(const QDateTime& dateTime);

}  // namespace orvella
