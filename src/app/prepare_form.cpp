#include "app/prepare_form.h"

#include "frame/app_frame.h"
#include "app/window_placement.h"

#include <QAbstractButton>
#include <QMainWindow>
#include <QMetaProperty>
#include <QStringList>

namespace orvella {

namespace {

void expandProperties(QObject* object)
{
    const QMetaObject* meta = object->metaObject();
    for (int i = 0; i < meta->propertyCount(); ++i) {
        const QMetaProperty property = meta->property(i);
        if (!property.isStored() || !property.isWritable())
            continue;
        const int type = property.metaType().id();
        if (type != QMetaType::QString && type != QMetaType::QStringList)
            continue;
        const QVariant value = property.read(object);
        try {
            if (type == QMetaType::QString) {
                const QString text = value.toString();
                if (text.contains(QLatin1String("$(")))
                    property.write(object, QString::fromStdString(ExpandMacros(text.toStdString())));
            } else {
                const QString text = value.toStringList().join(QLatin1String("\r\n"));
                if (text.contains(QLatin1String("$(")))
                    property.write(object,
                                   QString::fromStdString(ExpandMacros(text.toStdString())).split(QLatin1String("\r\n")));
            }
        } catch (const EMacroString&) {
            // Left as designed: a text that does not expand is still readable.
        }
    }
}

}  // namespace

void ExpandObjectMacros(QObject* object)
{
    expandProperties(object);
    for (QObject* child : object->children())
        ExpandObjectMacros(child);
}

void PrepareForm(QWidget* form)
{
    ExpandObjectMacros(form);
    if (form->property("designedPosition").toBool())
        return;
    if (qobject_cast<QMainWindow*>(form)) {
        RestoreWindowPlacement(form, 800, 600);
        return;
    }
    if (auto* help = form->findChild<QAbstractButton*>(QStringLiteral("btnHelp"))) {
        QObject::connect(help, &QAbstractButton::clicked, form, [form] {
            if (TAppFrame* frame = AppFrame())
                frame->Help(form->property("helpContext").toInt());
        });
    }
    form->adjustSize();
    CenterWindow(form);
}

}  // namespace orvella
