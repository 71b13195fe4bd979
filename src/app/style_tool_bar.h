#pragma once
// The layout editor's style tool bar: font name and size, the four style
// buttons, alignment, feed angle, pen and brush colour. It shows a
// TStyleToolSpec (the selection's attributes, or the defaults for new
// objects) and reports each change the user makes.

#include "graphics/graphics_types.h"

#include <QToolBar>

#include <functional>
#include <map>
#include <string>

class QAction;
class QComboBox;
class QToolButton;

namespace orvella {

class TFontNameBox;

// Text and colour attributes as the tool bar edits them.
struct TStyleToolSpec {
    std::string FontName = "ＭＳ Ｐゴシック";
    uint8_t Charset = 128;
    int32_t FontSize = 24;  // points
    int32_t Align = 0;      // 0 left, 1 centred, 2 right, 3 justified
    int32_t FeedAngle = 0;  // 0, 45 or -45 degrees
    int32_t Style = 0;      // bit 0 bold, 1 italic, 2 underline, 3 strike-out
    TColor PenColor = 0;
    TColor BrushColor = 0xC0C0C0;
    bool BrushNone = false;

    // The defaults for new objects from the settings ("DefFontName" …).
    static TStyleToolSpec FromSettings();
    void SaveToSettings() const;
    friend bool operator==(const TStyleToolSpec&, const TStyleToolSpec&) = default;
};

enum class TStyleChange { FontName, FontSize, Style, Align, FeedAngle, PenColor, BrushColor };

// A point size the tool bar accepts: a number greater than 5 and less
// than 999; 0 for anything else.
int32_t ParseFontSize(const QString& text);

class TStyleToolBar : public QToolBar {
public:
    explicit TStyleToolBar(QWidget* parent = nullptr);

    const TStyleToolSpec& State() const { return state_; }
    // Shows state; the name and size boxes keep what they show while one
    // of them has the focus (the user is typing there).
    void ShowState(const TStyleToolSpec& state);
    // The tool bar's commands by name (actBold, actLeftAlign, actPenColor …).
    QAction* Action(const char* name) const { return actions_.at(name); }
    const std::map<std::string, QAction*>& Actions() const { return actions_; }
    QComboBox* FontNameBox() const;
    QComboBox* FontSizeBox() const { return sizeBox_; }

    std::function<void(TStyleChange)> OnChange;

private:
    QAction* addToggle(const char* name, const QString& hint, const QString& glyph);
    void changed(TStyleChange change);
    void sizeEntered();
    void pickPen();
    void pickBrush();
    void showColors();

    TStyleToolSpec state_;
    std::map<std::string, QAction*> actions_;
    TFontNameBox* nameBox_ = nullptr;
    QComboBox* sizeBox_ = nullptr;
    QToolButton* penButton_ = nullptr;
    QToolButton* brushButton_ = nullptr;
    QAction* brushNone_ = nullptr;
    bool showing_ = false;
};

}  // namespace orvella
