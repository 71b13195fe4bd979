#include "dialogs/display_items_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace orvella {

namespace {

const char* const kFlagCaptions[]
    = {"アルバムタイトル", "アルバムアーティスト", "トラック番号", "タイトル", "アーティスト", "時間", "アルバム"};

} // namespace

TASOptRec& TfrmDisplayItems::SessionOptions()
{
    static TASOptRec options;
    return options;
}

std::string TfrmDisplayItems::SeparatorOf(const QString& choice)
{
    if (choice == QStringLiteral("スペース"))
        return " ";
    if (choice == QStringLiteral("タブ"))
        return "\t";
    return choice.toStdString();
}

TfrmDisplayItems::TfrmDisplayItems(const TAlbumInfo& album, QWidget* parent)
    : QDialog(parent)
    , album_(album)
{
    setWindowTitle(QStringLiteral("表示項目の設定"));
    const TASOptRec& options = SessionOptions();

    auto* items = new QGroupBox(QStringLiteral("表示する項目"));
    auto* itemsLayout = new QVBoxLayout(items);
    for (int bit = 0; bit < 7; ++bit) {
        auto* box = new QCheckBox(QString::fromUtf8(kFlagCaptions[bit]));
        box->setChecked(options.Flags & (1 << bit));
        connect(box, &QCheckBox::toggled, this, [this] { refresh(); });
        itemsLayout->addWidget(box);
        flags_.push_back(box);
    }

    order_ = new QComboBox;
    for (const std::string& caption : AlbumFieldOrderCaptions())
        order_->addItem(QString::fromStdString(caption));
    order_->setCurrentIndex(options.Order);
    connect(order_, &QComboBox::currentIndexChanged, this, [this] { refresh(); });

    separator_ = new QComboBox;
    separator_->setEditable(true);
    for (const char* choice : {"スペース", "タブ", "-", "・", "_", "/", "～"})
        separator_->addItem(QString::fromUtf8(choice));
    if (options.Separator == " ")
        separator_->setCurrentIndex(0);
    else if (options.Separator == "\t")
        separator_->setCurrentIndex(1);
    else
        separator_->setEditText(QString::fromStdString(options.Separator));
    connect(separator_, &QComboBox::currentTextChanged, this, [this] { refresh(); });

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("並び順(&O):"), order_);
    form->addRow(QStringLiteral("区切り文字(&S):"), separator_);

    preview_ = new QListWidget;
    preview_->setMinimumSize(360, 200);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("キャンセル"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* left = new QVBoxLayout;
    left->addWidget(items);
    left->addLayout(form);
    left->addStretch();
    auto* right = new QVBoxLayout;
    right->addWidget(new QLabel(QStringLiteral("プレビュー")));
    right->addWidget(preview_);
    auto* top = new QHBoxLayout;
    top->addLayout(left);
    top->addLayout(right, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(buttons);
    refresh();
}

TASOptRec TfrmDisplayItems::Options() const
{
    TASOptRec options;
    options.Flags = 0;
    for (int bit = 0; bit < 7; ++bit)
        if (flags_[std::size_t(bit)]->isChecked())
            options.Flags |= std::uint8_t(1 << bit);
    options.Order = order_->currentIndex();
    options.Separator = SeparatorOf(separator_->currentText());
    return options;
}

std::vector<std::string> TfrmDisplayItems::Lines() const
{
    std::vector<std::string> lines;
    AlbumToLines(album_, lines, Options());
    return lines;
}

void TfrmDisplayItems::refresh()
{
    preview_->clear();
    for (const std::string& line : Lines()) {
        QString shown = QString::fromStdString(line);
        shown.replace(QLatin1Char('\t'), QStringLiteral("    "));
        preview_->addItem(shown);
    }
}

void TfrmDisplayItems::accept()
{
    SessionOptions() = Options();
    QDialog::accept();
}

} // namespace orvella
