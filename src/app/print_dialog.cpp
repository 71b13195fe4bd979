#include "app/print_dialog.h"

#include "app/prepare_form.h"
#include "app/printer_setup.h"
#include "frame/app_frame.h"
#include "frame/message_box.h"
#include "paper/face_info.h"
#include "paper/paper_info.h"
#include "print/disc_print_windows.h"
#include "print/print_device.h"
#include "print/printer_configuration.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <cmath>
#include <cstdio>

namespace orvella {

namespace {

// What the dialog remembers while the program runs.
struct TRemembered {
    int32_t Copies = 1;
    bool PrintFrame = false;
    bool PrintCutLine = false;
    bool PrintPaperImage = false;
    bool SoftEdge = false;
    bool AllFaces = true;
    std::vector<uint8_t> FaceSelection;
    std::string Printer;
    TPoint Offset;  // used for this print: zero when the offset is off
};

TRemembered& remembered()
{
    static TRemembered value;
    return value;
}

}  // namespace

// The paper with its faces; a click toggles a face, chosen faces are framed
// in blue.
class TFacePicker : public QWidget {
public:
    TFacePicker(const TPaperInfo& paper, std::vector<uint8_t> selection, QWidget* parent)
        : QWidget(parent), paper_(paper), selection_(std::move(selection))
    {
        selection_.resize(std::size_t(paper.GetFaceCount()), 0);
        setMinimumSize(220, 260);
    }
    const std::vector<uint8_t>& Selection() const { return selection_; }
    bool AnySelected() const
    {
        return std::any_of(selection_.begin(), selection_.end(), [](uint8_t v) { return v != 0; });
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.fillRect(rect(), palette().window());
        const QRectF sheet = sheetRect();
        painter.fillRect(sheet, Qt::white);
        painter.setPen(Qt::gray);
        painter.drawRect(sheet);
        for (int32_t face = 0; face < paper_.GetFaceCount(); ++face) {
            const QRectF r = faceRect(face);
            const bool chosen = isEnabled() && selection_[std::size_t(face)] != 0;
            painter.setPen(QPen(chosen ? QColor(0, 0, 255) : QColor(128, 128, 128), chosen ? 2 : 1));
            painter.setBrush(chosen ? QColor(220, 230, 255) : QColor(245, 245, 245));
            TFaceInfo info;
            info.LoadFromPaper(paper_, face);
            if (info.HasCenterHole() || info.FaceShape == fsEllipse)
                painter.drawEllipse(r);
            else
                painter.drawRect(r);
        }
    }
    void mousePressEvent(QMouseEvent* event) override
    {
        for (int32_t face = 0; face < paper_.GetFaceCount(); ++face)
            if (faceRect(face).contains(event->position())) {
                selection_[std::size_t(face)] = selection_[std::size_t(face)] ? 0 : 1;
                update();
                return;
            }
    }

private:
    double scale() const
    {
        return std::min((width() - 8) / double(std::max(paper_.Width(), 1)),
                        (height() - 8) / double(std::max(paper_.Height(), 1)));
    }
    QRectF sheetRect() const
    {
        const double s = scale();
        return {(width() - paper_.Width() * s) / 2, (height() - paper_.Height() * s) / 2, paper_.Width() * s,
                paper_.Height() * s};
    }
    QRectF faceRect(int32_t face) const
    {
        const double s = scale();
        const QRectF sheet = sheetRect();
        TFaceInfo info;
        info.LoadFromPaper(paper_, face);
        const TRect r = info.FaceRect;
        return {sheet.left() + r.Left * s, sheet.top() + r.Top * s, (r.Right - r.Left) * s, (r.Bottom - r.Top) * s};
    }

    const TPaperInfo& paper_;
    std::vector<uint8_t> selection_;
};

TfrmPrint::TfrmPrint(const TPaperInfo& paper, bool directPrint, QWidget* parent)
    : QDialog(parent), paper_(paper), directPrint_(directPrint)
{
    setWindowTitle(QStringLiteral("ラベルシートの印刷"));
    const TRemembered& last = remembered();
    auto* layout = new QHBoxLayout(this);
    auto* left = new QVBoxLayout;
    layout->addLayout(left);

    auto* form = new QFormLayout;
    printer_ = CreatePrinterChoice();
    form->addRow(QStringLiteral("プリンタ"), printer_);
    copies_ = new QSpinBox;
    copies_->setRange(1, 99);
    copies_->setValue(last.Copies);
    form->addRow(QStringLiteral("印刷部数(&C)"), copies_);
    left->addLayout(form);

    frame_ = new QCheckBox(QStringLiteral("ラベル枠線を印刷(&F)"));
    cutLine_ = new QCheckBox(QStringLiteral("切り取り線を印刷(&C)"));
    paperImage_ = new QCheckBox(QStringLiteral("用紙柄を印刷(&I)"));
    softEdge_ = new QCheckBox(QStringLiteral("ラベルのフチをぼかす(&B)"));
    frame_->setChecked(last.PrintFrame);
    cutLine_->setChecked(last.PrintCutLine);
    paperImage_->setChecked(last.PrintPaperImage);
    softEdge_->setChecked(last.SoftEdge);
    for (QCheckBox* box : {frame_, cutLine_, paperImage_, softEdge_})
        left->addWidget(box);
    if (directPrint_)
        for (QCheckBox* box : {frame_, cutLine_, paperImage_})
            box->setEnabled(false);

    offsetEnabled_ = new QCheckBox(QStringLiteral("印刷位置微調整"));
    offsetEnabled_->setChecked(GetSettingBool("PrintOffsetEnabled", true));
    auto* offsetBox = new QGroupBox;
    auto* offsetForm = new QFormLayout(offsetBox);
    offsetForm->addRow(offsetEnabled_);
    top_ = new QDoubleSpinBox;
    left_ = new QDoubleSpinBox;
    for (QDoubleSpinBox* box : {top_, left_}) {
        box->setRange(-99.9, 99.9);
        box->setDecimals(1);
        box->setSingleStep(0.1);
        box->setSuffix(QStringLiteral(" mm"));
    }
    top_->setValue(GetSettingInt("PrintTopOffset", 0) / 10.0);
    left_->setValue(GetSettingInt("PrintLeftOffset", 0) / 10.0);
    offsetForm->addRow(QStringLiteral("上から(&T)"), top_);
    offsetForm->addRow(QStringLiteral("左から(&L)"), left_);
    const auto offsetSwitch = [this] {
        top_->setEnabled(offsetEnabled_->isChecked());
        left_->setEnabled(offsetEnabled_->isChecked());
    };
    connect(offsetEnabled_, &QCheckBox::toggled, this, offsetSwitch);
    offsetSwitch();
    left->addWidget(offsetBox);
    left->addStretch();

    auto* right = new QVBoxLayout;
    layout->addLayout(right);
    all_ = new QRadioButton(QStringLiteral("全ラベル(&A)"));
    selected_ = new QRadioButton(QStringLiteral("指定ラベル(&S)"));
    std::vector<uint8_t> selection = last.FaceSelection;
    if (selection.size() != std::size_t(paper.GetFaceCount()))
        selection.assign(std::size_t(paper.GetFaceCount()), 0);
    faces_ = new TFacePicker(paper, selection, this);
    faces_->setObjectName(QStringLiteral("faces"));
    right->addWidget(all_);
    right->addWidget(selected_);
    right->addWidget(faces_, 1);
    const bool single = paper.GetFaceCount() <= 1;
    (last.AllFaces || single ? all_ : selected_)->setChecked(true);
    all_->setEnabled(!single);
    selected_->setEnabled(!single);
    const auto facesSwitch = [this] { faces_->setEnabled(selected_->isChecked()); };
    connect(selected_, &QRadioButton::toggled, this, facesSwitch);
    facesSwitch();

    auto* buttons = new QDialogButtonBox;
    QPushButton* start = buttons->addButton(QStringLiteral("印刷開始"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QStringLiteral("キャンセル"), QDialogButtonBox::RejectRole);
    QPushButton* setup = buttons->addButton(QStringLiteral("プリンタ設定"), QDialogButtonBox::ActionRole);
    connect(setup, &QPushButton::clicked, this, [this] {
        SetApplicationPrinter(printer_->currentText().toStdString());
        TfrmPrinterSetup dialog(this);
        if (dialog.exec() == QDialog::Accepted)
            printer_->setCurrentText(QString::fromStdString(ApplicationPrinter()));
    });
    start->setDefault(true);
    connect(start, &QPushButton::clicked, this, [this] { startPrint(); });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    right->addWidget(buttons);
    PrepareForm(this);
}

std::string TfrmPrint::MediaQuestion(const TPaperInfo& paper, const std::string& printer)
{
    std::optional<TPrinterMedia> current;
    try {
        current = TPrinterConfiguration(printer).CurrentMedia();
    } catch (const std::exception&) {
        // A printer that cannot be asked still gets the document paper's size.
    }
    const std::string size = MediaSizeText(current, paper.PortraitWidth, paper.PortraitHeight);
    if (size.empty())
        return "印刷を開始します。\r\n\r\n用紙をセットして [OK] をクリックしてください。";
    return FormatMessage("印刷を開始します。\r\n\r\n「%s」サイズの用紙、もしくはメディアをセットして [OK] をクリックしてください。",
                         size);
}

void TfrmPrint::startPrint()
{
    if (selected_->isChecked() && !faces_->AnySelected()) {
        ShowInfo("印刷するラベルが一つもありません");
        return;
    }
    if (printer_->currentText().isEmpty())
        return;
    if (directPrint_ && !checkDiscPrinter())
        return;
    // A printer set to its disc tray needs no reminder to load the disc.
    if (!(directPrint_ && discMediaSelected()) && !ConfirmOK(MediaQuestion(paper_, printer_->currentText().toStdString())))
        return;
    remember();
    accept();
}

bool TfrmPrint::checkDiscPrinter()
{
    TDirectPrinterCheck check;
    check.CurrentPrinter = [this]() -> std::unique_ptr<TPrinterConfiguration> {
        try {
            return std::make_unique<TPrinterConfiguration>(printer_->currentText().toStdString());
        } catch (const std::exception&) {
            return nullptr;
        }
    };
    check.Confirm = [] {
        const auto& confirm = DiscPrintWindows().ConfirmPrinter;
        return confirm ? confirm() : TConfirmPrinterAnswer::Print;
    };
    check.ChangePrinter = [this] {
        SetApplicationPrinter(printer_->currentText().toStdString());
        TfrmPrinterSetup dialog(this);
        if (dialog.exec() == QDialog::Accepted)
            printer_->setCurrentText(QString::fromStdString(ApplicationPrinter()));
    };
    return CheckDirectPrinter(paper_, check);
}

bool TfrmPrint::discMediaSelected()
{
    try {
        TPrinterConfiguration printer(printer_->currentText().toStdString());
        return IsDiscMediaSelected(printer);
    } catch (const std::exception&) {
        return false;
    }
}

void TfrmPrint::remember()
{
    TRemembered& last = remembered();
    last.Copies = copies_->value();
    last.PrintFrame = frame_->isChecked();
    last.PrintCutLine = cutLine_->isChecked();
    last.PrintPaperImage = paperImage_->isChecked();
    last.SoftEdge = softEdge_->isChecked();
    last.AllFaces = all_->isChecked();
    last.FaceSelection = faces_->Selection();
    last.Printer = printer_->currentText().toStdString();
    SetApplicationPrinter(last.Printer);
    const int32_t top = int32_t(std::lround(top_->value() * 10));
    const int32_t leftOffset = int32_t(std::lround(left_->value() * 10));
    SetSettingInt("PrintTopOffset", top);
    SetSettingInt("PrintLeftOffset", leftOffset);
    SetSettingBool("PrintOffsetEnabled", offsetEnabled_->isChecked());
    last.Offset = offsetEnabled_->isChecked() ? TPoint{leftOffset, top} : TPoint{0, 0};
}

TPrintSpec TfrmPrint::Options() const
{
    const TRemembered& last = remembered();
    TPrintSpec options;
    options.Copies = last.Copies;
    options.PrintFrame = last.PrintFrame && !directPrint_;
    options.PrintCutLine = last.PrintCutLine && !directPrint_;
    options.PrintPaperImage = last.PrintPaperImage && !directPrint_;
    options.SoftEdge = last.SoftEdge;
    options.AllFaces = last.AllFaces;
    options.FaceSelection = last.FaceSelection;
    options.Offset = last.Offset;
    return options;
}

std::string TfrmPrint::PrinterName() const { return remembered().Printer; }

TfrmPrintProgress::TfrmPrintProgress(IPrintDevice& device, QWidget* parent) : QDialog(parent), device_(device)
{
    setWindowTitle(QStringLiteral("印刷中です。少しお待ちください．．．"));
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    bar_ = new QProgressBar;
    bar_->setMinimumWidth(320);
    layout->addWidget(bar_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("キャンセル"));
    // Cancelling drops the job; the print site stops at its next check.
    connect(buttons, &QDialogButtonBox::rejected, this, [this] { device_.Abort(); });
    layout->addWidget(buttons);
    PrepareForm(this);
}

void TfrmPrintProgress::SetMax(int32_t steps)
{
    bar_->setRange(0, std::max(steps, 1));
    bar_->setValue(0);
}

void TfrmPrintProgress::Step() { bar_->setValue(std::min(bar_->value() + 1, bar_->maximum())); }

void TfrmPrintProgress::ProcessMessages() { QApplication::processEvents(); }

}  // namespace orvella
