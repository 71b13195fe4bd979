#include "dialogs/gradient_presets.h"

#include "dialogs/color_swatch.h"
#include "frame/program_macros.h"
#include "graphics/color_fill.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include <charconv>
#include <stdexcept>
#include <string>

namespace orvella {

namespace {

constexpr int kMinStops = 2;
constexpr int kMaxStops = 7;
constexpr int kSizes[] = {50, 100, 150, 200};
constexpr int kInitialSize = 1;

[[noreturn]] void refuse(int line, const std::string& why)
{
    throw std::runtime_error("gradient presets, line " + std::to_string(line) + ": " + why);
}

TColor parseColor(std::string_view word, int line)
{
    while (!word.empty() && (word.front() == ' ' || word.front() == '\t'))
        word.remove_prefix(1);
    while (!word.empty() && (word.back() == ' ' || word.back() == '\t' || word.back() == '\r'))
        word.remove_suffix(1);
    if (word.size() != 9 || word[0] != '$')
        refuse(line, "not a colour $00BBGGRR: " + std::string(word));
    unsigned value = 0;
    const auto [end, error] = std::from_chars(word.data() + 1, word.data() + word.size(), value, 16);
    if (error != std::errc() || end != word.data() + word.size() || value > 0xFFFFFF)
        refuse(line, "not a colour $00BBGGRR: " + std::string(word));
    return TColor(value);
}

}  // namespace

std::vector<TGradientPreset> ParseGradientPresets(std::string_view text)
{
    std::vector<TGradientPreset> presets;
    int line = 0;
    while (!text.empty()) {
        ++line;
        const std::size_t end = text.find('\n');
        std::string_view row = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        if (!row.empty() && row.back() == '\r')
            row.remove_suffix(1);
        if (row.empty() || row.front() == '#')
            continue;
        TGradientPreset preset;
        while (true) {
            const std::size_t comma = row.find(',');
            preset.push_back(parseColor(row.substr(0, comma), line));
            if (comma == std::string_view::npos)
                break;
            row.remove_prefix(comma + 1);
        }
        if (int(preset.size()) < kMinStops || int(preset.size()) > kMaxStops)
            refuse(line, "a preset has 2 to 7 colours");
        presets.push_back(std::move(preset));
    }
    return presets;
}

const std::vector<TGradientPreset>& GradientPresets()
{
    static const std::vector<TGradientPreset> presets = [] {
        QFile file(QString::fromStdString(ProgramPlaces().ExeDir) + QStringLiteral("gradient_presets.txt"));
        if (!file.open(QIODevice::ReadOnly) || file.size() > (1 << 20))
            return std::vector<TGradientPreset>();
        const QByteArray bytes = file.readAll();
        try {
            return ParseGradientPresets(std::string_view(bytes.constData(), std::size_t(bytes.size())));
        } catch (const std::runtime_error&) {
            return std::vector<TGradientPreset>();
        }
    }();
    return presets;
}

TGradientPresetsDialog::TGradientPresetsDialog(const TColorSpec& colorFill, std::vector<TGradientPreset> presets,
                                               QWidget* parent)
    : QDialog(parent), presets_(std::move(presets)), sample_(new TColorSpec)
{
    setWindowTitle(QStringLiteral("グラデーションのカラーパターン"));
    sample_->Assign(colorFill);
    sample_->SetKind(TColorSpecKind::cskGradation);
    list_ = new QListWidget(this);
    list_->setViewMode(QListView::IconMode);
    list_->setResizeMode(QListView::Adjust);
    list_->setMovement(QListView::Static);
    list_->setSpacing(4);
    list_->setMinimumSize(560, 380);
    sizes_ = new QComboBox(this);
    for (int size : kSizes)
        sizes_->addItem(QStringLiteral("%1x%1").arg(size));
    sizes_->setCurrentIndex(kInitialSize);
    auto* sizeLabel = new QLabel(QStringLiteral("表示サイズ(&S)"), this);
    sizeLabel->setBuddy(sizes_);
    connect(sizes_, &QComboBox::currentIndexChanged, this, [this](int index) { fill(kSizes[index]); });
    connect(list_, &QListWidget::itemDoubleClicked, this, &QDialog::accept);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("キャンセル"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(sizeLabel);
    bottom->addWidget(sizes_);
    bottom->addStretch(1);
    bottom->addWidget(buttons);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list_, 1);
    layout->addLayout(bottom);
    fill(kSizes[kInitialSize]);
}

TGradientPresetsDialog::~TGradientPresetsDialog() { delete sample_; }

int TGradientPresetsDialog::Chosen() const { return list_->currentRow(); }

void TGradientPresetsDialog::fill(int size)
{
    const int current = list_->currentRow();
    list_->clear();
    list_->setIconSize({size, size});
    for (const TGradientPreset& preset : presets_) {
        sample_->GradColors().SetColors(preset);
        new QListWidgetItem(QIcon(ColorFillPicture(*sample_, size, size)), QString(), list_);
    }
    list_->setCurrentRow(current);
}

}  // namespace orvella
