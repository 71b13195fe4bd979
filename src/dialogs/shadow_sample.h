#pragma once
// The shadow direction chooser of the text dialog: eight buttons around a
// sample letter, one per preset offset; none is down for offsets that match
// no preset.

#include <QWidget>

#include <array>
#include <functional>

class QToolButton;

namespace orvella {

class TfrmShadowSample : public QWidget {
public:
    explicit TfrmShadowSample(QWidget* parent = nullptr);

    // 1 to 8, or 0 when no direction button is down.
    int Preset() const { return preset_; }
    void SetPreset(int preset);
    QToolButton* Button(int preset) const { return buttons_[std::size_t(preset)]; }
    std::function<void(int preset)> OnChoose;

private:
    std::array<QToolButton*, 9> buttons_{};
    int preset_ = 0;
};

}  // namespace orvella
