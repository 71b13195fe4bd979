#include "app/shrink_panel.h"

#include "frame/app_frame.h"

#include <QToolButton>
#include <QVBoxLayout>

namespace orvella {

TShrinkPanel::TShrinkPanel(const QString& name, const QString& caption, QWidget* content, QWidget* parent)
    : QWidget(parent), header_(new QToolButton(this)), content_(content)
{
    setObjectName(name);
    header_->setObjectName(name + QStringLiteral("Caption"));
    header_->setText(caption);
    header_->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    header_->setAutoRaise(true);
    header_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addWidget(header_);
    content_->setParent(this);
    layout->addWidget(content_);
    connect(header_, &QToolButton::clicked, this, [this] { SetCollapsed(!collapsed_); });
    SetCollapsed(GetSettingBool(name.toStdString(), false));
}

TShrinkPanel::~TShrinkPanel()
{
    SetSettingBool(objectName().toStdString(), collapsed_);
}

void TShrinkPanel::SetCollapsed(bool collapsed)
{
    collapsed_ = collapsed;
    content_->setVisible(!collapsed);
    header_->setArrowType(collapsed ? Qt::RightArrow : Qt::DownArrow);
}

}  // namespace orvella
