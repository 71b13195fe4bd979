#include "app/printer_setup.h"

#include "app/prepare_form.h"
#include "print/canon_ext_ddi.h"
#include "print/epson_epdi.h"
#include "print/printer_configuration.h"
#include "print/printer_selection.h"
#include "print/system_printers.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSlider>
#include <QStackedWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace orvella {

std::string ApplicationPrinter() { return ApplicationPrinterObject().Device; }
void SetApplicationPrinter(const std::string& name) { ApplicationPrinterObject().Device = name; }

bool ValidateApplicationPrinter(const IPrinterList& printers)
{
    const std::string current = ApplicationPrinter();
    try {
        const std::vector<std::string> names = printers.Names();
        if (!current.empty() && std::find(names.begin(), names.end(), current) != names.end() &&
            printers.CanOpen(current))
            return false;
    } catch (const std::exception&) {
    }
    SetApplicationPrinter(SelectUsablePrinter(printers).value_or(""));
    return true;
}

QComboBox* CreatePrinterChoice()
{
    auto* choice = new QComboBox;
    const TSystemPrinterList printers;
    for (const std::string& name : printers.Names())
        choice->addItem(QString::fromStdString(name));
    ValidateApplicationPrinter(printers);
    choice->setCurrentText(QString::fromStdString(ApplicationPrinter()));
    return choice;
}

namespace {

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find("\r\n", start);
        if (end == std::string::npos)
            end = text.size();
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

int IndexOf(const std::vector<int32_t>& values, int32_t value)
{
    const auto found = std::find(values.begin(), values.end(), value);
    return found == values.end() ? -1 : int(found - values.begin());
}

// Refills a list only when its texts changed, so that an open list keeps its place.
void ShowChoices(QComboBox* box, const std::vector<std::string>& names, int index)
{
    QStringList texts;
    for (const std::string& name : names)
        texts << QString::fromStdString(name);
    QStringList shown;
    for (int i = 0; i < box->count(); ++i)
        shown << box->itemText(i);
    if (shown != texts) {
        box->clear();
        box->addItems(texts);
    }
    box->setCurrentIndex(index);
}

}  // namespace

TCanonData ReadCanonData(ImCanonExtDDI& canon)
{
    TCanonData data;
    data.QualityValues = canon.GetQualityValues();
    data.CartridgeValues = canon.GetItemValues(canon::kCartridge);
    data.MediaValues = canon.GetItemValues(canon::kMediaType);
    data.QualityNames = Lines(canon.GetQualityNames());
    data.CartridgeNames = Lines(canon.GetItemNames(canon::kCartridge));
    data.MediaNames = Lines(canon.GetItemNames(canon::kMediaType));
    data.QualityIndex = IndexOf(data.QualityValues, canon.GetItemValue(canon::kQuality));
    data.CartridgeIndex = canon.IndexOfItemValue(canon::kCartridge);
    data.MediaIndex = canon.IndexOfItemValue(canon::kMediaType);
    return data;
}

TEpsonData ReadEpsonData(ImEpsonEPDI& epson)
{
    TEpsonData data;
    epson.Reopen();
    data.MediaValues = epson.GetMediaRange();
    for (const int32_t media : data.MediaValues)
        data.MediaNames.push_back(epson.GetMediaName(media));
    const TEpsonQuality setting = epson.GetQualitySetting();
    data.MediaIndex = IndexOf(data.MediaValues, setting.Media);
    data.QualityLevels = epson.GetQualityLevelCount();
    data.QualityPosition = setting.Mode == 1 ? setting.Level : 0;
    return data;
}

TfrmPrinterSetup::~TfrmPrinterSetup() = default;

QString TfrmPrinterSetup::VendorPage() const { return vendor_->currentWidget()->objectName(); }

TfrmPrinterSetup::TfrmPrinterSetup(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("プリンタ設定"));
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    printer_ = CreatePrinterChoice();
    driver_ = new QLabel;
    paper_ = new QLabel;
    form->addRow(QStringLiteral("プリンタ名"), printer_);
    form->addRow(QStringLiteral("ドライバ"), driver_);
    form->addRow(QStringLiteral("用紙"), paper_);
    layout->addLayout(form);
    details_ = new QListWidget;
    details_->setMinimumSize(360, 200);
    layout->addWidget(details_);

    auto* box = new QGroupBox(QStringLiteral("Pelsa印刷設定"));
    auto* boxLayout = new QVBoxLayout(box);
    vendor_ = new QStackedWidget;
    auto* canonPage = new QWidget;
    canonPage->setObjectName(QStringLiteral("Canon"));
    auto* canonForm = new QFormLayout(canonPage);
    cartridge_ = new QComboBox;
    media_ = new QComboBox;
    quality_ = new QComboBox;
    canonForm->addRow(QStringLiteral("カートリッジ:"), cartridge_);
    canonForm->addRow(QStringLiteral("用紙種類:"), media_);
    canonForm->addRow(QStringLiteral("印字品質:"), quality_);
    for (QComboBox* list : {cartridge_, media_, quality_})
        connect(list, &QComboBox::activated, this, [this] { writeCanonPage(); });
    auto* epsonPage = new QWidget;
    epsonPage->setObjectName(QStringLiteral("Epson"));
    auto* epsonForm = new QFormLayout(epsonPage);
    epsonMedia_ = new QComboBox;
    epsonForm->addRow(QStringLiteral("用紙種類:"), epsonMedia_);
    epsonSlider_ = new QWidget;
    auto* sliderRow = new QHBoxLayout(epsonSlider_);
    sliderRow->setContentsMargins(0, 0, 0, 0);
    epsonQuality_ = new QSlider(Qt::Horizontal);
    epsonQuality_->setObjectName(QStringLiteral("quality"));
    sliderRow->addWidget(new QLabel(QStringLiteral("きれい")));
    sliderRow->addWidget(epsonQuality_);
    sliderRow->addWidget(new QLabel(QStringLiteral("はやい")));
    epsonForm->addRow(QStringLiteral("印字品質:"), epsonSlider_);
    epsonDetailed_ = new QLabel;
    epsonDetailed_->setWordWrap(true);
    epsonNone_ = new QLabel(QStringLiteral("この用紙種類には選択できる推奨設定がありません"));
    epsonForm->addRow(epsonDetailed_);
    epsonForm->addRow(epsonNone_);
    connect(epsonMedia_, &QComboBox::activated, this, [this] { writeEpsonPage(); });
    connect(epsonQuality_, &QSlider::sliderReleased, this, [this] { writeEpsonPage(); });
    auto* otherPage = new QLabel(QStringLiteral(
        "このプリンタではPelsa印刷設定をご使用になれません。プロパティボタンを押して設定変更をしてください。"));
    otherPage->setObjectName(QStringLiteral("Other"));
    otherPage->setWordWrap(true);
    vendor_->addWidget(canonPage);
    vendor_->addWidget(epsonPage);
    vendor_->addWidget(otherPage);
    boxLayout->addWidget(vendor_);
    layout->addWidget(box);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("キャンセル"));
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        SetApplicationPrinter(printer_->currentText().toStdString());
        accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    connect(printer_, &QComboBox::currentTextChanged, this, [this] { showPrinter(); });
    showPrinter();
    PrepareForm(this);
}

void TfrmPrinterSetup::showVendorPage()
{
    if (!canon_ || !canon_->IsAvailable()) {
        if (epson_ && epson_->GetCommandLevel(epson::kQuality) > 0) {
            vendor_->setCurrentIndex(1);
            showEpsonPage();
        } else {
            vendor_->setCurrentIndex(2);
        }
        return;
    }
    vendor_->setCurrentIndex(0);
    const TCanonData data = ReadCanonData(*canon_);
    if (data == canonData_ && cartridge_->count() > 0)
        return;
    canonData_ = data;
    ShowChoices(cartridge_, data.CartridgeNames, data.CartridgeIndex);
    ShowChoices(media_, data.MediaNames, data.MediaIndex);
    ShowChoices(quality_, data.QualityNames, data.QualityIndex);
}

void TfrmPrinterSetup::writeCanonPage()
{
    if (!canon_ || !canon_->IsAvailable())
        return;
    const auto write = [this](QComboBox* list, uint32_t item, const std::vector<int32_t>& values) {
        const int index = list->currentIndex();
        if (index >= 0 && std::size_t(index) < values.size())
            canon_->SetItemValue(item, values[std::size_t(index)], true);
    };
    write(cartridge_, canon::kCartridge, canonData_.CartridgeValues);
    write(media_, canon::kMediaType, canonData_.MediaValues);
    write(quality_, canon::kQuality, canonData_.QualityValues);
    config_->UpdateDeviceMode();
    showVendorPage();
}

void TfrmPrinterSetup::showEpsonPage()
{
    epsonData_ = ReadEpsonData(*epson_);
    QStringList names;
    for (const std::string& name : epsonData_.MediaNames)
        names << QString::fromStdString(name);
    epsonMedia_->clear();
    epsonMedia_->addItems(names);
    epsonMedia_->setCurrentIndex(epsonData_.MediaIndex);
    epsonQuality_->setRange(1, std::max(1, epsonData_.QualityLevels));
    epsonQuality_->setValue(std::max(1, epsonData_.QualityPosition));
    const bool slider = epsonData_.QualityLevels != 1 && epsonData_.QualityPosition != 0;
    const bool detailed = epsonData_.QualityPosition == 0;
    epsonSlider_->setVisible(slider);
    epsonDetailed_->setVisible(detailed);
    epsonDetailed_->setText(QStringLiteral("詳細設定されています。プロパティボタンを押して設定変更してください。\n") +
                            epsonMedia_->currentText());
    epsonNone_->setVisible(!slider && !detailed);
}

void TfrmPrinterSetup::writeEpsonPage()
{
    if (!epson_ || epson_->GetCommandLevel(epson::kQuality) <= 0)
        return;
    epson_->Reopen();
    TEpsonQuality setting = epson_->GetQualitySetting();
    if (setting.Mode == 1) {
        const int index = epsonMedia_->currentIndex();
        if (index >= 0 && std::size_t(index) < epsonData_.MediaValues.size())
            setting.Media = uint16_t(epsonData_.MediaValues[std::size_t(index)]);
        setting.Level = uint16_t(epsonQuality_->value());
        epson_->SetQualitySetting(setting);
        epson_->ReadDeviceMode();
    }
    showEpsonPage();
}

void TfrmPrinterSetup::showPrinter()
{
    details_->clear();
    epson_.reset();
    canon_.reset();
    config_.reset();
    canonData_ = {};
    try {
        config_ = std::make_unique<TPrinterConfiguration>(printer_->currentText().toStdString());
        TPrinterConfiguration& config = *config_;
        canon_ = CreateCanonExtDDI(config);
        if (!canon_->IsAvailable())
            epson_ = std::make_unique<TEPDI>(config);
        showVendorPage();
        if (config.GetDeviceName() == kPdfPrinterName) {
            driver_->setText(QStringLiteral("PDF ファイルに書き出します"));
            paper_->setText(QStringLiteral("文書の用紙サイズ"));
            return;
        }
        driver_->setText(QString::fromStdString(config.GetDriverName()));
        const auto media = config.CurrentMedia();
        paper_->setText(media ? QString::fromStdString(media->Name) : QString());
        const TPrinterForm& forms = config.GetForms();
        for (int i = 0; i < forms.Count(); ++i)
            details_->addItem(QStringLiteral("%1 (%2 x %3mm)")
                                  .arg(QString::fromStdString(forms.GetItem(i).GetName()))
                                  .arg(forms.GetItem(i).Width() / 10.0)
                                  .arg(forms.GetItem(i).Height() / 10.0));
        for (const std::string& option : config.Options())
            details_->addItem(QString::fromStdString(option));
    } catch (const std::exception& error) {
        driver_->setText(QString::fromStdString(error.what()));
        paper_->clear();
        vendor_->setCurrentIndex(2);
    }
}

}  // namespace orvella
