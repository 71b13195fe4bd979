#pragma once
// "表示項目の設定": which album fields become text lines, in which order and
// with which separator, with a live preview. The choices hold for the rest
// of the program run; the resulting lines are the dialog's result.

#include "music/album_build.h"

#include <QDialog>

#include <string>
#include <vector>

class QCheckBox;
class QComboBox;
class QListWidget;

namespace orvella {

class TfrmDisplayItems : public QDialog {
public:
    TfrmDisplayItems(const TAlbumInfo& album, QWidget* parent = nullptr);

    // The options of this program run (all fields, one space, order 0 at first).
    static TASOptRec& SessionOptions();
    // "スペース" is one space, "タブ" a tab, anything else is used as typed.
    static std::string SeparatorOf(const QString& choice);

    TASOptRec Options() const;
    std::vector<std::string> Lines() const;

    void accept() override;

private:
    void refresh();

    const TAlbumInfo& album_;
    std::vector<QCheckBox*> flags_;
    QComboBox* order_;
    QComboBox* separator_;
    QListWidget* preview_;
};

} // namespace orvella
