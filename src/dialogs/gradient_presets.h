#pragma once
// The preset gradients "グラデーションのカラーパターン": stop lists read
// from the program's data file, and the dialog that shows them as
// thumbnails of the panel's gradient with those stops.

#include "graphics/graphics_types.h"

#include <QDialog>
#include <QString>

#include <string_view>
#include <vector>

class QComboBox;
class QListWidget;

namespace orvella {

class TColorSpec;

using TGradientPreset = std::vector<TColor>;

// One preset a line: 2 to 7 "$00BBGGRR" values separated by commas; "#"
// lines and empty lines are skipped. A malformed line raises
// std::runtime_error naming its line.
std::vector<TGradientPreset> ParseGradientPresets(std::string_view text);
// The presets of the program folder's "gradient_presets.txt"; none when the
// file is missing or damaged.
const std::vector<TGradientPreset>& GradientPresets();

class TGradientPresetsDialog : public QDialog {
public:
    // colorFill: the panel's gradient, drawn with each preset's stops.
    TGradientPresetsDialog(const TColorSpec& colorFill, std::vector<TGradientPreset> presets,
                           QWidget* parent = nullptr);
    ~TGradientPresetsDialog() override;
    // The chosen preset, or -1.
    int Chosen() const;
    QListWidget* List() const { return list_; }

private:
    void fill(int size);

    std::vector<TGradientPreset> presets_;
    TColorSpec* sample_;
    QListWidget* list_;
    QComboBox* sizes_;
};

}  // namespace orvella
