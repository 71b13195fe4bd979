#pragma once
// The font name list of the style tool bar: every installed family, each
// drawn in its own face. The list is filled the first time it drops down,
// so that opening the editor never waits for the font catalogue.

#include <QComboBox>

#include <cstdint>
#include <string>

namespace orvella {

class TFontNameBox : public QComboBox {
public:
    explicit TFontNameBox(QWidget* parent = nullptr);

    // Shows name (added to the list when it is not there yet).
    void ShowName(const QString& name);
    // The character set of a listed family; 128 (Shift-JIS) when unknown.
    uint8_t Charset(const QString& name) const;
    void showPopup() override;

private:
    void fill();
    bool filled_ = false;
};

}  // namespace orvella
